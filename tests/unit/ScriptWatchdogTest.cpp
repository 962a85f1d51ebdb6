#include "Game.h"
#include "QGameSystem.h"
#include "TestGame.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct ShortLimit {
    ShortLimit() { Game::setCallTimeLimitMs(600); }
    ~ShortLimit() { Game::setCallTimeLimitMs(20000); }
};

} // namespace

// Script code of every kind that never ends is ended; entry calls say so.
TEST(ScriptWatchdog, EndlessCodeOfEveryKindIsEnded)
{
    ShortLimit limit;
    struct Case {
        const char* name;
        const char* script;
        std::function<bool(Game&)> run;
        bool ok;
    };
    const auto frame = [](Game& g) { return g.callFrame(0.5); };
    const Case cases[] = {
        {"a call", "function Frame() { while (true) {} }", frame, false},
        {"timer code", "function Frame() { system.setTimeout('while (true) {}', 0); }",
         [](Game& g) {
             g.callFrame(0.5);
             QThread::msleep(5);
             QCoreApplication::processEvents();
             return true;
         },
         true},
        {"an error's own text",
         "Error.prototype.toString = function () { while (true) {} };"
         "function Frame() { throw new Error('x'); }",
         frame, false},
        {"top-level code", "while (true) {}", [](Game&) { return true; }, true},
        {"a getter of switch parameters",
         "function Frame() { game.goToScript('next', {get a() { while (true) {} }}); }",
         [](Game& g) { return g.callFrame(0.5) && g.pendingParamsText().isEmpty(); }, true},
    };
    for (const Case& c : cases) {
        QElapsedTimer clock;
        clock.start();
        TestGame t(QLatin1String(c.script));
        EXPECT_EQ(c.run(t.game()), c.ok) << c.name;
        EXPECT_LT(clock.elapsed(), 5000) << c.name;
        if (c.ok) {
            EXPECT_TRUE(t.logs.isEmpty()) << c.name;
        } else {
            ASSERT_EQ(t.logs.size(), 1) << c.name;
            EXPECT_TRUE(t.logs[0].startsWith(
                QStringLiteral("ОШИБКА функции Frame(0.5): Error: выполнение прервано")))
                << c.name;
        }
        // The Game stays usable.
        EXPECT_EQ(t.eval(QStringLiteral("'still ' + 'here'")), QStringLiteral("still here"));
    }
}

// Timers never fire inside a call; what falls due meanwhile is held, not
// dropped, and runs at the first event pass after it.
TEST(ScriptWatchdog, TimersDueDuringACallRunAtTheFirstPassAfterIt)
{
    ShortLimit limit;
    TestGame t(QStringLiteral(R"(
        var ticks = 0, once = 0, seenInside = -1;
        function Init() {
            system.setInterval('ticks++', 1);
            system.setTimeout('once++', 300);
            system.setTimeout('', 0);
        }
        function Frame() {
            var before = ticks, end = Date.now() + 450;
            while (Date.now() < end) {}
            seenInside = ticks - before + once;
        }
    )"));
    t.game().callInit(QString());
    QThread::msleep(5);
    QCoreApplication::processEvents();
    EXPECT_TRUE(t.game().callFrame(0.45));
    EXPECT_EQ(t.eval(QStringLiteral("seenInside")), QStringLiteral("0"));
    const QString ticksBefore = t.eval(QStringLiteral("ticks"));
    QCoreApplication::processEvents();
    EXPECT_EQ(t.eval(QStringLiteral("once")), QStringLiteral("1"));
    EXPECT_EQ(t.eval(QStringLiteral("ticks - ") + ticksBefore), QStringLiteral("1"));
    // The interval goes on; the timeouts that ran are freed.
    for (int i = 0; i < 5; ++i) {
        QThread::msleep(3);
        QCoreApplication::processEvents();
    }
    EXPECT_GT(t.eval(QStringLiteral("ticks - ") + ticksBefore).toInt(), 2);
    EXPECT_EQ(t.game().systemObject()->findChildren<QTimer*>().size(), 1);
    EXPECT_TRUE(t.logs.isEmpty());
}
