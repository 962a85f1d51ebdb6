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

TEST(RuntimeE2E, FrameResultsDecideTheExit)
{
    struct Case {
        const char* frame;
        int exitCode;
        QStringList messages;
    } cases[] = {
        {"if (frames == 3) return false;", 0, {QStringLiteral("Игра остановлена")}},
        {"if (frames == 3) throw new Error('boom');", 0, {}},
        // A thrown string is not an error: the game goes on to frame 5.
        {"if (frames == 3) throw 'text'; if (frames == 5) return false;",
         0,
         {QStringLiteral("Игра остановлена")}},
    };
    for (const Case& c : cases) {
        LedgeRun run;
        run.addScript(QStringLiteral("main"),
                      QStringLiteral("var frames = 0; function Init() {}\n"
                                     "function Frame(dt) { ++frames; system.writeMessage('f' + "
                                     "frames); %1 }\nfunction Render() {}")
                          .arg(QLatin1String(c.frame)));
        EXPECT_EQ(run.run(), c.exitCode) << c.frame;
        QStringList frames = run.messages();
        const QString last = frames.takeLast();
        if (c.messages.isEmpty()) {
            EXPECT_TRUE(last.startsWith(QStringLiteral("ОШИБКА функции Frame(")));
            EXPECT_TRUE(last.endsWith(QStringLiteral("): Error: boom"))) << last.toStdString();
            EXPECT_EQ(frames.size(), 3);
        } else {
            EXPECT_EQ(last, c.messages.first());
        }
    }
}

TEST(RuntimeE2E, GoToScriptCarriesEachKindOfParameterAsJsonText)
{
    struct Case {
        const char* params;
        QString initText;
    } cases[] = {
        {"{b: 1, a: 'x'}", QStringLiteral("Init({\n    \"a\": \"x\",\n    \"b\": 1\n}\n)")},
        {"[1, 'two', [3]]",
         QStringLiteral("Init([\n    1,\n    \"two\",\n    [\n        3\n    ]\n]\n)")},
        {"3.14159265", QStringLiteral("Init(3.14159)")},
        {"'say \"hi\"\\nbye'", QStringLiteral("Init(\"say \\\"hi\\\"\\nbye\")")},
        {"undefined", QStringLiteral("Init()")},
        // Too deep to write: no argument, as for undefined.
        {"(function (v) { for (var i = 0; i < 40000; ++i) v = {k: v}; return v; })({})",
         QStringLiteral("Init()")},
        {"0/0", QStringLiteral("Init(NaN)")},
    };
    for (const Case& c : cases) {
        LedgeRun run;
        run.addScript(QStringLiteral("main"),
                      QStringLiteral("function Init() {}\nfunction Frame() { "
                                     "game.goToScript('second', %1); }\nfunction Render() {}")
                          .arg(QLatin1String(c.params)));
        // The second script has no Init, so its error message shows the exact text.
        run.addScript(QStringLiteral("second"), QStringLiteral("function Frame() {}"));
        EXPECT_EQ(run.run(), 1) << c.params;
        EXPECT_EQ(run.messages(),
                  QStringList{QStringLiteral("ОШИБКА функции ") + c.initText +
                              QStringLiteral(": ReferenceError: Can't find variable: Init")})
            << c.params;
    }
}

TEST(RuntimeE2E, SwitchStartsAFreshScriptWiredToTheSameOutput)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var leftover = 'old';
        function Init() {}
        function Frame() { game.goToScript('second', {from: 'main'}); system.writeMessage('main frame'); }
        function Render() { system.writeMessage('main render'); }
    )"));
    run.addScript(QStringLiteral("second"), QStringLiteral(R"(
        var n = 0;
        function Init(p) { system.writeMessage('init ' + p.from + ' ' + typeof leftover); }
        function Frame() { system.writeMessage('second frame'); return false; }
        function Render() { system.writeMessage('second render'); }
    )"));
    EXPECT_EQ(run.run(), 0);
    // The old Render never runs again; the new one runs before its first Frame.
    EXPECT_EQ(run.messages(),
              (QStringList{QStringLiteral("main frame"), QStringLiteral("init main undefined"),
                           QStringLiteral("second render"), QStringLiteral("second frame"),
                           QStringLiteral("Игра остановлена")}));
}

TEST(RuntimeE2E, SwitchToAMissingScriptEndsWithExitCode1)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        function Init() {}
        function Frame() { game.goToScript('nowhere', 5); }
        function Render() {}
    )"));
    EXPECT_EQ(run.run(), 1);
    EXPECT_EQ(run.messages(),
              QStringList{QStringLiteral(
                  "ОШИБКА функции Init(5): ReferenceError: Can't find variable: Init")});
}

TEST(RuntimeE2E, FalseFrameWinsOverASwitchInTheSameFrame)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        function Init() {}
        function Frame() { game.goToScript('second', 1); return false; }
        function Render() {}
    )"));
    run.addScript(QStringLiteral("second"),
                  QStringLiteral("function Init() { system.writeMessage('switched'); }"));
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.messages(), QStringList{QStringLiteral("Игра остановлена")});
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
