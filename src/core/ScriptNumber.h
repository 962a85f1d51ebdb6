#pragma once

#include <cmath>
#include <cstdint>

// A number as a script's 32-bit integer conversions see it: truncated toward
// zero and taken modulo 2^32; NaN and the infinities give 0.
inline int scriptInt32(double d)
{
    if (d >= -2147483648.0 && d < 2147483648.0)
        return int(d);
    if (!std::isfinite(d))
        return 0;
    double m = std::fmod(std::trunc(d), 4294967296.0);
    if (m < 0)
        m += 4294967296.0;
    return int(std::int32_t(std::uint32_t(m)));
}
