// A small unsigned big integer for the one place where a conversion must be
// exact beyond 128 bits: telling an exact halfway decimal from a near one.
// Values stay below ~2^3700 there, so plain schoolbook arithmetic on 32-bit
// limbs is fast enough.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velquist {

class BigNatural {
 public:
  explicit BigNatural(std::uint64_t value = 0);

  // Reads the decimal digits of `digits`, skipping any byte that is not a digit
  // (so a mantissa with its "." can be passed as it is).
  static BigNatural FromDigits(std::string_view digits);

  void MultiplyAdd(std::uint32_t factor, std::uint32_t addend);
  void MultiplyByPow5(std::int64_t exponent);
  void MultiplyByPow10(std::int64_t exponent);
  void ShiftLeft(std::int64_t bits);

  friend int Compare(const BigNatural& a, const BigNatural& b);
  friend bool operator==(const BigNatural& a, const BigNatural& b) { return Compare(a, b) == 0; }

 private:
  void Trim();
  std::vector<std::uint32_t> limbs_;  // least significant first, no high zeros
};

}  // namespace velquist
