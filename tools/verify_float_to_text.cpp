// Checks FloatToText for all 2^32 bit patterns of a float against a slow,
// independent oracle: the exact decimal expansion of the float as a string of
// digits, cut at the six-digit (or 10^-44) quantum, rounded half away from
// zero by string arithmetic, and formatted afresh.
//
// Within one exponent the floats are m × S × 10^t for consecutive m, with
// S = 5^-e, t = e (e < 0) or S = 2^e, t = 0, so each next expansion is the
// previous one plus the digits of S.
//
// Usage: verify_float_to_text [threads [first_field last_field]]
//   2 threads and all exponent fields 0..255 by default (takes minutes); a
//   range of biased exponent fields rechecks part of the floats quickly.
#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/numeric_text.h"

namespace {

// Little-endian decimal digits, one per byte.
using Digits = std::vector<std::uint8_t>;

Digits TimesSmall(const Digits& a, std::uint32_t factor) {
  Digits out;
  std::uint64_t carry = 0;
  for (std::uint8_t d : a) {
    const std::uint64_t v = std::uint64_t{d} * factor + carry;
    out.push_back(static_cast<std::uint8_t>(v % 10));
    carry = v / 10;
  }
  while (carry != 0) {
    out.push_back(static_cast<std::uint8_t>(carry % 10));
    carry /= 10;
  }
  while (!out.empty() && out.back() == 0) out.pop_back();
  return out;
}

void AddInPlace(Digits& a, const Digits& b) {
  if (a.size() < b.size()) a.resize(b.size(), 0);
  std::uint8_t carry = 0;
  std::size_t i = 0;
  for (; i < b.size(); ++i) {
    const std::uint8_t v = static_cast<std::uint8_t>(a[i] + b[i] + carry);
    carry = v >= 10;
    a[i] = static_cast<std::uint8_t>(carry ? v - 10 : v);
  }
  for (; carry != 0 && i < a.size(); ++i) {
    if (a[i] == 9) {
      a[i] = 0;
    } else {
      ++a[i];
      carry = 0;
    }
  }
  if (carry != 0) a.push_back(1);
}

// Text built in a fixed buffer: the oracle runs 2^31 times, so it must not
// allocate.
struct Text {
  char bytes[48];
  int size = 0;
  void Add(char c) { bytes[size++] = c; }
  void Add(const char* from, int count) {
    for (int i = 0; i < count; ++i) Add(from[i]);
  }
  bool operator==(const std::string& other) const {
    return other.size() == static_cast<std::size_t>(size) && other.compare(0, other.size(), bytes, other.size()) == 0;
  }
  std::string str() const { return std::string(bytes, static_cast<std::size_t>(size)); }
};

// Formats kept × 10^last_exp10 (`kept`: `count` digits, most significant
// first) the way a result box shows it.
void Format(char* kept, int count, int last_exp10, Text& out) {
  while (count > 1 && kept[count - 1] == '0') {
    --count;
    ++last_exp10;
  }
  if (count == 1 && kept[0] == '0') {
    out.Add('0');
    return;
  }
  const int x = count - 1 + last_exp10;
  if (x < -4 || x >= 6) {
    out.Add(kept[0]);
    if (count > 1) {
      out.Add('.');
      out.Add(kept + 1, count - 1);
    }
    char exponent[16];
    const int n = std::snprintf(exponent, sizeof exponent, "e%c%03d", x < 0 ? '-' : '+', x < 0 ? -x : x);
    out.Add(exponent, n);
  } else if (last_exp10 >= 0) {
    out.Add(kept, count);
    for (int i = 0; i < last_exp10; ++i) out.Add('0');
  } else if (x >= 0) {
    out.Add(kept, x + 1);
    out.Add('.');
    out.Add(kept + x + 1, count - x - 1);
  } else {
    out.Add("0.", 2);
    for (int i = 0; i < -x - 1; ++i) out.Add('0');
    out.Add(kept, count);
  }
}

// The oracle's text for the non-negative value n × 10^point (n's digits
// little-endian).
void Expected(const Digits& n, int point, Text& out) {
  if (n.empty()) {
    out.Add('0');
    return;
  }
  const int k = static_cast<int>(n.size()) - 1 + point;  // exponent of the leading digit
  const int quantum = std::max(k - 5, -44);
  const int cut = quantum - point;  // digits of n below index `cut` are dropped
  // At most six digits stay above the quantum, one more after a carry.
  char kept[16];
  int count = 1;
  kept[0] = '0';  // room for a carry
  for (int i = static_cast<int>(n.size()) - 1; i >= std::max(cut, 0); --i) kept[count++] = static_cast<char>('0' + n[i]);
  if (cut > 0) {
    const int round_digit = cut - 1 < static_cast<int>(n.size()) ? n[cut - 1] : 0;
    if (round_digit >= 5) {  // at least half a quantum: up in magnitude
      int i = count - 1;
      for (; kept[i] == '9'; --i) kept[i] = '0';
      ++kept[i];
    }
  }
  const int skip = kept[0] == '0' && count > 1 ? 1 : 0;
  Format(kept + skip, count - skip, cut > 0 ? quantum : point, out);
}

struct Shared {
  int last_field = 255;
  std::atomic<int> next_field{0};
  std::atomic<std::uint64_t> checked{0};
  std::atomic<std::uint64_t> mismatches{0};
  std::mutex print;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

void Report(Shared& shared, std::uint32_t bits, const std::string& got, const Text& want) {
  const std::uint64_t count = ++shared.mismatches;
  if (count > 20) return;
  std::lock_guard lock(shared.print);
  std::fprintf(stderr, "MISMATCH bits %08" PRIx32 " (%a): got \"%s\", want \"%s\"\n", bits,
               static_cast<double>(std::bit_cast<float>(bits)), got.c_str(), want.str().c_str());
}

void CheckField(Shared& shared, int field) {
  constexpr std::uint32_t kPerField = std::uint32_t{1} << 23;
  if (field == 255) {
    for (std::uint32_t f = 0; f < kPerField; ++f) {
      for (std::uint32_t sign : {0u, 1u}) {
        const std::uint32_t bits = (sign << 31) | (255u << 23) | f;
        const char* special = f != 0 ? "1.#QNAN" : (sign != 0 ? "-1.#INF" : "1.#INF");
        Text want;
        want.Add(special, static_cast<int>(std::strlen(special)));
        const std::string got = velquist::FloatToText(std::bit_cast<float>(bits));
        if (!(want == got)) Report(shared, bits, got, want);
      }
    }
    shared.checked += 2 * kPerField;
    return;
  }
  const int e = field == 0 ? -149 : field - 150;
  const int point = std::min(e, 0);
  Digits step{1};
  for (int i = 0; i < (e < 0 ? -e : e); ++i) step = TimesSmall(step, e < 0 ? 5 : 2);
  const std::uint32_t first_m = field == 0 ? 0 : kPerField;
  Digits n = TimesSmall(step, first_m);
  for (std::uint32_t f = 0; f < kPerField; ++f) {
    if (f != 0) AddInPlace(n, step);
    Text positive;
    Expected(n, point, positive);
    Text negative;
    if (!(positive.size == 1 && positive.bytes[0] == '0')) negative.Add('-');  // zero has no sign
    negative.Add(positive.bytes, positive.size);
    const std::uint32_t bits = (static_cast<std::uint32_t>(field) << 23) | f;
    const std::string got_positive = velquist::FloatToText(std::bit_cast<float>(bits));
    const std::string got_negative = velquist::FloatToText(std::bit_cast<float>(bits | 0x80000000u));
    if (!(positive == got_positive)) Report(shared, bits, got_positive, positive);
    if (!(negative == got_negative)) Report(shared, bits | 0x80000000u, got_negative, negative);
  }
  shared.checked += 2 * kPerField;
}

double Seconds(const Shared& shared) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - shared.start).count();
}

void Work(Shared& shared) {
  for (int field; (field = shared.next_field++) <= shared.last_field;) {
    CheckField(shared, field);
    std::lock_guard lock(shared.print);
    std::fprintf(stderr, "exponent field %3d done: %" PRIu64 " checked, %" PRIu64 " mismatches, %.0f s\n",
                 field, shared.checked.load(), shared.mismatches.load(), Seconds(shared));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int threads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
  Shared shared;
  if (argc > 3) {
    shared.next_field = std::clamp(std::atoi(argv[2]), 0, 255);
    shared.last_field = std::clamp(std::atoi(argv[3]), 0, 255);
  }
  const std::uint64_t expected = (std::uint64_t{1} << 24) * static_cast<std::uint64_t>(
                                     std::max(0, shared.last_field - shared.next_field + 1));
  std::vector<std::thread> pool;
  for (int i = 0; i < threads; ++i) pool.emplace_back(Work, std::ref(shared));
  for (std::thread& t : pool) t.join();
  std::printf("total checked: %" PRIu64 "\n", shared.checked.load());
  std::printf("mismatches: %" PRIu64 "\n", shared.mismatches.load());
  std::printf("elapsed: %.1f s\n", Seconds(shared));
  return shared.mismatches == 0 && shared.checked == expected ? 0 : 1;
}
