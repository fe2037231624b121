// Speed of the conversions beside the standard library's, on the very same
// inputs in the same run. After the usual Google Benchmark table it prints
// one line per contest with the ratio (ours / theirs, per item) and whether
// the goal holds:
//   ParseNumber    at most 1.5 times std::from_chars on short numbers;
//   ParseNumber    cost per byte flat from 10^3 to 10^6 bytes (linear);
//   FloatToText    faster than snprintf("%.6g");
//   DoubleToText   faster than snprintf("%.13g").
// Every input set is built from a fixed seed, so runs compare. Times per item
// are CPU times (Google Benchmark's rates), which a busy machine disturbs less
// than wall-clock times.
//
// Both sides of a formatter contest hand back a std::string, since that is
// what a caller of FloatToText gets; the copy out of snprintf's buffer is the
// price of the same result.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "core/numeric_text.h"
#include "core/pi_text.h"

namespace {

using velquist::DoubleToText;
using velquist::FloatToText;
using velquist::ParseNumber;

constexpr std::uint64_t kSeed = 20260511;
constexpr std::size_t kShortCount = 4096;
constexpr std::size_t kFormatCount = 1'000'000;
constexpr std::int64_t kMillion = 1'000'000;

// ---------------------------------------------------------------- inputs ---

char RandomDigit(std::mt19937_64& rng, bool nonzero = false) {
  std::uniform_int_distribution<int> digit(nonzero ? 1 : 0, 9);
  return static_cast<char>('0' + digit(rng));
}

// 1 to 17 significant digits, a point somewhere in a half of them, a minus
// sign in a quarter; with `exponent`, "e", an optional "-" and 1 to 3 digits
// below 300. Only forms that ParseNumber, from_chars and strtod all read.
std::vector<std::string> ShortNumbers(bool exponent, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::uniform_int_distribution<int> length(1, 17);
  std::uniform_int_distribution<int> coin(0, 3);
  std::uniform_int_distribution<int> magnitude(0, 299);
  std::vector<std::string> texts;
  texts.reserve(kShortCount);
  for (std::size_t i = 0; i < kShortCount; ++i) {
    std::string t;
    if (coin(rng) == 0) t += '-';
    const int n = length(rng);
    const int point = coin(rng) < 2 ? std::uniform_int_distribution<int>(0, n)(rng) : -1;
    for (int d = 0; d < n; ++d) {
      if (d == point) t += d == 0 ? "0." : ".";
      t += RandomDigit(rng, d == 0);
    }
    if (exponent) {
      t += 'e';
      if (coin(rng) < 2) t += '-';
      t += std::to_string(magnitude(rng));
    }
    texts.push_back(std::move(t));
  }
  return texts;
}

// Shapes of long texts, each n bytes:
//  random     "0." and random digits: decided early by a good parser, yet
//             every digit must still be scanned to find the number's end;
//  halfway    2^53 + 1, exactly halfway between two doubles, then ".000…01":
//             the deciding digit is the very last one;
//  zeros      leading zeros, then "1.5", which must not cost more than a skip.
enum class Shape { kRandom, kHalfway, kZeros };

std::string LongText(Shape shape, std::size_t n) {
  std::string t;
  t.reserve(n);
  switch (shape) {
    case Shape::kRandom: {
      std::mt19937_64 rng(kSeed);
      t = "0.";
      while (t.size() < n) t += RandomDigit(rng);
      break;
    }
    case Shape::kHalfway:
      t = "9007199254740993.";
      t.append(n - t.size() - 1, '0');
      t += '1';
      break;
    case Shape::kZeros:
      t.assign(n - 3, '0');
      t += "1.5";
      break;
  }
  return t;
}

// Finite floats with uniformly random bits: every exponent equally often,
// subnormals and both signs included.
std::vector<float> FloatsFromBits() {
  std::mt19937_64 rng(kSeed);
  std::vector<float> values;
  values.reserve(kFormatCount);
  while (values.size() < kFormatCount) {
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    if (std::isfinite(x)) values.push_back(x);
  }
  return values;
}

std::vector<double> DoublesFromBits() {
  std::mt19937_64 rng(kSeed);
  std::vector<double> values;
  values.reserve(kFormatCount);
  while (values.size() < kFormatCount) {
    const double x = std::bit_cast<double>(rng());
    if (std::isfinite(x)) values.push_back(x);
  }
  return values;
}

// What the calculators actually produce: magnitudes from 10^-5 to 10^9,
// logarithmically spread, a few of them negative.
template <typename T>
std::vector<T> TypicalResults() {
  std::mt19937_64 rng(kSeed + 1);
  std::uniform_real_distribution<double> exponent(-5.0, 9.0);
  std::uniform_int_distribution<int> coin(0, 15);
  std::vector<T> values;
  values.reserve(kFormatCount);
  for (std::size_t i = 0; i < kFormatCount; ++i) {
    const double v = std::pow(10.0, exponent(rng));
    values.push_back(static_cast<T>(coin(rng) == 0 ? -v : v));
  }
  return values;
}

// ------------------------------------------------------------- contestants ---

double ByParseNumber(const std::string& t) { return ParseNumber(t); }

double ByFromChars(const std::string& t) {
  double v = 0;
  std::from_chars(t.data(), t.data() + t.size(), v);
  return v;
}

double ByStrtod(const std::string& t) { return std::strtod(t.c_str(), nullptr); }

std::string FloatBySnprintf(float x) {
  char buffer[32];
  const int n = std::snprintf(buffer, sizeof buffer, "%.6g", static_cast<double>(x));
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string DoubleBySnprintf(double x) {
  char buffer[40];
  const int n = std::snprintf(buffer, sizeof buffer, "%.13g", x);
  return std::string(buffer, static_cast<std::size_t>(n));
}

// One iteration reads every text of the set once.
template <double (*Parse)(const std::string&)>
void ParseAll(benchmark::State& state, const std::vector<std::string>* texts) {
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& t : *texts) sum += Parse(t);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts->size()));
}

template <double (*Parse)(const std::string&)>
void ParseOne(benchmark::State& state, const std::string* text) {
  for (auto _ : state) benchmark::DoNotOptimize(Parse(*text));
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text->size()));
}

template <typename T, std::string (*Format)(T)>
void FormatAll(benchmark::State& state, const std::vector<T>* values) {
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (T v : *values) bytes += Format(v).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values->size()));
}

// ------------------------------------------------------------------ ratios ---

// A run that stopped with an error (or, from Google Benchmark 1.8 on, was
// skipped with a message) has no time worth a ratio.
bool Failed(const benchmark::BenchmarkReporter::Run& run) {
#if VELQUIST_BENCHMARK_RUN_HAS_SKIPPED
  return run.skipped != benchmark::internal::NotSkipped;
#else
  return run.error_occurred;
#endif
}

// Keeps each run's time per item while the console reporter prints as usual.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that a saved report reads as plain text.
  RecordingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (Failed(run) || run.report_big_o || run.report_rms) continue;
      // With repetitions the fastest one stands for the family: other work on
      // the machine only ever adds time. The mean serves when only aggregates
      // are reported.
      const bool aggregate = run.run_type == Run::RT_Aggregate;
      if (aggregate && run.aggregate_name != "mean") continue;
      const auto items = run.counters.find("items_per_second");
      if (items == run.counters.end() || items->second.value <= 0) continue;
      const double per_item = 1e9 / items->second.value;
      const std::string name = run.run_name.str();
      if (aggregate) {
        nanoseconds_per_item_.try_emplace(name, per_item);
      } else if (seen_repetition_.insert(name).second) {
        nanoseconds_per_item_[name] = per_item;
      } else {
        nanoseconds_per_item_[name] = std::min(nanoseconds_per_item_[name], per_item);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  std::optional<double> PerItem(const std::string& name) const {
    const auto it = nanoseconds_per_item_.find(name);
    if (it == nanoseconds_per_item_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, double> nanoseconds_per_item_;
  std::set<std::string> seen_repetition_;
};

struct Contest {
  const char* ours;
  const char* theirs;
  double goal;  // the ratio must not exceed this; 0 for no goal
};

void PrintRatios(const RecordingReporter& reporter) {
  const Contest contests[] = {
      {"ParseNumber/short", "from_chars/short", 1.5},
      {"ParseNumber/short", "strtod/short", 0},
      {"ParseNumber/short_exponent", "from_chars/short_exponent", 1.5},
      {"ParseNumber/short_exponent", "strtod/short_exponent", 0},
      {"ParseNumber/pi", "from_chars/pi", 0},
      {"ParseNumber/pi", "strtod/pi", 0},
      {"ParseNumber/million_random", "from_chars/million_random", 0},
      {"ParseNumber/million_random", "strtod/million_random", 0},
      {"ParseNumber/million_halfway", "from_chars/million_halfway", 0},
      {"ParseNumber/million_halfway", "strtod/million_halfway", 0},
      {"FloatToText/bits", "snprintf_6g/bits", 1.0},
      {"FloatToText/results", "snprintf_6g/results", 1.0},
      {"DoubleToText/bits", "snprintf_13g/bits", 1.0},
      {"DoubleToText/results", "snprintf_13g/results", 1.0},
  };
  std::printf("\n%-28s %-28s %12s %12s %8s  %s\n", "ours", "standard library", "ours ns/item",
              "std ns/item", "ratio", "goal");
  for (const Contest& c : contests) {
    const auto ours = reporter.PerItem(c.ours);
    const auto theirs = reporter.PerItem(c.theirs);
    if (!ours || !theirs) continue;  // filtered out of this run
    const double ratio = *ours / *theirs;
    std::string verdict = "-";
    if (c.goal > 0) {
      char text[48];
      std::snprintf(text, sizeof text, "%s (<= %.1f)", ratio <= c.goal ? "met" : "MISSED", c.goal);
      verdict = text;
    }
    std::printf("%-28s %-28s %12.2f %12.2f %8.3f  %s\n", c.ours, c.theirs, *ours, *theirs, ratio,
                verdict.c_str());
  }

  // Linear means the cost of a byte does not grow with the length; a
  // quadratic scan would cost ten times more per byte with each decade. Below
  // 10^5 bytes the CPU's branch predictor learns much of the one text that is
  // read again and again, so the decade from 10^5 to 10^6 is the fair one.
  const char* shapes[] = {"random", "halfway", "zeros"};
  std::printf(
      "\nParseNumber, ns per byte by length (linear: the last column stays near 1, "
      "quadratic: near 10)\n");
  std::printf("%-10s %10s %10s %10s %10s %12s\n", "shape", "1e3", "1e4", "1e5", "1e6", "1e6 / 1e5");
  for (const char* shape : shapes) {
    std::vector<double> per_byte;
    for (std::int64_t n = 1000; n <= kMillion; n *= 10) {
      const auto t =
          reporter.PerItem(std::string("ParseNumber/length_") + shape + "/" + std::to_string(n));
      if (t) per_byte.push_back(*t / static_cast<double>(n));
    }
    if (per_byte.size() != 4) continue;
    std::printf("%-10s %10.3f %10.3f %10.3f %10.3f %12.2f\n", shape, per_byte[0], per_byte[1],
                per_byte[2], per_byte[3], per_byte[3] / per_byte[2]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Inputs live until the end: the benchmarks hold pointers to them.
  const std::vector<std::string> short_plain = ShortNumbers(false, kSeed);
  const std::vector<std::string> short_exponent = ShortNumbers(true, kSeed + 2);
  const std::string pi(velquist::kPiText);
  const std::string million_random = LongText(Shape::kRandom, kMillion);
  const std::string million_halfway = LongText(Shape::kHalfway, kMillion);
  const std::vector<float> float_bits = FloatsFromBits();
  const std::vector<float> float_results = TypicalResults<float>();
  const std::vector<double> double_bits = DoublesFromBits();
  const std::vector<double> double_results = TypicalResults<double>();

  struct ParseSet {
    const char* name;
    const std::vector<std::string>* texts;
  };
  for (const ParseSet& set :
       {ParseSet{"short", &short_plain}, ParseSet{"short_exponent", &short_exponent}}) {
    const std::string suffix = std::string("/") + set.name;
    benchmark::RegisterBenchmark(("ParseNumber" + suffix).c_str(), ParseAll<ByParseNumber>,
                                 set.texts);
    benchmark::RegisterBenchmark(("from_chars" + suffix).c_str(), ParseAll<ByFromChars>, set.texts);
    benchmark::RegisterBenchmark(("strtod" + suffix).c_str(), ParseAll<ByStrtod>, set.texts);
  }

  struct LongSet {
    const char* name;
    const std::string* text;
  };
  for (const LongSet& set : {LongSet{"pi", &pi}, LongSet{"million_random", &million_random},
                             LongSet{"million_halfway", &million_halfway}}) {
    const std::string suffix = std::string("/") + set.name;
    benchmark::RegisterBenchmark(("ParseNumber" + suffix).c_str(), ParseOne<ByParseNumber>,
                                 set.text);
    benchmark::RegisterBenchmark(("from_chars" + suffix).c_str(), ParseOne<ByFromChars>, set.text);
    benchmark::RegisterBenchmark(("strtod" + suffix).c_str(), ParseOne<ByStrtod>, set.text);
  }

  // The length series builds its text inside the benchmark, so that only the
  // lengths selected by a filter cost memory.
  for (const auto& [name, shape] :
       {std::pair{"random", Shape::kRandom}, std::pair{"halfway", Shape::kHalfway},
        std::pair{"zeros", Shape::kZeros}}) {
    benchmark::RegisterBenchmark((std::string("ParseNumber/length_") + name).c_str(),
                                 [shape = shape](benchmark::State& state) {
                                   const std::string text =
                                       LongText(shape, static_cast<std::size_t>(state.range(0)));
                                   ParseOne<ByParseNumber>(state, &text);
                                   state.SetComplexityN(state.range(0));
                                 })
        ->RangeMultiplier(10)
        ->Range(1000, kMillion)
        ->Complexity(benchmark::oN);
  }

  benchmark::RegisterBenchmark("FloatToText/bits", FormatAll<float, FloatToText>, &float_bits);
  benchmark::RegisterBenchmark("snprintf_6g/bits", FormatAll<float, FloatBySnprintf>, &float_bits);
  benchmark::RegisterBenchmark("FloatToText/results", FormatAll<float, FloatToText>,
                               &float_results);
  benchmark::RegisterBenchmark("snprintf_6g/results", FormatAll<float, FloatBySnprintf>,
                               &float_results);
  benchmark::RegisterBenchmark("DoubleToText/bits", FormatAll<double, DoubleToText>, &double_bits);
  benchmark::RegisterBenchmark("snprintf_13g/bits", FormatAll<double, DoubleBySnprintf>,
                               &double_bits);
  benchmark::RegisterBenchmark("DoubleToText/results", FormatAll<double, DoubleToText>,
                               &double_results);
  benchmark::RegisterBenchmark("snprintf_13g/results", FormatAll<double, DoubleBySnprintf>,
                               &double_results);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatios(reporter);
  benchmark::Shutdown();
  return 0;
}
