// The control skin as a Qt style: push buttons, radio buttons, group boxes and
// edit-box frames are painted flat, rounded and gradient-filled; everything
// else, labels included, is left to the system style underneath.
#pragma once

#include <QImage>
#include <QProxyStyle>

#include "app/skin_colours.h"

namespace velquist {

// A `size` image filled with `gradient`, each pixel the bilinear mix of the
// four corner colours at its position (corners land exactly on the corner
// pixels), rounded to the nearest channel value.
QImage CornerGradientImage(QSize size, const skin::CornerGradient& gradient);

class SkinStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // `scheme` is 1, 2 or 3, or 0 for a skin that is still off and draws
  // exactly as `system` does; `system` is the style that draws everything the
  // skin does not, and is owned from here on.
  SkinStyle(int scheme, QStyle* system);

  bool IsOn() const { return scheme_ >= 1 && scheme_ <= 3; }
  // Turns a skin that is off on. The controls that exist keep what they
  // learnt from the style until they are told it changed.
  void TurnOn(int scheme) { scheme_ = scheme; }

  void polish(QWidget* widget) override;
  void unpolish(QWidget* widget) override;
  // The overloads for palettes and the application stay the base style's.
  using QProxyStyle::polish;
  using QProxyStyle::unpolish;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;
  QRect subElementRect(SubElement element, const QStyleOption* option,
                       const QWidget* widget = nullptr) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;

 private:
  void DrawPushButton(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
  void DrawPushButtonBevel(const QStyleOption* option, QPainter* painter) const;
  void DrawPushButtonLabel(const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const;
  void DrawRadioButton(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
  void DrawRadioMark(const QStyleOption* option, QPainter* painter) const;
  void DrawEditFrame(const QStyleOption* option, QPainter* painter, bool fill) const;
  void DrawGroupBox(const QStyleOptionComplex* option, QPainter* painter,
                    const QWidget* widget) const;

  int scheme_;
};

}  // namespace velquist
