// Sounds played by a script, checked at the audio output (a wave file).
#include "ResidentMemory.h"
#include "SoundWav.h"
#include "TestGame.h"
#include "runtime/Game.h"

#include <QElapsedTimer>
#include <QThread>
#include <SFML/System/Err.hpp>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const qint16 toneLevel = 8000;

// Polls until `done` holds; real time, so the limit is generous.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// A game whose sounds/ holds tone.wav (`seconds` long) and short.wav (0.1 s)
// and whose Init() runs `init`, which may set the globals s, t and u.
void setUpGame(TestGame& test, double seconds, const QString& init)
{
    test.addFile(QStringLiteral("sounds/tone.wav"), constantWav(seconds, toneLevel));
    test.addFile(QStringLiteral("sounds/short.wav"), constantWav(0.1, toneLevel));
    test.addScript(QStringLiteral("main"), QStringLiteral("var s, t, u; function Init(p) {") +
                                               init + QStringLiteral("return true; }"));
    test.load();
    EXPECT_TRUE(test.game().callInit(QStringLiteral("{}")));
}

bool playing(TestGame& test, const char* sound)
{
    return test.eval(QLatin1String(sound) + QStringLiteral(".isPlayed()")) == QLatin1String("true");
}

// Runs `calls` on sounds s and t (both tone.wav), waits until both have ended
// and returns the loudest sample that reached the output.
int peakOfPlayback(const char* calls)
{
    {
        TestGame test;
        setUpGame(test, 0.4,
                  QStringLiteral("s = game.loadSound('tone.wav');"
                                 "t = game.loadSound('tone.wav');"));
        test.eval(QLatin1String(calls));
        EXPECT_TRUE(waitFor([&] { return !playing(test, "s") && !playing(test, "t"); })) << calls;
    }
    // The last sound is gone, so the device is closed and the file complete.
    return peakLevel(waveOutputSamples());
}

} // namespace

TEST(SoundOutput, PlayRestartsOneCopyWhileTwoSoundsMix)
{
    const int single = peakOfPlayback("s.play();");
    ASSERT_GT(single, toneLevel / 4);
    EXPECT_LT(peakOfPlayback("s.play(); s.play();"), single * 5 / 4) << "play twice";
    EXPECT_LT(peakOfPlayback("s.play(); t.play(); t.stop();"), single * 5 / 4) << "stopped";
    EXPECT_GT(peakOfPlayback("s.play(); t.play();"), single * 3 / 2) << "two sounds";
    EXPECT_NEAR(peakOfPlayback("s.setVolume(50); s.play();"), single / 2, single / 8) << "half";
    EXPECT_EQ(peakOfPlayback("s.setVolume(-5); s.play();"), 0) << "below silence";
    EXPECT_LT(peakOfPlayback("s.setVolume(500); s.play();"), single * 5 / 4) << "above full";
}

// A sound ends on its own; pitch 2 plays it twice as fast, 0 and negative
// pitches are ignored.
TEST(SoundOutput, PitchChangesHowLongASoundPlays)
{
    TestGame test;
    setUpGame(test, 0.8, QStringLiteral("s = game.loadSound('tone.wav');"));
    EXPECT_FALSE(playing(test, "s"));
    QElapsedTimer clock;
    clock.start();
    test.eval(QStringLiteral("s.setPitch(2); s.setPitch(0); s.setPitch(-1); s.play();"));
    ASSERT_TRUE(waitFor([&] { return !playing(test, "s"); }));
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LE(clock.elapsed(), 450);
}

TEST(SoundOutput, MusicStreamsALongFileWithoutLoadingIt)
{
    {
        TestGame test;
        // 30 s are some 2.6 MB of samples; the short sound opens the device.
        setUpGame(test, 30.0, QStringLiteral("u = game.loadSound('short.wav');"));
        const long before = residentKiB();
        test.eval(QStringLiteral("s = game.loadMusic('tone.wav'); s.play();"));
        QThread::msleep(400);
        EXPECT_TRUE(playing(test, "s"));
        const long streaming = residentKiB();
        test.eval(QStringLiteral("t = game.loadSound('tone.wav');"));
        EXPECT_LT(streaming - before, 1024) << "KiB while streaming";
        EXPECT_GT(residentKiB() - streaming, 2048) << "KiB of the same file loaded whole";
        // Missing files give a silent sound and music.
        test.eval(QStringLiteral("s.stop(); m = game.loadMusic('none.ogg'); m.play();"
                                 "n = game.loadSound('none.wav'); n.setLoop(true); n.play();"));
        EXPECT_FALSE(playing(test, "s"));
        EXPECT_FALSE(playing(test, "m"));
        EXPECT_FALSE(playing(test, "n"));
        EXPECT_TRUE(test.logs.isEmpty());
    }
    EXPECT_GT(peakLevel(waveOutputSamples()), toneLevel / 4);
}

TEST(SoundOutput, LoopingSoundPlaysUntilStopped)
{
    TestGame test;
    setUpGame(test, 0.3,
              QStringLiteral("s = game.loadSound('short.wav');"
                             "t = game.loadSound('tone.wav');"));
    test.eval(QStringLiteral("s.setLoop(true); s.play(); t.play(); t.setLoop(true);"));
    // Several times longer than either sound.
    QThread::msleep(900);
    EXPECT_TRUE(playing(test, "s"));
    EXPECT_TRUE(playing(test, "t")) << "looping switched on while playing";
    test.eval(QStringLiteral("s.stop()"));
    EXPECT_FALSE(playing(test, "s"));
    test.eval(QStringLiteral("t.setLoop(false)"));
    EXPECT_TRUE(waitFor([&] { return !playing(test, "t"); }))
        << "looping switched off while playing";
}

TEST(SoundOutput, ScriptSwitchStopsEverySoundOfTheOldScript)
{
    TestGame test;
    setUpGame(test, 5.0,
              QStringLiteral("s = game.loadSound('short.wav');"
                             "t = game.loadSound('tone.wav');"
                             "s.setLoop(true); s.play(); t.play();"
                             "u = game.loadMusic('tone.wav'); u.setLoop(true); u.play();"));
    test.addScript(
        QStringLiteral("second"),
        QStringLiteral("var u; function Init(p) { u = game.loadSound('tone.wav'); return true; }"));
    ASSERT_TRUE(waitFor([] { return peakLevel(waveOutputSamples()) > toneLevel / 4; }));

    test.load(QStringLiteral("second"));
    ASSERT_TRUE(test.game().callInit(QStringLiteral("{}")));
    const int quarterSecond = 44100 / 4 * 2;
    // The output keeps running for the new script's sound; its last quarter
    // second must hold nothing of the old script's.
    ASSERT_TRUE(waitFor([&] { return waveOutputSamples().size() > 3 * quarterSecond; }));
    QThread::msleep(500);
    const QVector<qint16> samples = waveOutputSamples();
    EXPECT_EQ(peakLevel(samples, samples.size() - quarterSecond), 0);
}

TEST(SoundOutput, PastTheLastVoiceASoundStaysSilentAndSaysSoOnce)
{
    std::ostringstream libraryErrors;
    std::streambuf* stderrBuffer = sf::err().rdbuf(libraryErrors.rdbuf());
    {
        TestGame test;
        setUpGame(test, 0.1,
                  QStringLiteral("s = []; for (var i = 0; i < 300; ++i) {"
                                 "  s.push(game.loadSound('short.wav')); s[i].setLoop(true); }"
                                 "s.push(game.loadMusic('short.wav'));"));
        const QString played = test.eval(
            QStringLiteral("for (var k = 0; k < 3; ++k) s.forEach(function (x) { x.play(); });"
                           "s.map(function (x) { return x.isPlayed() ? 1 : 0; }).join('')"));
        // Every sound with a voice plays; the ones without, music too, say
        // so, once each.
        EXPECT_TRUE(QRegExp(QStringLiteral("1+0+")).exactMatch(played)) << played.toStdString();
        EXPECT_EQ(test.logs.size(), played.count(QLatin1Char('0')));
        EXPECT_EQ(test.logs.value(0),
                  QStringLiteral("Sound silent, no voice left for it: short.wav"));
    }
    sf::err().rdbuf(stderrBuffer);
    EXPECT_TRUE(libraryErrors.str().empty()) << libraryErrors.str().substr(0, 300);
}
