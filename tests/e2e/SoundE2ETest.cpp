// Sounds of a script end with it when the real program switches scripts.
#include "../sound/SoundWav.h"
#include "LedgeRun.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

TEST(SoundE2E, ScriptSwitchSilencesTheOldScriptsSounds)
{
    LedgeRun run;
    const QString wavePath = run.dataDir() + QStringLiteral("/out.wav");
    run.addFile(QStringLiteral("alsoft.conf"), waveDriverConf(wavePath));
    run.setEnv(QStringLiteral("ALSOFT_CONF"), run.dataDir() + QStringLiteral("/alsoft.conf"));
    run.addFile(QStringLiteral("sounds/loop.wav"), constantWav(0.2, 8000));
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
var a, b, go = false;
function Init() {
    a = game.loadSound('loop.wav'); a.setLoop(true); a.play();
    b = game.loadSound('loop.wav'); b.setLoop(true); b.play();
    system.writeMessage('playing ' + a.isPlayed() + ' ' + b.isPlayed());
}
function Frame(dt) {
    if (game.isKeyDown(KEY_S) || go) game.goToScript('second', {});
    go = game.getTotalTime() > 30;
}
function Render() {}
)"));
    // The new script keeps the audio output open, so anything the old one
    // left playing would still be heard.
    run.addScript(QStringLiteral("second"), QStringLiteral(R"(
var quiet, t = 0, told = false;
function Init() { quiet = game.loadSound('loop.wav'); system.writeMessage('second'); }
function Frame(dt) {
    t += dt;
    if (t > 1 && !told) { told = true; system.writeMessage('quiet for a second'); }
}
function Render() {}
)"));
    run.start();
    ASSERT_TRUE(run.waitForMessage(QStringLiteral("playing true true")));

    QElapsedTimer clock;
    clock.start();
    while (peakLevel(waveSamples(wavePath)) < 2000 && clock.elapsed() < 20000)
        QThread::msleep(20);
    EXPECT_GE(peakLevel(waveSamples(wavePath)), 2000) << "the first script is heard";

    // The script switches on its own after a while; a key press makes it sooner.
    const QString window = run.windowId();
    if (!window.isEmpty())
        QProcess::execute(
            QStringLiteral("xdotool"),
            {QStringLiteral("key"), QStringLiteral("--window"), window, QStringLiteral("s")});
    ASSERT_TRUE(run.waitForMessage(QStringLiteral("second"), 60000));
    ASSERT_TRUE(run.waitForMessage(QStringLiteral("quiet for a second"), 20000));
    const QVector<qint16> samples = waveSamples(wavePath);
    const int quarterSecond = 44100 / 4 * 2;
    ASSERT_GT(samples.size(), quarterSecond);
    EXPECT_EQ(peakLevel(samples, samples.size() - quarterSecond), 0);

    run.closeWindow();
    EXPECT_EQ(run.finish(), 0);
}
