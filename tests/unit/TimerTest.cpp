#include "TestGame.h"
#include "runtime/QGameSystem.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A Game whose timers follow the frames, 3 ms of game time a pass, or the
// wall clock, where a pass takes at least a millisecond, as a frame does.
struct TimerRun : TimerClock {
    explicit TimerRun(bool framed) : framed(framed)
    {
        t.game().systemObject()->followClock(framed ? this : nullptr);
    }
    double elapsedMs() const override { return ms; }

    // One pass of the frame loop as far as timers are concerned.
    bool pass()
    {
        QElapsedTimer wall;
        wall.start();
        while (!framed && !wall.hasExpired(1)) {
        }
        QCoreApplication::processEvents();
        if (framed) {
            ms += 3;
            t.game().systemObject()->runDueTimers();
        }
        return t.game().callFrame(1.0 / 60);
    }
    int count() { return t.eval(QStringLiteral("count")).toInt(); }
    int qtTimers() { return t.game().systemObject()->findChildren<QTimer*>().size(); }

    const bool framed;
    double ms = 0;
    TestGame t{QStringLiteral("var count = 0; function Frame() {}")};
};

} // namespace

// Over 20 passes: no timer runs more than once a pass, failing code is silent,
// intervals go on until cleared, alike for timers that follow the frames and
// for Qt timers on the wall clock; only Qt timers that may still fire are left.
TEST(Timer, EachTimerRunsAsItsDelaySays)
{
    const struct {
        const char* setup;
        int perPass, least, most, live;
    } cases[] = {
        {"system.setTimeout('count += 1', 0)", 1, 1, 1, 0},
        {"system.setTimeout('count += 1', -1); system.setInterval('count += 1', -100)", 0, 0, 0, 0},
        {"system.setInterval('count += 1', 1)", 1, 15, 20, 1},
        {"var code = 'count += 1'; system.setInterval(code, 0); system.setInterval(code, 0);"
         "system.setTimeout(code, 100000)", 2, 40, 40, 3},
        {"system.setInterval(function () { count += 1; noSuchFunction(); }, 0);"
         "system.setTimeout('syntax error here (', 0); system.setTimeout('throw 1', 0)",
         1, 20, 20, 1},
        {"var self = system.setInterval(function () { count++; system.clearTimer(self); }, 0);"
         "system.clearTimer(system.setInterval('count += 5', 0)); system.clearTimer(-5);"
         "system.clearTimer(system.setTimeout(function () { count += 5; }, 0));", 1, 1, 1, 0},
    };
    for (const bool framed : {true, false})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.setup) + (framed ? ", framed" : ", wall clock"));
            TimerRun run(framed);
            run.t.eval(QLatin1String(c.setup));
            int previous = 0;
            for (int i = 0; i < 20; ++i) {
                ASSERT_TRUE(run.pass());
                ASSERT_LE(run.count() - previous, c.perPass);
                previous = run.count();
            }
            EXPECT_GE(previous, c.least);
            EXPECT_LE(previous, c.most);
            EXPECT_TRUE(run.t.logs.isEmpty());
            EXPECT_FALSE(run.t.game().scriptEngine()->hasUncaughtException());
            EXPECT_EQ(run.qtTimers(), framed ? 0 : c.live);
        }
}

// Timers never fire inside a call; what falls due meanwhile runs once at the
// first pass after it. The interval goes on; the timeout that ran is freed.
TEST(Timer, TimersDueDuringACallRunAtTheFirstPassAfterIt)
{
    TimerRun run(false);
    run.t.eval(
        QStringLiteral("system.setInterval('count++', 1); system.setTimeout('count += 100', 300);"
                       "var inside; function Frame() { var end = Date.now() + 450;"
                       " while (Date.now() < end) {} inside = count; }"));
    ASSERT_TRUE(run.t.game().callFrame(0.45));
    QCoreApplication::processEvents();
    EXPECT_EQ(run.t.eval(QStringLiteral("inside + ' ' + count")), QStringLiteral("0 101"));
    while (run.count() < 103)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(run.qtTimers(), 1);
}

// Ending a script stops its timers and deletes every object it made.
TEST(Timer, ReleaseAllEndsTimersAndObjects)
{
    for (const bool framed : {true, false}) {
        TimerRun run(framed);
        Game& game = run.t.game();
        game.scriptEngine()->evaluate(QStringLiteral("system.setInterval('count += 1', 0);"
                                                     "system.setTimeout('count += 100', 30);"));
        ASSERT_TRUE(run.pass());
        const int before = run.count();
        ASSERT_GE(before, 1);
        QList<QPointer<QObject>> made;
        // Sprites and animations need a graphics context: the scene tests see them go.
        for (const char* make : {"game.createRect(1, 2, 3)", "game.createRect(1, 2, 3, 4)",
                                 "game.createCircle(1, 2, 3)", "game.createLine(1, 2, 3)",
                                 "game.loadText('none.ttf', 'x', 9)", "game.loadSound('none.wav')",
                                 "game.loadMusic('none.ogg')"})
            made << game.scriptEngine()->evaluate(QLatin1String(make)).toQObject();
        game.releaseAll();
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(run.pass());
        EXPECT_EQ(run.count(), before);
        EXPECT_EQ(run.qtTimers(), 0);
        for (int i = 0; i < made.size(); ++i)
            EXPECT_TRUE(made[i].isNull()) << "object " << i << " outlives its script";
    }
}

// Endless script code of every kind is ended; an entry call says so, and the
// Game stays usable.
TEST(ScriptWatchdog, EndlessCodeOfEveryKindIsEnded)
{
    const std::pair<const char*, bool> cases[] = {
        {"function Frame() { while (true) {} }", false},
        {"function Frame() { system.setTimeout('while (true) {}', 0); }", true},
        {"function Frame() { system.setTimeout(function () { while (true) {} }, 0); }", true},
        {"Error.prototype.toString = function () { while (true) {} };"
         "function Frame() { throw new Error('x'); }", false},
        {"while (true) {} function Frame() {}", true},
        {"function Frame() { game.goToScript('next', {get a() { while (true) {} }}); }", true},
    };
    const QString stopped = QStringLiteral("ОШИБКА функции Frame(0.5): Error: выполнение "
                                           "прервано: вызов длился дольше 0 с");
    for (const auto& [script, ok] : cases) {
        QElapsedTimer clock;
        clock.start();
        TestGame t(QString::fromUtf8(script), 600);
        EXPECT_EQ(t.game().callFrame(0.5), ok) << script;
        QCoreApplication::processEvents();
        t.game().pendingParamsText();
        EXPECT_LT(clock.elapsed(), 5000) << script;
        EXPECT_EQ(t.logs.value(0), ok ? QString() : stopped);
        EXPECT_EQ(t.eval(QStringLiteral("'still ' + 'here'")), QStringLiteral("still here"));
    }
}
