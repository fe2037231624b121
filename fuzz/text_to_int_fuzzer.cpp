// TextToInt against the reference walk over the folded text: wrapping modulo
// 2^32 on long digit strings, stopping at the first non-digit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/numeric_text.h"
#include "fuzz/fuzz_failure.h"
#include "tests/oracle/exact_decimal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::int32_t got = velquist::TextToInt(text);
  const std::int32_t expected =
      velquist::oracle::ReferenceTextToInt(velquist::oracle::ReferenceFold(text));
  if (got != expected) {
    velquist::fuzz::Fail("TextToInt", text, std::to_string(expected), std::to_string(got));
  }
  return 0;
}
