#pragma once

#include <SFML/System/Clock.hpp>

// The frame loop's sense of time: it reads the clock once when the first
// Init succeeded and once per frame, and hands scripts the difference.
class FrameClock {
public:
    virtual ~FrameClock() = default;
    // Seconds since some fixed start.
    virtual float now() = 0;
};

// Wall-clock time: frames get the interval that really passed.
class RealClock final : public FrameClock {
public:
    float now() override { return clock.getElapsedTime().asSeconds(); }

private:
    sf::Clock clock;
};

// Each reading is one step later than the one before, so every frame gets
// the same dt whatever the machine does: runs repeat exactly.
class FixedStepClock final : public FrameClock {
public:
    explicit FixedStepClock(float step) : step(step) {}
    float now() override
    {
        const float reading = elapsed;
        elapsed += step;
        return reading;
    }

private:
    float step;
    float elapsed = 0.0f;
};
