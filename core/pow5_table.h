// Powers of five as normalised 128-bit significands, for reading numbers of up
// to 19 significant digits with one wide multiplication.
#pragma once

#include <cstdint>

namespace velquist {

struct Pow5Significand {
  std::uint64_t high;
  std::uint64_t low;
};

// Entry q - kPow5LowestExponent is floor(5^q × 2^-e), e = floor(log2 5^q) - 127,
// so its top bit is set. Exact for 0 <= q <= 55 (5^55 < 2^128); below the
// true power by less than one unit elsewhere.
inline constexpr int kPow5LowestExponent = -342;  // 19 digits at 10^-342 are below 2^-1075
inline constexpr int kPow5HighestExponent = 308;  // 10^309 exceeds DBL_MAX
inline constexpr int kPow5ExactHighest = 55;

extern const Pow5Significand kPow5Significands[kPow5HighestExponent - kPow5LowestExponent + 1];

// floor(q × log2 5), without floating point; exact over the table's exponents
// (it first fails at |q| = 643).
constexpr int FloorLog2Pow5(int q) { return (q * 152170) >> 16; }

}  // namespace velquist
