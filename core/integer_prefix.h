// The part of a text that a count such as the decimal places is read from:
// leading white space skipped, one optional sign, then the run of digits.
// TextToInt wraps it modulo 2^32; the circle's range checks judge it unwrapped.
#pragma once

#include <cstddef>
#include <string_view>

namespace velquist {

struct IntegerPrefix {
  bool negative = false;
  std::string_view digits;  // possibly empty; ends at the first non-digit
};

inline IntegerPrefix ReadIntegerPrefix(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  IntegerPrefix prefix;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    prefix.negative = text[i] == '-';
    ++i;
  }
  std::size_t end = i;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  prefix.digits = text.substr(i, end - i);
  return prefix;
}

}  // namespace velquist
