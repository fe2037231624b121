// Opening windows from their definitions, and the formula and About windows.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "app/application.h"
#include "app/gbk_codec.h"
#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"
#include "tests/app/ui_test_support.h"

using velquist::OpenWindow;
using velquist::WindowDefinition;
using velquist::testing::OpenedWindow;

Q_DECLARE_METATYPE(velquist::WindowDefinition)

namespace control = velquist::control;

namespace {

QSize ScreenSize() { return QGuiApplication::primaryScreen()->geometry().size(); }

QRgb PixelAt(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000; }

QString Hex(QRgb c) { return QString::number(c, 16); }

}  // namespace

class SecondaryWindowsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<velquist::testing::WindowTestFixture> fixture_;

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void init() { fixture_ = std::make_unique<velquist::testing::WindowTestFixture>(); }
  void cleanup() { velquist::testing::FinishWindowTest(fixture_); }

  void framesFollowTheirDefinitions_data() {
    QTest::addColumn<WindowDefinition>("definition");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<bool>("minimiseBox");
    // clang-format off
    QTest::newRow("main") << WindowDefinition::MainWindow
                          << QStringLiteral("Velquist（双击窗口空白处查看运算公式）") << QSize(721, 590)
                          << true;
    QTest::newRow("formula") << WindowDefinition::FormulaWindow << QStringLiteral("运算公式")
                             << QSize(414, 440) << true;
    // clang-format on
  }

  void framesFollowTheirDefinitions() {
    QFETCH(WindowDefinition, definition);
    QFETCH(QString, title);
    QFETCH(QSize, outer);
    QFETCH(bool, minimiseBox);

    QVERIFY(OpenWindow(definition, false));
    QWidget* w = OpenedWindow(definition);
    QVERIFY(w != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->windowTitle(), title);
    // Offscreen there is no frame, so the client is the whole outer size.
    QCOMPARE(w->frameGeometry().size(), outer);
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(w->frameGeometry().topLeft(), velquist::CentredPosition(ScreenSize(), outer));
    QCOMPARE(bool(w->windowFlags() & Qt::WindowMinimizeButtonHint), minimiseBox);
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(w->parentWidget(), nullptr);
    QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
  }

  void centringTruncatesTowardZero_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("place");
    // clang-format off
    QTest::newRow("main on 1024x768") << QSize(1024, 768) << QSize(721, 590) << QPoint(151, 89);
    QTest::newRow("odd difference") << QSize(800, 601) << QSize(414, 440) << QPoint(193, 80);
    // -81 / 2 is -40, not -41: the left edge lies off-screen by 40 pixels.
    QTest::newRow("screen narrower than main") << QSize(640, 480) << QSize(721, 590)
                                               << QPoint(-40, -55);
    // clang-format on
  }

  void centringTruncatesTowardZero() {
    QFETCH(QSize, screen);
    QFETCH(QSize, outer);
    QFETCH(QPoint, place);
    QCOMPARE(velquist::CentredPosition(screen, outer), place);
  }

  void formulaWindowHasOneInstance() {
    QVERIFY(OpenWindow(WindowDefinition::FormulaWindow, false));
    QPointer<QWidget> first = OpenedWindow(WindowDefinition::FormulaWindow);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    first->showMinimized();
    QTRY_VERIFY(first->isMinimized());

    // A second opening restores the one window instead of making another.
    QVERIFY(OpenWindow(WindowDefinition::FormulaWindow, true));
    QCOMPARE(OpenedWindow(WindowDefinition::FormulaWindow), first.data());
    QVERIFY(!first->isMinimized());
    QCOMPARE(first->parentWidget(), nullptr);
    int formulaWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      formulaWindows += qobject_cast<velquist::FormulaWindow*>(w) != nullptr;
    }
    QCOMPARE(formulaWindows, 1);

    // Closed, it leaves no trace; the next opening builds it afresh.
    QTest::keyClick(first, Qt::Key_Escape);
    QTRY_VERIFY(first.isNull());
    QCOMPARE(OpenedWindow(WindowDefinition::FormulaWindow), nullptr);
    QVERIFY(OpenWindow(WindowDefinition::FormulaWindow, false));
    QVERIFY(OpenedWindow(WindowDefinition::FormulaWindow) != nullptr);
  }

  void openingTheOpenFormulaWindowActivatesIt() {
    QVERIFY(OpenWindow(WindowDefinition::FormulaWindow, false));
    QWidget* formula = OpenedWindow(WindowDefinition::FormulaWindow);
    QVERIFY(OpenWindow(WindowDefinition::MainWindow, false));
    QWidget* main = OpenedWindow(WindowDefinition::MainWindow);
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));

    QVERIFY(OpenWindow(WindowDefinition::FormulaWindow, false));
    QTRY_COMPARE(QGuiApplication::focusWindow(), formula->windowHandle());
    QCOMPARE(QApplication::activeWindow(), formula);
  }

  void escapeWithoutModifiersCloses_data() {
    QTest::addColumn<WindowDefinition>("definition");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("closes");
    for (auto [name, d] : {std::pair{"main", WindowDefinition::MainWindow},
                           std::pair{"formula", WindowDefinition::FormulaWindow}}) {
      // clang-format off
      QTest::addRow("%s, Esc", name) << d << Qt::KeyboardModifiers() << true;
      QTest::addRow("%s, Shift+Esc", name) << d << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
      QTest::addRow("%s, Ctrl+Esc", name) << d << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
      QTest::addRow("%s, Alt+Esc", name) << d << Qt::KeyboardModifiers(Qt::AltModifier) << false;
      // clang-format on
    }
  }

  void escapeWithoutModifiersCloses() {
    QFETCH(WindowDefinition, definition);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, closes);
    QVERIFY(OpenWindow(definition, false));
    QPointer<QWidget> w = OpenedWindow(definition);
    QVERIFY(QTest::qWaitForWindowActive(w));
    // Into whichever control has the focus, an edit box in the main window.
    QWidget* target = w->focusWidget() != nullptr ? w->focusWidget() : w.data();
    QTest::keyClick(target, Qt::Key_Escape, modifiers);
    if (closes) {
      QTRY_VERIFY(w.isNull());
    } else {
      QTest::qWait(20);
      QVERIFY(!w.isNull() && w->isVisible());
    }
  }

  void aboutBlocksTheOtherWindowsUntilClosed_data() {
    QTest::addColumn<bool>("formulaEnabledBefore");
    QTest::addColumn<WindowDefinition>("activeBefore");
    // clang-format off
    QTest::newRow("both enabled before, main active")
        << true << WindowDefinition::MainWindow;
    QTest::newRow("both enabled before, formula active")
        << true << WindowDefinition::FormulaWindow;
    QTest::newRow("formula disabled before") << false << WindowDefinition::MainWindow;
    // clang-format on
  }

  void aboutBlocksTheOtherWindowsUntilClosed() {
    QFETCH(bool, formulaEnabledBefore);
    QFETCH(WindowDefinition, activeBefore);
    QVERIFY(OpenWindow(WindowDefinition::MainWindow, false));
    QVERIFY(OpenWindow(WindowDefinition::FormulaWindow, false));
    QWidget* main = OpenedWindow(WindowDefinition::MainWindow);
    QWidget* formula = OpenedWindow(WindowDefinition::FormulaWindow);
    QWidget* active = OpenedWindow(activeBefore);
    active->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(active));
    formula->setEnabled(formulaEnabledBefore);
    auto* box = static_cast<velquist::MainWindow*>(main)->Control<QLineEdit>(control::圆直径编辑框);

    struct Seen {
      bool mainEnabled = true;
      bool formulaEnabled = true;
      bool aboutIsModal = false;
      bool ownedByApplicationWindow = false;
      QWindow* transientParent = nullptr;
      bool minimiseBox = true;
      bool maximiseBox = true;
      bool customFrame = false;
      bool reopenedSame = false;
      QString typed;
      QSize size;
      QPoint place;
    } seen;
    QPointer<QWidget> about;
    velquist::testing::WhenModalShown([&](QWidget* modal) {
      about = OpenedWindow(WindowDefinition::AboutWindow);
      seen.mainEnabled = main->isEnabled();
      seen.formulaEnabled = formula->isEnabled();
      seen.aboutIsModal = modal == about;
      seen.ownedByApplicationWindow = about->parentWidget() == velquist::ApplicationWindow();
      seen.transientParent = about->windowHandle()->transientParent();
      seen.minimiseBox = bool(about->windowFlags() & Qt::WindowMinimizeButtonHint);
      seen.maximiseBox = bool(about->windowFlags() & Qt::WindowMaximizeButtonHint);
      seen.customFrame = bool(about->windowFlags() & Qt::CustomizeWindowHint);
      seen.size = about->frameGeometry().size();
      seen.place = about->frameGeometry().topLeft();
      QTest::keyClicks(box, QStringLiteral("5"));
      seen.typed = box->text();
      // Opening it again while it runs changes nothing and does not block.
      seen.reopenedSame = OpenWindow(WindowDefinition::AboutWindow, true) &&
                          OpenedWindow(WindowDefinition::AboutWindow) == about;
      QTest::keyClick(about, Qt::Key_Escape);
    });
    QVERIFY(OpenWindow(WindowDefinition::AboutWindow, true));

    // Back here only once the About window is gone.
    QVERIFY(about.isNull());
    QCOMPARE(OpenedWindow(WindowDefinition::AboutWindow), nullptr);
    QVERIFY(seen.aboutIsModal);
    QVERIFY(!seen.mainEnabled);
    QVERIFY(!seen.formulaEnabled);
    // Owned by the invisible window, but stacked above the one it came from.
    QVERIFY(seen.ownedByApplicationWindow);
    QCOMPARE(seen.transientParent, active->windowHandle());
    // Only with the customised frame does Qt leave out of the window
    // manager's hints what the flags leave out.
    QVERIFY(seen.customFrame);
    QVERIFY(!seen.minimiseBox);
    QVERIFY(!seen.maximiseBox);
    QVERIFY(seen.reopenedSame);
    QCOMPARE(seen.typed, QString());
    QCOMPARE(seen.size, QSize(210, 180));
    QCOMPARE(seen.place, velquist::CentredPosition(ScreenSize(), QSize(210, 180)));
    QVERIFY(main->isEnabled());
    QCOMPARE(formula->isEnabled(), formulaEnabledBefore);
    QTest::keyClicks(box, QStringLiteral("5"));
    QCOMPARE(box->text(), QStringLiteral("5"));
  }

  void formulaLabelShowsTheWholeTextAsItStands() {
    velquist::FormulaWindow window;
    auto* label = window.findChild<QLabel*>(QStringLiteral("标签1"));
    QVERIFY(label != nullptr);
    QCOMPARE(label->geometry(), QRect(24, 24, 360, 360));
    QCOMPARE(label->frameShape(), QFrame::Box);
    QCOMPARE(label->lineWidth(), 1);
    QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    QCOMPARE(window.findChildren<QWidget*>().size(), 1);

    // 647 bytes in GBK: a dropped or mistyped character changes the count.
    QCOMPARE(velquist::ToGbk(velquist::kFormulaText).size(), std::size_t{647});
    const QStringList lines = label->text().split(u'\n');
    QCOMPARE(lines.size(), 29);
    QCOMPARE(lines[3], QStringLiteral("矩形周长计算公式:(长＋宽)×2"));
    QCOMPARE(lines[14], QStringLiteral("梯形的周长计算公式:上底+下底+2条腰之和"));
    QCOMPARE(lines[17], QStringLiteral("圆柱的表面积计算公式:"));
    QCOMPARE(lines[24], QStringLiteral("球的体积计算公式:"));
    QCOMPARE(lines[26], QStringLiteral("的计算公式:"));
    QCOMPARE(lines[27], QStringLiteral("的计算公式:"));
    QCOMPARE(lines[28], QString());
  }

  void aboutTextHasItsSixLines() {
    const QStringList lines = velquist::kAboutText.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 7);  // six lines, each ended by "\r\n"
    QCOMPARE(lines[0], QString());
    QVERIFY(lines[1].contains(QStringLiteral("Velquist")));
    QCOMPARE(lines[2], QString());
    QCOMPARE(lines[3],
             QStringLiteral("如果对软件有什么不满意的地方或者是有什么错误或是意见建议请联系邮箱"
                            "（邮件标题请注明是关于Velquist的）"));
    QCOMPARE(lines[4], QString());
    QVERIFY(lines[5].startsWith(QStringLiteral("联系邮箱:")));
    QVERIFY(lines[5].contains(QStringLiteral("@example.com")));
    QCOMPARE(lines[6], QString());
  }

  // The frame's rings, read off the painted label: grey at both edges, the
  // brightest in the middle, corners mitred; yellow inside; red text.
  void aboutLabelPaintsGradientFrameAndText() {
    velquist::AboutWindow window;
    auto* label = window.findChild<velquist::AboutLabel*>(QStringLiteral("标签1"));
    QVERIFY(label != nullptr);
    QCOMPARE(label->geometry(), QRect(0, 0, 204, 148));
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    const QImage image = label->grab().toImage();
    QCOMPARE(image.size(), QSize(204, 148));

    const int mid = 74;
    const QRgb grey = 0xFF808080;
    for (auto [x, y] : {std::pair{0, mid},
                        {7, mid},
                        {203, mid},
                        {196, mid},
                        {100, 0},
                        {100, 7},
                        {100, 147},
                        {100, 140}}) {
      QCOMPARE(Hex(PixelAt(image, x, y)), Hex(grey));
    }
    // Each side runs symmetrically across its eight pixels, brightest inside.
    for (int ring = 0; ring < 8; ++ring) {
      const QRgb expected = velquist::AboutLabel::FrameColour(ring, 8);
      QCOMPARE(Hex(PixelAt(image, ring, mid)), Hex(expected));
      QCOMPARE(Hex(PixelAt(image, 203 - ring, mid)), Hex(expected));
      QCOMPARE(Hex(PixelAt(image, 100, 147 - ring)), Hex(expected));
      QCOMPARE(expected, velquist::AboutLabel::FrameColour(7 - ring, 8));
    }
    QVERIFY(qRed(velquist::AboutLabel::FrameColour(3, 8)) > 230);
    // Mitred: at (2,5) the left side's ring 2 shows, not the top side's ring 5.
    QCOMPARE(Hex(PixelAt(image, 2, 5)), Hex(velquist::AboutLabel::FrameColour(2, 8)));
    QCOMPARE(Hex(PixelAt(image, 5, 2)), Hex(velquist::AboutLabel::FrameColour(2, 8)));
    QCOMPARE(Hex(PixelAt(image, 5, 5)), Hex(velquist::AboutLabel::FrameColour(5, 8)));
    // Inside: the first line is empty, so the top of the area is yellow.
    QCOMPARE(Hex(PixelAt(image, 8, 8)), Hex(0xFFFFFF00));
    QCOMPARE(Hex(PixelAt(image, 195, 9)), Hex(0xFFFFFF00));
    int red = 0;
    for (int y = 8; y < 140; ++y) {
      for (int x = 8; x < 196; ++x)
        red += qRed(PixelAt(image, x, y)) > 200 && qGreen(PixelAt(image, x, y)) < 60;
    }
    QVERIFY2(red > 100, qPrintable(QString::number(red)));
  }

  void narrowLabelGetsANarrowerFrame() {
    velquist::AboutLabel label(QString{});
    label.resize(40, 10);
    const QImage image = label.grab().toImage();
    // Half the height: five rings, white in the middle one, grey at both ends.
    QCOMPARE(Hex(PixelAt(image, 20, 0)), Hex(0xFF808080));
    QCOMPARE(Hex(PixelAt(image, 20, 2)), Hex(0xFFFFFFFF));
    QCOMPARE(Hex(PixelAt(image, 20, 4)), Hex(0xFF808080));
    QCOMPARE(Hex(PixelAt(image, 20, 5)), Hex(0xFF808080));
    QCOMPARE(Hex(PixelAt(image, 20, 7)), Hex(0xFFFFFFFF));
  }
};

QTEST_MAIN(SecondaryWindowsTest)
#include "secondary_windows_test.moc"
