#include "fuzz/oracle.h"

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace velquist::fuzz {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads printf's "%.Ne" output ("d.ddd…e±x") of a positive value.
Decimal FromPrintfE(const char* text) {
  Decimal d;
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (*p != '.') d.digits += *p;
  }
  d.exponent = std::atoi(p + 1);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
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

double ReferenceParse(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string whole, fraction;
  while (i < n && IsDigit(text[i])) whole += text[i++];
  bool point = false;
  if (i < n && text[i] == '.') {
    point = true;
    ++i;
    while (i < n && IsDigit(text[i])) fraction += text[i++];
  }
  if (whole.empty() && fraction.empty()) return 0.0;
  // The program's own infinity texts, "1.#INF" and "-1.#INF".
  if (whole == "1" && point && fraction.empty() && text.substr(i, 4) == "#INF") {
    return negative ? -HUGE_VAL : HUGE_VAL;
  }

  long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    bool exponentNegative = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      exponentNegative = text[j] == '-';
      ++j;
    }
    if (j < n && IsDigit(text[j])) {
      long e = 0;
      for (; j < n && IsDigit(text[j]); ++j) {
        e = e * 10 + (text[j] - '0');
        if (e > 100000) e = 100000;  // saturates long before it could overflow
      }
      if (e > 5200) e = 5201;
      exponent = exponentNegative ? -e : e;
    }
  }

  const std::string decimal =
      std::string(negative ? "-" : "") + "0" + whole + "." + fraction + "e" + std::to_string(exponent);
  const double nearest = StrtodRounded(decimal, FE_TONEAREST);
  const double towardZero = StrtodRounded(decimal, FE_TOWARDZERO);
  if (nearest == towardZero) return nearest;  // also keeps the sign of a zero

  // Rounded away from zero: fine unless the decimal is exactly the midpoint,
  // where ties-to-even may have picked the larger magnitude.
  const long double low = std::fabs(towardZero);
  const long double midpoint = std::isinf(nearest)
                                   ? static_cast<long double>(DBL_MAX) + std::ldexp(1.0L, 970)
                                   : (low + std::fabs(static_cast<long double>(nearest))) / 2;
  // 54 significant bits and an exponent above -1076 have at most 768
  // significant decimal digits, so this prints the midpoint exactly.
  static char buffer[800];
  std::snprintf(buffer, sizeof buffer, "%.780Le", midpoint);
  const Decimal exact = FromPrintfE(buffer);

  const std::string all = whole + fraction;
  const std::size_t first = all.find_first_not_of('0');
  Decimal written;
  written.digits = all.substr(first);
  while (written.digits.size() > 1 && written.digits.back() == '0') written.digits.pop_back();
  written.exponent = static_cast<int>(whole.size()) - 1 - static_cast<int>(first) +
                     static_cast<int>(exponent);
  const bool tie = written.digits == exact.digits && written.exponent == exact.exponent;
  return tie ? towardZero : nearest;
}

Decimal ExactDecimal(double x) {
  // x = m * 2^(e-53) with m below 2^53: an integer of at most 0.302 e + 1
  // digits, or m * 5^(53-e) / 10^(53-e) with at most 16 + 0.699 (53 - e)
  // significant digits (767 at the very most). Printing only as many as that
  // keeps the fuzzers fast on ordinary values.
  int e = 0;
  std::frexp(x, &e);
  int precision = 20 + (e < 53 ? (53 - e) * 7 / 10 : 0) + (e > 0 ? e * 31 / 100 : 0);
  if (precision > 780) precision = 780;
  static char buffer[800];
  std::snprintf(buffer, sizeof buffer, "%.*e", precision, std::fabs(x));
  return FromPrintfE(buffer);
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
  const int x = d.exponent;
  std::string out;
  auto trimmed = [](std::string s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    return s;
  };
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
  const int places = exact.exponent + 45;
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
  return StyleText(RoundHalfUp(RoundHalfUp(ExactDecimal(v), 17), 13), 13, std::signbit(v));
}

void Fail(const char* what, std::string_view input, const std::string& expected,
          const std::string& got) {
  std::fprintf(stderr, "\n%s\n  input (%zu bytes):", what, input.size());
  for (std::size_t i = 0; i < input.size() && i < 200; ++i) {
    std::fprintf(stderr, " %02X", static_cast<unsigned char>(input[i]));
  }
  std::fprintf(stderr, "%s\n  expected: %s\n  got:      %s\n", input.size() > 200 ? " ..." : "",
               expected.c_str(), got.c_str());
  std::abort();
}

std::string Hex(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%a", x);
  return buffer;
}

}  // namespace velquist::fuzz
