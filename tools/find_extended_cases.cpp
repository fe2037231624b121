// Finds inputs on which the figures' extended-precision steps and the same
// formulas in plain doubles give different result texts, so that the tests
// can hold inputs that really check the extended steps.
//
//   find_extended_cases [seconds per formula] [cases per formula] [seed] [formula]
//
// Defaults: 20 seconds, 3 cases, seed 1, every formula (else only those
// whose name contains the fourth argument, e.g. "circle"). For each formula
// it runs a random search (short random inputs) and a structured one, then
// prints every input set whose texts differ, with both texts, after checking
// the extended result against the real calculator through a small form.
//
// Why the structured search is needed: the two ways of computing differ by
// at most a few units in the last place of a double, and that changes the
// float cell only when the exact result lies within about 2^-53 of the
// midpoint between two floats; the text then changes only when those two
// floats round to different six-digit texts. So the search picks such a
// midpoint m (one straddling a six-digit rounding boundary), solves the
// formula for its last input so that the result lands on m or on m ± half a
// unit of a double, and tries the thirteen-digit decimals next to the
// solution (thirteen digits, because a dimension box is rewritten to at most
// thirteen significant digits before a calculator reads it).

#include <bit>
#include <chrono>
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

#include "core/calculators.h"
#include "core/control_names.h"
#include "core/extended.h"
#include "core/form_access.h"
#include "core/global_state.h"
#include "core/numeric_text.h"
#include "core/pi_text.h"

namespace {

using velquist::Extended;
using velquist::ToDouble;
using velquist::ToFloat;
namespace c = velquist::control;

// The calculators only need texts and selections here; messages are dropped.
class ToolForm : public velquist::FormAccess {
 public:
  std::map<std::string, std::string, std::less<>> texts;

  std::string ReadText(std::string_view control) override {
    const auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
  }
  void WriteText(std::string_view, std::string_view) override {}
  bool IsSelected(std::string_view) override { return false; }
  velquist::ButtonCode ShowMessage(std::string_view, std::int32_t,
                                   std::optional<std::string_view>) override {
    return velquist::ButtonCode::Ok;
  }
};

// The inputs of one formula: their texts as a box would hold them, and the
// values the calculator reads from them.
struct Inputs {
  std::vector<std::string> texts;
  std::vector<double> values;  // TextToDouble of each text
  double pi = 0;               // circle only: the value of the cut of π
  float last_as_float = 0;     // TextToFloat of the last text (the circle's area reads it)
};

Inputs Parse(std::vector<std::string> texts, bool circle) {
  Inputs in;
  for (const auto& text : texts) in.values.push_back(velquist::TextToDouble(text));
  in.last_as_float = velquist::TextToFloat(texts.back());
  if (circle)
    in.pi = velquist::TextToDouble(
        velquist::LeftText(velquist::kPiText, velquist::TextToInt(texts[0]) + 2LL));
  in.texts = std::move(texts);
  return in;
}

struct Formula {
  const char* name;
  std::vector<const char*> input_names;
  bool circle;
  // A sum only rounds twice when its addends lie far apart, so the second
  // input is drawn up to twelve decades below the first.
  bool far_apart_addends;
  // How many thirteen-digit steps either side of the solved last input are
  // tried. A circle only differs through the double rounding of one product,
  // which the solution hits or misses by itself, so its neighbours are not
  // worth their time there.
  int spread;
  float (*extended)(const Inputs&);
  float (*plain)(const Inputs&);
  float (*calculator)(const Inputs&);  // the real calculator's cell
  long double (*approx)(const Inputs&);
  long double (*solve_last)(const Inputs&, long double target);
};

velquist::GlobalState RunCircle(const Inputs& in) {
  ToolForm form;
  form.texts[std::string(c::圆周率小数点编辑框)] = in.texts[0];
  form.texts[std::string(c::圆直径编辑框)] = in.texts[1];
  velquist::GlobalState state;
  state.PiText = velquist::kPiText;
  velquist::CalculateCircle(form, state);
  return state;
}

velquist::GlobalState RunRectangle(const Inputs& in) {
  ToolForm form;
  form.texts[std::string(c::矩形长)] = in.texts[0];
  form.texts[std::string(c::矩形宽)] = in.texts[1];
  form.texts[std::string(c::矩形高)] = in.texts.size() > 2 ? in.texts[2] : "1";
  velquist::GlobalState state;
  velquist::CalculateRectangle(form, state);
  return state;
}

// Plain doubles: every operation rounded to a double, as SSE2 arithmetic
// does on x86-64 (FLT_EVAL_METHOD 0).
// clang-format off
const Formula kFormulas[] = {
    {"circle perimeter", {"places", "diameter"}, true, false, 0,
     [](const Inputs& in) { return ToFloat(ToDouble(Extended{in.pi} * in.values[1])); },
     [](const Inputs& in) { return static_cast<float>(in.pi * in.values[1]); },
     [](const Inputs& in) { return RunCircle(in).PerimeterCell; },
     [](const Inputs& in) { return static_cast<long double>(in.pi) * in.values[1]; },
     [](const Inputs& in, long double t) { return t / in.pi; }},
    {"circle area", {"places", "diameter"}, true, false, 0,
     [](const Inputs& in) {
       const double r = ToDouble(Extended{in.last_as_float} / 2.0);
       return ToFloat(ToDouble(Extended{in.pi} * velquist::Power(r, 2.0)));
     },
     [](const Inputs& in) {
       const double r = static_cast<double>(in.last_as_float) / 2.0;
       return static_cast<float>(in.pi * (r * r));
     },
     [](const Inputs& in) { return RunCircle(in).AreaCell; },
     [](const Inputs& in) {
       const long double r = in.last_as_float / 2.0L;
       return in.pi * r * r;
     },
     [](const Inputs& in, long double t) { return 2.0L * std::sqrt(t / in.pi); }},
    {"rectangle perimeter", {"length", "width"}, false, true, 3,
     [](const Inputs& in) { return ToFloat(Extended{ToDouble(Extended{in.values[0]} + in.values[1])} * 2.0); },
     [](const Inputs& in) { return static_cast<float>((in.values[0] + in.values[1]) * 2.0); },
     [](const Inputs& in) { return RunRectangle(in).PerimeterCell; },
     [](const Inputs& in) { return 2.0L * (static_cast<long double>(in.values[0]) + in.values[1]); },
     [](const Inputs& in, long double t) { return t / 2.0L - in.values[0]; }},
    {"rectangle area", {"length", "width"}, false, false, 3,
     [](const Inputs& in) { return ToFloat(Extended{in.values[0]} * in.values[1]); },
     [](const Inputs& in) { return static_cast<float>(in.values[0] * in.values[1]); },
     [](const Inputs& in) { return RunRectangle(in).AreaCell; },
     [](const Inputs& in) { return static_cast<long double>(in.values[0]) * in.values[1]; },
     [](const Inputs& in, long double t) { return t / in.values[0]; }},
    {"cuboid surface area", {"length", "width", "height"}, false, false, 3,
     [](const Inputs& in) {
       const double l = in.values[0], w = in.values[1], h = in.values[2];
       const double t1 = ToDouble(Extended{l} * w * 2.0);
       const double t2 = ToDouble(Extended{l} * h * 2.0);
       const double t3 = ToDouble(Extended{w} * h * 2.0);
       return ToFloat(ToDouble(Extended{t1} + t2 + t3));
     },
     [](const Inputs& in) {
       const double l = in.values[0], w = in.values[1], h = in.values[2];
       return static_cast<float>(l * w * 2.0 + l * h * 2.0 + w * h * 2.0);
     },
     [](const Inputs& in) { return RunRectangle(in).SurfaceCell; },
     [](const Inputs& in) {
       const long double l = in.values[0], w = in.values[1], h = in.values[2];
       return 2.0L * (l * w + l * h + w * h);
     },
     [](const Inputs& in, long double t) {
       const long double l = in.values[0], w = in.values[1];
       return (t / 2.0L - l * w) / (l + w);
     }},
    {"cuboid volume", {"length", "width", "height"}, false, false, 3,
     [](const Inputs& in) { return ToFloat(ToDouble(Extended{in.values[0]} * in.values[1] * in.values[2])); },
     [](const Inputs& in) { return static_cast<float>(in.values[0] * in.values[1] * in.values[2]); },
     [](const Inputs& in) { return RunRectangle(in).VolumeCell; },
     [](const Inputs& in) { return static_cast<long double>(in.values[0]) * in.values[1] * in.values[2]; },
     [](const Inputs& in, long double t) {
       return t / (static_cast<long double>(in.values[0]) * in.values[1]);
     }},
};
// clang-format on

// A positive decimal of `digits` significant digits, written as the box
// would show it after its rewriting.
std::string DecimalText(long double x, int digits) {
  if (!(x > 0) || !std::isfinite(x)) return {};
  const int exponent = static_cast<int>(std::floor(std::log10(x))) - (digits - 1);
  const long long mantissa = std::llround(x / std::pow(10.0L, exponent));
  const std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent);
  return velquist::DoubleToText(velquist::ParseNumber(text));
}

// A decimal mantissa × 10^exponent, as the search builds its candidates.
struct Decimal {
  long long mantissa;
  int exponent;

  std::string Text() const {
    return velquist::DoubleToText(
        velquist::ParseNumber(std::to_string(mantissa) + "e" + std::to_string(exponent)));
  }
  // Nearly always the double of Text() (the powers of ten up to 10^27 are
  // exact in long double); only used to skip candidates quickly, never to
  // decide a case.
  double QuickValue() const {
    const long double scale = std::pow(10.0L, std::abs(exponent));
    return ToDouble(exponent >= 0 ? mantissa * scale : mantissa / scale);
  }
};

// The thirteen-digit decimals around x, `spread` steps of the last digit
// either side.
std::vector<Decimal> ThirteenDigitNeighbours(long double x, int spread) {
  std::vector<Decimal> out;
  if (!(x > 0) || !std::isfinite(x)) return out;
  const int exponent = static_cast<int>(std::floor(std::log10(x))) - 12;
  const long long centre = std::llround(x / std::pow(10.0L, exponent));
  for (int step = -spread; step <= spread; ++step) out.push_back({centre + step, exponent});
  return out;
}

class Search {
 public:
  explicit Search(std::uint64_t seed) : rng_(seed) {}

  // A short random input: 1 to 7 significant digits, about 10^-2 to 10^6.
  std::string RandomInput() {
    std::uniform_real_distribution<long double> decade(-2.0L, 6.0L);
    std::uniform_int_distribution<int> digits(1, 7);
    return DecimalText(std::pow(10.0L, decade(rng_)), digits(rng_));
  }

  std::vector<std::string> RandomInputs(const Formula& f) {
    std::vector<std::string> texts;
    if (f.circle) {
      // 1 to 16 places: at 0 the product with 3 is exact either way.
      texts.push_back(std::to_string(std::uniform_int_distribution<int>(1, 16)(rng_)));
      texts.push_back(RandomInput());
      return texts;
    }
    for (std::size_t i = 0; i < f.input_names.size(); ++i) texts.push_back(RandomInput());
    if (f.far_apart_addends) {
      const long double scale =
          std::pow(10.0L, -std::uniform_real_distribution<long double>(0, 12)(rng_));
      texts[1] = DecimalText(velquist::TextToDouble(texts[0]) * scale,
                             std::uniform_int_distribution<int>(1, 7)(rng_));
    }
    return texts;
  }

  // For the six-digit rounding boundaries nearest to v (kBoundaries either
  // side), the midpoint between the two floats around each boundary and the
  // points half a unit of a double either side of it.
  static std::vector<long double> Targets(long double v) {
    constexpr int kBoundaries = 200;
    std::vector<long double> out;
    if (!(v > 0) || !std::isfinite(v)) return out;
    const long double step = std::pow(10.0L, std::floor(std::log10(v)) - 5);
    for (int j = -kBoundaries; j <= kBoundaries; ++j) {
      const long double boundary = (std::floor(v / step) + j + 0.5L) * step;
      float high = static_cast<float>(boundary);
      if (high < boundary) high = std::nextafter(high, INFINITY);
      const float low = std::nextafter(high, 0.0f);
      if (!std::isfinite(high) || low <= 0) continue;
      const double mid = (static_cast<double>(low) + high) / 2;
      const long double half_ulp = (std::nextafter(mid, INFINITY) - mid) / 2;
      out.push_back(mid);
      out.push_back(mid - half_ulp);
      out.push_back(mid + half_ulp);
    }
    return out;
  }

  struct Found {
    std::vector<std::string> texts;
    std::string velquist, plain;
    float velquist_cell, plain_cell;
    bool calculator_agrees;
  };

  // Compares both ways on one input set; records it when the texts differ.
  bool Try(const Formula& f, std::vector<std::string> texts) {
    ++tried_;
    const Inputs in = Parse(std::move(texts), f.circle);
    const float ext = f.extended(in);
    const float plain = f.plain(in);
    if (std::bit_cast<std::uint32_t>(ext) == std::bit_cast<std::uint32_t>(plain)) return false;
    ++cells_differ_;
    const std::string ext_text = velquist::FloatToText(ext);
    const std::string plain_text = velquist::FloatToText(plain);
    if (ext_text == plain_text) return false;
    if (!seen_.insert(in.texts).second) return false;
    const float calculator = f.calculator(in);
    found_.push_back(
        {in.texts, ext_text, plain_text, ext, plain,
         std::bit_cast<std::uint32_t>(calculator) == std::bit_cast<std::uint32_t>(ext)});
    return true;
  }

  void RunRandom(const Formula& f, double seconds, std::size_t want) {
    Reset();
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (found_.size() < want && std::chrono::steady_clock::now() < end) {
      for (int i = 0; i < 1000; ++i) Try(f, RandomInputs(f));
    }
    Report(f, "random");
  }

  void RunStructured(const Formula& f, double seconds, std::size_t want) {
    Reset();
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (found_.size() < want && std::chrono::steady_clock::now() < end) {
      for (int i = 0; i < 100 && found_.size() < want; ++i) {
        std::vector<std::string> texts = RandomInputs(f);
        const Inputs start = Parse(texts, f.circle);
        Inputs quick = start;
        for (const long double target : Targets(f.approx(start))) {
          if (found_.size() >= want) break;
          for (const Decimal& last :
               ThirteenDigitNeighbours(f.solve_last(start, target), f.spread)) {
            quick.values.back() = last.QuickValue();
            quick.last_as_float = static_cast<float>(quick.values.back());
            if (std::bit_cast<std::uint32_t>(f.extended(quick)) ==
                std::bit_cast<std::uint32_t>(f.plain(quick))) {
              ++tried_;
              continue;
            }
            texts.back() = last.Text();
            Try(f, texts);
          }
        }
      }
    }
    Report(f, "structured");
  }

 private:
  void Reset() {
    tried_ = cells_differ_ = 0;
    found_.clear();
    seen_.clear();
  }

  void Report(const Formula& f, const char* how) {
    std::printf(
        "%s, %s search: %llu input sets, %llu with different cells, %zu with different texts\n",
        f.name, how, static_cast<unsigned long long>(tried_),
        static_cast<unsigned long long>(cells_differ_), found_.size());
    for (const Found& found : found_) {
      std::printf("  ");
      for (std::size_t i = 0; i < found.texts.size(); ++i) {
        std::printf("%s \"%s\"  ", f.input_names[i], found.texts[i].c_str());
      }
      std::printf(
          "-> extended \"%s\" (%a), plain doubles \"%s\" (%a)%s\n", found.velquist.c_str(),
          static_cast<double>(found.velquist_cell), found.plain.c_str(),
          static_cast<double>(found.plain_cell),
          found.calculator_agrees ? "" : "  CALCULATOR DISAGREES WITH THE EXTENDED FORMULA");
    }
    std::fflush(stdout);
  }

  std::mt19937_64 rng_;
  std::uint64_t tried_ = 0;
  std::uint64_t cells_differ_ = 0;
  std::vector<Found> found_;
  std::set<std::vector<std::string>> seen_;
};

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
  const std::size_t want = argc > 2 ? static_cast<std::size_t>(std::atoi(argv[2])) : 3;
  const std::uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
  const std::string_view only = argc > 4 ? argv[4] : "";
  Search search(seed);
  for (const Formula& f : kFormulas) {
    if (std::string_view(f.name).find(only) == std::string_view::npos) continue;
    search.RunRandom(f, seconds / 4, want);
    search.RunStructured(f, seconds, want);
  }
  return 0;
}
