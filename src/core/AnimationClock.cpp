#include "core/AnimationClock.h"

#include <algorithm>

AnimationClock::AnimationClock(int frameCount, float rate)
    : numFrames(std::max(frameCount, 1)), frameRate(rate)
{
}

void AnimationClock::play()
{
    playing = true;
    oneTime = false;
}

void AnimationClock::startOneTime()
{
    playing = true;
    oneTime = true;
    elapsed = 0.0f;
}

int AnimationClock::step(double dt)
{
    if (!playing)
        return -1;
    elapsed = static_cast<float>(elapsed + dt);
    if (!(frameRate > 0.0f))
        return 0;
    const double period = 1.0 / frameRate;
    // Compared before truncating, so a huge quotient never becomes an int.
    const double index = elapsed / period;
    if (index < numFrames)
        return index > 0.0 ? static_cast<int>(index) : 0;
    if (oneTime) {
        playing = false;
        return numFrames - 1;
    }
    elapsed = static_cast<float>(elapsed - numFrames * period);
    return 0;
}
