// Colours and metrics of the control skin, in one place so that the painter
// and the tests that check its pixels read the same values.
#pragma once

#include <QColor>
#include <QRgb>

namespace velquist::skin {

// A fill given by its four corner colours, interpolated bilinearly; equal top
// and equal bottom corners make it a plain vertical gradient.
struct CornerGradient {
  QRgb top_left;
  QRgb top_right;
  QRgb bottom_left;
  QRgb bottom_right;
};

constexpr CornerGradient Vertical(QRgb top, QRgb bottom) { return {top, top, bottom, bottom}; }

// Push buttons.
inline constexpr QRgb kButtonBorder = qRgb(0, 60, 115);
inline constexpr int kButtonDisabledBorderDarken = 32;  // below button face
inline constexpr QRgb kButtonDisabledFill = qRgb(245, 244, 234);
inline constexpr QRgb kButtonCaption = qRgb(0, 0, 0);
inline constexpr QRgb kButtonGreyCaption = qRgb(165, 162, 148);  // disabled or indeterminate

inline constexpr CornerGradient kPressedRing = Vertical(qRgb(209, 204, 193), qRgb(242, 241, 238));
inline constexpr CornerGradient kHotRing = Vertical(qRgb(255, 240, 207), qRgb(229, 151, 0));
inline constexpr CornerGradient kCheckedRing = {qRgb(214, 203, 189), qRgb(214, 207, 198),
                                                qRgb(247, 243, 239), qRgb(247, 243, 239)};
inline constexpr CornerGradient kFocusedRing = Vertical(qRgb(206, 231, 255), qRgb(105, 130, 238));
inline constexpr CornerGradient kNormalRing = Vertical(qRgb(255, 255, 255), qRgb(226, 223, 214));
inline constexpr CornerGradient kPressedFace = {qRgb(231, 227, 222), qRgb(231, 231, 231),
                                                qRgb(231, 227, 222), qRgb(231, 227, 222)};
inline constexpr CornerGradient kNormalFace = Vertical(qRgb(252, 252, 251), qRgb(236, 235, 230));

// Geometry of a push button, counted inwards from its edge: the outer line,
// the border, then the ring; the face starts at kButtonFaceInset.
inline constexpr int kButtonBorderInset = 1;
inline constexpr int kButtonRingInset = 2;
inline constexpr int kButtonRingWidth = 2;
inline constexpr int kButtonFaceInset = kButtonRingInset + kButtonRingWidth;

// Radio buttons (the same in every scheme).
inline constexpr int kRadioMarkSize = 16;
inline constexpr int kRadioTextX = 18;
inline constexpr QRgb kRadioOuterFill = qRgb(181, 195, 206);
inline constexpr QRgb kRadioOuterLine = qRgb(33, 85, 132);
inline constexpr int kRadioDisabledFillDarken = 16;  // below button face
inline constexpr int kRadioDisabledLineDarken = 32;
inline constexpr QRgb kRadioDisabledBody = qRgb(255, 255, 255);
inline constexpr QRgb kRadioHotInner = qRgb(247, 239, 222);
inline constexpr QRgb kRadioDotLine = qRgb(156, 203, 148);
inline constexpr QRgb kRadioDisabledDotLine = qRgb(214, 211, 206);

inline constexpr CornerGradient kRadioPressedBody = {qRgb(181, 178, 165), qRgb(214, 215, 206),
                                                     qRgb(214, 215, 206), qRgb(247, 239, 222)};
inline constexpr CornerGradient kRadioHotBody = {qRgb(255, 223, 156), qRgb(255, 195, 82),
                                                 qRgb(255, 203, 99), qRgb(255, 186, 57)};
inline constexpr CornerGradient kRadioNormalBody = {qRgb(222, 223, 214), qRgb(247, 243, 239),
                                                    qRgb(247, 243, 239), qRgb(255, 255, 255)};
inline constexpr CornerGradient kRadioDot = {qRgb(173, 223, 165), qRgb(41, 170, 33),
                                             qRgb(41, 170, 33), qRgb(16, 146, 16)};
inline constexpr CornerGradient kRadioDisabledDot = {qRgb(214, 215, 206), qRgb(198, 195, 189),
                                                     qRgb(198, 195, 189), qRgb(198, 190, 181)};

// Circles of the 16-pixel mark, as insets from its bounding square: the
// outline and its fill, the body, the hot inner circle and the selected dot.
inline constexpr int kRadioBodyInset = 2;
inline constexpr int kRadioHotInnerInset = 4;
inline constexpr int kRadioDotInset = 5;

// Edit-box frames: two lines, the outer one depending on the scheme.
inline constexpr QRgb kEditOuterLine[3] = {qRgb(123, 158, 189), qRgb(164, 185, 127),
                                           qRgb(198, 197, 215)};
inline constexpr int kEditDisabledOuterDarken = 32;  // below button face

// Group boxes (every scheme).
inline constexpr QRgb kGroupFrame = qRgb(191, 184, 191);
inline constexpr int kGroupFrameRadius = 3;
inline constexpr int kGroupCaptionLeft = 9;     // gap start for left-aligned captions
inline constexpr int kGroupCaptionRight = 10;   // gap end before the right edge
inline constexpr int kGroupCaptionPadding = 1;  // cleared pixels either side of the text

// `face` with `amount` taken from each channel, not below zero.
inline QColor Darker(const QColor& face, int amount) {
  auto down = [amount](int c) { return c > amount ? c - amount : 0; };
  return QColor(down(face.red()), down(face.green()), down(face.blue()));
}

}  // namespace velquist::skin
