// Sounds played by a script, heard at the output: main() sends it all to a growing wave file.
#include "TestGame.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtEndian>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Err.hpp>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <sstream>

namespace {

const qint16 toneLevel = 8000;
QString waveOutputPath;

// The output's samples so far (interleaved): its last chunk, data, runs to the end of the file.
QVector<qint16> waveOutputSamples()
{
    const QByteArray bytes = readFile(waveOutputPath);
    QVector<qint16> samples;
    for (int at = bytes.indexOf("data") + 8; at > 7 && at + 2 <= bytes.size(); at += 2)
        samples.append(qFromLittleEndian<qint16>(bytes.constData() + at));
    return samples;
}

int peakLevel(const QVector<qint16>& samples)
{
    return std::accumulate(samples.begin(), samples.end(), 0,
                           [](int peak, qint16 s) { return std::max(peak, std::abs(int(s))); });
}

// Polls until `done` holds; the limit is only there for a hang.
bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    for (clock.start(); !done() && clock.elapsed() < 60000;)
        QThread::msleep(5);
    return done();
}

// A game with sounds/tone.wav (`seconds` long) and short.wav (0.1 s), after Init() ran `init`.
void setUpGame(TestGame& test, double seconds, const QString& init)
{
    for (const auto& [name, length] :
         {std::pair<QString, double>{"tone", seconds}, {"short", 0.1}}) {
        const std::vector<sf::Int16> samples(std::size_t(length * 44100), toneLevel);
        const QString path = QStringLiteral("sounds/") + name + QStringLiteral(".wav");
        test.addFile(path, QByteArray());
        sf::SoundBuffer buffer;
        EXPECT_TRUE(buffer.loadFromSamples(samples.data(), samples.size(), 1, 44100) &&
                    buffer.saveToFile((test.dataDir() + '/' + path).toStdString()));
    }
    test.addScript(QStringLiteral("main"),
                   QStringLiteral("var s, t, u; function Init() {") + init + QStringLiteral("}"));
    test.load();
    EXPECT_TRUE(test.game().callInit(QString()));
}

} // namespace

// `calls` on s and t (both a 0.4 s tone); once both ended and the game is gone the output is
// complete: its loudest sample against that of one plain play, and how long it held sound.
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
        {"s.setLoop(true); s.play(); s.setLoop(false);", 0.75, 1.25, 0.4},
        {"s = game.loadSound('none.wav'); s.setLoop(true); s.play();", 0, 0, 0},
    };
    int single = 0;
    for (const auto& c : cases) {
        {
            TestGame test;
            setUpGame(test, 0.4, "s = game.loadSound('tone.wav'); t = game.loadSound('tone.wav');");
            QElapsedTimer clock;
            clock.start();
            test.eval(QLatin1String(c.calls));
            EXPECT_TRUE(
                waitFor([&] { return test.eval("s.isPlayed() || t.isPlayed()") == "false"; }));
            EXPECT_GE(clock.elapsed(), c.seconds * 900) << c.calls << ": ended too early";
        }
        const QVector<qint16> samples = waveOutputSamples();
        single = single ? single : peakLevel(samples);
        ASSERT_GT(single, toneLevel / 4);
        EXPECT_GE(peakLevel(samples), c.least * single) << c.calls;
        EXPECT_LE(peakLevel(samples), c.most * single) << c.calls;
        // Seconds of sound (not silence): two channels at 44.1 kHz.
        EXPECT_NEAR((samples.size() - samples.count(0)) / 88200.0, c.seconds, 0.03) << c.calls;
    }
}

// Every sound with a voice plays; the ones without, music too, say so once each.
TEST(SoundOutput, PastTheLastVoiceASoundStaysSilentAndSaysSoOnce)
{
    std::ostringstream libraryErrors;
    std::streambuf* stderrBuffer = sf::err().rdbuf(libraryErrors.rdbuf());
    {
        TestGame test;
        setUpGame(test, 0.1,
                  "s = []; for (var i = 0; i < 300; ++i) {"
                  "  s.push(game.loadSound('short.wav')); s[i].setLoop(true); }"
                  "s.push(game.loadMusic('short.wav'));");
        const QString played = test.eval(
            QStringLiteral("for (var k = 0; k < 3; ++k) s.forEach(function (x) { x.play(); });"
                           "s.map(function (x) { return x.isPlayed() ? 1 : 0; }).join('')"));
        EXPECT_TRUE(QRegExp(QStringLiteral("1+0+")).exactMatch(played)) << played.toStdString();
        EXPECT_EQ(test.logs.size(), played.count(QLatin1Char('0')));
        EXPECT_EQ(test.logs.value(0),
                  QStringLiteral("Sound silent, no voice left for it: short.wav"));
    }
    sf::err().rdbuf(stderrBuffer);
    EXPECT_TRUE(libraryErrors.str().empty()) << libraryErrors.str().substr(0, 300);
}

// OpenAL reads its configuration once per process: 16-bit stereo, 44.1 kHz, silence exactly 0.
int main(int argc, char** argv)
{
    QTemporaryDir dir;
    waveOutputPath = dir.filePath(QStringLiteral("out.wav"));
    writeDataFile(dir.path(), QStringLiteral("alsoft.conf"),
                  QStringLiteral("[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\n"
                                 "frequency=44100\ndither=false\n[wave]\nfile=%1\n")
                      .arg(waveOutputPath)
                      .toUtf8());
    qputenv("ALSOFT_CONF", QFile::encodeName(dir.filePath(QStringLiteral("alsoft.conf"))));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
