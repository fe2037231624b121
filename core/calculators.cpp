#include "core/calculators.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "core/control_names.h"
#include "core/extended.h"
#include "core/integer_prefix.h"
#include "core/message_texts.h"
#include "core/numeric_text.h"

namespace velquist {

namespace {

namespace c = control;

// The largest count of decimal places that PiText can supply.
constexpr std::int64_t kMaxDecimalPlaces = 1000;

enum class DecimalPlacesRange { kWithin, kAboveLimit, kNegative };

// Judges the count of decimal places the user typed, read the way TextToInt
// reads it (full-width folded, leading white space skipped, one optional sign,
// then the run of digits) but without its wrap modulo 2^32: "4294967297" is
// far above the limit although TextToInt reads it as 1, and "-4294967297" is
// negative although TextToInt reads it as -1. Leading zeros do not count, and
// "-0" is zero.
DecimalPlacesRange JudgeDecimalPlaces(std::string_view text) {
  const std::string folded = FoldFullWidth(text);
  const IntegerPrefix prefix = ReadIntegerPrefix(folded);
  // Once the value passes the limit the remaining digits cannot bring it
  // back, so the sum is capped there and never overflows.
  std::int64_t value = 0;
  for (const char digit : prefix.digits) {
    value = value * 10 + (digit - '0');
    if (value > kMaxDecimalPlaces) value = kMaxDecimalPlaces + 1;
  }
  if (prefix.negative && value > 0) return DecimalPlacesRange::kNegative;
  if (value > kMaxDecimalPlaces) return DecimalPlacesRange::kAboveLimit;
  return DecimalPlacesRange::kWithin;
}

// "3." and the first N decimals of π; N + 2 is summed in 64 bits so that the
// largest count cannot overflow.
std::string CutPi(const GlobalState& state, std::int32_t places) {
  return LeftText(state.PiText, std::int64_t{places} + 2);
}

// Shows a missing or unusable input: no icon, the default caption.
void Tell(FormAccess& form, std::string_view text) { form.ShowMessage(text, kStyleOk); }

void WriteCell(FormAccess& form, std::string_view result_box, float cell) {
  form.WriteText(result_box, FloatToText(cell));
}

}  // namespace

void CalculateCircle(FormAccess& form, GlobalState& state) {
  const std::int32_t places = TextToInt(form.ReadText(c::圆周率小数点编辑框));
  state.TruncatedPiText = CutPi(state, places);

  const double pi_c = TextToDouble(CutPi(state, TextToInt(form.ReadText(c::圆周率小数点编辑框))));
  const double d = TextToDouble(form.ReadText(c::圆直径编辑框));
  state.PerimeterCell = ToFloat(ToDouble(Extended{pi_c} * d));

  const double pi_a = TextToDouble(state.TruncatedPiText);
  const float d_f = TextToFloat(form.ReadText(c::圆直径编辑框));
  const double r = ToDouble(Extended{d_f} / 2.0);
  const double s = Power(r, 2.0);
  state.AreaCell = ToFloat(ToDouble(Extended{pi_a} * s));

  if (IsEmptyText(form.ReadText(c::圆周率小数点编辑框))) {
    Tell(form, message::kEnterDecimalPlaces);
    return;
  }
  // The range is judged on the typed digits, not on TextToInt's wrapped
  // value, so that no count outside 0..1000 passes as another count.
  switch (JudgeDecimalPlaces(form.ReadText(c::圆周率小数点编辑框))) {
    case DecimalPlacesRange::kAboveLimit: Tell(form, message::kAtMost1000DecimalPlaces); return;
    case DecimalPlacesRange::kNegative:
      // A negative count would cut π to "3" or to nothing at all.
      Tell(form, message::kDecimalPlacesNotNegative);
      return;
    case DecimalPlacesRange::kWithin: break;
  }
  if (IsEmptyText(form.ReadText(c::圆直径编辑框))) {
    Tell(form, message::kEnterCircleDiameter);
    return;
  }

  if (form.IsSelected(c::圆周长)) WriteCell(form, c::圆计算结果编辑框, state.PerimeterCell);
  if (form.IsSelected(c::圆面积)) WriteCell(form, c::圆计算结果编辑框, state.AreaCell);
}

void CalculateRectangle(FormAccess& form, GlobalState& state) {
  const auto read = [&form](std::string_view box) { return TextToDouble(form.ReadText(box)); };
  const double length = read(c::矩形长);
  const double width = read(c::矩形宽);
  const double height = read(c::矩形高);

  state.PerimeterCell = ToFloat(Extended{ToDouble(Extended{length} + width)} * 2.0);
  // The area is not rounded to a double on its way into the cell.
  state.AreaCell = ToFloat(Extended{length} * width);
  const double t1 = ToDouble(Extended{length} * width * 2.0);
  const double t2 = ToDouble(Extended{length} * height * 2.0);
  const double t3 = ToDouble(Extended{width} * height * 2.0);
  state.SurfaceCell = ToFloat(ToDouble(Extended{t1} + t2 + t3));
  state.VolumeCell = ToFloat(ToDouble(Extended{length} * width * height));

  if (IsEmptyText(form.ReadText(c::矩形长))) {
    Tell(form, message::kEnterRectangleLength);
    return;
  }
  if (IsEmptyText(form.ReadText(c::矩形宽))) {
    Tell(form, message::kEnterRectangleWidth);
    return;
  }
  // Also for the perimeter and the area, which do not use the height.
  if (IsEmptyText(form.ReadText(c::矩形高))) {
    Tell(form, message::kEnterRectangleHeight);
    return;
  }

  if (form.IsSelected(c::矩形周长)) WriteCell(form, c::矩形计算结果, state.PerimeterCell);
  if (form.IsSelected(c::矩形面积)) WriteCell(form, c::矩形计算结果, state.AreaCell);
  if (form.IsSelected(c::矩形体积)) WriteCell(form, c::矩形计算结果, state.VolumeCell);
  if (form.IsSelected(c::矩形表面积)) WriteCell(form, c::矩形计算结果, state.SurfaceCell);
}

void CalculateTriangle(FormAccess& form, GlobalState& state) {
  const double base = TextToDouble(form.ReadText(c::三角形底));
  const double height = TextToDouble(form.ReadText(c::三角形高));
  state.AreaCell = ToFloat(Extended{ToDouble(Extended{base} * height)} / 2.0);

  if (IsEmptyText(form.ReadText(c::三角形底))) {
    Tell(form, message::kEnterTriangleBase);
    return;
  }
  if (IsEmptyText(form.ReadText(c::三角形高))) {
    Tell(form, message::kEnterTriangleHeight);
    return;
  }

  // Base and height do not give the sides, so the perimeter is only described.
  if (form.IsSelected(c::三角形周长)) {
    form.ShowMessage(message::kTrianglePerimeterNote, kStyleInformation, message::kResultTitle);
  }
  if (form.IsSelected(c::三角形面积)) WriteCell(form, c::三角形计算结果, state.AreaCell);
}

void CalculateParallelogram(FormAccess& form, GlobalState& state) {
  // Base and height do not determine the slanted sides, so no perimeter is
  // computed: twice the base plus twice the height is the perimeter of a
  // rectangle only. PerimeterCell is therefore left alone, as the triangle
  // and the trapezoid leave it.
  const double base = TextToDouble(form.ReadText(c::平行四边形底));
  const double height = TextToDouble(form.ReadText(c::平行四边形高));
  state.AreaCell = ToFloat(Extended{base} * height);

  if (IsEmptyText(form.ReadText(c::平行四边形底))) {
    Tell(form, message::kEnterParallelogramBase);
    return;
  }
  if (IsEmptyText(form.ReadText(c::平行四边形高))) {
    Tell(form, message::kEnterParallelogramHeight);
    return;
  }

  if (form.IsSelected(c::平行四边形周长)) {
    form.ShowMessage(message::kParallelogramPerimeterNote, kStyleInformation,
                     message::kResultTitle);
  }
  if (form.IsSelected(c::平行四边形面积)) WriteCell(form, c::平行四边形计算结果, state.AreaCell);
}

void CalculateTrapezoid(FormAccess& form, GlobalState& state) {
  const double upper = TextToDouble(form.ReadText(c::梯形上底));
  const double lower = TextToDouble(form.ReadText(c::梯形下底));
  const double height = TextToDouble(form.ReadText(c::梯形高));
  const double sum = ToDouble(Extended{upper} + lower);
  state.AreaCell = ToFloat(Extended{ToDouble(Extended{sum} * height)} / 2.0);

  if (IsEmptyText(form.ReadText(c::梯形上底))) {
    Tell(form, message::kEnterTrapezoidUpperBase);
    return;
  }
  if (IsEmptyText(form.ReadText(c::梯形下底))) {
    Tell(form, message::kEnterTrapezoidLowerBase);
    return;
  }
  if (IsEmptyText(form.ReadText(c::梯形高))) {
    Tell(form, message::kEnterTrapezoidHeight);
    return;
  }

  // The legs are not asked for, so the perimeter is only described.
  if (form.IsSelected(c::梯形周长)) Tell(form, message::kTrapezoidPerimeterNote);
  if (form.IsSelected(c::梯形面积)) WriteCell(form, c::梯形计算结果, state.AreaCell);
}

void CalculateCylinder(FormAccess& form) { Tell(form, message::kPaused); }

void CalculateCone(FormAccess& form) { Tell(form, message::kPaused); }

void CalculateSphere(FormAccess& form) { Tell(form, message::kPaused); }

}  // namespace velquist
