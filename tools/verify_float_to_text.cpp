// Checks FloatToText for all 2^32 bit patterns of a float against the exact
// reference (tests/oracle): the float's exact decimal expansion, rounded and
// laid out by plain digit-string work.
//
// Usage: verify_float_to_text [threads [first_field last_field]]
//   2 threads and all exponent fields 0..255 by default (takes a while); a
//   range of biased exponent fields rechecks part of the floats quickly.
#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/numeric_text.h"
#include "tests/oracle/exact_decimal.h"

namespace {

struct Shared {
  int last_field = 255;
  std::atomic<int> next_field{0};
  std::atomic<std::uint64_t> checked{0};
  std::atomic<std::uint64_t> mismatches{0};
  std::mutex print;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

double Seconds(const Shared& shared) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - shared.start).count();
}

void Check(Shared& shared, std::uint32_t bits) {
  const float x = std::bit_cast<float>(bits);
  const std::string got = velquist::FloatToText(x);
  const std::string want = velquist::oracle::ReferenceFloatText(x);
  if (got == want || ++shared.mismatches > 20) return;
  std::lock_guard lock(shared.print);
  std::fprintf(stderr, "MISMATCH bits %08" PRIx32 " (%a): got \"%s\", want \"%s\"\n", bits,
               static_cast<double>(x), got.c_str(), want.c_str());
}

void Work(Shared& shared) {
  constexpr std::uint32_t kPerField = std::uint32_t{1} << 23;
  for (int field; (field = shared.next_field++) <= shared.last_field;) {
    for (std::uint32_t f = 0; f < kPerField; ++f) {
      const std::uint32_t bits = (static_cast<std::uint32_t>(field) << 23) | f;
      Check(shared, bits);
      Check(shared, bits | 0x80000000u);
    }
    shared.checked += 2 * kPerField;
    std::lock_guard lock(shared.print);
    std::fprintf(stderr,
                 "exponent field %3d done: %" PRIu64 " checked, %" PRIu64 " mismatches, %.0f s\n",
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
  const std::uint64_t expected =
      (std::uint64_t{1} << 24) *
      static_cast<std::uint64_t>(std::max(0, shared.last_field - shared.next_field + 1));
  std::vector<std::thread> pool;
  for (int i = 0; i < threads; ++i) pool.emplace_back(Work, std::ref(shared));
  for (std::thread& t : pool) t.join();
  std::printf("total checked: %" PRIu64 "\n", shared.checked.load());
  std::printf("mismatches: %" PRIu64 "\n", shared.mismatches.load());
  std::printf("elapsed: %.1f s\n", Seconds(shared));
  return shared.mismatches == 0 && shared.checked == expected ? 0 : 1;
}
