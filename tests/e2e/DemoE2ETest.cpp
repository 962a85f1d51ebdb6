#include "DataFiles.h"
#include "LedgeRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

// The demo game in data/, played through its real screens: title, level,
// game over and back.

namespace {

// Runs a helper program and returns its output; one that hangs (import does
// when its window has gone) is killed.
QByteArray tool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(5000);
    }
    return p.readAllStandardOutput();
}

void xdotool(const QStringList& args)
{
    tool(QStringLiteral("xdotool"), args);
}

// ImageMagick's colour histogram of a window: one line per distinct colour.
QString colourHistogram(const QString& window, const QString& shotPath)
{
    tool(QStringLiteral("import"), {QStringLiteral("-window"), window, shotPath});
    return QString::fromUtf8(
        tool(QStringLiteral("convert"), {shotPath, QStringLiteral("-format"), QStringLiteral("%c"),
                                         QStringLiteral("histogram:info:-")}));
}

class DemoE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(appData.isValid());
        const QString source = QStringLiteral(LEDGE_SOURCE_PATH "/data");
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            run.addFile(QDir(source).relativeFilePath(path), readFile(path));
        }
        ASSERT_FALSE(readFile(run.dataDir() + QStringLiteral("/gnd_mid.pcx")).isEmpty());
        run.setEnv(QStringLiteral("XDG_DATA_HOME"), appData.path());
    }

    void startAtTitle(int expectedBest)
    {
        run.start();
        ASSERT_TRUE(
            run.waitForMessage(QStringLiteral("title screen, best score %1").arg(expectedBest)));
        window = run.windowId();
        ASSERT_FALSE(window.isEmpty());
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    }

    void key(const char* name, int pauseMs = 0)
    {
        xdotool({QStringLiteral("key"), QLatin1String(name)});
        if (pauseMs)
            QThread::msleep(pauseMs);
    }

    void enterLevel()
    {
        key("Return");
        ASSERT_TRUE(run.waitForMessage(QStringLiteral("level started with 3 lives")));
    }

    // The score of the first game-over message; -1 when none came.
    int waitForGameOver()
    {
        if (!run.waitForMessageStartingWith(QStringLiteral("game over with score ")))
            return -1;
        static const QRegularExpression number(QStringLiteral("^game over with score (\\d+)"));
        for (const QString& m : run.messages()) {
            const auto match = number.match(m);
            if (match.hasMatch())
                return match.captured(1).toInt();
        }
        return -1;
    }

    QString bestFile() const { return appData.path() + QStringLiteral("/ledge/best.json"); }

    void writeBest(const QByteArray& bytes)
    {
        QDir().mkpath(appData.path() + QStringLiteral("/ledge"));
        QFile f(bestFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QStringList scriptErrors()
    {
        QStringList errors;
        for (const QString& m : run.messages())
            if (m.startsWith(QStringLiteral("ОШИБКА функции")))
                errors << m;
        return errors;
    }

    void closeAndCheckLog()
    {
        run.closeWindow();
        EXPECT_EQ(run.finish(), 0);
        const QStringList errors = scriptErrors();
        EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    }

    QTemporaryDir appData;
    LedgeRun run;
    QString window;
};

} // namespace

// Starts from a damaged best score that tries to run code: none is shown,
// nothing runs, and the game over writes a good one over it.
TEST_F(DemoE2E, PlaysFromTheTitleThroughTheLevelToGameOverAndSavesTheScore)
{
    ASSERT_NO_FATAL_FAILURE(
        writeBest("{\"score\": 7, \"x\": system.saveObjectToAppData(\"ran.json\", 1)}"));
    ASSERT_NO_FATAL_FAILURE(startAtTitle(0));
    EXPECT_FALSE(QFile::exists(appData.path() + QStringLiteral("/ledge/ran.json")));
    ASSERT_NO_FATAL_FAILURE(enterLevel());

    // Walk, jump, turn, drop, stop, show the frame rate.
    key("Right", 500);
    key("Up", 700);
    key("Left", 600);
    key("Down", 700);
    key("space", 700);
    key("Right", 400);
    key("Down", 500);
    key("F1", 600);
    // A failed Frame() ends the program, and there would be nothing to see.
    const QStringList errors = scriptErrors();
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();

    // Under load the first grab can come before llvmpipe has drawn a frame.
    QTemporaryDir shots;
    QString histogram;
    for (int tries = 0; tries < 5 && histogram.count(QLatin1Char('\n')) <= 40; ++tries)
        histogram = colourHistogram(window, shots.path() + QStringLiteral("/level.png"));
    // Many colours, among them the grass edge of the map's middle tile.
    EXPECT_GT(histogram.count(QLatin1Char('\n')), 40) << histogram.left(400).toStdString();
    EXPECT_TRUE(histogram.contains(QStringLiteral("#84D648"))) << "no map on screen";

    // Escape gives up: the game-over screen saves the first score there is.
    key("Escape");
    const int score = waitForGameOver();
    ASSERT_GE(score, 0);
    EXPECT_TRUE(
        run.messages().contains(QStringLiteral("game over with score %1, a new best").arg(score)));
    const QByteArray saved = readFile(bestFile());
    EXPECT_TRUE(saved.contains("\"score\"")) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QByteArray::number(score))) << saved.toStdString();

    // Enter leads back to the title, which now reads the saved score.
    QThread::msleep(1200);
    key("Return");
    EXPECT_TRUE(run.waitForMessage(QStringLiteral("title screen, best score %1").arg(score)));
    closeAndCheckLog();
}

TEST_F(DemoE2E, KeepsAHigherBestScoreStartsOnAClickAndQuitsWithEscape)
{
    ASSERT_NO_FATAL_FAILURE(writeBest("{\n    \"score\": 990\n}\n"));
    ASSERT_NO_FATAL_FAILURE(startAtTitle(990));
    // The big gem in the middle of the title panel starts a game.
    // A click can be lost while a loaded X server is still settling the
    // pointer; the game ignores clicks outside the gem, so clicking again is safe.
    bool started = false;
    for (int tries = 0; tries < 5 && !started; ++tries) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                 QStringLiteral("400"), QStringLiteral("300")});
        xdotool({QStringLiteral("click"), QStringLiteral("1")});
        started = run.waitForMessage(QStringLiteral("level started with 3 lives"), 5000);
    }
    ASSERT_TRUE(started);
    key("Left", 400);
    key("Escape");
    const int score = waitForGameOver();
    ASSERT_GE(score, 0);
    EXPECT_LT(score, 990);
    EXPECT_TRUE(readFile(bestFile()).contains("990"));
    EXPECT_FALSE(
        run.messages().contains(QStringLiteral("game over with score %1, a new best").arg(score)));

    QThread::msleep(1200);
    key("Escape");
    ASSERT_TRUE(run.waitForMessage(QStringLiteral("title screen, best score 990")));
    key("Escape");
    EXPECT_EQ(run.finish(), 0);
    EXPECT_TRUE(run.messages().contains(QStringLiteral("Игра остановлена")));
    const QStringList errors = scriptErrors();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}
