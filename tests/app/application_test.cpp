// The whole run: start-up, the end-of-program rule, shutdown, and the way
// start-up gives up.
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <cfenv>

#include "app/application.h"
#include "app/application_testing.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"
#include "core/global_state.h"
#include "tests/app/ui_test_support.h"

using velquist::WindowDefinition;
using velquist::testing::OpenedWindow;

namespace {

int Run() {
  static char name[] = "velquist";
  static char* argv[] = {name, nullptr};
  return velquist::RunApplication(1, argv);
}

void PressEscape(WindowDefinition d) {
  if (QWidget* w = OpenedWindow(d)) QTest::keyClick(w, Qt::Key_Escape);
}

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

  int cleanups_ = 0;

 private slots:
  void init() {
    cleanups_ = 0;
    velquist::testing::SetCleanupObserver([this] { ++cleanups_; });
  }
  void cleanup() {
    velquist::testing::SetCleanupObserver(nullptr);
    const bool leftOpen = velquist::AnyWindowOpen();
    velquist::testing::CloseEverything();
    QVERIFY(!leftOpen);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void closingTheLastWindowEndsWithZeroAfterOneCleanup() {
    std::size_t piBytes = 0;
    QPointer<QWidget> applicationWindow;
    QTimer::singleShot(0, [&] {
      piBytes = velquist::TheGlobalState().PiText.size();
      applicationWindow = velquist::ApplicationWindow();
      PressEscape(WindowDefinition::MainWindow);
    });
    QCOMPARE(Run(), 0);
    QCOMPARE(piBytes, std::size_t{1002});
    QCOMPARE(cleanups_, 1);
    QVERIFY(velquist::TheGlobalState().PiText.empty());
    QVERIFY(applicationWindow.isNull());
  }

  void formulaWindowKeepsTheProgramRunning() {
    bool formulaOpenAfterMainClosed = false;
    int cleanupsWhileFormulaOpen = -1;
    QTimer::singleShot(0, [&] {
      auto* main = OpenedWindow(WindowDefinition::MainWindow);
      auto* item = main->findChild<QAction*>(QStringLiteral("查看运算公式"));
      QVERIFY(item != nullptr);
      item->trigger();
      PressEscape(WindowDefinition::MainWindow);
      // Looked at after the main window's destruction has been noted.
      QTimer::singleShot(50, [&] {
        formulaOpenAfterMainClosed = OpenedWindow(WindowDefinition::MainWindow) == nullptr &&
                                     OpenedWindow(WindowDefinition::FormulaWindow) != nullptr;
        cleanupsWhileFormulaOpen = cleanups_;
        PressEscape(WindowDefinition::FormulaWindow);
      });
    });
    QCOMPARE(Run(), 0);
    QVERIFY(formulaOpenAfterMainClosed);
    QCOMPARE(cleanupsWhileFormulaOpen, 0);
    QCOMPARE(cleanups_, 1);
  }

  // Whatever the process inherited, the run computes with round to nearest,
  // no trapping exception and x87 intermediates with 64-bit significands.
  void floatingPointEnvironmentIsReset() {
    std::fenv_t saved;
    std::fegetenv(&saved);
    std::fesetround(FE_UPWARD);
    feenableexcept(FE_DIVBYZERO | FE_OVERFLOW);
    std::fenv_t narrowed;
    std::fegetenv(&narrowed);
    narrowed.__control_word =
        static_cast<unsigned short>((narrowed.__control_word & ~0x300) | 0x200);
    std::fesetenv(&narrowed);

    int rounding = -1;
    int traps = -1;
    bool extended = false;
    QTimer::singleShot(0, [&] {
      rounding = std::fegetround();
      traps = fegetexcept();
      volatile long double one = 1.0L;
      volatile long double tiny = 0x1p-63L;
      extended = one + tiny != one;
      PressEscape(WindowDefinition::MainWindow);
    });
    const int code = Run();
    std::fesetenv(&saved);
    QCOMPARE(code, 0);
    QCOMPARE(rounding, FE_TONEAREST);
    QCOMPARE(traps, 0);
    QVERIFY(extended);
  }

  // FatalError ends the process, so the run happens in a process of its own.
  void mainWindowThatCannotOpenEndsWithMinusOne() {
    QProcess probe;
    // Its arguments change nothing: were Qt to take "-platform" from them, the
    // start would abort instead of reaching the box.
    probe.start(QStringLiteral(VELQUIST_STARTUP_FAILURE_PROBE),
                {QStringLiteral("-platform"), QStringLiteral("no-such-platform"),
                 QStringLiteral("--anything")});
    QVERIFY(probe.waitForFinished(60000));
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 255);  // -1 as the process's exit status
    // The stop icon and a single OK button, captioned "错误", nothing open.
    QVERIFY2(out.contains(QStringLiteral("box caption=错误 style=%1 ").arg(velquist::kStyleStop)),
             qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("windows open=0")), qPrintable(out));
    QVERIFY2(!out.contains(QStringLiteral("cleanup ran")), qPrintable(out));
    QVERIFY2(!out.contains(QStringLiteral("returned")), qPrintable(out));
  }
};

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
