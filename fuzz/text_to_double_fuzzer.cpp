// TextToDouble is the exact reading of the folded text; full-width digits,
// signs and spaces take part in the number, every other pair ends it.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/numeric_text.h"
#include "fuzz/fuzz_failure.h"
#include "tests/oracle/exact_decimal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double got = velquist::TextToDouble(text);
  const double expected = velquist::oracle::ReferenceParse(velquist::oracle::ReferenceFold(text));
  if (std::bit_cast<std::uint64_t>(got) != std::bit_cast<std::uint64_t>(expected)) {
    velquist::fuzz::Fail("TextToDouble", text, velquist::fuzz::Hex(expected),
                         velquist::fuzz::Hex(got));
  }
  return 0;
}
