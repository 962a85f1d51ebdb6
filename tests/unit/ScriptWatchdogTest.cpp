#include "runtime/Game.h"
#include "TestGame.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct ShortLimit {
    ShortLimit() { Game::setCallTimeLimitMs(600); }
    ~ShortLimit() { Game::setCallTimeLimitMs(20000); }
};

} // namespace

TEST(ScriptWatchdog, AnEndlessLoopEndsTheCallWithAnError)
{
    ShortLimit limit;
    TestGame t(QStringLiteral(R"(
        var calls = 0;
        function Frame() { calls++; if (calls == 1) while (true) {} }
    )"));
    EXPECT_FALSE(t.game().callFrame(0.5));
    ASSERT_EQ(t.logs.size(), 1);
    EXPECT_TRUE(t.logs[0].startsWith(QStringLiteral("ОШИБКА функции Frame(0.5): Error: ")));
    // The Game stays usable: the next call runs normally.
    EXPECT_TRUE(t.game().callFrame(0.5));
    EXPECT_EQ(t.eval(QStringLiteral("calls")), QStringLiteral("2"));
}

TEST(ScriptWatchdog, TimersNeverFireInsideALongCall)
{
    ShortLimit limit;
    TestGame t(QStringLiteral(R"(
        var ticks = 0, seenInside = -1;
        function Init() { system.setInterval('ticks++', 1); }
        function Frame() {
            var before = ticks, end = Date.now() + 450;
            while (Date.now() < end) {}
            seenInside = ticks - before;
        }
    )"));
    t.game().callInit(QString());
    EXPECT_TRUE(t.game().callFrame(0.45));
    EXPECT_EQ(t.eval(QStringLiteral("seenInside")), QStringLiteral("0"));
    EXPECT_TRUE(t.logs.isEmpty());
    // Held-back timers run again from the loop's event processing.
    for (int i = 0; i < 20 && t.eval(QStringLiteral("ticks")) == QStringLiteral("0"); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    EXPECT_NE(t.eval(QStringLiteral("ticks")), QStringLiteral("0"));
}
