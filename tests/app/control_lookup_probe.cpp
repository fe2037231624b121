// Looks up one control of the main window the way its argument says and
// prints what it found; main_window_test watches it from outside, since a
// lookup that fails ends the process.
//
//   control_lookup_probe known|unknown|wrong-kind
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <cstring>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  velquist::MainWindow window;
  const char* what = argc > 1 ? argv[1] : "";
  QWidget* found = nullptr;
  if (std::strcmp(what, "known") == 0) {
    found = window.Control<QLineEdit>(velquist::control::圆直径编辑框);
  } else if (std::strcmp(what, "unknown") == 0) {
    found = window.Control<QLineEdit>("圆直径编辑框9");
  } else if (std::strcmp(what, "wrong-kind") == 0) {
    found = window.Control<QPushButton>(velquist::control::圆直径编辑框);
  }
  std::printf("found %s\n", found != nullptr ? found->metaObject()->className() : "nothing");
  return 0;
}
