// How a fuzz target reports a disagreement with the reference.
#pragma once

#include <string>
#include <string_view>

namespace velquist::fuzz {

// Prints what went wrong, with the input as hex, and aborts so that libFuzzer
// keeps the input as a finding.
[[noreturn]] void Fail(const char* what, std::string_view input, const std::string& expected,
                       const std::string& got);

// "%a" of a double, for failure messages.
std::string Hex(double x);

}  // namespace velquist::fuzz
