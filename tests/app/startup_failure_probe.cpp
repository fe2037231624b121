// Starts the program with its main window refused, the way a platform that
// cannot create it would, and reports on stdout what application_test needs:
// the box shown and whether the exit clean-up ran. FatalError ends the process.
#include <cstdio>

#include <QWidget>

#include "app/application.h"
#include "app/application_testing.h"
#include "app/messages.h"
#include "app/messages_testing.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"

int main(int argc, char** argv) {
  velquist::testing::SetCreationFailure(velquist::WindowDefinition::MainWindow, true);
  velquist::testing::SetMessageResponder([](const velquist::testing::ShownMessage& m) {
    std::printf("box caption=%s style=%d text=%s\n", m.caption.toUtf8().constData(), m.style,
                m.text.toUtf8().constData());
    std::printf("windows open=%d\n", velquist::AnyWindowOpen() ? 1 : 0);
    std::fflush(stdout);
    return velquist::ButtonCode::Ok;
  });
  velquist::testing::SetCleanupObserver([] { std::puts("cleanup ran"); });
  const int code = velquist::RunApplication(argc, argv);
  std::printf("RunApplication returned %d\n", code);
  return code;
}
