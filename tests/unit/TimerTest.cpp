#include "TestGame.h"
#include "runtime/Game.h"
#include "runtime/QGameSystem.h"
#include "runtime/TimerEvent.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScriptEngine>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kScript = QStringLiteral("var count = 0;\n"
                                       "function Init(p) { return true; }\n"
                                       "function Frame(dt) { return true; }\n"
                                       "function Render() {}\n");

// One pass of the frame loop as far as timers are concerned.
bool pass(Game& game, double dt = 1.0 / 60)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return game.callFrame(dt);
}

int count(TestGame& t)
{
    return t.eval(QStringLiteral("count")).toInt();
}

int liveTimers(Game& game)
{
    return game.systemObject()->findChildren<QTimer*>().size();
}

} // namespace

TEST(Timer, TimeoutFiresExactlyOnceAfterItsDelay)
{
    TestGame t(kScript);
    QElapsedTimer clock;
    t.eval(QStringLiteral("system.setTimeout('count += 1', 100)"));
    clock.start();
    qint64 firedAt = -1;
    while (clock.elapsed() < 700) {
        ASSERT_TRUE(pass(t.game()));
        if (firedAt < 0 && count(t) > 0)
            firedAt = clock.elapsed();
        QThread::msleep(5);
    }
    EXPECT_EQ(count(t), 1);
    // Coarse timers may come a few percent early; a loaded machine makes them late.
    EXPECT_GE(firedAt, 90);
    EXPECT_LT(firedAt, 600);
}

TEST(Timer, ShortIntervalFiresAtMostOncePerPass)
{
    for (const int ms : {0, 1}) {
        TestGame t(kScript);
        t.eval(QStringLiteral("system.setInterval('count += 1', %1)").arg(ms));
        int previous = 0;
        for (int i = 0; i < 40; ++i) {
            QThread::msleep(4);
            ASSERT_TRUE(pass(t.game()));
            const int now = count(t);
            ASSERT_LE(now - previous, 1) << "interval " << ms << " ms, pass " << i;
            previous = now;
        }
        // Every pass is later than the interval, so nearly every one fires.
        EXPECT_GE(previous, 30) << "interval " << ms << " ms";
    }
}

TEST(Timer, FailingTimerCodeIsSilentAndIntervalsKeepFiring)
{
    TestGame t(kScript);
    t.eval(QStringLiteral("system.setInterval('count += 1; noSuchFunction();', 0);"
                          "system.setTimeout('syntax error here (', 0);"
                          "system.setTimeout('throw new Error(\"boom\")', 0);"));
    for (int i = 0; i < 10; ++i) {
        QThread::msleep(2);
        ASSERT_TRUE(pass(t.game())) << "pass " << i;
    }
    EXPECT_GE(count(t), 5);
    EXPECT_TRUE(t.logs.isEmpty()) << t.logs.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(t.game().scriptEngine()->hasUncaughtException());
}

TEST(Timer, NegativeDelayNeverFires)
{
    TestGame t(kScript);
    t.eval(QStringLiteral("system.setTimeout('count += 1', -1);"
                          "system.setInterval('count += 1', -100);"));
    for (int i = 0; i < 10; ++i) {
        QThread::msleep(3);
        ASSERT_TRUE(pass(t.game()));
    }
    EXPECT_EQ(count(t), 0);
    EXPECT_EQ(liveTimers(t.game()), 0);
}

TEST(Timer, EndedScriptRunsNoTimerAgain)
{
    TestGame t(kScript);
    t.eval(QStringLiteral("system.setInterval('count += 1', 0);"
                          "system.setTimeout('count += 100', 30);"));
    QThread::msleep(2);
    ASSERT_TRUE(pass(t.game()));
    const int before = count(t);
    ASSERT_GE(before, 1);

    t.game().releaseAll();
    for (int i = 0; i < 10; ++i) {
        QThread::msleep(5);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    EXPECT_EQ(count(t), before);
    EXPECT_EQ(liveTimers(t.game()), 0);
}

TEST(Timer, JobsRunIndependentlyUntilCleared)
{
    TestGame t(kScript);
    t.eval(QStringLiteral("var code = 'count += 1';"
                          "system.setInterval(code, 0); system.setInterval(code, 0);"
                          "var slow = system.setInterval(code, 1000000);"
                          "var tens = system.setInterval(function () { count += 10; }, 0);"
                          "var once = system.setTimeout(function () { count += 100; }, 0);"
                          "var self = system.setInterval(function () {"
                          "    count += 1000; system.clearTimer(self); }, 0);"
                          "system.clearTimer(slow); system.clearTimer(-5);"));
    // Each pass: the two string intervals, the function interval until it is
    // cleared, the function timeout once, the one that clears itself once.
    const int expected[] = {1112, 1124, 1126, 1128};
    for (int i = 0; i < 4; ++i) {
        QThread::msleep(2);
        ASSERT_TRUE(pass(t.game()));
        EXPECT_EQ(count(t), expected[i]) << "pass " << i;
        if (i == 1)
            t.eval(QStringLiteral("system.clearTimer(tens); system.clearTimer(once)"));
    }
    EXPECT_EQ(liveTimers(t.game()), 2);
    EXPECT_EQ(t.eval(QStringLiteral("[slow, tens, once].join()")), QStringLiteral("3,4,5"));
    EXPECT_EQ(t.eval(QStringLiteral("self")), QStringLiteral("6"));
}

// A script that sets a timeout every frame must not pile up timers or jobs.
TEST(Timer, FiredTimeoutsAreFreed)
{
    TestGame t(
        QStringLiteral("var count = 0;\n"
                       "function Init(p) { return true; }\n"
                       "function Frame(dt) { system.setTimeout('count += 1', 0); return true; }\n"
                       "function Render() {}\n"));
    const int frames = 3000;
    int most = 0;
    for (int i = 0; i < frames; ++i) {
        ASSERT_TRUE(pass(t.game()));
        most = std::max(most, liveTimers(t.game()));
    }
    EXPECT_LE(most, 4);
    EXPECT_LE(t.game().systemObject()->findChildren<TimerEvent*>().size(), 4);
    // Each timeout fires in a later pass; none is lost, none runs twice.
    EXPECT_GE(count(t), frames - 3);
    EXPECT_LE(count(t), frames);
}
