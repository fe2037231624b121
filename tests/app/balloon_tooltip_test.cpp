// The tooltip host: what a tip says, that resting the mouse really shows it
// (also over an inactive window), and that leaving or clicking takes it away.

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QTest>
#include <QToolTip>

#include <memory>

#include "app/balloon_tooltip.h"
#include "app/balloon_tooltip_testing.h"
#include "app/skin.h"

using namespace velquist;
using velquist::testing::TooltipInspector;

namespace {

const QString kDiameterTip =
    QStringLiteral("圆周长公式=直径*π\r\n圆面积公式=π*(半径的平方)\r\n圆的半径=直径/2");
const QString kHeightTip = QStringLiteral("计算周长和面积时此项直接填1就可以了");

// Long enough for the system's wake-up delay, short enough to fail fast.
constexpr int kShowTimeoutMs = 5000;

struct Form {
  QWidget window;
  QLineEdit* diameter;
  QLineEdit* height;
};

std::unique_ptr<Form> MakeForm() {
  auto form = std::make_unique<Form>();
  form->window.resize(300, 200);
  form->window.move(40, 40);
  form->diameter = new QLineEdit(&form->window);
  form->diameter->setGeometry(88, 80, 104, 20);
  form->height = new QLineEdit(QStringLiteral("1"), &form->window);
  form->height->setGeometry(88, 126, 104, 20);
  AttachTooltip(form->diameter, kDiameterTip, TooltipShape::Balloon, TooltipPlacement::AtPointer);
  AttachTooltip(form->height, kHeightTip, TooltipShape::Balloon, TooltipPlacement::AtPointer);
  form->window.show();
  if (!QTest::qWaitForWindowExposed(&form->window)) qWarning("test window was not exposed");
  return form;
}

void MoveAway(Form& form) { QTest::mouseMove(&form.window, QPoint(10, 10)); }

// Horizontal extent of the dark (text) pixels in `rows` of `image`, away
// from the outline at the sides.
int InkWidth(const QImage& image, int top, int bottom) {
  int left = image.width();
  int right = -1;
  for (int y = top; y <= bottom; ++y) {
    for (int x = 3; x < image.width() - 3; ++x) {
      if (qAlpha(image.pixel(x, y)) == 255 && qGray(image.pixel(x, y)) < 100) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  return right - left + 1;
}

}  // namespace

class BalloonTooltipTest : public QObject {
  Q_OBJECT

 private slots:
  void tipLinesBreakOnlyAtCrLf_data();
  void tipLinesBreakOnlyAtCrLf();
  void restingTheMouseShowsABalloonAtThePointer();
  void tipShowsWhileTheWindowIsInactive();
  void clickingHidesUntilTheMouseLeaves();
  void ampersandsAreDrawnLiterally();
  void centredTipHangsBelowTheMiddle();
};

void BalloonTooltipTest::tipLinesBreakOnlyAtCrLf_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("diameter box") << kDiameterTip
                                << QStringList{QStringLiteral("圆周长公式=直径*π"),
                                               QStringLiteral("圆面积公式=π*(半径的平方)"),
                                               QStringLiteral("圆的半径=直径/2")};
  // clang-format off
  QTest::newRow("height box") << kHeightTip << QStringList{kHeightTip};
  QTest::newRow("ampersand") << QStringLiteral("长&宽") << QStringList{QStringLiteral("长&宽")};
  QTest::newRow("lone LF or CR") << QStringLiteral("a\nb\rc") << QStringList{QStringLiteral("a\nb\rc")};
  QTest::newRow("empty") << QString() << QStringList{};
  // clang-format on
}

void BalloonTooltipTest::tipLinesBreakOnlyAtCrLf() {
  QFETCH(QString, text);
  QFETCH(QStringList, lines);
  QLineEdit edit;
  AttachTooltip(&edit, text, TooltipShape::Balloon, TooltipPlacement::AtPointer);
  QCOMPARE(TooltipInspector::ToolLines(*TooltipInspector::Host(), &edit), lines);
  AttachTooltip(nullptr, text, TooltipShape::Balloon, TooltipPlacement::AtPointer);  // ignored
}

void BalloonTooltipTest::restingTheMouseShowsABalloonAtThePointer() {
  auto form = MakeForm();
  TooltipHost* host = TooltipInspector::Host();
  // A later call asking for a plain tip cannot change the shape.
  QLineEdit plain;
  AttachTooltip(&plain, QStringLiteral("x"), TooltipShape::PlainBox, TooltipPlacement::AtPointer);
  QVERIFY(TooltipInspector::Balloon(*host));

  MoveAway(*form);
  const QPoint rest(30, 10);
  QTest::mouseMove(form->diameter, rest);
  QTRY_COMPARE_WITH_TIMEOUT(TooltipInspector::ShownLines(*host), TooltipTextLines(kDiameterTip),
                            kShowTimeoutMs);
  QCOMPARE(TooltipInspector::ShownTool(*host), form->diameter);
  const QPoint pointer = form->diameter->mapToGlobal(rest);
  QCOMPARE(TooltipInspector::Anchor(*host), pointer);

  // Balloon-shaped: the pointer's tip ends just short of the mouse position,
  // the body's rounded corners are cut away, and no line was wrapped.
  const QRect tip = host->geometry();
  const bool below = tip.top() > pointer.y();
  const int gap = below ? tip.top() - pointer.y() : pointer.y() - tip.bottom();
  QVERIFY2(gap >= 1 && gap <= 4, qPrintable(QString::number(gap)));
  const QPoint stem_tip(pointer.x() - tip.left(), below ? 0 : tip.height() - 1);
  QVERIFY(host->mask().contains(stem_tip));
  QVERIFY(!host->mask().contains(QPoint(0, below ? tip.height() - 1 : 0)));
  const QFontMetrics metrics(QToolTip::font());
  QVERIFY(tip.width() > metrics.horizontalAdvance(QStringLiteral("圆面积公式=π*(半径的平方)")));
  QVERIFY(tip.height() > 3 * metrics.height());

  // Leaving hides the tip; resting on the other box shows its one line.
  MoveAway(*form);
  QTRY_VERIFY(TooltipInspector::ShownLines(*host).isEmpty());
  QTest::mouseMove(form->height, QPoint(30, 10));
  QTRY_COMPARE_WITH_TIMEOUT(TooltipInspector::ShownLines(*host), QStringList{kHeightTip},
                            kShowTimeoutMs);
  MoveAway(*form);
  QTRY_VERIFY(TooltipInspector::ShownLines(*host).isEmpty());
  QVERIFY(TooltipInspector::ShownTool(*host) == nullptr);
}

void BalloonTooltipTest::tipShowsWhileTheWindowIsInactive() {
  auto form = MakeForm();
  QWidget other;
  other.setGeometry(400, 300, 100, 100);
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  QVERIFY(!form->window.isActiveWindow());

  MoveAway(*form);
  QTest::mouseMove(form->height, QPoint(20, 10));
  QTRY_COMPARE_WITH_TIMEOUT(TooltipInspector::ShownLines(*TooltipInspector::Host()),
                            QStringList{kHeightTip}, kShowTimeoutMs);
  MoveAway(*form);
}

void BalloonTooltipTest::clickingHidesUntilTheMouseLeaves() {
  auto form = MakeForm();
  TooltipHost* host = TooltipInspector::Host();
  MoveAway(*form);
  QTest::mouseMove(form->diameter, QPoint(20, 10));
  QTRY_VERIFY_WITH_TIMEOUT(host->isVisible(), kShowTimeoutMs);
  QTest::mouseClick(form->diameter, Qt::LeftButton, {}, QPoint(20, 10));
  QVERIFY(!host->isVisible());
  QTest::mouseMove(form->diameter, QPoint(40, 12));
  QTest::qWait(2 * QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay));
  QVERIFY(!host->isVisible());
  // Leaving and coming back arms it again.
  MoveAway(*form);
  QTest::mouseMove(form->diameter, QPoint(20, 10));
  QTRY_VERIFY_WITH_TIMEOUT(host->isVisible(), kShowTimeoutMs);
  MoveAway(*form);
}

void BalloonTooltipTest::ampersandsAreDrawnLiterally() {
  auto form = MakeForm();
  TooltipHost* host = TooltipInspector::Host();
  // Mnemonic handling would draw "&&" as one "&" and halve the ink.
  const QString ampersands(10, QLatin1Char('&'));
  AttachTooltip(form->height, ampersands, TooltipShape::Balloon, TooltipPlacement::AtPointer);
  MoveAway(*form);
  QTest::mouseMove(form->height, QPoint(20, 10));
  QTRY_COMPARE_WITH_TIMEOUT(TooltipInspector::ShownLines(*host), QStringList{ampersands},
                            kShowTimeoutMs);
  const QFontMetrics metrics(QToolTip::font());
  const int expected = metrics.horizontalAdvance(ampersands);
  // The body's rows are those its shape spans in the middle; keep off their outline.
  const QRect tip = host->geometry();
  int body_top = 0;
  while (!host->mask().contains(QPoint(tip.width() / 2, body_top))) ++body_top;
  int body_bottom = tip.height() - 1;
  while (!host->mask().contains(QPoint(tip.width() / 2, body_bottom))) --body_bottom;
  const QImage picture = host->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  const int ink = InkWidth(picture, body_top + 4, body_bottom - 4);
  QVERIFY2(ink > expected * 3 / 4 && ink <= expected,
           qPrintable(QStringLiteral("ink %1, text %2").arg(ink).arg(expected)));
  MoveAway(*form);
  AttachTooltip(form->height, kHeightTip, TooltipShape::Balloon, TooltipPlacement::AtPointer);
}

// The program hangs its tips at the pointer; the other placement is part of
// what AttachTooltip offers all the same.
void BalloonTooltipTest::centredTipHangsBelowTheMiddle() {
  auto form = MakeForm();
  TooltipHost* host = TooltipInspector::Host();
  AttachTooltip(form->height, kHeightTip, TooltipShape::Balloon, TooltipPlacement::BelowCentre);
  MoveAway(*form);
  QTest::mouseMove(form->height, QPoint(20, 10));
  QTRY_COMPARE_WITH_TIMEOUT(TooltipInspector::ShownLines(*host), QStringList{kHeightTip},
                            kShowTimeoutMs);
  QCOMPARE(TooltipInspector::Anchor(*host),
           form->height->mapToGlobal(QPoint(form->height->width() / 2, form->height->height())));
  MoveAway(*form);
  AttachTooltip(form->height, kHeightTip, TooltipShape::Balloon, TooltipPlacement::AtPointer);
}

QTEST_MAIN(BalloonTooltipTest)
#include "balloon_tooltip_test.moc"
