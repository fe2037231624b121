// The windows under the interface fonts of real desktops: whatever font the
// desktop names, every text of the program fits the rectangle of its control.
//
// A desktop's font reaches the program as the application font the platform
// theme sets up before any code of the program runs (GNOME's "Cantarell 11"
// through the GTK theme, for instance). Each row sets that font the same way,
// with QApplication::setFont before RunApplication, so that the program's own
// start-up takes it from where a theme leaves it; everything is measured
// with the fonts the controls end up with. CTest runs this at Qt's scale
// factors 1 and 2 (QT_SCALE_FACTOR).
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <string_view>

#include "app/application.h"
#include "app/edit_box.h"
#include "app/gbk_codec.h"
#include "app/interface_font.h"
#include "app/messages.h"
#include "app/secondary_windows.h"
#include "app/skin_colours.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"
#include "core/message_texts.h"
#include "tests/app/ui_test_support.h"

using velquist::WindowDefinition;
using velquist::testing::OpenedWindow;

namespace {

// Every message the calculators show, with the style and caption they use.
struct Message {
  std::string_view text;
  int style;
  std::string_view title;
};
namespace m = velquist::message;
const Message kMessages[] = {
    {m::kEnterDecimalPlaces, velquist::kStyleOk, {}},
    {m::kAtMost1000DecimalPlaces, velquist::kStyleOk, {}},
    {m::kDecimalPlacesNotNegative, velquist::kStyleOk, {}},
    {m::kEnterCircleDiameter, velquist::kStyleOk, {}},
    {m::kEnterRectangleLength, velquist::kStyleOk, {}},
    {m::kEnterRectangleWidth, velquist::kStyleOk, {}},
    {m::kEnterRectangleHeight, velquist::kStyleOk, {}},
    {m::kEnterTriangleBase, velquist::kStyleOk, {}},
    {m::kEnterTriangleHeight, velquist::kStyleOk, {}},
    {m::kTrianglePerimeterNote, velquist::kStyleInformation, m::kResultTitle},
    {m::kEnterParallelogramBase, velquist::kStyleOk, {}},
    {m::kEnterParallelogramHeight, velquist::kStyleOk, {}},
    {m::kParallelogramPerimeterNote, velquist::kStyleInformation, m::kResultTitle},
    {m::kEnterTrapezoidUpperBase, velquist::kStyleOk, {}},
    {m::kEnterTrapezoidLowerBase, velquist::kStyleOk, {}},
    {m::kEnterTrapezoidHeight, velquist::kStyleOk, {}},
    {m::kTrapezoidPerimeterNote, velquist::kStyleOk, {}},
    {m::kPaused, velquist::kStyleOk, {}},
};

QString Describe(const QRect& r) {
  return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Where the ink of `text` lands when drawn as a control draws it: with the
// control's font, at its device pixel ratio, into `area` with `flags`, but
// without clipping (QPainter::drawText cuts at `area` unless told not to), so
// that what the control would cut off shows outside `area`.
// A null rectangle when nothing is inked.
QRect InkOf(const QWidget* control, const QFont& font, const QString& text, const QRect& area,
            int flags) {
  const int room = std::max(area.width(), area.height()) + 64;
  const QRect canvas = area.adjusted(-room, -room, room, room);
  const qreal ratio = control->devicePixelRatioF();
  QImage image(canvas.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.translate(-canvas.topLeft());
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(area, flags | Qt::TextDontClip, text);
  painter.end();
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(line[x]) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return {};
  // Device pixels back to the control's coordinates, widened to whole pixels.
  const QRectF ink(left / ratio, top / ratio, (right + 1 - left) / ratio,
                   (bottom + 1 - top) / ratio);
  return ink.translated(canvas.topLeft()).toAlignedRect();
}

// What each window's texts need against what their controls give them; every
// text that does not fit is one line of `clipped`.
class Measure {
 public:
  QStringList clipped;

  // `area` is where the control draws `text` with `flags`; its ink must stay
  // inside `room`, the part of the control the text may cover.
  void Text(const QWidget* control, const QString& text, const QRect& area, int flags,
            const QRect& room) {
    const QRect ink = InkOf(control, control->font(), text, area, flags);
    if (!ink.isNull() && !room.contains(ink)) {
      clipped << QStringLiteral("%1 \"%2\": ink %3, room %4")
                     .arg(control->objectName(), text, Describe(ink), Describe(room));
    }
  }
  void Text(const QWidget* control, const QString& text, const QRect& area, int flags) {
    Text(control, text, area, flags, area);
  }

  void MainWindow(QWidget* window) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
      Text(label, label->text(), label->contentsRect(), static_cast<int>(label->alignment()),
           label->rect());
    }
    for (const QRadioButton* radio : window->findChildren<QRadioButton*>()) {
      QStyleOptionButton option;
      option.initFrom(radio);
      option.text = radio->text();
      const QRect contents =
          radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
      Text(radio, radio->text(), contents.intersected(radio->rect()),
           Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (const QPushButton* button : window->findChildren<QPushButton*>()) Button(button);
    for (const QGroupBox* box : window->findChildren<QGroupBox*>()) GroupTitle(box);
    for (const velquist::EditBox* edit : window->findChildren<velquist::EditBox*>())
      EditHeight(edit);
  }

  // The caption is drawn on a gap of the frame's straight top edge.
  void GroupTitle(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const QRect straight = box->rect().adjusted(velquist::skin::kGroupFrameRadius, 0,
                                                -velquist::skin::kGroupFrameRadius, 0);
    if (!straight.contains(caption)) {
      clipped << QStringLiteral("%1 title \"%2\": caption %3, straight top edge %4")
                     .arg(box->objectName(), box->title(), Describe(caption), Describe(straight));
    }
    Text(box, box->title(), caption, Qt::AlignCenter);
  }

  // The skin draws the caption on the face inside the ring.
  void Button(const QPushButton* button) {
    const int inset = velquist::skin::kButtonFaceInset;
    Text(button, button->text(), button->rect(), Qt::AlignCenter,
         button->rect().adjusted(inset, inset, -inset, -inset));
  }

  // Raised to the font's text height plus both frame edges, never lowered.
  void EditHeight(const velquist::EditBox* edit) {
    const int edge = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    const int expected = std::max(20, edit->fontMetrics().height() + 2 * edge);
    if (edit->height() != expected || edit->width() != 104) {
      clipped << QStringLiteral("%1: %2x%3, expected 104x%4")
                     .arg(edit->objectName())
                     .arg(edit->width())
                     .arg(edit->height())
                     .arg(expected);
    }
  }

  // The two labels paint their text themselves, so their own painting is
  // measured: made taller than they are, so that nothing is cut off, they
  // must ink nothing below the bottom of the area they really have.
  //
  // The formula label may cut off its last lines, as it always has; each
  // line must still fit on one line, and no fewer whole lines may show than
  // with the plain session's font (DejaVu Sans), for which it was drawn.
  void FormulaWindow() {
    velquist::FormulaWindow window;
    auto* label = window.findChild<QLabel*>(QStringLiteral("标签1"));
    const QRect area = label->contentsRect();
    const QStringList lines =
        velquist::DisplayLines(velquist::kFormulaText).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
      if (label->fontMetrics().horizontalAdvance(line) > area.width()) {
        clipped << QStringLiteral("formula line \"%1\" wraps").arg(line);
      }
    }
    const int shown = WholeLines(label, area, lines);
    label->setFont(velquist::InterfaceFont(QFont(QStringLiteral("DejaVu Sans"))));
    const int drawnFor = WholeLines(label, area, lines);
    if (shown < drawnFor) {
      clipped << QStringLiteral("formula label: %1 whole lines shown, %2 with DejaVu Sans")
                     .arg(shown)
                     .arg(drawnFor);
    }
  }

  void AboutWindow(QWidget* window) {
    const auto* label = window->findChild<velquist::AboutLabel*>(QStringLiteral("标签1"));
    const int frame = velquist::AboutLabel::kFrameWidth;
    velquist::AboutLabel tall(label->text());
    tall.setFont(label->font());
    tall.resize(label->size() + QSize(0, 100));
    const int bottom = InkBottom(&tall, tall.rect().adjusted(frame, frame, -frame, -frame));
    const int inner = label->height() - frame;
    if (bottom >= inner) {
      clipped << QStringLiteral("About label: text down to row %1, frame from row %2")
                     .arg(bottom)
                     .arg(inner);
    }
  }

  void MessageBox(QMessageBox* box) {
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const int wrap = label->wordWrap() ? Qt::TextWordWrap : 0;
    Text(label, label->text(), label->contentsRect(), static_cast<int>(label->alignment()) | wrap,
         label->rect());
    for (const QAbstractButton* b : box->buttons()) {
      if (const auto* button = qobject_cast<const QPushButton*>(b)) Button(button);
    }
  }

 private:
  // The lowest row of `area` in which `widget`, as it paints itself, inks
  // anything other than the background it shows at the area's bottom right
  // corner; -1 for none.
  static int InkBottom(QWidget* widget, const QRect& area) {
    const QImage image = widget->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels(area.topLeft() * ratio, area.size() * ratio);
    const QRgb background = image.pixel(pixels.bottomRight());
    for (int y = pixels.bottom(); y >= pixels.top(); --y) {
      for (int x = pixels.left(); x <= pixels.right(); ++x) {
        if (image.pixel(x, y) != background) return static_cast<int>(y / ratio);
      }
    }
    return -1;
  }

  // How many of the first lines the label shows with all their ink inside
  // `area`, its text cut after each in turn.
  static int WholeLines(QLabel* label, const QRect& area, const QStringList& lines) {
    const QSize size = label->size();
    label->resize(size + QSize(0, 100));
    int whole = 0;
    while (whole < lines.size()) {
      label->setText(lines.mid(0, whole + 1).join(QLatin1Char('\n')));
      if (InkBottom(label, label->contentsRect()) > area.bottom()) break;
      ++whole;
    }
    label->resize(size);
    return whole;
  }
};

int Run() {
  static char name[] = "velquist";
  static char* argv[] = {name, nullptr};
  return velquist::RunApplication(1, argv);
}

}  // namespace

class DesktopFontTest : public QObject {
  Q_OBJECT

  QFont plain_;

 private slots:
  void initTestCase() { plain_ = QApplication::font(); }
  void cleanup() {
    velquist::testing::CloseEverything();
    QApplication::setFont(plain_);
  }

  void everyTextFitsItsControl_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    // Xfce's and KDE's 10 points and GNOME's 11, the plain session's 9.
    QTest::newRow("DejaVu Sans 9") << QStringLiteral("DejaVu Sans") << 9;
    QTest::newRow("DejaVu Sans 10") << QStringLiteral("DejaVu Sans") << 10;
    QTest::newRow("DejaVu Sans 11") << QStringLiteral("DejaVu Sans") << 11;
    QTest::newRow("Cantarell 11") << QStringLiteral("Cantarell") << 11;
    QTest::newRow("WenQuanYi Micro Hei 11") << QStringLiteral("WenQuanYi Micro Hei") << 11;
    QTest::newRow("Cantarell 16, a large-text desktop") << QStringLiteral("Cantarell") << 16;
  }

  void everyTextFitsItsControl() {
    QFETCH(QString, family);
    QFETCH(int, points);
    // The row is worth nothing if fontconfig would draw it in another family.
    QCOMPARE(QFontInfo(QFont(family, points)).family(), family);
    QApplication::setFont(QFont(family, points));

    Measure measure;
    QStringList wrongFont;
    qreal ratio = 0;
    auto checkFont = [&](const QWidget* w) {
      const QFontInfo used(w->font());
      if (used.family() != family || used.pixelSize() != velquist::kInterfaceFontPixels) {
        const QString name =
            w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
        wrongFont << QStringLiteral("%1: %2 %3px").arg(name, used.family()).arg(used.pixelSize());
      }
    };
    QTimer::singleShot(0, [&] {
      QWidget* main = OpenedWindow(WindowDefinition::MainWindow);
      ratio = main->devicePixelRatioF();
      checkFont(main);
      measure.MainWindow(main);
      if (QToolTip::font() != QApplication::font()) wrongFont << QStringLiteral("tooltips");

      velquist::OpenWindow(WindowDefinition::FormulaWindow, false);
      QWidget* formula = OpenedWindow(WindowDefinition::FormulaWindow);
      checkFont(formula);
      measure.FormulaWindow();

      // The About window runs its own loop; it is measured from inside it.
      QTimer::singleShot(0, [&] {
        QWidget* about = OpenedWindow(WindowDefinition::AboutWindow);
        checkFont(about);
        measure.AboutWindow(about);
        about->close();
      });
      velquist::OpenWindow(WindowDefinition::AboutWindow, true);

      for (const Message& message : kMessages) {
        std::optional<QString> title;
        if (!message.title.empty()) title = velquist::FromGbk(message.title);
        std::unique_ptr<QMessageBox> box =
            velquist::BuildMessageBox(velquist::FromGbk(message.text), message.style, title);
        box->show();
        if (!QTest::qWaitForWindowExposed(box.get()))
          wrongFont << QStringLiteral("a box not shown");
        checkFont(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
        measure.MessageBox(box.get());
      }
      formula->close();
      main->close();
    });
    QCOMPARE(Run(), 0);

    const qreal expectedRatio = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                    ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                    : 1.0;
    QCOMPARE(ratio, expectedRatio);
    for (const QString& text : measure.clipped) qWarning("clipped: %s", qPrintable(text));
    QVERIFY2(measure.clipped.isEmpty(), "texts are clipped, as listed above");
    QVERIFY2(wrongFont.isEmpty(), qPrintable(wrongFont.join(QStringLiteral("; "))));
  }
};

QTEST_MAIN(DesktopFontTest)
#include "desktop_font_test.moc"
