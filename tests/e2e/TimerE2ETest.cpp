#include "LedgeRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The directory under the user's data directory is named after the program.
TEST(PersistenceE2E, AppDataDirectoryIsNamedAfterTheProgram)
{
    QTemporaryDir home;
    LedgeRun run;
    run.setEnv(QStringLiteral("HOME"), home.path());
    run.setEnv(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data-home"));
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        function Init() { system.saveObjectToAppData('best.json', {score: 1200}); }
        function Frame(dt) { return false; }
        function Render() {}
    )"));
    EXPECT_EQ(run.run(), 0);
    QFile saved(home.path() + QStringLiteral("/data-home/ledge/best.json"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("{\n    \"score\": 1200\n}\n"));
}
