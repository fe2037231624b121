// The one slow, exact reference for the numeric texts, shared by the tests,
// the verifiers and the fuzzers. Nothing here is shared with the core: the
// exact expansions come from GMP's integers, the nearest double of a decimal
// from glibc's correctly rounded strtod, and rounding and layout from plain
// digit-string work, so a mistake in the core's fast paths cannot hide
// behind the same mistake here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velquist::oracle {

// A positive decimal as significant digits without leading or trailing zeros
// and the power of ten of its leading digit: 0.0125 is {"125", -2}. Zero has
// no digits.
struct Decimal {
  std::string digits;
  std::int64_t exponent = 0;
  friend bool operator==(const Decimal&, const Decimal&) = default;
};

// "d.ddde±x" for a Decimal with digits, as any decimal reader takes it.
std::string ScientificText(const Decimal& d);

// Reads [+-]digits[.digits][(e|E|d|D)[+-]digits] at the start of `text`,
// ignoring the sign; the exponent saturates far beyond any double.
Decimal ReadDecimal(std::string_view text);

// The exact decimal expansion of a finite nonzero |x|.
Decimal ExactDecimal(double x);

// The exact decimal of the point halfway between the positive double with
// these bits and the one just below it (bits of +infinity: 2^1024).
Decimal LowerMidpoint(std::uint64_t bits);

// True when `text` is exactly that midpoint.
bool IsLowerMidpoint(std::string_view text, std::uint64_t bits);

// The reading of the longest number at the start of `text`, as the program
// reads it: white space, a sign, digits with one point, an exponent after
// e, E, d or D beyond ±5200 counted as ±5201, "1.#INF" for infinity; the
// nearest double, exact halves going to the smaller magnitude. Never folds.
double ReferenceParse(std::string_view text);

// The folding of full-width forms, written as the plain byte walk.
std::string ReferenceFold(std::string_view text);

// The integer reading: skip white space, one sign, digits modulo 2^32.
std::int32_t ReferenceTextToInt(std::string_view folded);

// Rounds to `count` significant digits, halves up, padding with zeros; a
// carry past the leading digit raises the exponent.
Decimal RoundHalfUp(const Decimal& d, int count);

// The number text style for a value of `digits` (exactly p of them) and
// leading exponent, with a "-" when `negative`.
std::string StyleText(const Decimal& d, int p, bool negative);

// What FloatToText must write for x.
std::string ReferenceFloatText(float x);

// What DoubleToText must write for v (not a NaN).
std::string ReferenceDoubleText(double v);

// One line of the public parse-number corpus ("... F64 string"), with the
// expected bits turned to the smaller-magnitude neighbour where the string is
// an exact tie. Lines with fewer than two fields give nothing.
struct CorpusCase {
  std::string text;
  std::uint64_t want = 0;
  bool tie = false;
};
std::optional<CorpusCase> ReadCorpusLine(const std::string& line);

}  // namespace velquist::oracle
