// What tests may do to the window opening beyond its interface
// (window_opening.h). The program itself never calls any of it.
#pragma once

#include "app/window_opening.h"

class QWidget;

namespace velquist::testing {

// The open window of the definition, or nullptr while it is closed.
QWidget* OpenedWindow(WindowDefinition window);

// While set, creating the definition's window fails as if the platform had
// refused it.
void SetCreationFailure(WindowDefinition window, bool fail);

}  // namespace velquist::testing
