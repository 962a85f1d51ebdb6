#include "LedgeRun.h"

#include <QDirIterator>
#include <SFML/Graphics/Image.hpp>
#include <algorithm>
#include <gtest/gtest.h>

// The demo game in data/, played through its screens (title, level, game
// over and back) by ledge-play: first from a damaged best score that tries
// to run code (none is shown, nothing runs, a good one is written over it),
// then from a higher best score that is kept.
TEST(DemoE2E, PlaysThroughItsScreensAndKeepsTheBestScore)
{
    LedgeRun run;
    const QDir source(QStringLiteral(LEDGE_SOURCE_PATH "/data"));
    for (QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        writeDataFile(run.dataDir(), source.relativeFilePath(file), readFile(file));
    }
    const QString appData = run.path(QStringLiteral("home")), best = appData + "/ledge/best.json";
    run.setEnv(QStringLiteral("XDG_DATA_HOME"), appData);
    auto play = [&](const QByteArray& input, const QStringList& options) {
        writeDataFile(run.path(QString()), QStringLiteral("input.txt"), input);
        // A script error fails the run.
        EXPECT_EQ(run.play(options + QStringList{"--input", "input.txt", "--report", "report.json",
                                                 "--fail-on-error"}),
                  0)
            << run.rawStderr().toStdString();
        return run.reportMessages();
    };

    writeDataFile(appData, QStringLiteral("ledge/best.json"),
                  "{\"score\": 7, \"x\": system.saveObjectToAppData(\"ran.json\", 1)}");
    // Walk, jump, turn, drop, stop, show the frame rate, give up, back to the title.
    QStringList messages = play("5 key ENTER\n20-60 key RIGHT\n50 key UP\n90-130 key LEFT\n"
                                "140 key DOWN\n180 key SPACE\n200 key F1\n241 key ESCAPE\n"
                                "300 key ENTER\n",
                                {"--frames", "310", "--shot", "240:level.png"});
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
    const sf::Uint8* pixels = level.getPixelsPtr();
    const std::vector<sf::Uint8> grass = {0x84, 0xD6, 0x48, 0xFF};
    EXPECT_NE(std::search(pixels, pixels + 4 * 800 * 600, grass.begin(), grass.end()),
              pixels + 4 * 800 * 600);

    // The big gem in the middle of the title panel starts a game; Escape quits.
    writeDataFile(appData, QStringLiteral("ledge/best.json"), "{\n    \"score\": 990\n}\n");
    messages = play("3 mouse 400 300\n3 click left\n10-30 key LEFT\n31 key ESCAPE\n"
                    "90 key ESCAPE\n95 key ESCAPE\n",
                    {});
    ASSERT_EQ(messages.size(), 5) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(messages.takeAt(2).contains(QRegExp("^31 game over with score \\d+$")));
    EXPECT_EQ(messages,
              (QStringList{"0 title screen, best score 990", "3 level started with 3 lives",
                           "90 title screen, best score 990", "95 Игра остановлена"}));
    EXPECT_TRUE(readFile(best).contains("990"));
}
