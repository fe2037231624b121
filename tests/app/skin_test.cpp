// Renders skinned controls in their states and checks the colours at pixels
// whose place the skin's geometry fixes: the border 1 pixel in, the ring's
// first and last rows 2 pixels in, the centre of a radio mark, and so on.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <QToolTip>

#include <cmath>
#include <memory>

#include "app/skin.h"
#include "app/skin_colours.h"
#include "app/skin_style.h"

using namespace velquist;
using namespace velquist::skin;

namespace {

QString Hex(QRgb colour) {
  return QStringLiteral("#%1").arg(colour & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

QImage Grab(QWidget* widget) {
  return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

QRgb Face() { return QApplication::palette().color(QPalette::Normal, QPalette::Button).rgb(); }

QRgb Dim(QRgb colour, int amount) { return Darker(QColor(colour), amount).rgb(); }

// The colour a four-corner gradient should have at fraction (fx, fy) of its
// rectangle, worked out here independently of the painter.
QRgb Bilinear(const CornerGradient& g, double fx, double fy) {
  auto at = [&](int (*channel)(QRgb)) {
    const double v = channel(g.top_left) * (1 - fx) * (1 - fy) +
                     channel(g.top_right) * fx * (1 - fy) + channel(g.bottom_left) * (1 - fx) * fy +
                     channel(g.bottom_right) * fx * fy;
    return static_cast<int>(std::lround(v));
  };
  return qRgb(at(qRed), at(qGreen), at(qBlue));
}

bool Near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The bounding box of the caption's dark pixels inside `area`.
QRect DarkBox(const QImage& image, const QRect& area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

QRgb DarkestPixel(const QImage& image, const QRect& area) {
  QRgb darkest = qRgb(255, 255, 255);
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < qGray(darkest)) darkest = Pixel(image, x, y);
    }
  }
  return darkest;
}

enum class ButtonState { Normal, Hot, Pressed, Focused, Disabled };

}  // namespace

class SkinTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();

  void pushButtonRingFollowsState_data();
  void pushButtonRingFollowsState();
  void pressedCaptionMovesOnePixelRightAndDown();
  void radioMarkShowsHotAndSelectedStates();
  void groupBoxFrameRunsThroughCaptionWithGap();
  void editFrameLines_data();
  void editFrameLines();
  void laterMessageBoxOkButtonIsSkinned();
  void turningOffGivesSystemLookBack();
  void preparedSkinIsOffUntilTurnedOn();
  void menuBarOverflowPictureIsTheSystemOne();
  void styleColoursReplaceAThemesPalettes();

 private:
  // A window with the kinds of control the program skins, made before the
  // skin is turned on so that every test also checks existing controls.
  struct Form {
    QWidget window;
    QPushButton* button;
    QRadioButton* radio;
    QGroupBox* group;
    QLineEdit* input;
    QLineEdit* result;
  };
  std::unique_ptr<Form> MakeForm(bool show = true);
  void ShowForm(Form& form);
  // The controls' pictures, without the blinking caret of a focused box.
  QList<QImage> Pictures(Form& form);
  void MoveMouseAway(Form& form) { QTest::mouseMove(&form.window, QPoint(300, 190)); }

  QString system_style_;
};

void SkinTest::initTestCase() { system_style_ = QApplication::style()->name(); }

void SkinTest::cleanup() {
  SetVisualStyle(kSystemLook);
  QCOMPARE(QApplication::style()->name(), system_style_);
}

std::unique_ptr<SkinTest::Form> SkinTest::MakeForm(bool show) {
  auto form = std::make_unique<Form>();
  // The pointer starts outside the window: a window that appears under it
  // gets an enter event without the leave that a later move would need.
  QCursor::setPos(5, 5);
  form->window.setGeometry(100, 100, 320, 200);
  form->group = new QGroupBox(QStringLiteral("圆的周长面积"), &form->window);
  form->group->setGeometry(4, 4, 208, 144);
  form->radio = new QRadioButton(QStringLiteral("周长"), form->group);
  form->radio->setGeometry(8, 24, 48, 24);
  form->button = new QPushButton(QStringLiteral("计算"), form->group);
  form->button->setGeometry(128, 24, 64, 24);
  form->input = new QLineEdit(form->group);
  form->input->setGeometry(88, 80, 104, 20);
  form->result = new QLineEdit(form->group);
  form->result->setGeometry(88, 104, 104, 20);
  form->result->setReadOnly(true);
  if (show) ShowForm(*form);
  return form;
}

void SkinTest::ShowForm(Form& form) {
  form.window.show();
  form.window.activateWindow();
  if (!QTest::qWaitForWindowActive(&form.window)) qWarning("test window did not become active");
  form.input->setFocus();
}

QList<QImage> SkinTest::Pictures(Form& form) {
  MoveMouseAway(form);
  form.input->clearFocus();
  return {Grab(form.group), Grab(form.button), Grab(form.radio), Grab(form.input),
          Grab(form.result)};
}

void SkinTest::pushButtonRingFollowsState_data() {
  QTest::addColumn<ButtonState>("state");
  QTest::addColumn<QRgb>("border");
  QTest::addColumn<QRgb>("ringTop");
  QTest::addColumn<QRgb>("ringBottom");
  QTest::addColumn<QRgb>("faceTop");

  QTest::newRow("normal") << ButtonState::Normal << kButtonBorder << kNormalRing.top_left
                          << kNormalRing.bottom_left << kNormalFace.top_left;
  QTest::newRow("hot") << ButtonState::Hot << kButtonBorder << kHotRing.top_left
                       << kHotRing.bottom_left << kNormalFace.top_left;
  // Pressing also hovers and focuses: the pressed ring must win over both.
  QTest::newRow("pressed") << ButtonState::Pressed << kButtonBorder << kPressedRing.top_left
                           << kPressedRing.bottom_left << kPressedFace.top_left;
  QTest::newRow("focused") << ButtonState::Focused << kButtonBorder << kFocusedRing.top_left
                           << kFocusedRing.bottom_left << kNormalFace.top_left;
  QTest::newRow("disabled") << ButtonState::Disabled << Dim(Face(), kButtonDisabledBorderDarken)
                            << kButtonDisabledFill << kButtonDisabledFill << kButtonDisabledFill;
}

void SkinTest::pushButtonRingFollowsState() {
  QFETCH(ButtonState, state);
  QFETCH(QRgb, border);
  QFETCH(QRgb, ringTop);
  QFETCH(QRgb, ringBottom);
  QFETCH(QRgb, faceTop);

  auto form = MakeForm();
  QVERIFY(SetVisualStyle(kProgramSkinScheme));
  QPushButton* button = form->button;
  MoveMouseAway(*form);
  switch (state) {
    case ButtonState::Normal: break;
    case ButtonState::Hot:
      QTest::mouseMove(button, button->rect().center());
      QVERIFY(button->underMouse());
      break;
    case ButtonState::Pressed:
      QTest::mouseMove(button, button->rect().center());
      button->setFocus();
      QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
      QVERIFY(button->isDown());
      break;
    case ButtonState::Focused:
      button->setFocus();
      QVERIFY(button->hasFocus());
      break;
    case ButtonState::Disabled: button->setEnabled(false); break;
  }
  const QImage image = Grab(button);
  if (state == ButtonState::Pressed) QTest::mouseRelease(button, Qt::LeftButton);

  const int mid = image.width() / 2;
  const int bottom = image.height() - 1;
  QCOMPARE(Hex(Pixel(image, mid, 0)), Hex(Face()));                 // outer line
  QCOMPARE(Hex(Pixel(image, 1, 1)), Hex(Face()));                   // rounded corner
  QCOMPARE(Hex(Pixel(image, mid, 1)), Hex(border));                 // border, top
  QCOMPARE(Hex(Pixel(image, 1, image.height() / 2)), Hex(border));  // border, left
  QCOMPARE(Hex(Pixel(image, mid, 2)), Hex(ringTop));
  QCOMPARE(Hex(Pixel(image, mid, bottom - 2)), Hex(ringBottom));
  // A face pixel of the top row that the dotted focus rectangle leaves out.
  QCOMPARE(Hex(Pixel(image, kButtonFaceInset + 1, kButtonFaceInset)), Hex(faceTop));

  // Caption colour: black, grey when disabled.
  const QRect face(kButtonFaceInset + 1, kButtonFaceInset + 1, image.width() - 10,
                   image.height() - 10);
  const QRgb ink = state == ButtonState::Disabled ? kButtonGreyCaption : kButtonCaption;
  const QRgb darkest = DarkestPixel(image, face);
  QVERIFY2(Near(darkest, ink, 2), qPrintable(Hex(darkest)));

  // Focus rectangle: dotted, on the face's edge, only while focused.
  const bool focused = state == ButtonState::Focused || state == ButtonState::Pressed;
  int dots = 0;
  for (int x = kButtonFaceInset; x < image.width() - kButtonFaceInset; ++x) {
    dots += Pixel(image, x, kButtonFaceInset) == kButtonCaption ? 1 : 0;
  }
  QCOMPARE(dots > 10, focused);
}

void SkinTest::pressedCaptionMovesOnePixelRightAndDown() {
  auto form = MakeForm();
  SetVisualStyle(kProgramSkinScheme);
  QPushButton* button = form->button;
  const QRect face(kButtonFaceInset + 1, kButtonFaceInset + 1, button->width() - 10,
                   button->height() - 10);
  const QRect up = DarkBox(Grab(button), face);
  button->setDown(true);
  const QRect down = DarkBox(Grab(button), face);
  QVERIFY(!up.isEmpty());
  QCOMPARE(down, up.translated(1, 1));
}

void SkinTest::radioMarkShowsHotAndSelectedStates() {
  auto form = MakeForm();
  SetVisualStyle(kProgramSkinScheme);
  QRadioButton* radio = form->radio;
  MoveMouseAway(*form);
  // The 16-pixel mark is centred vertically; its dot and hot circle share the centre.
  const int top = (radio->height() - kRadioMarkSize) / 2;
  const QPoint centre(kRadioMarkSize / 2 - 1, top + kRadioMarkSize / 2 - 1);
  const double at_centre =
      double(centre.x() - kRadioDotInset) / (kRadioMarkSize - 2 * kRadioDotInset - 1);

  radio->setChecked(false);
  QImage image = Grab(radio);
  const double body_at =
      double(centre.x() - kRadioBodyInset) / (kRadioMarkSize - 2 * kRadioBodyInset - 1);
  const QRgb unselected = Pixel(image, centre.x(), centre.y());
  QVERIFY2(Near(unselected, Bilinear(kRadioNormalBody, body_at, body_at), 1),
           qPrintable(Hex(unselected)));

  // The text starts 18 pixels from the left edge.
  const QRect text =
      DarkBox(image, QRect(kRadioMarkSize, 0, radio->width() - kRadioMarkSize, radio->height()));
  QVERIFY(!text.isEmpty());
  QVERIFY2(text.left() >= kRadioTextX && text.left() <= kRadioTextX + 2,
           qPrintable(QString::number(text.left())));

  QTest::mouseMove(radio, QPoint(8, radio->height() / 2));
  image = Grab(radio);
  QCOMPARE(Hex(Pixel(image, centre.x(), centre.y())), Hex(kRadioHotInner));
  const QRgb body = Pixel(image, kRadioBodyInset + 1, top + kRadioMarkSize / 2);
  QVERIFY2(qRed(body) == 255 && qBlue(body) < 170, qPrintable(Hex(body)));  // orange

  radio->setChecked(true);
  MoveMouseAway(*form);
  image = Grab(radio);
  const QRgb dot = Pixel(image, centre.x(), centre.y());
  QVERIFY2(Near(dot, Bilinear(kRadioDot, at_centre, at_centre), 1), qPrintable(Hex(dot)));

  radio->setEnabled(false);
  image = Grab(radio);
  const QRgb grey_dot = Pixel(image, centre.x(), centre.y());
  QVERIFY2(Near(grey_dot, Bilinear(kRadioDisabledDot, at_centre, at_centre), 1),
           qPrintable(Hex(grey_dot)));
}

void SkinTest::groupBoxFrameRunsThroughCaptionWithGap() {
  auto form = MakeForm();
  SetVisualStyle(kProgramSkinScheme);
  // Hide the children so that only the frame and caption are in the picture.
  for (QWidget* child : form->group->findChildren<QWidget*>()) child->hide();
  const QImage image = Grab(form->group);
  const int line = form->group->fontMetrics().height() / 2;
  const int w = image.width();
  const int h = image.height();
  QCOMPARE(Hex(Pixel(image, w - 20, line)), Hex(kGroupFrame));  // top edge, right of the caption
  QCOMPARE(Hex(Pixel(image, kGroupCaptionLeft - 1, line)), Hex(kGroupFrame));
  QCOMPARE(Hex(Pixel(image, 0, h / 2)), Hex(kGroupFrame));
  QCOMPARE(Hex(Pixel(image, w / 2, h - 1)), Hex(kGroupFrame));
  // The gap is cleared from x = 9, and the corners are rounded.
  QVERIFY(Pixel(image, kGroupCaptionLeft, line) != kGroupFrame);
  QVERIFY(Pixel(image, 0, line) != kGroupFrame);
  QVERIFY(Pixel(image, w - 1, h - 1) != kGroupFrame);
  // The caption itself is drawn in the gap.
  QVERIFY(!DarkBox(image, QRect(kGroupCaptionLeft, 0, 60, line * 2)).isEmpty());
}

void SkinTest::editFrameLines_data() {
  QTest::addColumn<int>("scheme");
  QTest::addColumn<bool>("readOnly");
  QTest::addColumn<bool>("enabled");
  QTest::addColumn<QRgb>("outer");
  QTest::addColumn<QRgb>("inner");

  const QRgb white = QApplication::palette().color(QPalette::Normal, QPalette::Base).rgb();
  QTest::newRow("input") << 1 << false << true << kEditOuterLine[0] << white;
  QTest::newRow("read-only") << 1 << true << true << kEditOuterLine[0] << Face();
  QTest::newRow("disabled") << 1 << false << false << Dim(Face(), kEditDisabledOuterDarken)
                            << Face();
  QTest::newRow("scheme 2") << 2 << false << true << kEditOuterLine[1] << white;
  QTest::newRow("scheme 3") << 3 << true << true << kEditOuterLine[2] << Face();
}

void SkinTest::editFrameLines() {
  QFETCH(int, scheme);
  QFETCH(bool, readOnly);
  QFETCH(bool, enabled);
  QFETCH(QRgb, outer);
  QFETCH(QRgb, inner);

  auto form = MakeForm();
  // Turning the skin on while it is on re-applies it with the new scheme.
  SetVisualStyle(kProgramSkinScheme);
  QVERIFY(SetVisualStyle(scheme));
  QLineEdit* edit = readOnly ? form->result : form->input;
  edit->setText(QStringLiteral("12.5"));
  edit->setEnabled(enabled);
  const QImage image = Grab(edit);
  const int w = image.width();
  const int h = image.height();
  for (const QPoint& p :
       {QPoint(w / 2, 0), QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(w / 2, h - 1)}) {
    QCOMPARE(Hex(Pixel(image, p.x(), p.y())), Hex(outer));
  }
  for (const QPoint& p :
       {QPoint(w / 2, 1), QPoint(1, h / 2), QPoint(w - 2, h / 2), QPoint(w / 2, h - 2)}) {
    QCOMPARE(Hex(Pixel(image, p.x(), p.y())), Hex(inner));
  }
}

void SkinTest::laterMessageBoxOkButtonIsSkinned() {
  SetVisualStyle(kProgramSkinScheme);
  QMessageBox box(QMessageBox::Information, QStringLiteral("信息："),
                  QStringLiteral("请输入圆的直径"), QMessageBox::Ok);
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));
  QAbstractButton* ok = box.button(QMessageBox::Ok);
  QVERIFY(ok != nullptr);
  const QImage image = Grab(ok);
  const int mid = image.width() / 2;
  QCOMPARE(Hex(Pixel(image, mid, 1)), Hex(kButtonBorder));
  // The OK button is the box's default button: the blue ring.
  QCOMPARE(Hex(Pixel(image, mid, 2)), Hex(kFocusedRing.top_left));
  QCOMPARE(Hex(Pixel(image, mid, image.height() - 3)), Hex(kFocusedRing.bottom_left));
}

void SkinTest::turningOffGivesSystemLookBack() {
  auto form = MakeForm();
  MoveMouseAway(*form);
  const QImage button = Grab(form->button);
  const QImage radio = Grab(form->radio);
  const QImage result = Grab(form->result);
  const bool hover = form->button->testAttribute(Qt::WA_Hover);

  SetVisualStyle(kProgramSkinScheme);
  QVERIFY(qobject_cast<SkinStyle*>(QApplication::style()) != nullptr);
  QVERIFY(Grab(form->button) != button);
  QVERIFY(Grab(form->result) != result);

  QVERIFY(!SetVisualStyle(kSystemLook));
  QCOMPARE(QApplication::style()->name(), system_style_);
  QVERIFY(Grab(form->button) == button);
  QVERIFY(Grab(form->radio) == radio);
  QVERIFY(Grab(form->result) == result);
  QCOMPARE(form->button->testAttribute(Qt::WA_Hover), hover);
}

// The program makes the skin's style before its window and turns the skin on
// once the controls exist: until then they look exactly as with the system
// style, and from then on exactly as with a skin turned on the usual way,
// whether they were shown before or not.
void SkinTest::preparedSkinIsOffUntilTurnedOn() {
  std::unique_ptr<Form> form = MakeForm();
  const QList<QImage> system = Pictures(*form);
  SetVisualStyle(1);
  const QList<QImage> skinned = Pictures(*form);
  QVERIFY(skinned != system);
  form.reset();
  SetVisualStyle(0);

  PrepareVisualStyle();
  form = MakeForm();
  QCOMPARE(Pictures(*form), system);
  QVERIFY(SetVisualStyle(1));
  QCOMPARE(Pictures(*form), skinned);
  QVERIFY(form->button->testAttribute(Qt::WA_Hover));
  QTest::mouseMove(form->button, form->button->rect().center());
  QTRY_COMPARE(Hex(Pixel(Grab(form->button), form->button->width() / 2, 2)),
               Hex(kHotRing.top_left));
  form.reset();
  SetVisualStyle(0);

  // As at start-up: built, not yet shown, when the skin is turned on.
  PrepareVisualStyle();
  form = MakeForm(false);
  QVERIFY(SetVisualStyle(1));
  ShowForm(*form);
  QCOMPARE(Pictures(*form), skinned);
  QVERIFY(form->button->testAttribute(Qt::WA_Hover));
}

// The skin gives the menu bar's overflow button the system's picture only
// when it is drawn; what it draws then is the system's picture.
void SkinTest::menuBarOverflowPictureIsTheSystemOne() {
  const QIcon system =
      QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
  SetVisualStyle(1);
  const QIcon skinned =
      QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
  QVERIFY(!skinned.isNull());
  QCOMPARE(skinned.availableSizes(), system.availableSizes());
  for (int side : {8, 16, 32}) {
    QCOMPARE(skinned.pixmap(side, side).toImage(), system.pixmap(side, side).toImage());
  }
}

// A desktop theme colours the application and single classes of control (Qt
// 6.5's GTK theme: GNOME's window colour, grey edit boxes); the program's own
// colours replace all of them, the tooltips' included.
void SkinTest::styleColoursReplaceAThemesPalettes() {
  const QPalette before = QApplication::palette();
  QPalette themed = before;
  themed.setColor(QPalette::Window, QColor(250, 249, 248));
  themed.setColor(QPalette::Base, QColor(235, 235, 235));
  themed.setColor(QPalette::ToolTipBase, QColor(40, 40, 40));
  QApplication::setPalette(themed);
  QApplication::setPalette(themed, "QLineEdit");
  QApplication::setPalette(themed, "QLabel");
  QToolTip::setPalette(themed);

  UseStyleColours();
  const QPalette standard = QApplication::style()->standardPalette();
  QWidget window;
  QLineEdit box(&window);
  QLabel label(&window);
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Text}) {
    QCOMPARE(window.palette().color(role), standard.color(role));
    QCOMPARE(box.palette().color(role), standard.color(role));
    QCOMPARE(label.palette().color(role), standard.color(role));
  }
  QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), standard.color(QPalette::ToolTipBase));
  QApplication::setPalette(before);
  QToolTip::setPalette(before);
}

QTEST_MAIN(SkinTest)
#include "skin_test.moc"
