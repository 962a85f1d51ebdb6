#include "LedgeRun.h"

#include <gtest/gtest.h>

TEST(RuntimeE2E, NoMainScriptOrNoDisplayEndsWithExitCode1)
{
    LedgeRun run;
    EXPECT_EQ(run.run(), 1);
    const QString expected =
        QStringLiteral("ОШИБКА функции Init({\n    \"0\": \"%1\",\n    \"length\": 1\n}\n): "
                       "ReferenceError: Can't find variable: Init")
            .arg(ledgeBinary());
    EXPECT_EQ(run.messages(), QStringList{expected});

    LedgeRun headless;
    headless.setEnv(QStringLiteral("DISPLAY"), QString());
    EXPECT_EQ(headless.run(), 1);
    EXPECT_TRUE(headless.messages().value(0).startsWith(QStringLiteral("No display")));
}

TEST(RuntimeE2E, InitGetsTheCommandLine)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        function Init(p) {
            system.writeMessage(p.length + '|' + p[1] + '|' + p[2] + '|' + (p[0] == p['0']));
            return false;
        }
    )"));
    EXPECT_EQ(run.run({QStringLiteral("first"), QStringLiteral("два слова")}), 1);
    EXPECT_EQ(run.messages(), (QStringList{QStringLiteral("3|first|два слова|true"),
                                           QStringLiteral("Игра остановлена")}));
}

TEST(RuntimeE2E, ClosingTheWindowFinishesTheFrameAndExitsWith0)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var n = 0;
        function Init() { system.writeMessage('ready'); }
        function Frame() { n++; system.writeMessage('F' + n); }
        function Render() { system.writeMessage('R' + n); }
    )"));
    run.start();
    ASSERT_TRUE(run.waitForMessage(QStringLiteral("R5")));
    run.closeWindow();
    EXPECT_EQ(run.finish(), 0);
    // The frame that polled the close request still ran Frame and Render.
    const QStringList m = run.messages();
    ASSERT_GE(m.size(), 3);
    const QString n = m.last().mid(1);
    EXPECT_EQ(m.last(), QStringLiteral("R") + n);
    EXPECT_EQ(m.at(m.size() - 2), QStringLiteral("F") + n);
}
