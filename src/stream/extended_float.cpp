#include "extended_float.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint64_t kIntegerBit = std::uint64_t(1) << 63;
constexpr int kExtBias = 16383;
constexpr int kDblBias = 1023;

TExtended80 pack(bool negative, int exponent, std::uint64_t mantissa)
{
    TExtended80 out{};
    for (int i = 0; i < 8; ++i)
        out[i] = std::uint8_t(mantissa >> (8 * i));
    const std::uint16_t se = std::uint16_t((negative ? 0x8000 : 0) | (exponent & 0x7FFF));
    out[8] = std::uint8_t(se);
    out[9] = std::uint8_t(se >> 8);
    return out;
}

} // namespace

TExtended80 doubleToExtended(double v)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
    const bool negative = (bits >> 63) != 0;
    const int e = int((bits >> 52) & 0x7FF);
    const std::uint64_t f = bits & ((std::uint64_t(1) << 52) - 1);

    if (e == 0x7FF) // infinity (empty fraction) or NaN (payload moved to the top)
        return pack(negative, 0x7FFF, kIntegerBit | (f << 11));
    if (e == 0) {
        if (f == 0)
            return pack(negative, 0, 0);
        // A double denormal is f * 2^-1074; the extended range holds it normalised.
        const int lz = std::countl_zero(f);
        return pack(negative, -1074 - lz + kExtBias + 63, f << lz);
    }
    return pack(negative, e - kDblBias + kExtBias, kIntegerBit | (f << 11));
}

double extendedToDouble(const std::uint8_t* p)
{
    std::uint64_t m = 0;
    for (int i = 7; i >= 0; --i)
        m = (m << 8) | p[i];
    const std::uint16_t se = std::uint16_t(p[8] | (p[9] << 8));
    const bool negative = (se & 0x8000) != 0;
    const int e = se & 0x7FFF;

    if (e == 0x7FFF) {
        if ((m & ~kIntegerBit) == 0)
            return negative ? -HUGE_VAL : HUGE_VAL;
        std::uint64_t frac = (m >> 11) & ((std::uint64_t(1) << 52) - 1);
        if (frac == 0)
            frac = std::uint64_t(1) << 51; // payload only in the dropped bits: keep it a NaN
        return std::bit_cast<double>((negative ? kIntegerBit : 0) | (std::uint64_t(0x7FF) << 52) | frac);
    }
    if (m == 0)
        return negative ? -0.0 : 0.0;

    // value = m * 2^(eff - bias - 63); denormals (e == 0) use the minimum exponent.
    const int eff = e == 0 ? 1 : e;
    const int lz = std::countl_zero(m);
    m <<= lz;
    const int top = eff - kExtBias - lz; // value = 1.xxx * 2^top
    if (top > kDblBias)
        return negative ? -HUGE_VAL : HUGE_VAL;
    // Exponent of the last kept bit: 52 bits below the top, but not below the smallest
    // double denormal.
    const int quantum = std::max(top - 52, -1074);
    const int shift = quantum - (top - 63); // >= 11
    std::uint64_t r;
    if (shift >= 65) {
        r = 0;
    } else if (shift == 64) {
        r = m == kIntegerBit ? 0 : 1; // exactly half rounds to even zero
    } else {
        r = m >> shift;
        const std::uint64_t rem = m & ((std::uint64_t(1) << shift) - 1);
        const std::uint64_t half = std::uint64_t(1) << (shift - 1);
        if (rem > half || (rem == half && (r & 1)))
            ++r;
    }
    const double magnitude = std::ldexp(double(r), quantum); // exact or overflow to inf
    return negative ? -magnitude : magnitude;
}

double extendedToDouble(const TExtended80& x) { return extendedToDouble(x.data()); }
