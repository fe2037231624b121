#include "core/big_natural.h"

#include <algorithm>

namespace velquist {

BigNatural::BigNatural(std::uint64_t value) {
  while (value != 0) {
    limbs_.push_back(static_cast<std::uint32_t>(value));
    value >>= 32;
  }
}

BigNatural BigNatural::FromDigits(std::string_view digits) {
  BigNatural result;
  std::uint32_t chunk = 0;
  std::uint32_t scale = 1;
  for (char c : digits) {
    if (c < '0' || c > '9') continue;
    chunk = chunk * 10 + static_cast<std::uint32_t>(c - '0');
    scale *= 10;
    if (scale == 1'000'000'000) {
      result.MultiplyAdd(scale, chunk);
      chunk = 0;
      scale = 1;
    }
  }
  if (scale != 1) result.MultiplyAdd(scale, chunk);
  return result;
}

void BigNatural::MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (std::uint32_t& limb : limbs_) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  Trim();
}

void BigNatural::MultiplyByPow5(std::int64_t exponent) {
  constexpr std::uint32_t kPow5_13 = 1'220'703'125;  // the largest power of 5 below 2^32
  for (; exponent >= 13; exponent -= 13) MultiplyAdd(kPow5_13, 0);
  std::uint32_t rest = 1;
  for (; exponent > 0; --exponent) rest *= 5;
  if (rest != 1) MultiplyAdd(rest, 0);
}

void BigNatural::MultiplyByPow10(std::int64_t exponent) {
  MultiplyByPow5(exponent);
  ShiftLeft(exponent);
}

void BigNatural::ShiftLeft(std::int64_t bits) {
  if (limbs_.empty() || bits <= 0) return;
  const auto whole = static_cast<std::size_t>(bits / 32);
  const auto part = static_cast<unsigned>(bits % 32);
  if (part != 0) {
    std::uint32_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint32_t next = limb >> (32 - part);
      limb = (limb << part) | carry;
      carry = next;
    }
    if (carry != 0) limbs_.push_back(carry);
  }
  limbs_.insert(limbs_.begin(), whole, 0);
}

int Compare(const BigNatural& a, const BigNatural& b) {
  if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
  for (std::size_t i = a.limbs_.size(); i-- > 0;) {
    if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
  }
  return 0;
}

void BigNatural::Trim() {
  while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

}  // namespace velquist
