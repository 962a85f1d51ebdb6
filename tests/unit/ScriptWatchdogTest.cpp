#include "TestGame.h"
#include "runtime/Game.h"
#include "runtime/QGameSystem.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr int shortLimitMs = 600;

} // namespace

// Endless script code of every kind is ended; an entry call says so.
TEST(ScriptWatchdog, EndlessCodeOfEveryKindIsEnded)
{
    const std::pair<const char*, bool> cases[] = {
        {"function Frame() { while (true) {} }", false},
        {"function Frame() { system.setTimeout('while (true) {}', 0); }", true},
        {"function Frame() { system.setTimeout(function () { while (true) {} }, 0); }", true},
        {"Error.prototype.toString = function () { while (true) {} };"
         "function Frame() { throw new Error('x'); }",
         false},
        {"while (true) {} function Frame() {}", true},
        {"function Frame() { game.goToScript('next', {get a() { while (true) {} }}); }", true},
    };
    for (const auto& [script, ok] : cases) {
        QElapsedTimer clock;
        clock.start();
        TestGame t(QString::fromUtf8(script), shortLimitMs);
        EXPECT_EQ(t.game().callFrame(0.5), ok) << script;
        QCoreApplication::processEvents();
        t.game().pendingParamsText();
        EXPECT_LT(clock.elapsed(), 5000) << script;
        EXPECT_EQ(t.logs.value(0),
                  ok ? QString()
                     : QStringLiteral("ОШИБКА функции Frame(0.5): Error: выполнение "
                                      "прервано: вызов длился дольше 0 с"));
        // The Game stays usable.
        EXPECT_EQ(t.eval(QStringLiteral("'still ' + 'here'")), QStringLiteral("still here"));
    }
}

// Timers never fire inside a call; what falls due meanwhile is held, not
// dropped, and runs at the first event pass after it.
TEST(ScriptWatchdog, TimersDueDuringACallRunAtTheFirstPassAfterIt)
{
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
    )"),
               // Room for the busy call on a loaded machine.
               5 * shortLimitMs);
    t.game().callInit(QString());
    QCoreApplication::processEvents();
    EXPECT_TRUE(t.game().callFrame(0.45));
    EXPECT_EQ(t.eval(QStringLiteral("seenInside")), QStringLiteral("0"));
    const QString ticksBefore = t.eval(QStringLiteral("ticks"));
    QCoreApplication::processEvents();
    EXPECT_EQ(t.eval(QStringLiteral("once + ' ' + (ticks - %1)").arg(ticksBefore)),
              QStringLiteral("1 1"));
    // The interval goes on; the timeouts that ran are freed.
    while (t.eval(QStringLiteral("ticks - ") + ticksBefore).toInt() <= 2)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(t.game().systemObject()->findChildren<QTimer*>().size(), 1);
}
