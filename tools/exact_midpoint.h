// A slow, independent oracle for halfway decimals, shared by the parse
// verifier and the conversion tests: it writes the exact decimal expansion of
// the point halfway between a double and the double just below it, and
// compares a decimal text against it digit for digit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace velquist::oracle {

// A decimal reduced to its significant digits (no leading or trailing zeros)
// and the power of ten of its last digit; empty digits for zero.
struct Decimal {
  std::string digits;
  std::int64_t last_exp10 = 0;
  friend bool operator==(const Decimal&, const Decimal&) = default;
};

// Reads [+-]digits[.digits][(e|E|d|D)[+-]digits], ignoring the sign; the
// exponent saturates far beyond any double. Whatever follows is ignored.
inline Decimal ReadDecimal(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::string all;
  std::int64_t fraction_digits = 0;
  bool after_point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      all += text[i];
      if (after_point) ++fraction_digits;
    } else if (text[i] == '.' && !after_point) {
      after_point = true;
    } else {
      break;
    }
  }
  std::int64_t exponent = 0;
  if (i + 1 < text.size() && std::string_view("eEdD").find(text[i]) != std::string_view::npos) {
    std::size_t j = i + 1;
    const bool negative = text[j] == '-';
    if (text[j] == '+' || text[j] == '-') ++j;
    for (; j < text.size() && text[j] >= '0' && text[j] <= '9'; ++j) {
      exponent = std::min<std::int64_t>(exponent * 10 + (text[j] - '0'), 1'000'000'000);
    }
    if (negative) exponent = -exponent;
  }
  Decimal d;
  const std::size_t begin = all.find_first_not_of('0');
  if (begin == std::string::npos) return d;
  const std::size_t end = all.find_last_not_of('0') + 1;
  d.digits = all.substr(begin, end - begin);
  d.last_exp10 = exponent - fraction_digits + static_cast<std::int64_t>(all.size() - end);
  return d;
}

// Natural numbers in base 10^9, least significant limb first.
class Natural {
 public:
  explicit Natural(std::uint64_t v) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(v % kBase));
      v /= kBase;
    } while (v != 0);
  }
  void Multiply(std::uint32_t factor) {  // factor < 2^32
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t v = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(v % kBase);
      carry = v / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }
  std::string ToString() const {
    std::string s = std::to_string(limbs_.back());
    for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
      const std::string part = std::to_string(limbs_[i]);
      s += std::string(9 - part.size(), '0') + part;
    }
    return s;
  }

 private:
  static constexpr std::uint64_t kBase = 1'000'000'000;
  std::vector<std::uint32_t> limbs_;
};

// The positive value of a bit pattern as significand × 2^exponent. The
// pattern of +infinity gives 2^1024, the step just above DBL_MAX.
inline void Split(std::uint64_t bits, std::uint64_t& significand, std::int64_t& exponent) {
  const auto field = static_cast<std::int64_t>(bits >> 52);
  significand = bits & ((std::uint64_t{1} << 52) - 1);
  if (field == 0) {
    exponent = -1074;
  } else {
    significand |= std::uint64_t{1} << 52;
    exponent = field - 1075;
  }
}

// The exact decimal of (value(bits - 1) + value(bits)) / 2, for positive bits.
inline Decimal LowerMidpoint(std::uint64_t bits) {
  std::uint64_t upper = 0;
  std::uint64_t lower = 0;
  std::int64_t upper_exp = 0;
  std::int64_t lower_exp = 0;
  Split(bits, upper, upper_exp);
  Split(bits - 1, lower, lower_exp);
  const std::int64_t exp = std::min(upper_exp, lower_exp);
  // sum × 2^(exp - 1) with sum < 2^55
  const std::uint64_t sum = (upper << (upper_exp - exp)) + (lower << (lower_exp - exp));
  std::int64_t twos = exp - 1;
  Natural n(sum);
  std::int64_t last_exp10 = 0;
  if (twos >= 0) {
    for (; twos >= 31; twos -= 31) n.Multiply(std::uint32_t{1} << 31);
    n.Multiply(std::uint32_t{1} << twos);
  } else {
    last_exp10 = twos;  // sum / 2^t = sum × 5^t / 10^t
    for (; twos <= -13; twos += 13) n.Multiply(1'220'703'125);  // 5^13
    for (; twos < 0; ++twos) n.Multiply(5);
  }
  std::string digits = n.ToString();
  while (digits.back() == '0') {
    digits.pop_back();
    ++last_exp10;
  }
  return {digits, last_exp10};
}

// True when `text` is exactly halfway between the positive double with these
// bits and the one below it.
inline bool IsLowerMidpoint(std::string_view text, std::uint64_t bits) {
  if (bits == 0) return false;
  const Decimal d = ReadDecimal(text);
  // No midpoint has more than 770 significant digits; skip the slow expansion.
  if (d.digits.empty() || d.digits.size() > 770) return false;
  return d == LowerMidpoint(bits);
}

// One line of the public parse-number corpus ("... F64 string"), with the
// expected bits turned to the smaller-magnitude neighbour where the string is
// an exact tie. Lines with fewer than two fields give nothing.
struct CorpusCase {
  std::string text;
  std::uint64_t want = 0;
  bool tie = false;
};

inline std::optional<CorpusCase> ReadCorpusLine(const std::string& line) {
  std::istringstream fields(line);
  std::vector<std::string> parts;
  for (std::string part; fields >> part;) parts.push_back(part);
  if (parts.size() < 2) return std::nullopt;
  CorpusCase c{parts.back(), std::stoull(parts[parts.size() - 2], nullptr, 16), false};
  if (IsLowerMidpoint(c.text, c.want)) {
    --c.want;
    c.tie = true;
  }
  return c;
}

}  // namespace velquist::oracle
