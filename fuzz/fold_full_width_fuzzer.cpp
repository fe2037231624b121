// FoldFullWidth against the plain byte walk; it never lengthens a text, and
// folding twice changes nothing, since every pair it keeps is one it cannot fold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/numeric_text.h"
#include "fuzz/fuzz_failure.h"
#include "tests/oracle/exact_decimal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string folded = velquist::FoldFullWidth(text);
  if (folded.size() > text.size()) {
    velquist::fuzz::Fail("FoldFullWidth lengthened the text", text,
                         "at most " + std::to_string(size),
                         std::to_string(folded.size()) + " bytes");
  }
  const std::string expected = velquist::oracle::ReferenceFold(text);
  if (folded != expected) velquist::fuzz::Fail("FoldFullWidth", text, expected, folded);
  const std::string twice = velquist::FoldFullWidth(folded);
  if (twice != folded)
    velquist::fuzz::Fail("FoldFullWidth is not idempotent", folded, folded, twice);
  return 0;
}
