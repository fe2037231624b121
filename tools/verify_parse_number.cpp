// Checks ParseNumber against the public corpus of decimal strings and their
// nearest doubles ("F16 F32 F64 string" or "F64 string" per line), where an
// exact tie whose ties-to-even answer is the larger magnitude must give the
// smaller one instead (decided by an independent exact oracle). Then times
// million-digit inputs, which must parse in linear time.
//
// Usage: verify_parse_number [corpus files...]
//   Without arguments it reads every .txt file of the corpus folder beside
//   the checkout (../shared/testdata/parse-number-corpus).
#include <algorithm>
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/numeric_text.h"
#include "tests/oracle/exact_decimal.h"

namespace {

struct Tally {
  std::uint64_t lines = 0;
  std::uint64_t ties = 0;
  std::uint64_t mismatches = 0;
};

void CheckFile(const std::filesystem::path& path, Tally& tally) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    ++tally.mismatches;
    return;
  }
  std::string line;
  while (std::getline(in, line)) {
    const auto corpus_case = velquist::oracle::ReadCorpusLine(line);
    if (!corpus_case) continue;
    const std::string& text = corpus_case->text;
    const std::uint64_t want = corpus_case->want;
    if (corpus_case->tie) ++tally.ties;
    ++tally.lines;
    const double got = velquist::ParseNumber(text);
    if (std::bit_cast<std::uint64_t>(got) != want && ++tally.mismatches <= 20) {
      std::fprintf(stderr, "MISMATCH %s: \"%.80s\" gives %a, want %a\n", path.filename().c_str(),
                   text.c_str(), got, std::bit_cast<double>(want));
    }
  }
}

double MedianMilliseconds(const std::string& text, double& value) {
  std::vector<double> times;
  for (int run = 0; run < 9; ++run) {
    const auto start = std::chrono::steady_clock::now();
    value = velquist::ParseNumber(text);
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) files.emplace_back(argv[i]);
  if (files.empty()) {
    const std::filesystem::path dir(VELQUIST_DEFAULT_CORPUS);
    if (std::filesystem::is_directory(dir)) {
      for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
    } else {
      std::printf("corpus not found at %s: corpus check skipped\n", dir.c_str());
    }
  }
  Tally tally;
  for (const auto& file : files) CheckFile(file, tally);
  if (!files.empty()) {
    std::printf("corpus: %zu files, %" PRIu64 " lines, %" PRIu64
                " ties to the smaller magnitude, %" PRIu64 " mismatches\n",
                files.size(), tally.lines, tally.ties, tally.mismatches);
  }

  // Million-digit inputs: the fast path, the rewritten-exponent path and a
  // near-tie whose deciding digit is the very last one.
  std::mt19937 random(7);
  std::string digits(1'000'000, '0');
  for (char& c : digits) c = static_cast<char>('0' + random() % 10);
  digits[0] = '7';
  const struct {
    const char* name;
    std::string text;
  } inputs[] = {
      {"1e6 random digits, point after 10", digits.substr(0, 10) + "." + digits.substr(10)},
      {"1e6 random digits, d exponent", "0." + digits + "d5"},
      {"0. and 1e6 threes", "0." + std::string(1'000'000, '3')},
      {"near tie, last of 1e6 digits decides",
       "9007199254740995." + std::string(999'983, '0') + "1"},
  };
  for (const auto& input : inputs) {
    double value = 0;
    const double ms = MedianMilliseconds(input.text, value);
    std::printf("%-40s %8.3f ms (median of 9), value %a\n", input.name, ms, value);
  }
  return tally.mismatches == 0 ? 0 : 1;
}
