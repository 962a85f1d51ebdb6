#include "TestGame.h"
#include "runtime/Game.h"
#include "runtime/QGameSystem.h"

#include <QCoreApplication>
#include <QScriptEngine>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kScript = QStringLiteral("var count = 0;\n"
                                       "function Init(p) { return true; }\n"
                                       "function Frame(dt) { return true; }\n"
                                       "function Render() {}\n");

// Game time for timers that follow the frames: 3 ms a pass.
struct PassClock : TimerClock {
    double ms = 0;
    double elapsedMs() const override { return ms; }
};

// One pass of the frame loop as far as timers are concerned.
bool pass(Game& game, PassClock* clock = nullptr)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (clock) {
        clock->ms += 3;
        game.systemObject()->runDueTimers();
    }
    return game.callFrame(1.0 / 60);
}

// Qt timers on the wall clock, then timers that follow the frames.
const bool framedModes[] = {false, true};

int count(TestGame& t)
{
    return t.eval(QStringLiteral("count")).toInt();
}

} // namespace

// Over 20 event passes a few milliseconds apart: no timer runs more than
// once in a pass, failing code is silent, intervals go on until cleared;
// alike for both kinds of timers. Only Qt timers that may still fire are left.
TEST(Timer, EachTimerRunsAsItsDelaySays)
{
    struct Case {
        const char* setup;
        int perPass, least, most, live;
    };
    const Case cases[] = {
        {"system.setTimeout('count += 1', 0)", 1, 1, 1, 0},
        {"system.setTimeout('count += 1', 100000)", 0, 0, 0, 1},
        {"system.setTimeout('count += 1', -1); system.setInterval('count += 1', -100)", 0, 0, 0, 0},
        {"system.setInterval('count += 1', 0)", 1, 20, 20, 1},
        {"system.setInterval('count += 1', 1)", 1, 15, 20, 1},
        {"var code = 'count += 1'; system.setInterval(code, 0); system.setInterval(code, 0);"
         "system.setInterval(code, 1000000)",
         2, 40, 40, 3},
        {"system.setInterval('count += 1; noSuchFunction();', 0);"
         "system.setTimeout('syntax error here (', 0);"
         "system.setTimeout('throw new Error(\"boom\")', 0)",
         1, 20, 20, 1},
        {"system.setInterval(function () { count += 1; }, 0);"
         "system.setTimeout(function () { count += 1; }, 100000)",
         1, 20, 20, 2},
        {"var self = system.setInterval(function () { count++; system.clearTimer(self); }, 0);"
         "system.clearTimer(system.setInterval('count += 5', 0)); system.clearTimer(-5);"
         "system.clearTimer(system.setTimeout(function () { count += 5; }, 0));",
         1, 1, 1, 0},
    };
    for (const bool framed : framedModes)
        for (const Case& c : cases) {
            TestGame t(kScript);
            PassClock clock;
            if (framed)
                t.game().systemObject()->followClock(&clock);
            t.eval(QLatin1String(c.setup));
            int previous = 0;
            for (int i = 0; i < 20; ++i) {
                QThread::msleep(framed ? 0 : 3);
                ASSERT_TRUE(pass(t.game(), framed ? &clock : nullptr));
                ASSERT_LE(count(t) - previous, c.perPass) << c.setup;
                previous = count(t);
            }
            EXPECT_GE(previous, c.least) << c.setup;
            EXPECT_LE(previous, c.most) << c.setup;
            EXPECT_TRUE(t.logs.isEmpty()) << c.setup;
            EXPECT_FALSE(t.game().scriptEngine()->hasUncaughtException()) << c.setup;
            EXPECT_EQ(t.game().systemObject()->findChildren<QTimer*>().size(), framed ? 0 : c.live)
                << c.setup;
        }
}

TEST(Timer, EndedScriptRunsNoTimerAgain)
{
    for (const bool framed : framedModes) {
        TestGame t(kScript);
        PassClock clock;
        if (framed)
            t.game().systemObject()->followClock(&clock);
        t.eval(QStringLiteral("system.setInterval('count += 1', 0);"
                              "system.setTimeout('count += 100', 30);"));
        QThread::msleep(2);
        ASSERT_TRUE(pass(t.game(), framed ? &clock : nullptr));
        const int before = count(t);
        ASSERT_GE(before, 1);

        t.game().releaseAll();
        for (int i = 0; i < 10; ++i) {
            QThread::msleep(5);
            ASSERT_TRUE(pass(t.game(), framed ? &clock : nullptr));
        }
        EXPECT_EQ(count(t), before);
        EXPECT_TRUE(t.game().systemObject()->findChildren<QTimer*>().isEmpty());
    }
}
