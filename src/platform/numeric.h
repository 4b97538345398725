#pragma once
#include <cmath>
#include <cstdint>

// Conversions with the legacy program's rounding: truncation toward zero everywhere,
// and "rounded" meaning halves to the even integer.
inline int truncToInt(double v) { return int(std::trunc(v)); }

inline int roundHalfEven(double v)
{
    return int(std::nearbyint(v)); // default rounding mode is to-nearest-even
}

// Inches (a single-precision sum, as the legacy program computed them) to pixels.
inline int inchToPx(int ppi, float inches) { return truncToInt(double(ppi) * double(inches)); }
