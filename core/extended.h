// The one place where arithmetic with 64-bit significands happens.
//
// The figures' formulas keep intermediate products and sums with a 64-bit
// significand and round to a double only where a value is named as one. With
// GCC or Clang on x86-64, long double is the x87 80-bit format, which is
// exactly that. Anywhere else the results would silently differ, so the
// build stops instead.
#pragma once

#include <cfloat>

#if LDBL_MANT_DIG != 64
#error \
    "Velquist needs long double with a 64-bit significand (x87 extended, as on x86-64 with GCC or Clang)"
#endif

namespace velquist {

using Extended = long double;

// Rounds an extended intermediate to the double it names.
inline double ToDouble(Extended x) { return static_cast<double>(x); }

// Rounds an extended result to the float stored in a cell.
inline float ToFloat(Extended x) { return static_cast<float>(x); }

}  // namespace velquist
