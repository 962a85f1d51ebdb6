#pragma once

#include <SFML/System/Clock.hpp>
#include <cstddef>
#include <utility>
#include <vector>

// The frame loop's sense of time: it reads the clock once when the first
// Init succeeded and once per frame, and hands scripts the interval.
class FrameClock {
public:
    virtual ~FrameClock() = default;
    // Seconds since some fixed start.
    virtual float now() = 0;
    // The dt of the frame whose reading is `now`.
    virtual float interval(float previous, float now) { return now - previous; }
};

// Wall-clock time: frames get the interval that really passed.
class RealClock final : public FrameClock {
public:
    float now() override { return clock.getElapsedTime().asSeconds(); }

private:
    sf::Clock clock;
};

// Every frame gets a step given in advance, exactly, whatever the machine
// does: runs repeat. The steps listed come first, then `step` for ever.
class FixedStepClock final : public FrameClock {
public:
    explicit FixedStepClock(float step, std::vector<float> steps = {})
        : step(step), steps(std::move(steps))
    {
    }
    float now() override
    {
        // The first reading is the start; every later one is a step on.
        if (readings++ > 0) {
            const std::size_t index = readings - 2;
            last = index < steps.size() ? steps[index] : step;
            elapsed += double(last);
        }
        return float(elapsed);
    }
    float interval(float, float) override { return last; }

private:
    float step;
    std::vector<float> steps;
    std::size_t readings = 0;
    float last = 0.0f;
    double elapsed = 0.0;
};
