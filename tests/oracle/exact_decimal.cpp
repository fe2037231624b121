#include "tests/oracle/exact_decimal.h"

#include <gmpxx.h>

#include <algorithm>
#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace velquist::oracle {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// 5^k, kept once made: the exhaustive float check asks for the same few
// hundred powers billions of times.
const mpz_class& PowerOfFive(std::int64_t k) {
  thread_local std::vector<mpz_class> powers{mpz_class(1)};
  while (static_cast<std::int64_t>(powers.size()) <= k) powers.push_back(powers.back() * 5);
  return powers[static_cast<std::size_t>(k)];
}

// n × 2^twos, exactly, as a Decimal (n > 0).
Decimal FromBinary(mpz_class n, std::int64_t twos) {
  std::int64_t point = 0;  // the value is n × 10^point
  if (twos >= 0) {
    n <<= static_cast<mp_bitcnt_t>(twos);
  } else {
    n *= PowerOfFive(-twos);  // n / 2^t = n × 5^t / 10^t
    point = twos;
  }
  Decimal d{n.get_str(), 0};
  const std::size_t end = d.digits.find_last_not_of('0') + 1;
  d.exponent = static_cast<std::int64_t>(d.digits.size()) - 1 + point;
  d.digits.resize(end);
  return d;
}

// The positive value of a bit pattern as significand × 2^exponent.
void Split(std::uint64_t bits, std::uint64_t& significand, std::int64_t& exponent) {
  const auto field = static_cast<std::int64_t>(bits >> 52);
  significand = bits & ((std::uint64_t{1} << 52) - 1);
  if (field == 0) {
    exponent = -1074;
  } else {
    significand |= std::uint64_t{1} << 52;
    exponent = field - 1075;
  }
}

mpz_class FromU64(std::uint64_t v) {
  mpz_class n(static_cast<unsigned long>(v));
  static_assert(sizeof(unsigned long) == 8, "GMP takes the 64-bit word as unsigned long");
  return n;
}

// strtod in a chosen rounding mode; glibc honours the mode for every length.
double StrtodRounded(const std::string& text, int mode) {
  const int saved = std::fegetround();
  std::fesetround(mode);
  const double value = std::strtod(text.c_str(), nullptr);
  std::fesetround(saved);
  return value;
}

}  // namespace

std::string ScientificText(const Decimal& d) {
  std::string text = d.digits.substr(0, 1);
  if (d.digits.size() > 1) text += "." + d.digits.substr(1);
  return text + "e" + std::to_string(d.exponent);
}

Decimal ReadDecimal(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::string all;
  std::int64_t whole_digits = 0;
  bool after_point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      all += text[i];
      if (!after_point) ++whole_digits;
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
    for (; j < text.size() && IsDigit(text[j]); ++j) {
      exponent = std::min<std::int64_t>(exponent * 10 + (text[j] - '0'), 1'000'000'000);
    }
    if (negative) exponent = -exponent;
  }
  const std::size_t first = all.find_first_not_of('0');
  if (first == std::string::npos) return {};
  const std::size_t end = all.find_last_not_of('0') + 1;
  return {all.substr(first, end - first),
          whole_digits - 1 - static_cast<std::int64_t>(first) + exponent};
}

Decimal ExactDecimal(double x) {
  std::uint64_t significand = 0;
  std::int64_t exponent = 0;
  Split(std::bit_cast<std::uint64_t>(std::fabs(x)), significand, exponent);
  return FromBinary(FromU64(significand), exponent);
}

Decimal LowerMidpoint(std::uint64_t bits) {
  std::uint64_t upper = 0;
  std::uint64_t lower = 0;
  std::int64_t upper_exp = 0;
  std::int64_t lower_exp = 0;
  Split(bits, upper, upper_exp);
  Split(bits - 1, lower, lower_exp);
  const std::int64_t exp = std::min(upper_exp, lower_exp);
  // (upper + lower) / 2 = sum × 2^(exp - 1), with sum below 2^55.
  const std::uint64_t sum = (upper << (upper_exp - exp)) + (lower << (lower_exp - exp));
  return FromBinary(FromU64(sum), exp - 1);
}

bool IsLowerMidpoint(std::string_view text, std::uint64_t bits) {
  if (bits == 0) return false;
  const Decimal d = ReadDecimal(text);
  // No midpoint has more than 770 significant digits; skip the slow expansion.
  if (d.digits.empty() || d.digits.size() > 770) return false;
  return d == LowerMidpoint(bits);
}

double ReferenceParse(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (text.substr(i, 6) == "1.#INF") return negative ? -HUGE_VAL : HUGE_VAL;
  std::string whole, fraction;
  while (i < n && IsDigit(text[i])) whole += text[i++];
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) fraction += text[i++];
  }
  if (whole.empty() && fraction.empty()) return 0.0;

  std::int64_t exponent = 0;
  if (i < n && std::string_view("eEdD").find(text[i]) != std::string_view::npos) {
    std::size_t j = i + 1;
    bool exponent_negative = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      exponent_negative = text[j] == '-';
      ++j;
    }
    for (; j < n && IsDigit(text[j]); ++j)
      exponent = std::min<std::int64_t>(exponent * 10 + (text[j] - '0'), 5201);
    if (exponent_negative) exponent = -exponent;
  }

  const std::string decimal = "0" + whole + "." + fraction + "e" + std::to_string(exponent);
  const double nearest = StrtodRounded(decimal, FE_TONEAREST);
  const double toward_zero = StrtodRounded(decimal, FE_TOWARDZERO);
  // Rounded away from zero is right unless the decimal is exactly halfway.
  const bool tie = nearest != toward_zero &&
                   IsLowerMidpoint(decimal, std::bit_cast<std::uint64_t>(toward_zero) + 1);
  const double magnitude = tie ? toward_zero : nearest;
  return negative ? -magnitude : magnitude;
}

std::string ReferenceFold(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += text[i];
      ++i;
      continue;
    }
    if (i + 1 == text.size()) break;
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';
    } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else {
      out += text.substr(i, 2);
    }
    i += 2;
  }
  return out;
}

std::int32_t ReferenceTextToInt(std::string_view folded) {
  std::size_t i = 0;
  while (i < folded.size() && IsSpace(folded[i])) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
    negative = folded[i] == '-';
    ++i;
  }
  std::uint32_t total = 0;
  for (; i < folded.size() && IsDigit(folded[i]); ++i) {
    total = total * 10u + static_cast<std::uint32_t>(folded[i] - '0');
  }
  if (negative) total = 0u - total;
  return static_cast<std::int32_t>(total);
}

Decimal RoundHalfUp(const Decimal& d, int count) {
  Decimal r = d;
  const auto keep = static_cast<std::size_t>(count);
  if (r.digits.size() <= keep) {
    r.digits.resize(keep, '0');
    return r;
  }
  const bool up = r.digits[keep] >= '5';
  r.digits.resize(keep);
  if (!up) return r;
  std::size_t i = keep;
  while (i > 0 && r.digits[i - 1] == '9') r.digits[--i] = '0';
  if (i == 0) {
    r.digits = "1" + std::string(keep - 1, '0');
    ++r.exponent;
  } else {
    ++r.digits[i - 1];
  }
  return r;
}

std::string StyleText(const Decimal& d, int p, bool negative) {
  const std::string& digits = d.digits;
  const auto x = static_cast<int>(d.exponent);
  auto trimmed = [](std::string s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    return s;
  };
  std::string out;
  if (x < -4 || x >= p) {
    out = digits.substr(0, 1);
    const std::string rest = trimmed(digits.substr(1));
    if (!rest.empty()) out += "." + rest;
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%03d", x >= 0 ? '+' : '-', std::abs(x));
    out += exponent;
  } else if (x >= 0) {
    out = digits.substr(0, static_cast<std::size_t>(x) + 1);
    const std::string rest = trimmed(digits.substr(static_cast<std::size_t>(x) + 1));
    if (!rest.empty()) out += "." + rest;
  } else {
    out = "0." + std::string(static_cast<std::size_t>(-x - 1), '0') + trimmed(digits);
  }
  return negative ? "-" + out : out;
}

std::string ReferenceFloatText(float x) {
  if (std::isnan(x)) return "1.#QNAN";
  if (std::isinf(x)) return std::signbit(x) ? "-1.#INF" : "1.#INF";
  if (x == 0) return "0";
  const Decimal exact = ExactDecimal(x);
  const bool negative = std::signbit(x);
  if (exact.exponent >= -38) return StyleText(RoundHalfUp(exact, 6), 6, negative);

  // Below 1e-38: a whole multiple of 1e-44, halves up. `places` digits of the
  // expansion lie at 1e-44 or above.
  const auto places = static_cast<int>(exact.exponent + 45);
  Decimal rounded;
  if (places > 0) {
    rounded = RoundHalfUp(exact, places);
  } else if (places == 0 && exact.digits[0] >= '5') {
    rounded = {"1", -44};
  } else {
    return "0";
  }
  rounded.digits.resize(6, '0');
  return StyleText(rounded, 6, negative);
}

std::string ReferenceDoubleText(double v) {
  if (std::isinf(v)) return std::signbit(v) ? "-1.#INF" : "1.#INF";
  if (v == 0) return "0";
  // Rounded twice on purpose: to 17 digits, then to 13.
  return StyleText(RoundHalfUp(RoundHalfUp(ExactDecimal(v), 17), 13), 13, std::signbit(v));
}

std::optional<CorpusCase> ReadCorpusLine(const std::string& line) {
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
