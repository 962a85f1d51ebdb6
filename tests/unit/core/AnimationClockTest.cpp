#include "core/AnimationClock.h"
#include "core/FrameStats.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

// Four frames at ten per second. Before a step, 'p' plays, 'o' starts a
// one-time play, 's' stops; then the step shows `frame` and leaves `elapsed`.
TEST(AnimationClock, StepsShowTheFramesOfTheirTime)
{
    using Step = std::tuple<char, double, int, double>; // before, dt, frame, elapsed
    // clang-format off
    const std::pair<const char*, std::vector<Step>> cases[] = {
        // Reaching 0.4 shows frame 0 and takes one cycle off.
        {"steady", {{'p', 0, 0, 0}, {0, 0.05, 0, 0.05}, {0, 0.1, 1, 0.15}, {0, 0.1, 2, 0.25},
                    {0, 0.1, 3, 0.35}, {0, 0.1, 0, 0.05}, {0, 0.1, 1, 0.15}}},
        // The wrap shows frame 0 though 0.55 - 0.4 lies in frame 1; a long step
        // takes off one cycle only.
        {"remainder in frame 1", {{'p', 0.35, 3, 0.35}, {0, 0.2, 0, 0.15}, {0, 0, 1, 0.15}}},
        {"a one-second hitch", {{'p', 1.0, 0, 0.6}, {0, 0, 0, 0.2}, {0, 0, 2, 0.2}}},
        // Time is a 32-bit float: kept in double it would stay in frame 2.
        {"float time", {{'p', 0.299999998, 3, 0.3}}},
        // Once: stops on the last frame; play() then wraps from the kept time;
        // a new one-time play restarts from 0 even mid-loop.
        {"once", {{'o', 0, 0, 0}, {0, 0.15, 1, 0.15}, {0, 0.2, 3, 0.35}, {0, 0.1, 3, 0.45},
                  {0, 0.1, -1, 0.45}, {'p', 0, 0, 0.05}, {0, 0.1, 1, 0.15}, {'o', 0, 0, 0}}},
        {"stopped until played",
         {{0, 0.3, -1, 0}, {'p', 0.25, 2, 0.25}, {'s', 1.0, -1, 0.25}, {'p', 0.1, 3, 0.35}}},
    };
    // clang-format on
    const std::map<char, void (AnimationClock::*)()> act = {{'p', &AnimationClock::play},
                                                            {'o', &AnimationClock::startOneTime},
                                                            {'s', &AnimationClock::stop}};
    for (const auto& [label, steps] : cases) {
        AnimationClock clock(4, 10);
        for (const auto& [before, dt, frame, elapsed] : steps) {
            if (before)
                (clock.*act.at(before))();
            EXPECT_EQ(clock.step(dt), frame) << label << ", dt " << dt;
            EXPECT_NEAR(clock.elapsedTime(), elapsed, 1e-6) << label << ", dt " << dt;
        }
    }
}

TEST(AnimationClock, DegenerateRatesStayInRange)
{
    for (const auto& c : {std::pair{4, 0.0f}, {4, -10.0f}, {1, 10.0f}, {4, 2147483647.0f}}) {
        AnimationClock clock(c.first, c.second);
        clock.play();
        // Frame 0 for ever, but at 2^31 - 1 frames a second, whose quotient
        // leaves the int range at once.
        for (double dt : {0.0, 0.001, 0.5, 1e6, 3e38, 1e-12}) {
            const int frame = clock.step(dt);
            EXPECT_TRUE(c.second > 1e9f ? frame >= 0 && frame < 4 : frame == 0)
                << c.second << " " << dt;
        }
    }
    AnimationClock once(4, 2147483647.0f);
    once.startOneTime();
    EXPECT_EQ(once.step(10.0), 3);
    EXPECT_FALSE(once.isPlaying());
}

// Time adds up; the frame rate is the count of the frames of the last whole
// second, and the part of a second above one is dropped, not carried over.
TEST(FrameStats, FramesPerSecondCountsWholeSeconds)
{
    FrameStats s;
    double total = 0;
    for (const auto& [dt, fps] :
         {std::pair{0.7, 0}, {0.7, 2}, {0.5, 2}, {0.3, 2}, {0.3, 3}, {0.25, 3}}) {
        s.advance(dt);
        total += dt;
        EXPECT_EQ(s.fps, fps) << total;
        EXPECT_DOUBLE_EQ(s.totalTime, total);
    }
}
