#include "LedgeRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TimerE2E, TimersRunBetweenFramesAndEndWithTheirScript)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var frames = 0, ticks = 0, fired = 0;
        function Init() {
            system.setInterval('ticks += 1; system.writeMessage("tick")', 1);
            system.setTimeout('fired += 1; system.writeMessage("timeout at frame " + frames)', 100);
            system.setTimeout('system.writeMessage("never")', 60000);
        }
        function Frame(dt) {
            ++frames;
            if (frames == 40)
                game.goToScript('next', {frames: frames, ticks: ticks, fired: fired});
        }
        function Render() {}
    )"));
    run.addScript(QStringLiteral("next"), QStringLiteral(R"(
        var frames = 0;
        function Init(p) {
            system.writeMessage('next ' + p.frames + ' ' + p.ticks + ' ' + p.fired);
        }
        function Frame(dt) { return ++frames < 30; }
        function Render() {}
    )"));
    EXPECT_EQ(run.run({}, 60000), 0);

    const QStringList messages = run.messages();
    const int switchAt = messages.indexOf(QRegExp(QStringLiteral("next .*")));
    ASSERT_GE(switchAt, 0) << run.rawStderr().toStdString();
    const QStringList parts = messages.at(switchAt).split(QLatin1Char(' '));
    const int frames = parts.at(1).toInt();
    const int ticks = parts.at(2).toInt();
    EXPECT_EQ(parts.at(3), QStringLiteral("1"));
    // A 1 ms interval runs at most once per frame, and in nearly every frame.
    EXPECT_LE(ticks, frames);
    EXPECT_GE(ticks, frames / 2);
    EXPECT_EQ(messages.mid(0, switchAt).count(QStringLiteral("tick")), ticks);
    EXPECT_EQ(messages.filter(QStringLiteral("timeout at frame")).size(), 1);
    EXPECT_FALSE(messages.contains(QStringLiteral("never")));
    EXPECT_EQ(messages.mid(switchAt).count(QStringLiteral("tick")), 0);
    EXPECT_EQ(messages.last(), QStringLiteral("Игра остановлена"));
}

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
