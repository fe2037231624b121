#pragma once

#include <string_view>

namespace velquist {

// "3." followed by the first 1000 decimals of π: 1002 bytes.
extern const std::string_view kPiText;

}  // namespace velquist
