#include "app/balloon_tooltip.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace velquist {

namespace {

// Balloon geometry in pixels: the text's distance from the body's edge, the
// body's corner radius, and the pointer's height, width and distance from
// the body's side.
constexpr int kBalloonPaddingX = 9;
constexpr int kBalloonPaddingY = 6;
constexpr qreal kBalloonRadius = 7.0;
constexpr int kStemHeight = 15;
constexpr int kStemWidth = 15;
constexpr int kStemOffset = 15;
// The pointer's tip stops this far short of the mouse position, so that the
// balloon never lies under the mouse's hot spot.
constexpr int kStemGap = 2;

// A plain tip: padding, and its corner's place below and right of the pointer
// so that the pointer does not cover the text.
constexpr int kPlainPaddingX = 4;
constexpr int kPlainPaddingY = 2;
constexpr QPoint kPlainOffset(2, 16);

// How long a tip stays up when the mouse rests on: Qt's own tooltips' time.
constexpr int kFallAsleepMs = 10000;
// Moving from one tool to the next while a tip is up shows the next sooner.
constexpr int kReshowDivisor = 5;

TooltipHost* g_host = nullptr;

void DestroyHost() {
  delete g_host;
  g_host = nullptr;
}

// The pixels of `image` that are not fully transparent, as a window shape.
QRegion OpaqueRegion(const QImage& image) {
  QRegion region;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int x = 0;
    while (x < image.width()) {
      while (x < image.width() && qAlpha(line[x]) == 0) ++x;
      const int start = x;
      while (x < image.width() && qAlpha(line[x]) != 0) ++x;
      if (x > start) region += QRect(start, y, x - start, 1);
    }
  }
  return region;
}

// The outline of a balloon in a width × height picture: the rounded body and
// the pointer at its top or bottom edge, on the left or the right.
QPainterPath BalloonShape(const QRectF& body, int width, int height, bool below, bool pointerLeft) {
  QPainterPath shape;
  shape.addRoundedRect(body, kBalloonRadius, kBalloonRadius);
  const qreal tipX = (pointerLeft ? kStemOffset : width - 1 - kStemOffset) + 0.5;
  const qreal tipY = below ? 0.5 : height - 0.5;
  // The pointer's foot reaches a pixel into the body so that the union has
  // no seam; one side is upright, the other slants towards the body.
  const qreal footY = below ? body.top() + 1 : body.bottom() - 1;
  const qreal farX = pointerLeft ? tipX + kStemWidth : tipX - kStemWidth;
  QPainterPath pointer;
  pointer.moveTo(tipX, tipY);
  pointer.lineTo(tipX, footY);
  pointer.lineTo(farX, footY);
  pointer.closeSubpath();
  return shape.united(pointer).simplified();
}

QPainterPath RectShape(const QRectF& body) {
  QPainterPath shape;
  shape.addRect(body);
  return shape;
}

}  // namespace

QStringList TooltipTextLines(const QString& text) {
  if (text.isEmpty()) return {};
  return text.split(QStringLiteral("\r\n"));
}

TooltipHost* TooltipHost::Instance(bool balloon) {
  if (g_host == nullptr && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    g_host = new TooltipHost(balloon);
    // Runs at the start of the application's destructor, while widgets can
    // still be deleted.
    qAddPostRoutine(DestroyHost);
  }
  return g_host;
}

TooltipHost* TooltipHost::Existing() { return g_host; }

TooltipHost::TooltipHost(bool balloon)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus),
      balloon_(balloon) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_QuitOnClose, false);
  setObjectName(QStringLiteral("TooltipHost"));
  wake_up_.setSingleShot(true);
  fall_asleep_.setSingleShot(true);
  connect(&wake_up_, &QTimer::timeout, this, &TooltipHost::ShowTip);
  connect(&fall_asleep_, &QTimer::timeout, this, [this] {
    HideTip();
    dismissed_ = true;
  });
}

void TooltipHost::AddTool(QWidget* control, const QString& text, bool centred) {
  if (control == nullptr) return;
  const bool known = tools_.contains(control);
  tools_.insert(control, Tool{text, centred});
  if (known) return;
  control->installEventFilter(this);
  // Without tracking a control reports mouse moves only while a button is
  // held, and the tip would never learn where the pointer rests.
  control->setMouseTracking(true);
  connect(control, &QObject::destroyed, this, [this](QObject* gone) {
    tools_.remove(gone);
    if (shown_tool_.isNull() && isVisible()) HideTip();
    if (hovered_.isNull()) wake_up_.stop();
  });
}

QStringList TooltipHost::ToolLines(const QWidget* control) const {
  const auto found = tools_.constFind(control);
  return found == tools_.constEnd() ? QStringList() : TooltipTextLines(found->text);
}

QStringList TooltipHost::ShownLines() const { return isVisible() ? lines_ : QStringList(); }

bool TooltipHost::eventFilter(QObject* watched, QEvent* event) {
  auto* control = qobject_cast<QWidget*>(watched);
  if (control == nullptr || !tools_.contains(watched)) return false;
  switch (event->type()) {
    case QEvent::Enter:
      Arm(control, static_cast<QEnterEvent*>(event)->globalPosition().toPoint());
      break;
    case QEvent::MouseMove: {
      const auto* move = static_cast<QMouseEvent*>(event);
      if (move->buttons() == Qt::NoButton) Arm(control, move->globalPosition().toPoint());
      break;
    }
    case QEvent::Leave:
      if (hovered_ == control) {
        hovered_ = nullptr;
        wake_up_.stop();
        dismissed_ = false;
      }
      if (shown_tool_ == control) HideTip();
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      wake_up_.stop();
      HideTip();
      dismissed_ = true;
      break;
    case QEvent::Hide:
      if (hovered_ == control) {
        hovered_ = nullptr;
        wake_up_.stop();
      }
      if (shown_tool_ == control) HideTip();
      break;
    default: break;
  }
  return false;
}

void TooltipHost::Arm(QWidget* control, QPoint globalPos) {
  last_pos_ = globalPos;
  int delay = QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
  if (hovered_ != control) {
    if (isVisible()) delay /= kReshowDivisor;
    hovered_ = control;
    dismissed_ = false;
    wake_up_.stop();
    if (shown_tool_ != control) HideTip();
  }
  if (dismissed_ || shown_tool_ == control || wake_up_.isActive()) return;
  wake_up_.start(std::max(delay, 0));
}

void TooltipHost::ShowTip() {
  QWidget* control = hovered_.data();
  if (control == nullptr || !control->isVisible()) return;
  const auto found = tools_.constFind(control);
  if (found == tools_.constEnd()) return;
  const QStringList lines = TooltipTextLines(found->text);
  if (lines.isEmpty()) return;
  const QPoint anchor = found->centred
                            ? control->mapToGlobal(QPoint(control->width() / 2, control->height()))
                            : last_pos_;
  QScreen* screen = QGuiApplication::screenAt(anchor);
  if (screen == nullptr) screen = control->screen();
  Layout(lines, anchor, screen->geometry());
  shown_tool_ = control;
  show();
  raise();
  update();
  fall_asleep_.start(kFallAsleepMs);
}

void TooltipHost::HideTip() {
  fall_asleep_.stop();
  shown_tool_ = nullptr;
  lines_.clear();
  hide();
}

void TooltipHost::Layout(const QStringList& lines, QPoint anchor, const QRect& screen) {
  const QFont font = QToolTip::font();
  const QFontMetrics metrics(font);
  int textWidth = 0;
  for (const QString& line : lines)
    textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
  const int textHeight = metrics.height() + (lines.size() - 1) * metrics.lineSpacing();

  const int padX = balloon_ ? kBalloonPaddingX : kPlainPaddingX;
  const int padY = balloon_ ? kBalloonPaddingY : kPlainPaddingY;
  const int bodyWidth = textWidth + 2 * padX;
  const int bodyHeight = textHeight + 2 * padY;
  const int stem = balloon_ ? kStemHeight : 0;
  const int width = bodyWidth;
  const int height = bodyHeight + stem;

  // The body hangs below and to the right of the pointer unless the screen
  // ends there; then it flips up or left, and the pointer with it.
  QPoint origin;
  bool below = true;
  bool pointerLeft = true;
  if (balloon_) {
    below = anchor.y() + kStemGap + height <= screen.bottom() + 1;
    pointerLeft = anchor.x() - kStemOffset + width <= screen.right() + 1;
    origin.setX(pointerLeft ? anchor.x() - kStemOffset : anchor.x() - (width - 1 - kStemOffset));
    origin.setY(below ? anchor.y() + kStemGap : anchor.y() - kStemGap - height + 1);
  } else {
    origin = anchor + kPlainOffset;
    if (origin.y() + height > screen.bottom() + 1) origin.setY(anchor.y() - height);
    if (origin.x() + width > screen.right() + 1) origin.setX(screen.right() + 1 - width);
  }
  origin.setX(std::max(origin.x(), screen.left()));
  origin.setY(std::max(origin.y(), screen.top()));

  const QPalette palette = QToolTip::palette();
  const QColor base = palette.color(QPalette::Inactive, QPalette::ToolTipBase);
  const QColor ink = palette.color(QPalette::Inactive, QPalette::ToolTipText);

  const int bodyTop = below ? stem : 0;
  const QRectF body(0.5, bodyTop + 0.5, width - 1, bodyHeight - 1);
  const QPainterPath shape =
      balloon_ ? BalloonShape(body, width, height, below, pointerLeft) : RectShape(body);

  picture_ = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
  picture_.fill(Qt::transparent);
  {
    QPainter painter(&picture_);
    painter.setRenderHint(QPainter::Antialiasing, balloon_);
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(base);
    painter.drawPath(shape);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(ink);
    // Plain drawText neither breaks lines nor treats '&' as a mnemonic.
    for (int i = 0; i < lines.size(); ++i) {
      painter.drawText(QPoint(padX, bodyTop + padY + metrics.ascent() + i * metrics.lineSpacing()),
                       lines[i]);
    }
  }

  anchor_ = anchor;
  lines_ = lines;
  setGeometry(QRect(origin, QSize(width, height)));
  setMask(OpaqueRegion(picture_));
}

void TooltipHost::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(0, 0, picture_);
}

}  // namespace velquist
