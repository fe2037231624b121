// Checks FloatToText for all 2^32 bit patterns of a float against a slow,
// independent oracle: the exact decimal expansion of the float as a string of
// digits, cut at the six-digit (or 10^-44) quantum, rounded half away from
// zero by string arithmetic, and formatted afresh.
//
// Within one exponent the floats are m × S × 10^t for consecutive m, with
// S = 5^-e, t = e (e < 0) or S = 2^e, t = 0, so each next expansion is the
// previous one plus the digits of S.
//
// Usage: verify_float_to_text [threads]   (2 by default; takes minutes)
#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// Formats kept × 10^last_exp10, where `kept` holds the digits most
// significant first, the way a result box shows it.
std::string Format(std::string kept, int last_exp10, bool negative) {
  while (kept.size() > 1 && kept.back() == '0') {
    kept.pop_back();
    ++last_exp10;
  }
  if (kept == "0") return "0";
  const int x = static_cast<int>(kept.size()) - 1 + last_exp10;
  std::string out = negative ? "-" : "";
  if (x < -4 || x >= 6) {
    out += kept.substr(0, 1);
    if (kept.size() > 1) out += "." + kept.substr(1);
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%03d", x < 0 ? '-' : '+', x < 0 ? -x : x);
    out += exponent;
  } else if (last_exp10 >= 0) {
    out += kept + std::string(static_cast<std::size_t>(last_exp10), '0');
  } else if (x >= 0) {
    out += kept.substr(0, static_cast<std::size_t>(x) + 1) + "." + kept.substr(static_cast<std::size_t>(x) + 1);
  } else {
    out += "0." + std::string(static_cast<std::size_t>(-x - 1), '0') + kept;
  }
  return out;
}

// The oracle's text for the non-negative value n × 10^point (n's digits
// little-endian).
std::string Expected(const Digits& n, int point) {
  if (n.empty()) return "0";
  const int k = static_cast<int>(n.size()) - 1 + point;  // exponent of the leading digit
  const int quantum = std::max(k - 5, -44);
  const int cut = quantum - point;  // digits of n below index `cut` are dropped
  std::string kept;
  for (int i = static_cast<int>(n.size()) - 1; i >= std::max(cut, 0); --i) kept += static_cast<char>('0' + n[i]);
  if (cut <= 0) return Format(kept, point, false);
  if (kept.empty()) kept = "0";
  const int round_digit = cut - 1 < static_cast<int>(n.size()) ? n[cut - 1] : 0;
  if (round_digit >= 5) {  // at least half a quantum: up in magnitude
    int i = static_cast<int>(kept.size()) - 1;
    for (; i >= 0 && kept[i] == '9'; --i) kept[i] = '0';
    if (i < 0) {
      kept.insert(kept.begin(), '1');
    } else {
      ++kept[i];
    }
  }
  return Format(kept, quantum, false);
}

struct Shared {
  std::atomic<int> next_field{0};
  std::atomic<std::uint64_t> checked{0};
  std::atomic<std::uint64_t> mismatches{0};
  std::mutex print;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

void Report(Shared& shared, std::uint32_t bits, const std::string& got, const std::string& want) {
  const std::uint64_t count = ++shared.mismatches;
  if (count > 20) return;
  std::lock_guard lock(shared.print);
  std::fprintf(stderr, "MISMATCH bits %08" PRIx32 " (%a): got \"%s\", want \"%s\"\n", bits,
               static_cast<double>(std::bit_cast<float>(bits)), got.c_str(), want.c_str());
}

void CheckField(Shared& shared, int field) {
  constexpr std::uint32_t kPerField = std::uint32_t{1} << 23;
  if (field == 255) {
    for (std::uint32_t f = 0; f < kPerField; ++f) {
      for (std::uint32_t sign : {0u, 1u}) {
        const std::uint32_t bits = (sign << 31) | (255u << 23) | f;
        const std::string want = f != 0 ? "1.#QNAN" : (sign != 0 ? "-1.#INF" : "1.#INF");
        const std::string got = velquist::FloatToText(std::bit_cast<float>(bits));
        if (got != want) Report(shared, bits, got, want);
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
    const std::string positive = Expected(n, point);
    const std::string negative = positive == "0" ? positive : "-" + positive;
    const std::uint32_t bits = (static_cast<std::uint32_t>(field) << 23) | f;
    const std::string got_positive = velquist::FloatToText(std::bit_cast<float>(bits));
    const std::string got_negative = velquist::FloatToText(std::bit_cast<float>(bits | 0x80000000u));
    if (got_positive != positive) Report(shared, bits, got_positive, positive);
    if (got_negative != negative) Report(shared, bits | 0x80000000u, got_negative, negative);
  }
  shared.checked += 2 * kPerField;
}

double Seconds(const Shared& shared) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - shared.start).count();
}

void Work(Shared& shared) {
  for (int field; (field = shared.next_field++) < 256;) {
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
  std::vector<std::thread> pool;
  for (int i = 0; i < threads; ++i) pool.emplace_back(Work, std::ref(shared));
  for (std::thread& t : pool) t.join();
  std::printf("total checked: %" PRIu64 "\n", shared.checked.load());
  std::printf("mismatches: %" PRIu64 "\n", shared.mismatches.load());
  std::printf("elapsed: %.1f s\n", Seconds(shared));
  return shared.mismatches == 0 && shared.checked == (std::uint64_t{1} << 32) ? 0 : 1;
}
