#include "LedgeRun.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(RuntimeE2E, NoMainScriptOrNoDisplayEndsWithExitCode1)
{
    LedgeRun run;
    EXPECT_EQ(run.run(), 1);
    const QString expected =
        QStringLiteral("ОШИБКА функции Init({\n    \"0\": \"%1\",\n    \"length\": 1\n}\n): "
                       "ReferenceError: Can't find variable: Init")
            .arg(ledgeBinary());
    // The path tried comes first, as given and in full.
    EXPECT_EQ(run.messages(),
              (QStringList{QStringLiteral("Script not found: scripts/main.js (%1/scripts/main.js)")
                               .arg(QDir(run.dataDir()).canonicalPath()),
                           expected}));

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
