#include "LedgeRun.h"

#include <QDirIterator>
#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

// The demo game in data/ played through its screens by ledge-play, from a damaged best
// score that tries to run code: none is shown, nothing runs, a good one is written over it.
TEST(DemoE2E, PlaysThroughItsScreensAndWritesTheBestScore)
{
    LedgeRun run;
    const QDir source(QStringLiteral(LEDGE_SOURCE_PATH "/data"));
    for (QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        writeDataFile(run.dataDir(), source.relativeFilePath(file), readFile(file));
    }
    const QString appData = run.path(QStringLiteral("home")), best = appData + "/ledge/best.json";
    run.setEnv(QStringLiteral("XDG_DATA_HOME"), appData);
    writeDataFile(appData, QStringLiteral("ledge/best.json"),
                  "{\"score\": 7, \"x\": system.saveObjectToAppData(\"ran.json\", 1)}");
    // Walk, jump, turn, drop, stop, show the frame rate, give up, back to the title.
    writeDataFile(run.path(QString()), QStringLiteral("input.txt"),
                  "5 key ENTER\n20-60 key RIGHT\n50 key UP\n90-130 key LEFT\n140 key DOWN\n"
                  "180 key SPACE\n200 key F1\n241 key ESCAPE\n300 key ENTER\n");
    EXPECT_EQ(run.play({"--frames", "310", "--shot", "240:level.png", "--input", "input.txt",
                        "--report", "report.json", "--fail-on-error"}),
              0)
        << run.rawStderr().toStdString();
    const QStringList messages = run.reportMessages();
    EXPECT_FALSE(QFile::exists(appData + QStringLiteral("/ledge/ran.json")));
    ASSERT_EQ(messages.size(), 4) << messages.join(QLatin1Char('\n')).toStdString();
    const QString score = messages[2].section(QLatin1Char(' '), 5, 5).remove(QLatin1Char(','));
    EXPECT_EQ(messages, (QStringList{"0 title screen, best score 0", "5 level started with 3 lives",
                                     "241 game over with score " + score + ", a new best",
                                     "300 title screen, best score " + score}));
    EXPECT_TRUE(readFile(best).contains("\"score\": " + score.toUtf8()));
    // The grass edge of the map's middle tile is on screen.
    sf::Image level;
    ASSERT_TRUE(level.loadFromFile(run.path(QStringLiteral("level.png")).toStdString()));
    const char* pixels = reinterpret_cast<const char*>(level.getPixelsPtr());
    EXPECT_TRUE(QByteArray::fromRawData(pixels, 4 * 800 * 600).contains("\x84\xD6\x48\xFF"));
}
