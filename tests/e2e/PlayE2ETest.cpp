// ledge-play: the game loop without a person or a screen.
#include "LedgeRun.h"

#include <gtest/gtest.h>

// Reports its input, timers and random numbers; draws a box where Math.random puts it.
const QString reporter = QStringLiteral(R"(
var n = 0, box;
function Init(p) {
    box = game.createRect(250, 200, 0);
    system.setTimeout('system.writeMessage("timeout in frame " + (n + 1))', 100);
    system.setInterval('system.writeMessage("interval in frame " + (n + 1))', 250);
    system.writeMessage('args ' + p.length + ' ' + p[1]);
}
function Frame(dt) {
    n++;
    if (game.isKeyDown(KEY_RIGHT)) system.writeMessage('right');
    var left = game.isLeftButtonClicked(), right = game.isRightButtonClicked(), m = game.getMousePos();
    if (left || right) system.writeMessage('click ' + right + ' ' + m.x + ',' + m.y);
    if (n == 60) system.writeMessage('fps ' + game.getFPS() + ' random ' + Math.random());
}
function Render() { box.drawTo(Math.random() * 700, 100, 50, 50); }
)");

TEST(PlayE2E, RunsRepeatByteForByteWithTheirInputTimersAndSeed)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), reporter);
    writeDataFile(run.dataDir(), QStringLiteral("input.txt"),
                  "# held for two frames\n2-3 key RIGHT\n"
                  "5 mouse 400 300\n5 click left\n6 click right\n");
    auto play = [&](const QString& name, const QString& seed) {
        EXPECT_EQ(
            run.play({"--frames", "61", "--seed", seed, "--input", run.dataDir() + "/input.txt",
                      "--shot", "60:" + name + ".png", "--report", name + ".json"}),
            0)
            << run.rawStderr().toStdString();
        return readFile(run.path(name + ".png")) + readFile(run.path(name + ".json"));
    };
    const QByteArray first = play(QStringLiteral("first"), QStringLiteral("7"));
    EXPECT_EQ(play(QStringLiteral("report"), QStringLiteral("7")), first);
    EXPECT_EQ(run.report().value(QStringLiteral("frames")).toInt(), 61);
    QStringList lines = run.reportMessages();
    // Without a display it starts one of its own.
    run.setEnv(QStringLiteral("DISPLAY"), QString());
    EXPECT_NE(play(QStringLiteral("other"), QStringLiteral("8")), first);
    EXPECT_TRUE(run.rawStderr().contains(QStringLiteral("DISPLAY is not set; started a private")));

    ASSERT_EQ(lines.size(), 11) << lines.join(QLatin1Char('\n')).toStdString();
    lines[9] = lines[9].section(QLatin1Char(' '), 0, -2);
    // Game time is the frames' dt; a timer fires in the first frame starting past its delay.
    EXPECT_EQ(lines, (QStringList{"0 args 1 undefined", "2 right", "3 right",
                                  "5 click false 400,300", "6 click true 400,300",
                                  "7 timeout in frame 7", "16 interval in frame 16",
                                  "31 interval in frame 31", "46 interval in frame 46",
                                  "60 fps 60 random", "61 interval in frame 61"}));
}

TEST(PlayE2E, ExitCodeAndFramesRunTellHowTheRunEnded)
{
    const struct {
        const char* frame;
        QStringList options;
        int code, frames;
        const char* errors;
        const char* said; // on stderr
    } cases[] = {
        {"if (n == 3) undefinedThing();", {"--frames", "10"}, 0, 3, "scripts/main.js:3", ""},
        {"if (n == 3) libFail();", {"--fail-on-error"}, 2, 3, "scripts/lib.js:2", ""},
        // A missing Init is an error of the call itself: no line.
        {"if (n == 3) game.goToScript('missing', {});", {}, 1, 3, "scripts/missing.js:0", ""},
        {"", {"--frames", "4", "--fail-on-error"}, 0, 4, "", ""},
        // A bad input line: nothing runs, no report; nor is there one where it cannot be written.
        {"", {"--input", "bad.txt"}, 3, 0, "", "line 2: a key is"},
        {"return n < 2;", {"--report", "no/r.json"}, 3, 0, "", "/no/r.json"},
    };
    for (const auto& c : cases) {
        LedgeRun run;
        run.addScript(QStringLiteral("lib"),
                      QStringLiteral("var n = 0;\nfunction libFail() { nothing(); }"));
        run.addScript(QStringLiteral("main"),
                      QStringLiteral("$include<lib.js>\nfunction Init() {}\n"
                                     "function Frame() { n++; %1 }\nfunction Render() {}")
                          .arg(QLatin1String(c.frame)));
        writeDataFile(run.path(QString()), QStringLiteral("bad.txt"), "1 key RIGHT\n2 key NOPE\n");
        EXPECT_EQ(run.play(QStringList{"--report", "report.json"} + c.options), c.code) << c.frame;
        const QJsonObject r = run.report();
        EXPECT_EQ(r.value(QStringLiteral("frames")).toInt(), c.frames) << c.frame;
        EXPECT_EQ(r.value(QStringLiteral("exitCode")).toInt(), c.code == 3 ? 0 : c.code);
        EXPECT_TRUE(run.rawStderr().contains(QLatin1String(c.said))) << c.frame;
        // Where the error lines point, in the included file's own lines.
        QStringList errors;
        for (const QJsonValue e : r.value(QStringLiteral("errors")).toArray())
            errors << e[QStringLiteral("script")].toString() + QLatin1Char(':') +
                          QString::number(e[QStringLiteral("line")].toInt());
        EXPECT_EQ(errors.join(QLatin1Char(' ')), QLatin1String(c.errors)) << c.frame;
    }
}

// The window's events and dt as the real program saw them, played back.
TEST(PlayE2E, ReplaysARecordingOfTheRealProgram)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), reporter + QStringLiteral(R"(
        function Frame(dt) {
            if (++n % 20 == 0) system.writeMessage(dt + ' ' + Math.random() + ' ' + game.getTotalTime());
            return n < 80;
        })"));
    run.setEnv(QStringLiteral("LEDGE_RECORD"), run.path(QStringLiteral("session.txt")));
    run.start();
    ASSERT_EQ(run.finish(), 0);
    // However many the wall clock gave, the replay gives them again.
    const QStringList recorded = run.messages();
    ASSERT_FALSE(recorded.filter(QStringLiteral("interval")).isEmpty());
    EXPECT_EQ(run.play({"--replay", "session.txt"}), 0);
    EXPECT_EQ(run.messages().mid(recorded.size()), recorded);
}
