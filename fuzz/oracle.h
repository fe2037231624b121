// Slow, obviously correct reference versions of the conversions, for the fuzz
// targets to compare the core against. Nothing here is shared with the core:
// the oracles get their exactness from glibc (printf writes the exact decimal
// expansion of a binary float at any precision; strtod rounds any decimal
// correctly in the current rounding mode) and from plain digit-string
// arithmetic, so a mistake in the core's fast paths cannot hide behind the
// same mistake here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquist::fuzz {

// The folding of full-width forms, written as the plain byte walk.
std::string ReferenceFold(std::string_view text);

// The integer reading: skip white space, one sign, digits modulo 2^32.
std::int32_t ReferenceTextToInt(std::string_view folded);

// The nearest double to the longest number at the start of `text`, with exact
// halves going to the smaller magnitude and exponents beyond 5200 counted as
// 5201. Never folds.
double ReferenceParse(std::string_view text);

// A positive decimal as significant digits without leading or trailing zeros
// and the power of ten of the leading digit: 0.0125 is {"125", -2}.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// The exact decimal expansion of a finite nonzero |x|.
Decimal ExactDecimal(double x);

// Rounds to `count` significant digits, halves up, padding with zeros; a
// carry past the leading digit raises the exponent.
Decimal RoundHalfUp(const Decimal& d, int count);

// The number text style for a value of `digits` (exactly p of them) and
// leading exponent, with a "-" when `negative`.
std::string StyleText(const Decimal& d, int p, bool negative);

// What FloatToText must write for x, from the exact expansion of x.
std::string ReferenceFloatText(float x);

// What DoubleToText must write for v (not a NaN).
std::string ReferenceDoubleText(double v);

// Prints what went wrong, with the input as hex, and aborts so that libFuzzer
// keeps the input as a finding.
[[noreturn]] void Fail(const char* what, std::string_view input, const std::string& expected,
                       const std::string& got);

// "%a" of a double, for failure messages.
std::string Hex(double x);

}  // namespace velquist::fuzz
