#include "app/skin_style.h"

#include <QApplication>
#include <QGroupBox>
#include <QIconEngine>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace velquist {

namespace {

using namespace skin;

// The system's button face: the surroundings a control's outer pixels blend
// into, the same whatever state the control is in.
QColor ButtonFace(const QStyleOption* option) {
  return option->palette.color(QPalette::Normal, QPalette::Button);
}

bool IsSkinnedPushButton(const QStyleOption* option, const QWidget* widget) {
  const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
  if (button == nullptr || qobject_cast<const QPushButton*>(widget) == nullptr) return false;
  // Flat buttons, menu buttons and buttons that show only a picture keep the
  // system look.
  if (button->features & (QStyleOptionButton::Flat | QStyleOptionButton::HasMenu)) return false;
  return !(button->text.isEmpty() && !button->icon.isNull());
}

bool IsSkinnedRadioButton(const QStyleOption* option, const QWidget* widget) {
  return qstyleoption_cast<const QStyleOptionButton*>(option) != nullptr &&
         qobject_cast<const QRadioButton*>(widget) != nullptr;
}

bool IsSkinnedEditFrame(const QStyleOption* option, const QWidget* widget) {
  const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
  return frame != nullptr && frame->lineWidth > 0 &&
         qobject_cast<const QLineEdit*>(widget) != nullptr;
}

bool IsSkinnedGroupBox(const QStyleOptionComplex* option) {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  // A checkable group box's title is a check box the skin does not draw.
  return box != nullptr && !(box->subControls & QStyle::SC_GroupBoxCheckBox);
}

void FillGradient(QPainter* painter, const QRect& rect, const CornerGradient& gradient) {
  if (rect.isEmpty()) return;
  painter->drawImage(rect.topLeft(), CornerGradientImage(rect.size(), gradient));
}

// A brush that paints `gradient` over `rect`, for shapes that are not
// rectangles; the pixels it covers fully take the gradient's exact colours.
QBrush GradientBrush(const QRectF& rect, const CornerGradient& gradient) {
  QBrush brush(CornerGradientImage(rect.size().toSize(), gradient));
  brush.setTransform(QTransform::fromTranslate(rect.x(), rect.y()));
  return brush;
}

// The classic dotted focus rectangle: every other pixel of the outline.
void DrawFocusRectangle(QPainter* painter, const QRect& rect, const QColor& colour) {
  if (rect.width() < 2 || rect.height() < 2) return;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  auto dot = [&](int x, int y) {
    if ((x + y) % 2 == 0) painter->fillRect(x, y, 1, 1, colour);
  };
  for (int x = rect.left(); x <= rect.right(); ++x) {
    dot(x, rect.top());
    dot(x, rect.bottom());
  }
  for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
    dot(rect.left(), y);
    dot(rect.right(), y);
  }
  painter->restore();
}

const CornerGradient& RingGradient(QStyle::State state, bool isDefault) {
  if (state & QStyle::State_Sunken) return kPressedRing;
  if (state & QStyle::State_MouseOver) return kHotRing;
  if (state & (QStyle::State_On | QStyle::State_NoChange)) return kCheckedRing;
  if ((state & QStyle::State_HasFocus) || isDefault) return kFocusedRing;
  return kNormalRing;
}

// The part of `rect` (a radio button's contents) its text covers.
QRect RadioTextRect(const QStyleOptionButton* button, const QRect& contents, const QStyle* style) {
  const QRect text =
      style->itemTextRect(button->fontMetrics, contents, Qt::AlignLeft | Qt::AlignVCenter,
                          button->state & QStyle::State_Enabled, button->text);
  return text.adjusted(-1, 0, 1, 0).intersected(button->rect);
}

// A standard icon of the system style, read the first time it is drawn.
// Until then it costs nothing; from then on it is the system's own icon, as
// the application's style at that moment draws it.
class DeferredIcon : public QIconEngine {
 public:
  explicit DeferredIcon(QStyle::StandardPixmap which) : which_(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Icon().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  bool isNull() override { return Icon().isNull(); }
  QIconEngine* clone() const override { return new DeferredIcon(*this); }

 private:
  const QIcon& Icon() {
    if (!icon_) {
      const QStyle* style = QApplication::style();
      if (const auto* skin = qobject_cast<const SkinStyle*>(style)) style = skin->baseStyle();
      icon_ = style->standardIcon(which_);
    }
    return *icon_;
  }

  QStyle::StandardPixmap which_;
  std::optional<QIcon> icon_;
};

}  // namespace

QImage CornerGradientImage(QSize size, const CornerGradient& gradient) {
  // Every paint of a skinned control fills its rings and faces with these,
  // and the same few sizes and gradients come back again and again (eight
  // buttons of one size on the main window alone), so the last ones made are
  // kept. A QImage is shared, not copied, when it is handed out.
  struct Made {
    QSize size;
    CornerGradient gradient;
    QImage image;
  };
  static std::vector<Made> made;
  constexpr std::size_t kKept = 32;
  const auto same = [&](const Made& m) {
    return m.size == size && m.gradient.top_left == gradient.top_left &&
           m.gradient.top_right == gradient.top_right &&
           m.gradient.bottom_left == gradient.bottom_left &&
           m.gradient.bottom_right == gradient.bottom_right;
  };
  if (const auto it = std::find_if(made.begin(), made.end(), same); it != made.end()) {
    return it->image;
  }

  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) return image;
  const int w = size.width();
  const int h = size.height();
  const QColor tl(gradient.top_left), tr(gradient.top_right), bl(gradient.bottom_left),
      br(gradient.bottom_right);
  auto mix = [](int a, int b, int c, int d, double fx, double fy) {
    const double top = a + (b - a) * fx;
    const double bottom = c + (d - c) * fx;
    return static_cast<int>(std::lround(top + (bottom - top) * fy));
  };
  // With equal colours along the top and along the bottom, (b - a) * fx is
  // exactly zero, so every pixel of a row is the row's first pixel.
  const bool vertical =
      gradient.top_left == gradient.top_right && gradient.bottom_left == gradient.bottom_right;
  for (int y = 0; y < h; ++y) {
    const double fy = h > 1 ? static_cast<double>(y) / (h - 1) : 0.0;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const double fx = w > 1 ? static_cast<double>(x) / (w - 1) : 0.0;
      line[x] = qRgb(mix(tl.red(), tr.red(), bl.red(), br.red(), fx, fy),
                     mix(tl.green(), tr.green(), bl.green(), br.green(), fx, fy),
                     mix(tl.blue(), tr.blue(), bl.blue(), br.blue(), fx, fy));
      if (vertical) {
        std::fill(line + 1, line + w, line[0]);
        break;
      }
    }
  }
  if (made.size() == kKept) made.erase(made.begin());
  made.push_back({size, gradient, image});
  return image;
}

SkinStyle::SkinStyle(int scheme, QStyle* system) : QProxyStyle(system), scheme_(scheme) {}

void SkinStyle::polish(QWidget* widget) {
  QProxyStyle::polish(widget);
  if (!IsOn()) return;
  // Hot tracking needs hover events, which Qt sends only on request.
  if (qobject_cast<QPushButton*>(widget) || qobject_cast<QRadioButton*>(widget)) {
    widget->setAttribute(Qt::WA_Hover, true);
  }
}

void SkinStyle::unpolish(QWidget* widget) {
  if (IsOn() && (qobject_cast<QPushButton*>(widget) || qobject_cast<QRadioButton*>(widget))) {
    widget->setAttribute(Qt::WA_Hover, false);
  }
  QProxyStyle::unpolish(widget);
}

void SkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
  if (!IsOn()) return QProxyStyle::drawPrimitive(element, option, painter, widget);
  switch (element) {
    case PE_PanelLineEdit:
      if (IsSkinnedEditFrame(option, widget)) return DrawEditFrame(option, painter, true);
      break;
    case PE_FrameLineEdit:
      if (IsSkinnedEditFrame(option, widget)) return DrawEditFrame(option, painter, false);
      break;
    case PE_IndicatorRadioButton:
      if (IsSkinnedRadioButton(option, widget)) return DrawRadioMark(option, painter);
      break;
    default: break;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void SkinStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
  if (!IsOn()) return QProxyStyle::drawControl(element, option, painter, widget);
  switch (element) {
    case CE_PushButton:
      if (IsSkinnedPushButton(option, widget)) return DrawPushButton(option, painter, widget);
      break;
    case CE_PushButtonBevel:
      if (IsSkinnedPushButton(option, widget)) return DrawPushButtonBevel(option, painter);
      break;
    case CE_PushButtonLabel:
      if (IsSkinnedPushButton(option, widget)) {
        return DrawPushButtonLabel(option, painter, widget);
      }
      break;
    case CE_RadioButton:
      if (IsSkinnedRadioButton(option, widget)) return DrawRadioButton(option, painter, widget);
      break;
    default: break;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void SkinStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const {
  if (IsOn() && control == CC_GroupBox && IsSkinnedGroupBox(option)) {
    return DrawGroupBox(option, painter, widget);
  }
  QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QRect SkinStyle::subElementRect(SubElement element, const QStyleOption* option,
                                const QWidget* widget) const {
  if (IsOn() && IsSkinnedRadioButton(option, widget)) {
    const QRect& r = option->rect;
    switch (element) {
      case SE_RadioButtonIndicator:
        return visualRect(option->direction, r,
                          QRect(r.x(), r.y() + (r.height() - kRadioMarkSize) / 2, kRadioMarkSize,
                                kRadioMarkSize));
      case SE_RadioButtonContents:
        return visualRect(option->direction, r,
                          QRect(r.x() + kRadioTextX, r.y(), r.width() - kRadioTextX, r.height()));
      case SE_RadioButtonFocusRect: {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (button->text.isEmpty()) break;
        return RadioTextRect(button, subElementRect(SE_RadioButtonContents, option, widget), this);
      }
      default: break;
    }
  }
  return QProxyStyle::subElementRect(element, option, widget);
}

QRect SkinStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                SubControl sub, const QWidget* widget) const {
  if (!IsOn() || control != CC_GroupBox || !IsSkinnedGroupBox(option)) {
    return QProxyStyle::subControlRect(control, option, sub, widget);
  }
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  const QRect& r = box->rect;
  // The height of the caption as drawn, from the fonts its characters come
  // from: a Chinese caption keeps its place whatever Latin family heads the
  // interface font (Cantarell is taller than DejaVu Sans at the same size).
  const int captionHeight =
      box->text.isEmpty() ? 0 : box->fontMetrics.boundingRect(box->text).height();
  switch (sub) {
    case SC_GroupBoxLabel: {
      if (box->text.isEmpty()) return QRect();
      const int width = box->fontMetrics.horizontalAdvance(box->text) + 2 * kGroupCaptionPadding;
      const Qt::Alignment align = visualAlignment(box->direction, box->textAlignment);
      int x = r.x() + kGroupCaptionLeft;
      if (align & Qt::AlignHCenter) {
        x = r.x() + (r.width() - width) / 2;
      } else if (align & Qt::AlignRight) {
        x = r.right() + 1 - kGroupCaptionRight - width;
      }
      return QRect(x, r.y(), width, captionHeight);
    }
    case SC_GroupBoxFrame: return r.adjusted(0, captionHeight / 2, 0, 0);
    case SC_GroupBoxContents: return r.adjusted(4, std::max(captionHeight, 4) + 2, -4, -4);
    default: return QProxyStyle::subControlRect(control, option, sub, widget);
  }
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
  if (!IsOn()) return QProxyStyle::pixelMetric(metric, option, widget);
  switch (metric) {
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
      if (qobject_cast<const QRadioButton*>(widget)) return kRadioMarkSize;
      break;
    case PM_RadioButtonLabelSpacing:
      if (qobject_cast<const QRadioButton*>(widget)) return kRadioTextX - kRadioMarkSize;
      break;
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
      // The skin moves a pressed caption itself, and only while pressed.
      if (qobject_cast<const QPushButton*>(widget)) return 0;
      break;
    default: break;
  }
  return QProxyStyle::pixelMetric(metric, option, widget);
}

QIcon SkinStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                              const QWidget* widget) const {
  // Every menu bar asks for the picture of its overflow button when it is
  // made, and reading it loads Qt's image plugins; the main window's menu
  // never overflows, so the picture is read only once it is drawn.
  if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
    return QIcon(new DeferredIcon(icon));
  }
  return QProxyStyle::standardIcon(icon, option, widget);
}

void SkinStyle::DrawPushButton(const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  DrawPushButtonBevel(option, painter);
  DrawPushButtonLabel(option, painter, widget);
  if ((option->state & State_HasFocus) && (option->state & State_Enabled)) {
    const QRect face = option->rect.adjusted(kButtonFaceInset, kButtonFaceInset, -kButtonFaceInset,
                                             -kButtonFaceInset);
    DrawFocusRectangle(painter, face, QColor(kButtonCaption));
  }
}

void SkinStyle::DrawPushButtonBevel(const QStyleOption* option, QPainter* painter) const {
  const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
  const QRect& r = option->rect;
  const QColor face = ButtonFace(option);
  const bool enabled = option->state & State_Enabled;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->fillRect(r, face);  // the outer line, and what shows through the rounded corners

  const QRect border =
      r.adjusted(kButtonBorderInset, kButtonBorderInset, -kButtonBorderInset, -kButtonBorderInset);
  const QRect ring =
      r.adjusted(kButtonRingInset, kButtonRingInset, -kButtonRingInset, -kButtonRingInset);
  const QRect inner =
      r.adjusted(kButtonFaceInset, kButtonFaceInset, -kButtonFaceInset, -kButtonFaceInset);
  if (!enabled) {
    painter->fillRect(ring, QColor(kButtonDisabledFill));
  } else {
    const bool isDefault = button->features & QStyleOptionButton::DefaultButton;
    FillGradient(painter, ring, RingGradient(option->state, isDefault));
    const bool pressedFace = option->state & (State_Sunken | State_On | State_NoChange);
    FillGradient(painter, inner, pressedFace ? kPressedFace : kNormalFace);
  }

  // The border without its four corner pixels: corners rounded by one pixel.
  const QColor line = enabled ? QColor(kButtonBorder) : Darker(face, kButtonDisabledBorderDarken);
  if (border.width() > 2 && border.height() > 2) {
    painter->fillRect(border.left() + 1, border.top(), border.width() - 2, 1, line);
    painter->fillRect(border.left() + 1, border.bottom(), border.width() - 2, 1, line);
    painter->fillRect(border.left(), border.top() + 1, 1, border.height() - 2, line);
    painter->fillRect(border.right(), border.top() + 1, 1, border.height() - 2, line);
  }
  painter->restore();
}

void SkinStyle::DrawPushButtonLabel(const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const {
  QStyleOptionButton label = *qstyleoption_cast<const QStyleOptionButton*>(option);
  const bool grey = !(option->state & State_Enabled) || (option->state & State_NoChange);
  label.palette.setColor(QPalette::ButtonText, QColor(grey ? kButtonGreyCaption : kButtonCaption));
  if (option->state & State_Sunken) label.rect.translate(1, 1);
  // The system style lays out icon, text and alignment; only colour and
  // offset are the skin's.
  QProxyStyle::drawControl(CE_PushButtonLabel, &label, painter, widget);
}

void SkinStyle::DrawRadioButton(const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
  const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
  QStyleOptionButton mark = *button;
  mark.rect = subElementRect(SE_RadioButtonIndicator, option, widget);
  DrawRadioMark(&mark, painter);

  if (!button->text.isEmpty()) {
    const bool enabled = option->state & State_Enabled;
    QPalette palette = button->palette;
    palette.setColor(QPalette::WindowText,
                     enabled ? button->palette.color(QPalette::Normal, QPalette::WindowText)
                             : button->palette.color(QPalette::Disabled, QPalette::WindowText));
    int flags = Qt::AlignLeft | Qt::AlignVCenter;
    flags |= styleHint(SH_UnderlineShortcut, option, widget) ? Qt::TextShowMnemonic
                                                             : Qt::TextHideMnemonic;
    const QRect contents = subElementRect(SE_RadioButtonContents, option, widget);
    drawItemText(painter, contents,
                 static_cast<int>(visualAlignment(option->direction, Qt::Alignment(flags))),
                 palette, true, button->text, QPalette::WindowText);
  }
  if (option->state & State_HasFocus) {
    DrawFocusRectangle(painter, subElementRect(SE_RadioButtonFocusRect, option, widget),
                       button->palette.color(QPalette::Normal, QPalette::WindowText));
  }
}

void SkinStyle::DrawRadioMark(const QStyleOption* option, QPainter* painter) const {
  const QRect& r = option->rect;
  const QRectF box(r.x(), r.y() + (r.height() - kRadioMarkSize) / 2, kRadioMarkSize,
                   kRadioMarkSize);
  const QColor face = ButtonFace(option);
  const bool enabled = option->state & State_Enabled;
  const bool pressed = option->state & State_Sunken;
  const bool hot = option->state & State_MouseOver;
  auto inset = [&box](int by) { return box.adjusted(by, by, -by, -by); };

  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, true);
  painter->setRenderHint(QPainter::SmoothPixmapTransform, false);

  painter->setPen(
      QPen(enabled ? QColor(kRadioOuterLine) : Darker(face, kRadioDisabledLineDarken), 1.0));
  painter->setBrush(enabled ? QColor(kRadioOuterFill) : Darker(face, kRadioDisabledFillDarken));
  painter->drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));

  painter->setPen(Qt::NoPen);
  const QRectF body = inset(kRadioBodyInset);
  if (!enabled) {
    painter->setBrush(QColor(kRadioDisabledBody));
  } else {
    painter->setBrush(GradientBrush(
        body, pressed ? kRadioPressedBody : (hot ? kRadioHotBody : kRadioNormalBody)));
  }
  painter->drawEllipse(body);

  if (enabled && hot && !pressed) {
    painter->setBrush(QColor(kRadioHotInner));
    painter->drawEllipse(inset(kRadioHotInnerInset));
  }

  if (option->state & State_On) {
    const QRectF dot = inset(kRadioDotInset);
    painter->setPen(QPen(enabled ? QColor(kRadioDotLine) : QColor(kRadioDisabledDotLine), 1.0));
    painter->setBrush(GradientBrush(dot, enabled ? kRadioDot : kRadioDisabledDot));
    painter->drawEllipse(dot.adjusted(0.5, 0.5, -0.5, -0.5));
  }
  painter->restore();
}

void SkinStyle::DrawEditFrame(const QStyleOption* option, QPainter* painter, bool fill) const {
  const QRect& r = option->rect;
  const QColor face = ButtonFace(option);
  const bool enabled = option->state & State_Enabled;
  const bool readOnly = option->state & State_ReadOnly;
  const int schemeIndex = std::clamp(scheme_, 1, 3) - 1;
  const QColor outer =
      enabled ? QColor(kEditOuterLine[schemeIndex]) : Darker(face, kEditDisabledOuterDarken);
  // The system's window colour is what an editable box's text area shows.
  const QColor inner = (!enabled || readOnly)
                           ? face
                           : QApplication::palette().color(QPalette::Normal, QPalette::Base);
  if (fill) painter->fillRect(r.adjusted(2, 2, -2, -2), option->palette.brush(QPalette::Base));
  // Each line one pixel wide along the inside of its rectangle, filled rather
  // than stroked: a pen's outline costs the painter some twenty times more,
  // and every edit box is painted with two of them.
  const auto outline = [painter](const QRect& line, const QColor& colour) {
    if (line.width() < 1 || line.height() < 1) return;
    painter->fillRect(line.left(), line.top(), line.width(), 1, colour);
    if (line.height() > 1) painter->fillRect(line.left(), line.bottom(), line.width(), 1, colour);
    if (line.height() > 2) {
      painter->fillRect(line.left(), line.top() + 1, 1, line.height() - 2, colour);
      if (line.width() > 1) {
        painter->fillRect(line.right(), line.top() + 1, 1, line.height() - 2, colour);
      }
    }
  };
  outline(r, outer);
  outline(r.adjusted(1, 1, -1, -1), inner);
}

void SkinStyle::DrawGroupBox(const QStyleOptionComplex* option, QPainter* painter,
                             const QWidget* widget) const {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  const QRect frame = subControlRect(CC_GroupBox, option, SC_GroupBoxFrame, widget);
  const QRect caption = subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);

  painter->save();
  if (box->subControls & SC_GroupBoxFrame) {
    painter->save();
    if (!caption.isEmpty()) painter->setClipRegion(QRegion(box->rect).subtracted(caption));
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(QColor(kGroupFrame), 1.0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), kGroupFrameRadius,
                             kGroupFrameRadius);
    painter->restore();
  }
  if ((box->subControls & SC_GroupBoxLabel) && !box->text.isEmpty()) {
    const bool enabled = option->state & State_Enabled;
    QPalette palette = box->palette;
    palette.setColor(
        QPalette::WindowText,
        box->palette.color(enabled ? QPalette::Normal : QPalette::Disabled, QPalette::WindowText));
    int flags = Qt::AlignCenter;
    flags |= styleHint(SH_UnderlineShortcut, option, widget) ? Qt::TextShowMnemonic
                                                             : Qt::TextHideMnemonic;
    drawItemText(painter, caption, flags, palette, true, box->text, QPalette::WindowText);
  }
  painter->restore();
}

}  // namespace velquist
