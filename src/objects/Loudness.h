#pragma once

#include <algorithm>
#include <cmath>

// A script's volume as the audio library takes it: 0 to 100, not a number
// is silence.
inline float loudness(double volume)
{
    if (std::isnan(volume))
        return 0.f;
    return float(std::clamp(volume, 0.0, 100.0));
}

// A pitch factor the audio library accepts; false for none (0, negative,
// not a number or endless).
inline bool usablePitch(double pitch)
{
    return std::isfinite(pitch) && pitch > 0.0;
}
