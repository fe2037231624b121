// ParseNumber against the slow exact reading (glibc's correctly rounded strtod
// in two rounding modes, and an exact decimal comparison at midpoints), bit for
// bit, so the sign of zero and the halfway rule count.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/numeric_text.h"
#include "fuzz/fuzz_failure.h"
#include "tests/oracle/exact_decimal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double got = velquist::ParseNumber(text);
  const double expected = velquist::oracle::ReferenceParse(text);
  if (std::bit_cast<std::uint64_t>(got) != std::bit_cast<std::uint64_t>(expected)) {
    velquist::fuzz::Fail("ParseNumber", text, velquist::fuzz::Hex(expected),
                         velquist::fuzz::Hex(got));
  }
  return 0;
}
