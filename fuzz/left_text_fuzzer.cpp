// LeftText keeps exactly the first clamp(count, 0, size) bytes. The first byte
// picks how the count is read: a small signed byte (so counts near the length
// and just below zero come up often) or a full 64-bit value.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/numeric_text.h"
#include "fuzz/fuzz_failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::int64_t count = 0;
  std::size_t header = 1;
  if ((data[0] & 1) != 0) {
    if (size > 1) count = static_cast<std::int8_t>(data[1]);
    header = std::min<std::size_t>(size, 2);
  } else {
    header = std::min<std::size_t>(size, 9);
    std::memcpy(&count, data + 1, header - 1);
  }
  const std::string_view text(reinterpret_cast<const char*>(data) + header, size - header);
  const std::string got = velquist::LeftText(text, count);
  const auto kept = static_cast<std::size_t>(
      std::clamp<std::int64_t>(count, 0, static_cast<std::int64_t>(text.size())));
  if (got != text.substr(0, kept)) {
    velquist::fuzz::Fail(
        "LeftText", text,
        "first " + std::to_string(kept) + " bytes (count " + std::to_string(count) + ")",
        std::to_string(got.size()) + " bytes: " + got);
  }
  return 0;
}
