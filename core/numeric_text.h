// Conversions between numeric texts and numbers, and the small text helpers
// the calculators need.
//
// Texts are byte strings in code page 936 (GBK): a byte of 0x80 or more starts
// a two-byte character. Lengths and positions count bytes. Every function is
// pure, never throws, never fails and keeps no state; a text that holds no
// number reads as 0. No locale is consulted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquist {

// Folds the full-width forms a Chinese input method produces into ASCII:
// A1A1 -> ' ', A1AB -> '~', A1EE and A1EF -> '*', A3A1..A3FE -> 0x21..0x7E.
// Every other pair is copied. A byte of 0x80 or more always takes the byte
// after it as its pair, whatever that byte is; a lone lead byte at the end is
// dropped. The result is never longer than the text.
std::string FoldFullWidth(std::string_view text);

// Reads the longest beginning of `text` that forms a number and ignores the rest:
//   [ \t\n\v\f\r]* [+-]? (digits [. digits?] | . digits) ([eEdD] [+-]? digits)?
// No folding, no hexadecimal, no grouping, no "inf"/"nan", no second sign.
// Examples: "12abc" -> 12, "+.5" -> 0.5, "5." -> 5, "." -> 0, "1e" -> 1,
// "1d3" -> 1000, "0x10" -> 0, "--5" -> 0, "-0" -> -0.0.
// The program's own infinity texts read back: after the white space and sign,
// "1.#INF" is an infinity and the reading stops after the F ("1.#IN" -> 1).
// The value is the written decimal rounded to the nearest double; a decimal
// exactly halfway between two doubles takes the one of smaller magnitude.
// Overflow gives an infinity and underflow a zero, both with the number's sign.
// An exponent whose magnitude exceeds 5200 counts as 5201. Linear in the length.
double ParseNumber(std::string_view text);

// ParseNumber of FoldFullWidth(text): "１２．５" -> 12.5, "３。１４" -> 3.
double TextToDouble(std::string_view text);

// TextToDouble narrowed to the nearest float, ties to even (a double rounding
// by design): "1e39" and "3.4028236e38" -> +infinity.
float TextToFloat(std::string_view text);

// Folds, skips leading white space, takes one optional sign, then reads digits
// as total * 10 + digit modulo 2^32 until the first non-digit: "12.9" -> 12,
// "1e3" -> 1, "2147483648" -> INT32_MIN, "4294967297" -> 1, "" -> 0.
std::int32_t TextToInt(std::string_view text);

// Six significant digits with halves rounded away from zero (for subnormals
// below 1e-38, a whole multiple of 1e-44, halves up), written in the number
// text style: "31.4", "1e+006", "9.99999e-005", "0" for either zero,
// "1.#INF", "-1.#INF", and "1.#QNAN" for every NaN.
std::string FloatToText(float x);

// The number text style with thirteen significant digits: the exact expansion
// is rounded to 17 digits half up, then to 13 half up. "1.234567890123e+014",
// "1e-005", "0", "1.#INF".
std::string DoubleToText(double v);

// Decimal digits with a leading "-" for negative values: "-2147483648".
std::string IntToText(std::int32_t n);

// The first min(count, size) bytes; empty for a count of 0 or less. Counts
// bytes, so a cut may keep the first byte of a two-byte character alone.
std::string LeftText(std::string_view text, std::int64_t count);

// True exactly when the text has no bytes: " " and "　" are not empty.
bool IsEmptyText(std::string_view text);

// x raised to y. The program only squares: Power(x, 2) is x * x rounded to
// the nearest double, so ±0 gives +0 and ±infinity gives +infinity.
double Power(double x, double y);

}  // namespace velquist
