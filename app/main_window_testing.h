// What tests may read of the main window beyond its interface
// (main_window.h). The program itself never calls any of it.
#pragma once

#include "app/main_window.h"

namespace velquist::testing {

// Where the group boxes sit: their coordinates are client coordinates of
// this widget, which starts below the menu bar.
inline QWidget* ClientArea(const MainWindow& window) { return window.centralWidget(); }

}  // namespace velquist::testing
