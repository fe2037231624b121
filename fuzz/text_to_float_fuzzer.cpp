// TextToFloat rounds twice on purpose: it must equal the narrowing of
// TextToDouble, never a direct nearest-float reading of the text.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/numeric_text.h"
#include "fuzz/fuzz_failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const float got = velquist::TextToFloat(text);
  const float expected = static_cast<float>(velquist::TextToDouble(text));
  if (std::bit_cast<std::uint32_t>(got) != std::bit_cast<std::uint32_t>(expected)) {
    velquist::fuzz::Fail("TextToFloat", text, velquist::fuzz::Hex(expected),
                         velquist::fuzz::Hex(got));
  }
  return 0;
}
