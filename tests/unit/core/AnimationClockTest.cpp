#include "core/AnimationClock.h"

#include <gtest/gtest.h>

namespace {

struct Step {
    double dt;
    int frame;
    double elapsedAfter;
};

void run(AnimationClock& clock, const std::vector<Step>& steps, const char* label)
{
    int n = 0;
    for (const Step& s : steps) {
        EXPECT_EQ(clock.step(s.dt), s.frame) << label << ", step " << n;
        EXPECT_NEAR(clock.elapsedTime(), s.elapsedAfter, 1e-6) << label << ", step " << n;
        ++n;
    }
}

} // namespace

TEST(AnimationClock, LoopsAtTenFramesPerSecond)
{
    AnimationClock clock(4, 10);
    clock.play();
    run(clock,
        {{0.0, 0, 0.0},
         {0.05, 0, 0.05},
         {0.1, 1, 0.15},
         {0.1, 2, 0.25},
         {0.1, 3, 0.35},
         // Reaching 0.4 shows frame 0 and takes one cycle off.
         {0.1, 0, 0.05},
         {0.1, 1, 0.15}},
        "steady");

    AnimationClock late(4, 10);
    late.play();
    // The wrap shows frame 0 even though 0.55 - 0.4 lies in frame 1, and a
    // long step takes off one cycle only.
    run(late, {{0.35, 3, 0.35}, {0.2, 0, 0.15}, {0.0, 1, 0.15}}, "remainder in frame 1");
    AnimationClock lag(4, 10);
    lag.play();
    run(lag, {{1.0, 0, 0.6}, {0.0, 0, 0.2}, {0.0, 2, 0.2}}, "a one-second hitch");
}

TEST(AnimationClock, OneTimePlayStopsOnTheLastFrame)
{
    AnimationClock clock(4, 10);
    clock.startOneTime();
    run(clock, {{0.0, 0, 0.0}, {0.15, 1, 0.15}, {0.2, 3, 0.35}, {0.1, 3, 0.45}}, "once");
    EXPECT_FALSE(clock.isPlaying());
    EXPECT_EQ(clock.step(0.1), -1);

    // play() after the end: the next step wraps from the kept time, then loops.
    clock.play();
    run(clock, {{0.0, 0, 0.05}, {0.1, 1, 0.15}}, "looping after once");
    EXPECT_TRUE(clock.isPlaying());

    // A new one-time play restarts from 0 even mid-loop.
    clock.startOneTime();
    EXPECT_EQ(clock.step(0.0), 0);
}

TEST(AnimationClock, StopsUntilPlayAndKeepsItsTime)
{
    AnimationClock clock(4, 10);
    EXPECT_EQ(clock.step(0.3), -1) << "a new clock is stopped";
    clock.play();
    EXPECT_EQ(clock.step(0.25), 2);
    clock.stop();
    EXPECT_EQ(clock.step(1.0), -1);
    clock.play();
    run(clock, {{0.1, 3, 0.35}}, "resumed");
}

TEST(AnimationClock, TimeIsAThirtyTwoBitFloat)
{
    AnimationClock clock(4, 10);
    clock.play();
    EXPECT_EQ(clock.step(0.29999995), 2);
    // Each step is below half a float ulp at 0.3, so none of them counts;
    // time kept in double would cross into frame 3.
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(clock.step(1e-8), 2) << i;
    EXPECT_EQ(clock.elapsedTime(), 0.29999995f);
}

TEST(AnimationClock, DegenerateRatesStayInRange)
{
    struct Case {
        const char* label;
        int frames;
        float fps;
        int expected;
    };
    const Case cases[] = {
        {"fps 0 shows frame 0 for ever", 4, 0.0f, 0},
        {"negative fps as well", 4, -10.0f, 0},
        {"one frame", 1, 10.0f, 0},
    };
    for (const Case& c : cases) {
        AnimationClock clock(c.frames, c.fps);
        clock.play();
        for (double dt : {0.0, 0.5, 1e6, 3e38})
            EXPECT_EQ(clock.step(dt), c.expected) << c.label << " dt " << dt;
    }

    // At 2^31 - 1 frames per second the quotient leaves the int range at once.
    AnimationClock fast(4, 2147483647.0f);
    fast.play();
    for (double dt : {0.001, 10.0, 1e30, 0.0, 1e-12}) {
        const int frame = fast.step(dt);
        EXPECT_GE(frame, 0) << dt;
        EXPECT_LT(frame, 4) << dt;
    }
    AnimationClock once(4, 2147483647.0f);
    once.startOneTime();
    EXPECT_EQ(once.step(10.0), 3);
    EXPECT_FALSE(once.isPlaying());
}
