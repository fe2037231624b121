// The calculators, driven through a fake form: what each press writes and
// which messages it shows in which order, what it leaves in the global cells,
// and which controls it touches.

#include "core/calculators.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/control_names.h"
#include "core/message_texts.h"
#include "core/pi_text.h"
#include "tests/core/fake_form.h"

namespace velquist {
namespace {

namespace c = control;
namespace m = message;
using testing::FakeForm;
using testing::FormEvent;
using testing::Showed;
using testing::Wrote;

using Texts = std::vector<std::pair<std::string_view, std::string_view>>;
using Radios = std::vector<std::string_view>;
using Events = std::vector<FormEvent>;
using Calculator = void (*)(FormAccess&, GlobalState&);

// A value no press computes, to show that a cell was overwritten.
constexpr float kStale = 0x1.8p+99f;

std::string Hex(float x) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%a", static_cast<double>(x));
  return buffer;
}

void ExpectCell(float actual, float expected, std::string_view what) {
  EXPECT_EQ(std::bit_cast<std::uint32_t>(actual), std::bit_cast<std::uint32_t>(expected))
      << what << " is " << Hex(actual) << ", expected " << Hex(expected);
}

FakeForm MakeForm(const Texts& texts, const Radios& selected) {
  FakeForm form;
  for (const auto& [box, text] : texts) form.SetText(box, text);
  for (const auto radio : selected) form.Select(radio);
  return form;
}

GlobalState StateWithPi() {
  GlobalState state;
  state.PiText = kPiText;
  state.TruncatedPiText = "stale";
  state.PerimeterCell = state.AreaCell = state.SurfaceCell = state.VolumeCell = kStale;
  return state;
}

// ---------------------------------------------------------------- circle

struct CircleCase {
  const char* name;
  std::string_view places;
  std::string_view diameter;
  Radios selected;
  Events events;
};

FormEvent CircleResult(std::string_view text) { return Wrote(c::圆计算结果编辑框, text); }

TEST(CalculateCircle, WritesTheSelectedQuantityOrTheFirstFailingMessage) {
  // clang-format off
  const std::vector<CircleCase> cases = {
      {"places 2, diameter 10, perimeter", "2", "10", {c::圆周长}, {CircleResult("31.4")}},
      {"places 2, diameter 10, area", "2", "10", {c::圆面积}, {CircleResult("78.5")}},
      {"places 0 cuts pi to 3.", "0", "10", {c::圆周长}, {CircleResult("30")}},
      {"places 0, area", "0", "10", {c::圆面积}, {CircleResult("75")}},
      {"places 1000, perimeter", "1000", "10", {c::圆周长}, {CircleResult("31.4159")}},
      {"places 1000, area", "1000", "10", {c::圆面积}, {CircleResult("78.5398")}},
      {"leading zeros do not count", "00000000000003", "10", {c::圆周长}, {CircleResult("31.41")}},
      {"places abc reads as 0", "abc", "10", {c::圆周长}, {CircleResult("30")}},
      {"places 2.9 reads as 2", "2.9", "10", {c::圆周长}, {CircleResult("31.4")}},
      {"full-width places", "\xA3\xB2", "10", {c::圆周长}, {CircleResult("31.4")}},
      {"places of spaces are not empty and read as 0", "  ", "10", {c::圆周长}, {CircleResult("30")}},
      {"places -0 is zero", "-0", "10", {c::圆周长}, {CircleResult("30")}},
      {"places - alone reads as 0", "-", "10", {c::圆周长}, {CircleResult("30")}},
      {"negative diameter, perimeter", "2", "-10", {c::圆周长}, {CircleResult("-31.4")}},
      {"negative diameter, area", "2", "-10", {c::圆面积}, {CircleResult("78.5")}},
      {"both selected: the area is written last", "2", "10", {c::圆周长, c::圆面积},
       {CircleResult("31.4"), CircleResult("78.5")}},
      {"neither selected", "2", "10", {}, {}},

      {"places and diameter empty", "", "", {c::圆周长}, {Showed(m::kEnterDecimalPlaces)}},
      {"places 1001, diameter empty", "1001", "", {c::圆周长}, {Showed(m::kAtMost1000DecimalPlaces)}},
      {"places 1001", "1001", "10", {c::圆面积}, {Showed(m::kAtMost1000DecimalPlaces)}},
      {"full-width places 1001", "\xA3\xB1\xA3\xB0\xA3\xB0\xA3\xB1", "10", {c::圆周长},
       {Showed(m::kAtMost1000DecimalPlaces)}},
      {"places 4294967297, which TextToInt wraps to 1", "4294967297", "10", {c::圆周长},
       {Showed(m::kAtMost1000DecimalPlaces)}},
      {"places 99999999999", "99999999999", "10", {c::圆周长}, {Showed(m::kAtMost1000DecimalPlaces)}},
      {"places 2147483648, which TextToInt reads as negative", "2147483648", "10", {c::圆周长},
       {Showed(m::kAtMost1000DecimalPlaces)}},
      {"places -1", "-1", "10", {c::圆周长}, {Showed(m::kDecimalPlacesNotNegative)}},
      {"places -2", "-2", "10", {c::圆面积}, {Showed(m::kDecimalPlacesNotNegative)}},
      {"full-width places -1", "\xA3\xAD\xA3\xB1", "10", {c::圆周长}, {Showed(m::kDecimalPlacesNotNegative)}},
      {"places -4294967296, which TextToInt wraps to 0", "-4294967296", "10", {c::圆周长},
       {Showed(m::kDecimalPlacesNotNegative)}},
      {"places -4294967297, which TextToInt wraps to -1", "-4294967297", "10", {c::圆周长},
       {Showed(m::kDecimalPlacesNotNegative)}},
      {"places -1, diameter empty", "-1", "", {c::圆周长}, {Showed(m::kDecimalPlacesNotNegative)}},
      {"diameter empty", "2", "", {c::圆周长}, {Showed(m::kEnterCircleDiameter)}},
  };
  // clang-format on
  for (const CircleCase& row : cases) {
    SCOPED_TRACE(row.name);
    GlobalState state = StateWithPi();
    FakeForm form = MakeForm({{c::圆周率小数点编辑框, row.places}, {c::圆直径编辑框, row.diameter}},
                             row.selected);
    CalculateCircle(form, state);
    EXPECT_EQ(form.events(), row.events);
  }
}

struct CircleCellsCase {
  const char* name;
  std::string_view places;
  std::string_view diameter;
  std::string_view truncated;  // unused when whole_pi
  bool whole_pi;
  float perimeter;
  float area;
};

// The cut of π and both cells come from every press, before any check, and
// the cut uses TextToInt's value as it is, wrapped or negative.
TEST(CalculateCircle, CutsPiAndFillsTheCellsBeforeAnyCheck) {
  const std::vector<CircleCellsCase> cases = {
      {"places -2 cuts pi to nothing", "-2", "10", "", false, 0.0f, 0.0f},
      {"places -1 cuts pi to 3", "-1", "10", "3", false, 30.0f, 75.0f},
      {"places 0", "0", "10", "3.", false, 30.0f, 75.0f},
      {"places 2", "2", "10", "3.14", false, 31.4f, 78.5f},
      {"places 1001 keeps all of PiText", "1001", "10", "", true, 0x1.f6a7a2p+4f, 0x1.3a28c6p+6f},
      {"places 4294967297 cuts at TextToInt's 1", "4294967297", "10", "3.1", false, 31.0f, 77.5f},
      {"diameter empty reads as 0", "2", "", "3.14", false, 0.0f, 0.0f},
  };
  for (const CircleCellsCase& row : cases) {
    SCOPED_TRACE(row.name);
    GlobalState state = StateWithPi();
    FakeForm form =
        MakeForm({{c::圆周率小数点编辑框, row.places}, {c::圆直径编辑框, row.diameter}}, {});
    CalculateCircle(form, state);
    EXPECT_EQ(state.TruncatedPiText, row.whole_pi ? kPiText : row.truncated);
    ExpectCell(state.PerimeterCell, row.perimeter, "PerimeterCell");
    ExpectCell(state.AreaCell, row.area, "AreaCell");
    ExpectCell(state.SurfaceCell, kStale, "SurfaceCell");
    ExpectCell(state.VolumeCell, kStale, "VolumeCell");
  }
}

// From 15 decimals on, the cut reads as the double nearest to π.
TEST(CalculateCircle, ResultsStopChangingFromFifteenPlaces) {
  const auto cells_for = [](int places) {
    GlobalState state = StateWithPi();
    const std::string text = std::to_string(places);
    FakeForm form = MakeForm({{c::圆周率小数点编辑框, text}, {c::圆直径编辑框, "7.3"}}, {});
    CalculateCircle(form, state);
    return std::pair{state.PerimeterCell, state.AreaCell};
  };
  const auto [perimeter, area] = cells_for(1000);
  ExpectCell(perimeter, static_cast<float>(0x1.921fb54442d18p+1 * 7.3), "perimeter at 1000 places");
  for (int places = 15; places < 1000; ++places) {
    SCOPED_TRACE(places);
    const auto [p, a] = cells_for(places);
    ExpectCell(p, perimeter, "PerimeterCell");
    ExpectCell(a, area, "AreaCell");
  }
}

// ------------------------------------------------------------- rectangle

struct RectangleCase {
  std::string_view length, width, height;
  std::string_view perimeter, area, volume, surface;
};

TEST(CalculateRectangle, WritesEachSelectedQuantity) {
  const std::vector<RectangleCase> cases = {
      {"3", "4", "1", "14", "12", "12", "38"},
      {"3", "4", "5", "14", "12", "60", "94"},
      {"1.5", "2.25", "3", "7.5", "3.375", "10.125", "29.25"},
  };
  for (const RectangleCase& row : cases) {
    const Texts texts = {{c::矩形长, row.length}, {c::矩形宽, row.width}, {c::矩形高, row.height}};
    const std::pair<std::string_view, std::string_view> radios[] = {{c::矩形周长, row.perimeter},
                                                                    {c::矩形面积, row.area},
                                                                    {c::矩形体积, row.volume},
                                                                    {c::矩形表面积, row.surface}};
    for (const auto& [radio, text] : radios) {
      SCOPED_TRACE(std::string(row.length) + " x " + std::string(row.width) + " x " +
                   std::string(row.height) + ", " + std::string(radio));
      GlobalState state = StateWithPi();
      FakeForm form = MakeForm(texts, {radio});
      CalculateRectangle(form, state);
      EXPECT_EQ(form.events(), Events{Wrote(c::矩形计算结果, text)});
    }
  }
}

struct FormCase {
  const char* name;
  Calculator calculate;
  Texts texts;
  Radios selected;
  Events events;
};

void RunFormCases(const std::vector<FormCase>& cases) {
  for (const FormCase& row : cases) {
    SCOPED_TRACE(row.name);
    GlobalState state = StateWithPi();
    FakeForm form = MakeForm(row.texts, row.selected);
    row.calculate(form, state);
    EXPECT_EQ(form.events(), row.events);
  }
}

TEST(CalculateRectangle, ChecksTheBoxesInOrderAndWritesInRadioOrder) {
  const Texts filled = {{c::矩形长, "3"}, {c::矩形宽, "4"}, {c::矩形高, "5"}};
  // clang-format off
  RunFormCases({
      {"the perimeter needs the height too", CalculateRectangle, {{c::矩形长, "3"}, {c::矩形宽, "4"}}, {c::矩形周长},
       {Showed(m::kEnterRectangleHeight)}},
      {"length and width empty", CalculateRectangle, {{c::矩形高, "1"}}, {c::矩形面积},
       {Showed(m::kEnterRectangleLength)}},
      {"width empty", CalculateRectangle, {{c::矩形长, "3"}, {c::矩形高, "1"}}, {c::矩形体积},
       {Showed(m::kEnterRectangleWidth)}},
      {"none selected", CalculateRectangle, filled, {}, {}},
      {"all selected: perimeter, area, volume, surface", CalculateRectangle, filled,
       {c::矩形表面积, c::矩形体积, c::矩形面积, c::矩形周长},
       {Wrote(c::矩形计算结果, "14"), Wrote(c::矩形计算结果, "12"), Wrote(c::矩形计算结果, "60"),
        Wrote(c::矩形计算结果, "94")}},
  });
  // clang-format on
}

TEST(CalculateRectangle, FillsAllFourCellsBeforeTheChecks) {
  GlobalState state = StateWithPi();
  FakeForm form = MakeForm({{c::矩形宽, "4"}, {c::矩形高, "5"}}, {c::矩形周长});
  CalculateRectangle(form, state);
  EXPECT_EQ(form.events(), Events{Showed(m::kEnterRectangleLength)});
  ExpectCell(state.PerimeterCell, 8.0f, "PerimeterCell");
  ExpectCell(state.AreaCell, 0.0f, "AreaCell");
  ExpectCell(state.SurfaceCell, 40.0f, "SurfaceCell");
  ExpectCell(state.VolumeCell, 0.0f, "VolumeCell");
  EXPECT_EQ(state.TruncatedPiText, "stale");
}

// ----------------------------------------- triangle, parallelogram, trapezoid

TEST(PlaneFigures, AreasNotesAndMessagesInOrder) {
  const FormEvent triangle_note =
      Showed(m::kTrianglePerimeterNote, kStyleInformation, m::kResultTitle);
  const FormEvent parallelogram_note =
      Showed(m::kParallelogramPerimeterNote, kStyleInformation, m::kResultTitle);
  const FormEvent trapezoid_note = Showed(m::kTrapezoidPerimeterNote);
  const Texts triangle = {{c::三角形底, "3"}, {c::三角形高, "4"}};
  const Texts parallelogram = {{c::平行四边形底, "5"}, {c::平行四边形高, "3"}};
  const Texts trapezoid = {{c::梯形上底, "2"}, {c::梯形下底, "4"}, {c::梯形高, "3"}};
  // clang-format off
  RunFormCases({
      {"triangle 3 by 4", CalculateTriangle, triangle, {c::三角形面积}, {Wrote(c::三角形计算结果, "6")}},
      {"triangle 1 by 1", CalculateTriangle, {{c::三角形底, "1"}, {c::三角形高, "1"}}, {c::三角形面积},
       {Wrote(c::三角形计算结果, "0.5")}},
      {"triangle perimeter is a note", CalculateTriangle, triangle, {c::三角形周长}, {triangle_note}},
      {"triangle note, then the area", CalculateTriangle, triangle, {c::三角形周长, c::三角形面积},
       {triangle_note, Wrote(c::三角形计算结果, "6")}},
      {"triangle base empty: no note", CalculateTriangle, {{c::三角形高, "4"}}, {c::三角形周长},
       {Showed(m::kEnterTriangleBase)}},
      {"triangle height empty", CalculateTriangle, {{c::三角形底, "3"}}, {c::三角形面积},
       {Showed(m::kEnterTriangleHeight)}},
      {"triangle none selected", CalculateTriangle, triangle, {}, {}},

      {"parallelogram 5 by 3", CalculateParallelogram, parallelogram, {c::平行四边形面积},
       {Wrote(c::平行四边形计算结果, "15")}},
      {"parallelogram perimeter is a note", CalculateParallelogram, parallelogram, {c::平行四边形周长},
       {parallelogram_note}},
      {"parallelogram note, then the area", CalculateParallelogram, parallelogram,
       {c::平行四边形周长, c::平行四边形面积}, {parallelogram_note, Wrote(c::平行四边形计算结果, "15")}},
      {"parallelogram base empty", CalculateParallelogram, {{c::平行四边形高, "3"}}, {c::平行四边形周长},
       {Showed(m::kEnterParallelogramBase)}},
      {"parallelogram height empty", CalculateParallelogram, {{c::平行四边形底, "5"}}, {c::平行四边形面积},
       {Showed(m::kEnterParallelogramHeight)}},
      {"parallelogram none selected", CalculateParallelogram, parallelogram, {}, {}},

      {"trapezoid 2, 4, 3", CalculateTrapezoid, trapezoid, {c::梯形面积}, {Wrote(c::梯形计算结果, "9")}},
      {"trapezoid 1, 2, 1", CalculateTrapezoid, {{c::梯形上底, "1"}, {c::梯形下底, "2"}, {c::梯形高, "1"}},
       {c::梯形面积}, {Wrote(c::梯形计算结果, "1.5")}},
      {"trapezoid perimeter is a note", CalculateTrapezoid, trapezoid, {c::梯形周长}, {trapezoid_note}},
      {"trapezoid note, then the area", CalculateTrapezoid, trapezoid, {c::梯形周长, c::梯形面积},
       {trapezoid_note, Wrote(c::梯形计算结果, "9")}},
      {"trapezoid upper base and height empty", CalculateTrapezoid, {{c::梯形下底, "4"}}, {c::梯形面积},
       {Showed(m::kEnterTrapezoidUpperBase)}},
      {"trapezoid lower base empty", CalculateTrapezoid, {{c::梯形上底, "2"}, {c::梯形高, "3"}}, {c::梯形周长},
       {Showed(m::kEnterTrapezoidLowerBase)}},
      {"trapezoid height empty", CalculateTrapezoid, {{c::梯形上底, "2"}, {c::梯形下底, "4"}}, {c::梯形面积},
       {Showed(m::kEnterTrapezoidHeight)}},
      {"trapezoid none selected", CalculateTrapezoid, trapezoid, {}, {}},
  });
  // clang-format on
}

// Only the area cell belongs to these figures; it is filled before the
// checks, and no perimeter is stored for any of them.
TEST(PlaneFigures, FillOnlyTheAreaCellBeforeTheChecks) {
  const struct {
    const char* name;
    Calculator calculate;
    Texts texts;
    float area;
    // clang-format off
  } cases[] = {
      {"triangle, base empty", CalculateTriangle, {{c::三角形高, "4"}}, 0.0f},
      {"parallelogram, height empty", CalculateParallelogram, {{c::平行四边形底, "5"}}, 0.0f},
      {"parallelogram, filled", CalculateParallelogram, {{c::平行四边形底, "5"}, {c::平行四边形高, "3"}}, 15.0f},
      {"trapezoid, upper base empty", CalculateTrapezoid, {{c::梯形下底, "4"}, {c::梯形高, "3"}}, 6.0f},
  };
  // clang-format on
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    GlobalState state = StateWithPi();
    FakeForm form = MakeForm(row.texts, {});
    row.calculate(form, state);
    ExpectCell(state.AreaCell, row.area, "AreaCell");
    ExpectCell(state.PerimeterCell, kStale, "PerimeterCell");
    ExpectCell(state.SurfaceCell, kStale, "SurfaceCell");
    ExpectCell(state.VolumeCell, kStale, "VolumeCell");
  }
}

// ---------------------------------------------------- extended precision

// Inputs found by tools/find_extended_cases on which the same formulas in
// plain doubles give another text: each result lies within about 2^-53 of the
// midpoint between two floats that round to different six-digit texts, so
// the text depends on every rounding step.
struct ExtendedCase {
  const char* name;
  Calculator calculate;
  Texts texts;
  std::string_view radio;
  std::string_view result_box;
  std::string_view expected;
  std::string_view plain_doubles_give;
};

TEST(ExtendedPrecision, ResultsDependOnTheExtendedSteps) {
  // clang-format off
  const std::vector<ExtendedCase> cases = {
      // πC × d is rounded to 64 bits, then to a double, then to a float: in
      // these two the first rounding lands exactly halfway between two
      // doubles, and the tie then goes the other way than one rounding would.
      {"circle perimeter, 11 places", CalculateCircle,
       {{c::圆周率小数点编辑框, "11"}, {c::圆直径编辑框, "62270.80139259"}}, c::圆周长, c::圆计算结果编辑框,
       "195630", "195629"},
      {"circle perimeter, 5 places", CalculateCircle,
       {{c::圆周率小数点编辑框, "5"}, {c::圆直径编辑框, "0.02609469928965"}}, c::圆周长, c::圆计算结果编辑框,
       "0.0819788", "0.0819789"},
      // (L + W) is summed with a 64-bit significand and then rounded to a
      // double: two roundings, where plain doubles round once.
      {"rectangle perimeter, width far below the length", CalculateRectangle,
       {{c::矩形长, "0.03"}, {c::矩形宽, "2.447515726374e-008"}, {c::矩形高, "1"}}, c::矩形周长, c::矩形计算结果,
       "0.06", "0.0600001"},
      {"rectangle perimeter, 1.55", CalculateRectangle,
       {{c::矩形长, "1.55"}, {c::矩形宽, "2.515316009366e-006"}, {c::矩形高, "1"}}, c::矩形周长, c::矩形计算结果,
       "3.10001", "3.1"},
      // L × W goes into the cell without a rounding to a double; in plain
      // doubles 85000 × 734.91 rounds to the float midpoint 62467350 exactly
      // and then to even.
      {"rectangle area 85000 x 734.91", CalculateRectangle,
       {{c::矩形长, "85000"}, {c::矩形宽, "734.91"}, {c::矩形高, "1"}}, c::矩形面积, c::矩形计算结果,
       "6.24673e+007", "6.24674e+007"},
      {"rectangle area 63000 x 135.1415", CalculateRectangle,
       {{c::矩形长, "63000"}, {c::矩形宽, "135.1415"}, {c::矩形高, "1"}}, c::矩形面积, c::矩形计算结果,
       "8.51392e+006", "8.51391e+006"},
      {"rectangle area 400 x 2000.001171875", CalculateRectangle,
       {{c::矩形长, "400"}, {c::矩形宽, "2000.001171875"}, {c::矩形高, "1"}}, c::矩形面积, c::矩形计算结果,
       "800000", "800001"},
      // The same unrounded product is the parallelogram's area.
      {"parallelogram area 85000 x 734.91", CalculateParallelogram,
       {{c::平行四边形底, "85000"}, {c::平行四边形高, "734.91"}}, c::平行四边形面积, c::平行四边形计算结果,
       "6.24673e+007", "6.24674e+007"},
      // t1 + t2 is kept with a 64-bit significand before t3 is added.
      {"cuboid surface 332.9, 2100, 0.02567666159724", CalculateRectangle,
       {{c::矩形长, "332.9"}, {c::矩形宽, "2100"}, {c::矩形高, "0.02567666159724"}}, c::矩形表面积,
       c::矩形计算结果, "1.3983e+006", "1.39831e+006"},
      {"cuboid surface 2500, 40000, 0.6882823529413", CalculateRectangle,
       {{c::矩形长, "2500"}, {c::矩形宽, "40000"}, {c::矩形高, "0.6882823529413"}}, c::矩形表面积,
       c::矩形计算结果, "2.00058e+008", "2.00059e+008"},
      // L × W is kept with a 64-bit significand before H multiplies it.
      {"cuboid volume 4112.7, 134, 140", CalculateRectangle,
       {{c::矩形长, "4112.7"}, {c::矩形宽, "134"}, {c::矩形高, "140"}}, c::矩形体积, c::矩形计算结果,
       "7.71543e+007", "7.71542e+007"},
      {"cuboid volume 5.65, 2149, 10000", CalculateRectangle,
       {{c::矩形长, "5.65"}, {c::矩形宽, "2149"}, {c::矩形高, "10000"}}, c::矩形体积, c::矩形计算结果,
       "1.21419e+008", "1.21418e+008"},
      {"cuboid volume 358500, 0.2, 2372.88", CalculateRectangle,
       {{c::矩形长, "358500"}, {c::矩形宽, "0.2"}, {c::矩形高, "2372.88"}}, c::矩形体积, c::矩形计算结果,
       "1.70136e+008", "1.70135e+008"},
  };
  // clang-format on
  for (const ExtendedCase& row : cases) {
    SCOPED_TRACE(std::string(row.name) + " (plain doubles give " +
                 std::string(row.plain_doubles_give) + ")");
    GlobalState state = StateWithPi();
    FakeForm form = MakeForm(row.texts, {row.radio});
    row.calculate(form, state);
    EXPECT_EQ(form.events(), Events{Wrote(row.result_box, row.expected)});
  }
}

// ------------------------------------------------------------ the solids

TEST(Solids, OnlySayPausedAndTouchNothing) {
  for (void (*calculate)(FormAccess&) : {CalculateCylinder, CalculateCone, CalculateSphere}) {
    FakeForm form({{c::圆柱高, "1"}, {c::圆锥高, "1"}, {c::圆直径编辑框1, "1"}},
                  {c::圆柱表面积, c::圆锥表面积, c::三角形周长5});
    GlobalState& state = TheGlobalState();
    const GlobalState before = state;
    calculate(form);
    EXPECT_EQ(form.events(), Events{Showed(m::kPaused)});
    EXPECT_TRUE(form.touched().empty());
    ExpectCell(state.AreaCell, before.AreaCell, "AreaCell");
    ExpectCell(state.PerimeterCell, before.PerimeterCell, "PerimeterCell");
  }
}

// ---------------------------------------------------- the controls reached

// Each calculator reads, asks and writes exactly the controls of its own group.
TEST(Calculators, TouchExactlyTheControlsOfTheirGroup) {
  const struct {
    const char* name;
    Calculator calculate;
    std::vector<std::string_view> inputs;
    std::vector<std::string_view> radios;
    std::string_view result;
    // clang-format off
  } groups[] = {
      {"circle", CalculateCircle, {c::圆周率小数点编辑框, c::圆直径编辑框}, {c::圆周长, c::圆面积}, c::圆计算结果编辑框},
      {"rectangle", CalculateRectangle, {c::矩形长, c::矩形宽, c::矩形高},
       {c::矩形周长, c::矩形面积, c::矩形体积, c::矩形表面积}, c::矩形计算结果},
      {"triangle", CalculateTriangle, {c::三角形底, c::三角形高}, {c::三角形周长, c::三角形面积}, c::三角形计算结果},
      {"parallelogram", CalculateParallelogram, {c::平行四边形底, c::平行四边形高},
       {c::平行四边形周长, c::平行四边形面积}, c::平行四边形计算结果},
      {"trapezoid", CalculateTrapezoid, {c::梯形上底, c::梯形下底, c::梯形高}, {c::梯形周长, c::梯形面积},
       c::梯形计算结果},
  };
  // clang-format on
  for (const auto& group : groups) {
    SCOPED_TRACE(group.name);
    FakeForm form;
    for (const auto box : group.inputs) form.SetText(box, "2");
    for (const auto radio : group.radios) form.Select(radio);
    GlobalState state = StateWithPi();
    group.calculate(form, state);
    std::set<std::string, std::less<>> expected(group.inputs.begin(), group.inputs.end());
    expected.insert(group.radios.begin(), group.radios.end());
    expected.emplace(group.result);
    EXPECT_EQ(form.touched(), expected);
  }
}

}  // namespace
}  // namespace velquist
