// Sounds played by a script, checked at the audio output (a wave file that
// grows as the output runs).
#include "ResidentMemory.h"
#include "SoundWav.h"
#include "TestGame.h"

#include <QElapsedTimer>
#include <QThread>
#include <SFML/System/Err.hpp>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const qint16 toneLevel = 8000;
const int samplesPerSecond = 2 * 44100;

// Polls until `done` holds; the limit is only there for a hang.
bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 60000)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// Seconds of sound (not silence) in the output from sample `from` on.
double soundSeconds(const QVector<qint16>& samples, int from = 0)
{
    return double(std::count_if(samples.begin() + std::min(from, samples.size()), samples.end(),
                                [](qint16 s) { return s != 0; })) /
           samplesPerSecond;
}

// A game whose sounds/ holds tone.wav (`seconds` long) and short.wav
// (0.1 s), after its Init() ran `init`.
void setUpGame(TestGame& test, double seconds, const QString& init)
{
    test.addFile(QStringLiteral("sounds/tone.wav"), constantWav(seconds, toneLevel));
    test.addFile(QStringLiteral("sounds/short.wav"), constantWav(0.1, toneLevel));
    test.addScript(QStringLiteral("main"),
                   QStringLiteral("var s, t, u; function Init() {") + init + QStringLiteral("}"));
    test.load();
    EXPECT_TRUE(test.game().callInit(QString()));
}

bool playing(TestGame& test, const char* sound)
{
    return test.eval(QLatin1String(sound) + QStringLiteral(".isPlayed()")) == QLatin1String("true");
}

} // namespace

// `calls` on s and t (both a 0.4 s tone); once both have ended and the game
// is gone the output is complete: its loudest sample against that of one
// plain play, and how long it held sound.
TEST(SoundOutput, PlayStopVolumeAndPitchAsTheOutputHearsThem)
{
    const struct {
        const char* calls;
        double least, most; // loudest sample, in plain plays
        double seconds;
    } cases[] = {
        {"s.play();", 1, 1, 0.4},
        {"s.play(); s.play();", 0, 1.25, 0.4},
        {"s.play(); t.play(); t.stop();", 0, 1.25, 0.4},
        {"s.play(); t.play();", 1.5, 3, 0.4},
        {"s.setVolume(50); s.play();", 0.4, 0.6, 0.4},
        {"s.setVolume(-5); s.play();", 0, 0, 0},
        {"s.setVolume(500); s.play();", 0.75, 1.25, 0.4},
        {"s.setPitch(2); s.setPitch(0); s.setPitch(-1); s.play();", 0.75, 1.25, 0.2},
        {"s = game.loadSound('none.wav'); s.setLoop(true); s.play();", 0, 0, 0},
    };
    int single = 0;
    for (const auto& c : cases) {
        {
            TestGame test;
            setUpGame(
                test, 0.4,
                QStringLiteral("s = game.loadSound('tone.wav'); t = game.loadSound('tone.wav');"));
            QElapsedTimer clock;
            clock.start();
            test.eval(QLatin1String(c.calls));
            EXPECT_TRUE(waitFor([&] { return !playing(test, "s") && !playing(test, "t"); }));
            EXPECT_GE(clock.elapsed(), c.seconds * 900) << c.calls << ": ended too early";
        }
        const QVector<qint16> samples = waveOutputSamples();
        single = single ? single : peakLevel(samples);
        ASSERT_GT(single, toneLevel / 4);
        EXPECT_GE(peakLevel(samples), c.least * single) << c.calls;
        EXPECT_LE(peakLevel(samples), c.most * single) << c.calls;
        EXPECT_NEAR(soundSeconds(samples), c.seconds, 0.03) << c.calls;
    }
}

TEST(SoundOutput, LoopingPlaysUntilStoppedOrSwitchedOff)
{
    TestGame test;
    setUpGame(test, 0.3,
              QStringLiteral("s = game.loadSound('short.wav'); t = game.loadSound('tone.wav');"));
    test.eval(QStringLiteral("s.setLoop(true); s.play(); t.play(); t.setLoop(true);"));
    // Both are heard for longer than they last.
    ASSERT_TRUE(waitFor([] { return soundSeconds(waveOutputSamples()) > 0.9; }));
    EXPECT_TRUE(playing(test, "s"));
    EXPECT_TRUE(playing(test, "t")) << "looping switched on while playing";
    test.eval(QStringLiteral("s.stop()"));
    EXPECT_FALSE(playing(test, "s"));
    test.eval(QStringLiteral("t.setLoop(false)"));
    EXPECT_TRUE(waitFor([&] { return !playing(test, "t"); }))
        << "looping switched off while playing";
}

TEST(SoundOutput, MusicStreamsALongFileWithoutLoadingIt)
{
    TestGame test;
    // 30 s are some 2.6 MB of samples; the short sound opens the device.
    setUpGame(test, 30.0, QStringLiteral("u = game.loadSound('short.wav');"));
    const long before = residentKiB();
    test.eval(QStringLiteral("s = game.loadMusic('tone.wav'); s.play();"));
    ASSERT_TRUE(waitFor([] { return soundSeconds(waveOutputSamples()) > 0.2; }));
    EXPECT_TRUE(playing(test, "s"));
    const long streaming = residentKiB();
    test.eval(QStringLiteral("t = game.loadSound('tone.wav');"));
    EXPECT_LT(streaming - before, 1024) << "KiB while streaming";
    EXPECT_GT(residentKiB() - streaming, 2048) << "KiB of the same file loaded whole";
    test.eval(QStringLiteral("s.stop(); m = game.loadMusic('none.ogg'); m.play();"));
    EXPECT_FALSE(playing(test, "s") || playing(test, "m"));
    EXPECT_TRUE(test.logs.isEmpty());
}

TEST(SoundOutput, AScriptSwitchStopsEverySoundOfTheOldScript)
{
    TestGame test;
    setUpGame(test, 5.0,
              QStringLiteral("s = game.loadSound('short.wav'); t = game.loadSound('tone.wav');"
                             "s.setLoop(true); s.play(); t.play();"
                             "u = game.loadMusic('tone.wav'); u.setLoop(true); u.play();"));
    test.addScript(QStringLiteral("second"),
                   QStringLiteral("var u; function Init() { u = game.loadSound('tone.wav'); }"));
    ASSERT_TRUE(waitFor([] { return peakLevel(waveOutputSamples()) > toneLevel / 4; }));

    test.load(QStringLiteral("second"));
    ASSERT_TRUE(test.game().callInit(QString()));
    // The output keeps running for the new script's sound; from a quarter
    // second after the switch on it holds nothing of the old script's.
    const int quarter = samplesPerSecond / 4, after = waveOutputSamples().size() + quarter;
    ASSERT_TRUE(waitFor([&] { return waveOutputSamples().size() > after + 2 * quarter; }));
    EXPECT_EQ(peakLevel(waveOutputSamples(), after), 0);
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
