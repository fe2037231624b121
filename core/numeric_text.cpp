#include "core/numeric_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

#include "core/big_natural.h"
#include "core/integer_prefix.h"
#include "core/pow5_table.h"

namespace velquist {
namespace {

__extension__ typedef unsigned __int128
    U128;  // GCC and Clang on x86-64, as extended.h already requires

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// 5^0 .. 5^44; 5^44 < 2^103, so a float significand (< 2^24) times any entry
// still fits in 128 bits with a bit to spare for rounding.
constexpr auto kPow5 = [] {
  struct Table {
    U128 value[45];
  } table{};
  table.value[0] = 1;
  for (int i = 1; i < 45; ++i) table.value[i] = table.value[i - 1] * 5;
  return table;
}();

// ---------------------------------------------------------------------------
// Reading numbers

// Eight text bytes as one little-endian word, the first byte lowest.
std::uint64_t LoadEightBytes(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// True when every byte is '0' (0x30) to '9' (0x39): the high nibble is 3,
// and adding 6 keeps it 3.
constexpr bool AreEightDigits(std::uint64_t word) {
  constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0;
  constexpr std::uint64_t kThrees = 0x3030303030303030;
  return (word & kHigh) == kThrees && ((word + 0x0606060606060606) & kHigh) == kThrees;
}

static_assert(AreEightDigits(0x3930393039303930) && !AreEightDigits(0x392E393039303930));
static_assert(!AreEightDigits(0x3A30303030303030) && !AreEightDigits(0x2F30303030303030));

constexpr std::int64_t kExponentLimit = 5200;  // larger written exponents count as 5201

// A positive dyadic value odd × 2^exp2 with an odd `odd`.
struct Dyadic {
  std::uint64_t odd;
  std::int64_t exp2;
};

// The point halfway between the positive double with these bits and the
// double just below it. Inside a binade (and among subnormals) neighbours are
// one unit of 2^e apart; at a power of two the lower neighbour lies in the
// binade below, whose unit is half as large.
Dyadic LowerMidpoint(std::uint64_t bits) {
  constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << 52) - 1;
  const auto field = static_cast<std::int64_t>(bits >> 52);
  const std::uint64_t fraction = bits & kFractionMask;
  if (field == 0) return {2 * fraction - 1, -1075};
  const std::int64_t exp2 = field - 1075;
  if (fraction == 0 && field > 1) return {(std::uint64_t{1} << 54) - 1, exp2 - 2};
  return {2 * (fraction | (std::uint64_t{1} << 52)) - 1, exp2 - 1};
}

// A midpoint odd × 2^k (odd < 2^54, k >= -1075) written in decimal has at most
// 768 significant digits (2^54 × 5^1075 < 10^768); longer decimals are never ties.
constexpr std::int64_t kMaxTieDigits = 768;

// True when the decimal with significant digits `digits` (first and last not
// zero; a "." may sit among them), `count` of them, times 10^exp10 of its last
// digit, equals `m` exactly. `word` is those digits as a number when count <= 19.
//
// D × 10^q = odd × 2^k. Because D's last digit is not 0, D is not a multiple
// of 10: for q < 0 both sides have exactly -q decimals only when k = q, and
// then D = odd × 5^-q; for q >= 0 the power of two on the left is at least q.
bool DecimalEquals(std::string_view digits, std::int64_t count, std::uint64_t word,
                   std::int64_t exp10, Dyadic m) {
  if (exp10 < 0 ? m.exp2 != exp10 : m.exp2 < exp10) return false;
  if (count > kMaxTieDigits) return false;
  if (count <= 19) {  // 10^19 < 2^64: D fits one word
    const std::uint64_t d = word;
    if (exp10 < 0) {
      // 5^28 > 10^19 > D, so only -q <= 27 can match; 10^19 × 5^27 < 2^128.
      return -exp10 <= 27 && U128{d} == U128{m.odd} * kPow5.value[-exp10];
    }
    // The odd part of D × 10^q is oddpart(D) × 5^q; 5^24 > 2^54 > odd.
    const int twos = std::countr_zero(d);
    return twos + exp10 == m.exp2 && exp10 <= 23 &&
           U128{d >> twos} * kPow5.value[exp10] == U128{m.odd};
  }
  BigNatural left = BigNatural::FromDigits(digits);
  BigNatural right(m.odd);
  if (exp10 < 0) {
    right.MultiplyByPow5(-exp10);
  } else {
    left.MultiplyByPow10(exp10);
    right.ShiftLeft(m.exp2);
  }
  return left == right;
}

// 10^0 .. 10^22, each exact in a double since 5^22 < 2^53.
constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPow10 = 22;
constexpr std::uint64_t kMaxExactWord = std::uint64_t{1}
                                        << 53;  // every integer up to here is a double

// Fast path. Guarantee: for d <= 2^53 and |q| <= 22 returns d × 10^q rounded
// to nearest with halves to the smaller magnitude, using one IEEE operation on
// two exact doubles.
//
// q < 0: the quotient d / 10^-q is correctly rounded, and it is never a tie:
// a tie is dyadic, which d / 10^-q is only when 5^-q divides d, and then it is
// (d / 5^-q) × 2^q with d / 5^-q < 2^53, an exact double.
// q >= 0: the product is the integer oddpart(d) × 5^q × 2^t, a tie exactly
// when that odd part has 54 bits (it is below 2^53 × 5^22 < 2^105, so one
// U128 holds it). Ties to even may then have taken the larger neighbour, so
// the smaller one is built directly.
double ShortDecimal(std::uint64_t d, int q) {
  if (q < 0) return static_cast<double>(d) / kExactPow10[-q];
  const int twos = std::countr_zero(d);
  const U128 odd = U128{d >> twos} * kPow5.value[q];
  if (odd >> 53 != 1) return static_cast<double>(d) * kExactPow10[q];
  // (odd - 1) is even and below 2^54, so it converts exactly.
  return std::ldexp(static_cast<double>(static_cast<std::uint64_t>(odd - 1)), twos + q);
}

// Result of reading a short decimal with one wide multiplication.
struct ShortReading {
  bool decided;
  double value;
};

// d × 10^q rounded to nearest, halves to the smaller magnitude, for
// 1 <= d < 2^64 and q within the power-of-five table; undecided when the
// truncated power leaves the side of a midpoint open.
//
// d × 10^q = d × 5^q × 2^q, and with d normalised and T the table's 5^q the
// 192-bit product P = d' × T is that value times a power of two. Where T is
// exact so is P, and a remainder of exactly one half is a tie. Elsewhere the
// true product lies in [P, P + d'), less than 2^64 above P: a remainder clear
// of one half by that much decides, and any tie (possible only for -27 <= q < 0)
// is never clear, so it goes to the exact path.
inline ShortReading ReadShort(std::uint64_t d, int q) {
  const Pow5Significand power = kPow5Significands[q - kPow5LowestExponent];
  const int leading_zeros = std::countl_zero(d);
  const std::uint64_t normal = d << leading_zeros;
  // P's top 128 bits are d' × T's high word plus the carry of d' × T's low
  // word, which adds less than 2^64 to them; that matters only near a
  // midpoint, so the second multiplication waits until one is near.
  const U128 upper = U128{normal} * power.high;
  const auto upper_high = static_cast<std::uint64_t>(upper >> 64);
  // P's leading bit is bit 190 or 191; the value's binary exponent follows.
  // A carry that moves it needs every bit below it set, a remainder above one
  // half, which rounds up to that same power of two either way.
  const int leading_bit = 190 + static_cast<int>(upper_high >> 63);
  const int exp2 = leading_bit + FloorLog2Pow5(q) - 127 + q - leading_zeros;
  if (exp2 > 1023) return {true, std::numeric_limits<double>::infinity()};
  // 53 bits for a normal double, fewer below 2^-1022; none left means the
  // value is under half the smallest subnormal.
  const int kept = exp2 >= -1022 ? 53 : exp2 + 1075;
  if (kept < 0) return {true, 0.0};

  // Bits of the high word below the kept ones: 10 or 11 for a normal double,
  // up to all 64 for the smallest subnormals. One half of them is `half`.
  const int dropped = leading_bit - 127 - kept;
  const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
  const auto split = [&](std::uint64_t high_word, std::uint64_t& mantissa, std::uint64_t& rest) {
    mantissa = dropped == 64 ? 0 : high_word >> dropped;
    rest = dropped == 64 ? high_word : high_word & ((std::uint64_t{1} << dropped) - 1);
  };
  std::uint64_t mantissa;
  std::uint64_t rest;
  split(upper_high, mantissa, rest);
  bool up = rest > half;  // a carry keeps it above, or moves the mantissa up by the same one
  if (rest + 1 == half || rest == half) {
    // Near one half: the whole 192-bit product decides, or leaves it open.
    const U128 lower = U128{normal} * power.low;
    const U128 top = upper + (lower >> 64);  // P < 2^192, so no carry is lost
    const auto top_low = static_cast<std::uint64_t>(top);
    const auto bottom = static_cast<std::uint64_t>(lower);
    split(static_cast<std::uint64_t>(top >> 64), mantissa, rest);
    const bool exactly_half = rest == half && (top_low | bottom) == 0;
    up = rest > half || (rest == half && !exactly_half);
    // Where T is truncated the true product is less than 2^64 above P, so
    // one half is still possible when the remainder is at most that below it.
    if ((q < 0 || q > kPow5ExactHighest) &&
        (exactly_half || (rest == half - 1 && top_low == ~std::uint64_t{0}))) {
      return {false, 0.0};
    }
  }
  mantissa += up ? 1 : 0;  // exactly half (exact P) is a tie: stay below

  // A carry out of 53 bits, or out of the subnormals, lands on the next
  // exponent field by itself; past the largest it reaches infinity's bits.
  const std::uint64_t bits = kept == 53 ? (static_cast<std::uint64_t>(exp2 + 1023) << 52) +
                                              mantissa - (std::uint64_t{1} << 52)
                                        : mantissa;
  return {true, std::bit_cast<double>(bits)};
}

double Signed(double magnitude, bool negative) { return negative ? -magnitude : magnitude; }

// What the scanner reads off the start of a text: the number's sign, its
// significant digits and where they sit.
struct ScannedNumber {
  bool negative = false;
  bool any_digit;         // false: no number at all, which reads as +0
  bool nonzero;           // a digit other than 0 among the mantissa's
  bool infinity = false;  // the program's own text for an infinity, "1.#INF"
  // The mantissa as written, "." included, and the end of the whole number
  // with its exponent, for the standard library's reader.
  const char* mantissa;
  const char* mantissa_end;
  const char* number_end;
  // From the first to the last non-zero digit, a "." possibly among them.
  std::string_view significant;
  std::int64_t count;               // significant digits
  std::uint64_t word;               // the first min(count, 19) of them as a number
  std::int64_t exponent = 0;        // as written, beyond ±5200 counted as ±5201
  bool rewritten_exponent = false;  // "d"/"D" or clamped: from_chars cannot read it as written
  std::int64_t leading_exp10;       // power of ten of the first significant digit
  std::int64_t last_exp10;          // and of the last
};

// The digits of a mantissa, counted without the ".".
struct MantissaDigits {
  std::int64_t position = 0;  // digits in all
  std::int64_t point = -1;    // digits before the ".", -1 without one
  std::int64_t first = -1;    // position of the first non-zero digit, -1 for none
  const char* first_digit = nullptr;
  std::uint64_t gathered = 0;       // up to 19 digits from the first non-zero one
  std::int64_t gathered_count = 0;  // digits from the first non-zero one, all of them
};

// Leading zeros come first; then the rest is gathered up to 19 digits
// (10^19 < 2^64) with no branch on the digits themselves, which random digits
// would mispredict, and past 19 digits only counted, eight bytes a step.
// Returns where the mantissa ends.
const char* ScanMantissa(const char* p, const char* end, MantissaDigits& m) {
  for (; p != end; ++p) {
    if (*p == '0') {
      ++m.position;
    } else if (*p == '.' && m.point < 0) {
      m.point = m.position;
    } else {
      break;
    }
  }
  m.first_digit = p;
  if (p == end || !IsDigit(*p)) return p;
  m.first = m.position;
  // One run of digits, the first of which is digit number `before` from the
  // first non-zero one. The loops keep to the pointer alone, so short numbers
  // cost a few instructions a digit.
  const auto read_run = [&](std::int64_t before) {
    const char* const run_begin = p;
    const std::int64_t room = before < 19 ? 19 - before : 0;
    const char* const stop = end - p > room ? p + room : end;
    for (; p != stop; ++p) {
      const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
      if (digit > 9) return p - run_begin;
      m.gathered = m.gathered * 10 + digit;
    }
    for (; end - p >= 8 && AreEightDigits(LoadEightBytes(p)); p += 8) {
    }
    while (p != end && IsDigit(*p)) ++p;
    return p - run_begin;
  };
  m.gathered_count = read_run(0);
  if (p != end && *p == '.' && m.point < 0) {
    m.point = m.position + m.gathered_count;
    ++p;
    m.gathered_count += read_run(m.gathered_count);
  }
  m.position += m.gathered_count;
  return p;
}

// The exponent after the mantissa: a letter counts only when digits follow
// it, with one sign between. Returns where the number ends.
const char* ScanExponent(const char* p, const char* end, ScannedNumber& n) {
  if (p == end || (*p != 'e' && *p != 'E' && *p != 'd' && *p != 'D')) return p;
  const char* q = p + 1;
  bool negative = false;
  if (q != end && (*q == '+' || *q == '-')) {
    negative = *q == '-';
    ++q;
  }
  if (q == end || !IsDigit(*q)) return p;
  n.rewritten_exponent = *p == 'd' || *p == 'D';
  std::int64_t exponent = 0;
  for (; q != end && IsDigit(*q); ++q) {
    if (exponent <= kExponentLimit) exponent = exponent * 10 + (*q - '0');
  }
  if (exponent > kExponentLimit) {
    exponent = kExponentLimit + 1;
    n.rewritten_exponent = true;
  }
  n.exponent = negative ? -exponent : exponent;
  return q;
}

// Scanner. Guarantee: reads the longest number at the start of `text` in one
// pass, linear in its length, and describes its value exactly: trailing
// zeros are not significant, and `word` holds the first 19 significant digits.
ScannedNumber ScanNumber(std::string_view text) {
  ScannedNumber n;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
  if (p != end && (*p == '+' || *p == '-')) {
    n.negative = *p == '-';
    ++p;
  }
  n.mantissa = p;
  MantissaDigits m;
  n.mantissa_end = ScanMantissa(p, end, m);
  n.any_digit = m.position != 0;  // ".", "+.", "-", "abc": no number at all
  if (!n.any_digit) return n;
  // The program writes an infinity "1.#INF" (and "-1.#INF") and must read
  // it back so: a number stopped at '#' is checked for that form alone.
  if (const char* q = n.mantissa_end; q != end && *q == '#') [[unlikely]] {
    n.infinity = q - n.mantissa == 2 && n.mantissa[0] == '1' && n.mantissa[1] == '.' &&
                 end - q >= 4 && q[1] == 'I' && q[2] == 'N' && q[3] == 'F';
    if (n.infinity) return n;
  }
  if (m.point < 0) m.point = m.position;
  n.number_end = ScanExponent(n.mantissa_end, end, n);
  n.nonzero = m.first >= 0;
  if (!n.nonzero) return n;

  std::int64_t trailing_zeros = 0;
  n.word = m.gathered;
  const char* significant_end = n.mantissa_end;
  if (m.gathered_count <= 19) {
    for (; n.word % 10 == 0; n.word /= 10)
      ++trailing_zeros;  // word != 0: it starts with a non-zero digit
  } else {
    for (; significant_end[-1] == '0' || significant_end[-1] == '.'; --significant_end) {
      if (significant_end[-1] == '0') ++trailing_zeros;
    }
    for (std::int64_t dropped = m.gathered_count - trailing_zeros; dropped < 19; ++dropped)
      n.word /= 10;
  }
  n.significant =
      std::string_view(m.first_digit, static_cast<std::size_t>(significant_end - m.first_digit));
  n.count = m.gathered_count - trailing_zeros;
  n.leading_exp10 = m.point - 1 - m.first + n.exponent;
  n.last_exp10 = m.point - 1 - (m.first + n.count - 1) + n.exponent;
  return n;
}

// Exact short path. Guarantee: decides every number of at most 19 significant
// digits whose value is at most 2^53 and whose power of ten is within ±22,
// with one IEEE operation on two exact doubles (see ShortDecimal).
std::optional<double> ReadExactShort(const ScannedNumber& n) {
  if (n.count > 19 || n.word > kMaxExactWord || n.last_exp10 < -kMaxExactPow10 ||
      n.last_exp10 > kMaxExactPow10) {
    return std::nullopt;
  }
  return ShortDecimal(n.word, static_cast<int>(n.last_exp10));
}

// Wide-multiplication path. Guarantee: for any length, decides every value
// beyond the double range (10^309 > DBL_MAX and 10^-324 < 2^-1075, half the
// smallest subnormal) and nearly every other one, correctly rounded with
// halves to the smaller magnitude; leaves undecided only what lies too near a
// midpoint for one wide multiplication to tell. Up to 19 digits the digits
// themselves are multiplied; longer, the first 19 digits and the same plus
// one in the last of them bound the value strictly (later digits are not all
// zeros), so when both read to the same double, so does the whole text.
std::optional<double> ReadWide(const ScannedNumber& n) {
  if (n.leading_exp10 > 308) return std::numeric_limits<double>::infinity();
  if (n.leading_exp10 < -324) return 0.0;
  if (n.count <= 19) {
    const ShortReading reading = ReadShort(n.word, static_cast<int>(n.last_exp10));
    if (reading.decided) return reading.value;
    return std::nullopt;
  }
  const int q = static_cast<int>(n.leading_exp10 - 18);  // -342 or more, as leading_exp10 >= -324
  const ShortReading below = ReadShort(n.word, q);
  const ShortReading above = ReadShort(n.word + 1, q);
  if (below.decided && above.decided && below.value == above.value) return below.value;
  return std::nullopt;
}

// Exact fallback. Guarantee: any number within the double range, of any
// length, rounded to nearest with halves to the smaller magnitude, in time
// linear in its length: the standard library's nearest double (ties to even),
// then the tie rule, decided exactly.
double ReadExact(const ScannedNumber& n) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  double magnitude = 0.0;
  std::from_chars_result result{};
  if (!n.rewritten_exponent) result = std::from_chars(n.mantissa, n.number_end, magnitude);
  if (n.rewritten_exponent || result.ptr != n.number_end) {
    std::string rewritten(n.mantissa, n.mantissa_end);
    rewritten += 'e';
    rewritten += std::to_string(n.exponent);
    result = std::from_chars(rewritten.data(), rewritten.data() + rewritten.size(), magnitude);
  }

  if (result.ec == std::errc::result_out_of_range || std::isinf(magnitude)) {
    if (n.leading_exp10 < 0) return 0.0;
    // Halfway between DBL_MAX and 2^1024 ties to even upwards; the smaller
    // magnitude is DBL_MAX itself.
    const bool tie = DecimalEquals(n.significant, n.count, n.word, n.last_exp10,
                                   LowerMidpoint(std::bit_cast<std::uint64_t>(kInfinity)));
    return tie ? std::numeric_limits<double>::max() : kInfinity;
  }

  // Ties to even took the larger neighbour exactly when the result is even and
  // the decimal is the midpoint just below it; then the smaller one is wanted.
  auto bits = std::bit_cast<std::uint64_t>(magnitude);
  if ((bits & 1) == 0 && bits != 0 &&
      DecimalEquals(n.significant, n.count, n.word, n.last_exp10, LowerMidpoint(bits))) {
    --bits;
  }
  return std::bit_cast<double>(bits);
}

// ---------------------------------------------------------------------------
// Writing numbers

// The number text style for a finite non-zero value: `digits` are its
// significant digits without trailing zeros, `exp10` the decimal exponent of
// the first one, `precision` the p of the style.
std::string WriteNumberText(bool negative, std::string_view digits, int exp10, int precision) {
  std::string text;
  text.reserve(digits.size() + 8);
  if (negative) text += '-';
  if (exp10 < -4 || exp10 >= precision) {
    text += digits[0];
    if (digits.size() > 1) {
      text += '.';
      text.append(digits.substr(1));
    }
    text += 'e';
    text += exp10 < 0 ? '-' : '+';
    const int magnitude = exp10 < 0 ? -exp10 : exp10;
    text += static_cast<char>('0' + magnitude / 100);
    text += static_cast<char>('0' + magnitude / 10 % 10);
    text += static_cast<char>('0' + magnitude % 10);
  } else if (exp10 >= 0) {
    const auto whole = static_cast<std::size_t>(exp10) + 1;
    if (digits.size() <= whole) {
      text.append(digits);
      text.append(whole - digits.size(), '0');
    } else {
      text.append(digits.substr(0, whole));
      text += '.';
      text.append(digits.substr(whole));
    }
  } else {
    text += "0.";
    text.append(static_cast<std::size_t>(-exp10 - 1), '0');
    text.append(digits);
  }
  return text;
}

// Writes `value` (> 0) as the significant digits of value × 10^exp10 of its
// last digit, and passes them to WriteNumberText.
std::string WriteInteger(bool negative, std::uint64_t value, int exp10, int precision) {
  char buffer[24];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;  // 24 bytes hold any 64-bit value
  std::string_view digits(buffer, static_cast<std::size_t>(end - buffer));
  const int leading = exp10 + static_cast<int>(digits.size()) - 1;
  while (digits.back() == '0') digits.remove_suffix(1);
  return WriteNumberText(negative, digits, leading, precision);
}

// floor(m × 2^e / 10^q + 1/2): m × 2^e rounded to a whole multiple of 10^q,
// halves up, for a float significand m < 2^24 and q from -44 to 34.
std::uint64_t RoundToQuantum(std::uint64_t m, int e, int q) {
  if (q <= 0) {
    // m × 2^e × 10^-q = (m × 5^-q) × 2^(e - q); m × 5^44 < 2^127.
    const U128 scaled = U128{m} * kPow5.value[-q];
    const int shift = e - q;
    if (shift >= 0) return static_cast<std::uint64_t>(scaled << shift);
    const int drop = -shift;
    if (drop >= 128) return 0;
    return static_cast<std::uint64_t>((scaled + (U128{1} << (drop - 1))) >> drop);
  }
  // m × 2^e / 10^q = m × 2^(e - q) / 5^q; both sides stay below 2^100.
  U128 numerator = m;
  U128 denominator = kPow5.value[q];
  if (e - q >= 0) {
    numerator <<= e - q;
  } else {
    denominator <<= q - e;
  }
  return static_cast<std::uint64_t>((2 * numerator + denominator) / (2 * denominator));
}

}  // namespace

std::string FoldFullWidth(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      folded += static_cast<char>(lead);
      ++i;
      continue;
    }
    if (i + 1 == text.size()) break;  // a lead byte without its second byte
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    i += 2;
    if (lead == 0xA1 && trail == 0xA1) {
      folded += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      folded += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      folded += '*';
    } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      folded += static_cast<char>(trail - 0x80);
    } else {
      folded += static_cast<char>(lead);
      folded += static_cast<char>(trail);
    }
  }
  return folded;
}

double ParseNumber(std::string_view text) {
  const ScannedNumber n = ScanNumber(text);
  if (!n.any_digit) return 0.0;
  if (n.infinity) [[unlikely]]
    return Signed(std::numeric_limits<double>::infinity(), n.negative);
  if (!n.nonzero) return Signed(0.0, n.negative);
  if (const std::optional<double> value = ReadExactShort(n)) return Signed(*value, n.negative);
  if (const std::optional<double> value = ReadWide(n)) return Signed(*value, n.negative);
  return Signed(ReadExact(n), n.negative);
}

double TextToDouble(std::string_view text) { return ParseNumber(FoldFullWidth(text)); }

float TextToFloat(std::string_view text) { return static_cast<float>(TextToDouble(text)); }

std::int32_t TextToInt(std::string_view text) {
  const std::string folded = FoldFullWidth(text);
  const IntegerPrefix prefix = ReadIntegerPrefix(folded);
  std::uint32_t total = 0;  // wraps modulo 2^32 by design
  for (const char digit : prefix.digits)
    total = total * 10 + static_cast<std::uint32_t>(digit - '0');
  if (prefix.negative) total = 0u - total;
  return static_cast<std::int32_t>(total);
}

std::string FloatToText(float x) {
  const auto bits = std::bit_cast<std::uint32_t>(x);
  const bool negative = (bits >> 31) != 0;
  const std::uint32_t field = (bits >> 23) & 0xFF;
  const std::uint32_t fraction = bits & 0x7FFFFF;
  if (field == 0xFF) {
    if (fraction != 0) return "1.#QNAN";
    return negative ? "-1.#INF" : "1.#INF";
  }
  const std::uint64_t m = field == 0 ? fraction : (fraction | 0x800000u);
  const int e = field == 0 ? -149 : static_cast<int>(field) - 150;
  if (m == 0) return "0";

  // 10^k <= |x| < 10^(k+1) for k = floor(log2|x| × log10 2) or one more;
  // 78913 / 2^18 is log10 2 close enough for |log2| < 2^10.
  const int log2 = e + static_cast<int>(std::bit_width(m)) - 1;
  const int k = (log2 * 78913) >> 18;
  // Six significant digits, but never a finer quantum than 10^-44.
  int quantum = std::max(k - 5, -44);
  std::uint64_t rounded = RoundToQuantum(m, e, quantum);
  if (rounded > 1'000'000 && std::max(k - 4, -44) != quantum) {
    // |x| >= 10^(k+1): one digit too many. (Exactly 10^6 is right either way:
    // it is a carry, or x lies within half a quantum above 10^(k+1).)
    quantum = std::max(k - 4, -44);
    rounded = RoundToQuantum(m, e, quantum);
  }
  if (rounded == 0) return "0";
  return WriteInteger(negative, rounded, quantum, 6);
}

std::string DoubleToText(double v) {
  if (std::isnan(v)) return "1.#QNAN";
  if (std::isinf(v)) return v < 0 ? "-1.#INF" : "1.#INF";
  if (v == 0) return "0";
  const auto bits = std::bit_cast<std::uint64_t>(v);
  const auto field = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int e = field == 0 ? -1074 : field - 1075;
  if (field != 0) m |= std::uint64_t{1} << 52;
  const int twos = std::countr_zero(m);
  m >>= twos;  // |v| = m × 2^e with m odd
  e += twos;

  // First the 17 significant digits, rounded half up from the exact expansion.
  std::uint64_t digits17 = 0;
  int leading = 0;  // decimal exponent of the first digit
  // When the exact expansion has at most 19 significant digits it fits a word:
  // m × 2^e for an integer, and m × 5^-e (ending in 5) times 10^e otherwise.
  std::uint64_t exact = 0;
  int exact_exp10 = 0;
  if (e >= 0 && e < 64 - static_cast<int>(std::bit_width(m))) {
    exact = m << e;
  } else if (e < 0 && -e <= 27 && U128{m} * kPow5.value[-e] < U128{10'000'000'000'000'000'000u}) {
    exact = static_cast<std::uint64_t>(U128{m} * kPow5.value[-e]);
    exact_exp10 = e;
  }
  if (exact != 0) {
    int length = 1;
    for (std::uint64_t rest = exact; rest >= 10; rest /= 10) ++length;
    leading = exact_exp10 + length - 1;
    if (length <= 17) {
      digits17 = exact;
      for (int i = length; i < 17; ++i) digits17 *= 10;
    } else {
      const std::uint64_t unit = length == 18 ? 10 : 100;
      digits17 = (exact + unit / 2) / unit;
    }
  } else {
    // Longer expansions: from_chars' counterpart rounds the exact value to 17
    // digits. It breaks ties to even, but a tie needs an expansion of exactly
    // 18 digits ending in 5, which is m × 5^-e below 10^19 and taken above.
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v),
                                         std::chars_format::scientific, 16);
    (void)ec;  // "d.<16 digits>e±ddd" always fits
    digits17 = static_cast<std::uint64_t>(buffer[0] - '0');
    for (int i = 2; i < 18; ++i)
      digits17 = digits17 * 10 + static_cast<std::uint64_t>(buffer[i] - '0');
    std::from_chars(buffer + 19 + (buffer[19] == '+'), end, leading);
  }
  if (digits17 == 100'000'000'000'000'000) {  // 9.99…95 carried into a new digit
    digits17 /= 10;
    ++leading;
  }
  std::uint64_t digits13 = (digits17 + 5'000) / 10'000;
  if (digits13 == 10'000'000'000'000) {
    digits13 /= 10;
    ++leading;
  }
  return WriteInteger(v < 0, digits13, leading - 12, 13);
}

std::string IntToText(std::int32_t n) { return std::to_string(n); }

std::string LeftText(std::string_view text, std::int64_t count) {
  if (count <= 0) return {};
  return std::string(text.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(
                                        count, static_cast<std::int64_t>(text.size())))));
}

bool IsEmptyText(std::string_view text) { return text.empty(); }

double Power(double x, double y) {
  if (y == 2) return x * x;
  return std::pow(x, y);
}

}  // namespace velquist
