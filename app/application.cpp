#include "app/application.h"
#include "app/application_testing.h"

#include <QApplication>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <QWidget>

#include <cfenv>
#include <cstdlib>
#include <optional>
#include <utility>

#include "app/app_icon.h"
#include "app/interface_font.h"
#include "app/messages.h"
#include "app/skin.h"
#include "app/window_opening.h"
#include "core/global_state.h"

namespace velquist {
namespace {

struct ApplicationState {
  // The exit clean-up routine: at most one, run at most once.
  void (*cleanup)() = nullptr;
  std::function<void()> cleanupObserver;
  bool mainLoopStarted = false;
  bool endRequested = false;
  QPointer<QEventLoop> mainLoop;
  // The loops of RunMessageLoop, innermost last, so that an end-of-program
  // request can leave the modal ones for the main loop.
  QList<QPointer<QEventLoop>> modalLoops;
  QPointer<QWidget> applicationWindow;
};

ApplicationState& State() {
  static ApplicationState state;
  return state;
}

void ReleaseTheGlobalState() { ReleaseGlobalState(TheGlobalState()); }

void PrepareApplicationWindow() {
  ApplicationState& s = State();
  if (s.applicationWindow) return;
  auto* window = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
  window->setObjectName(QStringLiteral("ApplicationWindow"));
  window->setAttribute(Qt::WA_DontShowOnScreen);
  window->resize(0, 0);
  // The platform window must exist for the windows it owns to be marked as
  // transient for it (which is what keeps them off the taskbar); it is never
  // shown.
  window->winId();
  s.applicationWindow = window;
}

void ReleasePlatform() {
  ApplicationState& s = State();
  delete s.applicationWindow.data();
  s.applicationWindow = nullptr;
}

// Round to nearest, every exception masked, x87 intermediates with a 64-bit
// significand: glibc's default environment is exactly that, whatever the
// process inherited or a library changed.
void ResetFloatingPointEnvironment() { std::fesetenv(FE_DFL_ENV); }

void RunExitCleanup() {
  ApplicationState& s = State();
  if (s.cleanup == nullptr) return;
  void (*routine)() = std::exchange(s.cleanup, nullptr);
  routine();
  if (s.cleanupObserver) s.cleanupObserver();
}

}  // namespace

void GiveProgramIcon() {
  if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(VelquistIcon());
}

void InstallQtChineseTranslation() {
  // One translator per QApplication; it goes with the application object.
  static QPointer<QTranslator> installed;
  if (installed || QCoreApplication::instance() == nullptr) return;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
}

QWidget* ApplicationWindow() {
  PrepareApplicationWindow();
  return State().applicationWindow;
}

void testing::SetCleanupObserver(std::function<void()> observer) {
  State().cleanupObserver = std::move(observer);
}

void RunMessageLoop(LoopMode mode, QWidget* window) {
  ApplicationState& s = State();
  QEventLoop loop;
  if (mode == LoopMode::Main) {
    s.mainLoop = &loop;
    if (!s.endRequested) loop.exec();
    s.mainLoop = nullptr;
    return;
  }
  if (window == nullptr || s.endRequested) return;
  QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
  s.modalLoops.append(&loop);
  loop.exec();
  s.modalLoops.removeAll(&loop);
}

void NoteWindowDestroyed() {
  ApplicationState& s = State();
  if (!s.mainLoopStarted || s.endRequested || AnyWindowOpen()) return;
  s.endRequested = true;
  // The request is taken by the main loop; modal loops still running give way
  // to it, leaving it queued.
  for (const QPointer<QEventLoop>& modal : s.modalLoops) {
    if (modal) modal->quit();
  }
  if (s.mainLoop) s.mainLoop->exit(0);
}

void FatalError() {
  ApplicationState& s = State();
  // No handler of the program's windows may run from here on.
  for (QWidget* w : QApplication::topLevelWidgets()) w->setEnabled(false);
  GiveProgramIcon();
  ShowMessage(QStringLiteral("Velquist 无法启动：程序的窗口无法打开。"), kStyleStop,
              QStringLiteral("错误"));
  s.cleanup = nullptr;
  ReleasePlatform();
  std::exit(-1);
}

int RunApplication(int argc, char** argv) {
  // The platform. A test brings its own QApplication. Qt sees only the
  // program's name, so that no argument (not even Qt's own "-style" and the
  // like) changes anything.
  int qtArgc = argc > 0 ? 1 : 0;
  std::optional<QApplication> ownApplication;
  if (QApplication::instance() == nullptr) ownApplication.emplace(qtArgc, argv);
  // Only the end-of-program rule ends the run, not Qt's own idea of it.
  QApplication::setQuitOnLastWindowClosed(false);
  PrepareVisualStyle();
  UseStyleColours();
  InstallQtChineseTranslation();
  // Before any window exists, so that every one is built and laid out with it.
  UseInterfaceFont();
  ApplicationState& s = State();
  s.mainLoopStarted = false;
  s.endRequested = false;

  // The calculations' own state, released exactly once at the end.
  ResetFloatingPointEnvironment();
  InitGlobalState(TheGlobalState());
  s.cleanup = &ReleaseTheGlobalState;

  if (!OpenWindow(WindowDefinition::MainWindow, false)) FatalError();

  s.mainLoopStarted = true;
  if (AnyWindowOpen()) RunMessageLoop(LoopMode::Main);

  // Every window is gone by now, so no handler can run any more.
  RunExitCleanup();
  ReleasePlatform();
  s.mainLoopStarted = false;
  return 0;
}

}  // namespace velquist
