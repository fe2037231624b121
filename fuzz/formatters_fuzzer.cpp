// The formatters from fuzzed bits: bytes 0-3 are a float, 4-11 a double and
// 12-15 an integer (missing bytes read as zero).
//   FloatToText: exactly the text of |x| rounded to six digits halves up (below
//     1e-38, to a multiple of 1e-44), and it reads back as that rounded value.
//   DoubleToText: exactly the text of the 17-then-13-digit rounding, and it
//     reads back within half a unit of its 13th digit.
//   IntToText: std::to_string.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/numeric_text.h"
#include "fuzz/fuzz_failure.h"
#include "tests/oracle/exact_decimal.h"

namespace {

using velquist::fuzz::Fail;
using velquist::fuzz::Hex;

void CheckFloat(float x, std::string_view input) {
  const std::string got = velquist::FloatToText(x);
  const std::string expected = velquist::oracle::ReferenceFloatText(x);
  if (got != expected) Fail(("FloatToText of " + Hex(x)).c_str(), input, expected, got);
  if (std::isnan(x)) return;  // "1.#QNAN" is no number to read back
  // The rounded value read back is the double nearest the six-digit decimal,
  // with the reading's own halfway rule: 2.39548e+021 lies exactly between two.
  const double back = velquist::TextToDouble(got);
  const double rounded = velquist::oracle::ReferenceParse(expected);
  if (std::bit_cast<std::uint64_t>(back) != std::bit_cast<std::uint64_t>(rounded)) {
    Fail(("TextToDouble of FloatToText of " + Hex(x)).c_str(), input, Hex(rounded), Hex(back));
  }
}

void CheckDouble(double v, std::string_view input) {
  if (std::isnan(v)) return;  // never produced by the readings, so never formatted
  const std::string got = velquist::DoubleToText(v);
  const std::string expected = velquist::oracle::ReferenceDoubleText(v);
  if (got != expected) Fail(("DoubleToText of " + Hex(v)).c_str(), input, expected, got);
  if (v == 0) return;
  const double back = velquist::TextToDouble(got);
  if (std::isinf(v)) {  // "1.#INF" and "-1.#INF" read back as themselves
    if (back != v)
      Fail(("DoubleToText of " + Hex(v) + " does not read back").c_str(), input, Hex(v), Hex(back));
    return;
  }
  const auto leading = static_cast<int>(velquist::oracle::ExactDecimal(v).exponent);
  // Half a unit of the 13th digit, plus what the 17-digit pre-rounding adds
  // (a ten-thousandth of that) and one unit in the last place for reading the
  // text back to the nearest double.
  const long double ulp = std::fabs(std::nextafter(v, 0.0) - v);
  const long double bound = 0.50005L * std::pow(10.0L, leading - 12) + ulp;
  if (std::fabs(static_cast<long double>(back) - v) > bound) {
    Fail(("DoubleToText of " + Hex(v) + " does not read back").c_str(), input, Hex(v), Hex(back));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  unsigned char bytes[16] = {};
  std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  std::uint32_t floatBits;
  std::uint64_t doubleBits;
  std::int32_t integer;
  std::memcpy(&floatBits, bytes, 4);
  std::memcpy(&doubleBits, bytes + 4, 8);
  std::memcpy(&integer, bytes + 12, 4);

  CheckFloat(std::bit_cast<float>(floatBits), input);
  CheckDouble(std::bit_cast<double>(doubleBits), input);
  const std::string text = velquist::IntToText(integer);
  if (text != std::to_string(integer)) Fail("IntToText", input, std::to_string(integer), text);
  return 0;
}
