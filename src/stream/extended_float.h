#pragma once
#include <array>
#include <cstdint>

// The 10-byte x87 extended-precision float as stored in component streams: a 64-bit
// significand with an explicit integer bit, then sign and a 15-bit exponent (bias 16383),
// little-endian.
using TExtended80 = std::array<std::uint8_t, 10>;

// Exact: every double is representable as an extended float.
TExtended80 doubleToExtended(double v);

// Rounds to the nearest double, ties to even, with correct results for values that
// become double denormals, underflow to zero or overflow to infinity. Infinities keep
// their sign; NaNs keep sign and the top payload bits. Unnormal and pseudo-denormal
// encodings are converted by their mathematical value.
double extendedToDouble(const TExtended80& x);
double extendedToDouble(const std::uint8_t* tenBytes);
