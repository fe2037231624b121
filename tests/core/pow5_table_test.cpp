#include "core/pow5_table.h"

#include <gtest/gtest.h>

#include "core/big_natural.h"

namespace velquist {
namespace {

BigNatural FromWords(std::uint64_t high, std::uint64_t low) {
  BigNatural value(high);
  for (int shift : {32, 0}) {
    value.ShiftLeft(32);
    value.MultiplyAdd(1, static_cast<std::uint32_t>(low >> shift));
  }
  return value;
}

// Every entry is the truncated power: T × 2^e <= 5^q < (T + 1) × 2^e, with
// 2^127 <= T < 2^128 and e = FloorLog2Pow5(q) - 127. For q < 0 both sides are
// multiplied by 5^-q × 2^-e to stay in whole numbers.
TEST(Pow5Table, EveryEntryIsTheTruncatedPowerWithItsTopBitSet) {
  for (int q = kPow5LowestExponent; q <= kPow5HighestExponent; ++q) {
    SCOPED_TRACE(q);
    const Pow5Significand entry = kPow5Significands[q - kPow5LowestExponent];
    ASSERT_NE(entry.high >> 63, 0u);
    BigNatural lower = FromWords(entry.high, entry.low);
    BigNatural upper = lower;
    upper.MultiplyAdd(1, 1);
    BigNatural power(1);
    const int e = FloorLog2Pow5(q) - 127;
    if (q >= 0) {
      power.MultiplyByPow5(q);
      if (e >= 0) {
        lower.ShiftLeft(e);
        upper.ShiftLeft(e);
      } else {
        power.ShiftLeft(-e);
      }
      if (q <= kPow5ExactHighest) {
        EXPECT_EQ(Compare(lower, power), 0) << "exact below 2^128";
        continue;
      }
    } else {
      lower.MultiplyByPow5(-q);
      upper.MultiplyByPow5(-q);
      power.ShiftLeft(-e);  // e < 0 throughout the negative half
    }
    EXPECT_LT(Compare(lower, power), 0) << "5^q is never a whole 128-bit significand here";
    EXPECT_LT(Compare(power, upper), 0);
  }
}

}  // namespace
}  // namespace velquist
