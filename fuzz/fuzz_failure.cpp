#include "fuzz/fuzz_failure.h"

#include <cstdio>
#include <cstdlib>

namespace velquist::fuzz {

void Fail(const char* what, std::string_view input, const std::string& expected,
          const std::string& got) {
  std::fprintf(stderr, "\n%s\n  input (%zu bytes):", what, input.size());
  for (std::size_t i = 0; i < input.size() && i < 200; ++i) {
    std::fprintf(stderr, " %02X", static_cast<unsigned char>(input[i]));
  }
  std::fprintf(stderr, "%s\n  expected: %s\n  got:      %s\n", input.size() > 200 ? " ..." : "",
               expected.c_str(), got.c_str());
  std::abort();
}

std::string Hex(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%a", x);
  return buffer;
}

}  // namespace velquist::fuzz
