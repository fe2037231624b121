#include "app/secondary_windows.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velquist {

// The empty formulas after some colons and the two lone "的计算公式:" lines
// are part of the text as it stands.
const QString kFormulaText = QStringLiteral(
    u"圆的周长计算公式:π×直径\r\n"
    u"圆的面积计算公式:π×半径^2\r\n"
    u"\r\n"
    u"矩形周长计算公式:(长＋宽)×2\r\n"
    u"矩形面积计算公式:长×宽\r\n"
    u"长方体/正方体表面积计算公式:长×宽×2＋长×高×2＋宽×高×2\r\n"
    u"长方体/正方体体积计算公式:长×宽×高\r\n"
    u"\r\n"
    u"三角形的周长计算公式:三条边之和\r\n"
    u"三角形面积计算公式:底×高÷2\r\n"
    u"\r\n"
    u"平行四边形周长计算公式:四条边之和\r\n"
    u"平行四边形的面积计算公式:底×高\r\n"
    u"\r\n"
    u"梯形的周长计算公式:上底+下底+2条腰之和\r\n"
    u"梯形的面积计算公式:(上底+下底)×高÷2\r\n"
    u"\r\n"
    u"圆柱的表面积计算公式:\r\n"
    u"圆柱的体积计算公式:底面积(π×底面半径^2)×高\r\n"
    u"\r\n"
    u"圆锥的表面积计算公式:\r\n"
    u"圆锥的体积计算公式:1/3×底面积(π×底面半径^2)×高\r\n"
    u"\r\n"
    u"球的表面积计算公式:\r\n"
    u"球的体积计算公式:\r\n"
    u"\r\n"
    u"的计算公式:\r\n"
    u"的计算公式:\r\n");

const QString kAboutText = QStringLiteral(
    u"\r\n"
    u"版权所有 (C) Velquist 作者\r\n"
    u"\r\n"
    u"如果对软件有什么不满意的地方或者是有什么错误或是意见建议请联系邮箱（邮件标题请注明是关于Velquist的）\r\n"
    u"\r\n"
    u"联系邮箱:team@example.com\r\n");

QString DisplayLines(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return lines;
}

namespace {

// Both labels' text, top-aligned and word-wrapped in `area` and cut off at
// its edges, laid out as QPainter::drawText lays it out (each line on the
// next whole pixel below the one before), with one difference: an empty line
// takes the font's height rounded to the nearest pixel rather than raised to
// the next one. The About label's frame leaves 132 pixels, exactly the height
// of its nine lines in DejaVu Sans (13.97 pixels an empty line); a Latin
// family with a taller ascent, like Cantarell's 14.41, would otherwise cost a
// pixel per empty line and push the contact line under the frame.
void DrawLabelText(QPainter& painter, const QRect& area, Qt::Alignment alignment,
                   const QString& text) {
  QString lines = text;
  lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
  QTextLayout layout(lines, painter.font(), painter.device());
  QTextOption option(alignment & Qt::AlignHorizontal_Mask);
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  qreal y = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(area.width());
    y = std::ceil(y);
    line.setPosition(QPointF(0, y));
    const bool empty =
        line.textLength() == 0 ||
        (line.textLength() == 1 && lines.at(line.textStart()) == QChar::LineSeparator);
    const qreal height = line.ascent() + line.descent();
    y += empty ? std::round(height) : height;
  }
  layout.endLayout();
  painter.save();
  painter.setClipRect(area, Qt::IntersectClip);
  layout.draw(&painter, area.topLeft());
  painter.restore();
}

// QLabel lets text that is taller than the label run over its border; this
// one keeps the text inside, so that the border stays whole and what does not
// fit is cut off at the inner edge.
class ClippingLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect();
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    DrawLabelText(painter, area, alignment(), text());
  }
};

}  // namespace

FormulaWindow::FormulaWindow(QWidget* parent) : QWidget(parent) {
  auto* label = new ClippingLabel(this);
  label->setObjectName(QStringLiteral("标签1"));
  label->setGeometry(24, 24, 360, 360);
  label->setFrameStyle(QFrame::Box | QFrame::Plain);
  label->setLineWidth(1);
  // The text starts right inside the border, as a static control's does.
  label->setIndent(0);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  label->setText(DisplayLines(kFormulaText));
}

AboutLabel::AboutLabel(const QString& text, QWidget* parent) : QWidget(parent), text_(text) {}

QRgb AboutLabel::FrameColour(int ring, int width) {
  // Grey at both edges, rising linearly to white in the middle.
  const int edge = qRed(kFrameEdge);
  if (width <= 1) return kFrameEdge;
  const int span = width - 1;
  const int fromMiddle = std::abs(2 * ring - span);
  const int level = edge + (255 - edge) * (span - fromMiddle) / span;
  return qRgb(level, level, level);
}

void AboutLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect area = rect();
  const int frame = std::min({kFrameWidth, area.width() / 2, area.height() / 2});
  // Concentric one-pixel rings: where two sides meet, each pixel of the
  // diagonal belongs to the ring it lies on, which mitres the corners.
  for (int ring = 0; ring < frame; ++ring) {
    const QRect r = area.adjusted(ring, ring, -ring, -ring);
    const QColor colour = QColor::fromRgb(FrameColour(ring, frame));
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
  }
  area.adjust(frame, frame, -frame, -frame);
  painter.fillRect(area, QColor::fromRgb(kBackground));
  painter.setPen(QColor::fromRgb(kTextColour));
  painter.setFont(font());
  DrawLabelText(painter, area, Qt::AlignHCenter | Qt::AlignTop, DisplayLines(text_));
}

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent) {
  QPalette yellow = palette();
  yellow.setColor(QPalette::Window, QColor::fromRgb(AboutLabel::kBackground));
  setPalette(yellow);
  setAutoFillBackground(true);

  auto* label = new AboutLabel(kAboutText, this);
  label->setObjectName(QStringLiteral("标签1"));
  label->setGeometry(0, 0, 204, 148);
}

}  // namespace velquist
