// The real program with a window: how a run starts, what the scripts ask of
// the window, and how a run ends.
#include "LedgeRun.h"

#include <gtest/gtest.h>

TEST(RuntimeE2E, StartsWithTheCommandLineOrEndsWithExitCode1)
{
    QTemporaryDir home;
    const struct {
        const char* script; // null: no main script
        bool display;
        QStringList messages;
    } cases[] = {
        // The path tried comes first, as given and in full.
        {nullptr,
         true,
         {"Script not found: scripts/main.js (<data>/scripts/main.js)",
          "ОШИБКА функции Init({\n    \"0\": \"<binary>\",\n    \"1\": \"first\",\n    "
          "\"2\": \"два слова\",\n    \"length\": 3\n}\n): ReferenceError: Can't find "
          "variable: Init"}},
        {"function Init() {}", false, {"No display to open the window on (is DISPLAY set?)"}},
        // The user data directory is named after the program.
        {"function Init(p) { system.saveObjectToAppData('best.json', {score: 1200});"
         "  system.writeMessage(p.length + '|' + p[1] + '|' + p[2] + '|' + (p[0] == p['0']));"
         "  return false; }",
         true,
         {"3|first|два слова|true", "Игра остановлена"}},
    };
    for (const auto& c : cases) {
        LedgeRun run;
        run.setEnv(QStringLiteral("XDG_DATA_HOME"), home.path());
        if (c.script)
            run.addScript(QStringLiteral("main"), QLatin1String(c.script));
        if (!c.display)
            run.setEnv(QStringLiteral("DISPLAY"), QString());
        EXPECT_EQ(run.run({QStringLiteral("first"), QStringLiteral("два слова")}), 1);
        QStringList expected = c.messages;
        expected.replaceInStrings(QStringLiteral("<data>"), QDir(run.dataDir()).canonicalPath());
        expected.replaceInStrings(QStringLiteral("<binary>"), ledgeBinary());
        EXPECT_EQ(run.messages(), expected);
    }
    EXPECT_EQ(readFile(home.path() + QStringLiteral("/ledge/best.json")),
              QByteArray("{\n    \"score\": 1200\n}\n"));
}

// Keys come through X with the window library's codes, the title outlives a
// script switch, and the script ends the run.
TEST(RuntimeE2E, TheWindowCarriesTitleAndKeysAcrossASwitch)
{
    LedgeRun run;
    run.addScript(
        QStringLiteral("main"),
        QStringLiteral("function Init() { game.setGameTitle('Меню'); system.showCursor(false); }"
                       "function Frame() { game.goToScript('second', null); }"
                       "function Render() {}"));
    // writePair has no effect and raises nothing.
    run.addScript(QStringLiteral("second"),
                  QStringLiteral("function Init() { system.writePair('any', {x: 1});"
                                 "  system.writeMessage('ready'); }"
                                 "function Frame() { if (game.isKeyDown(KEY_F1)) {"
                                 "  system.writeMessage('F1'); return false; } }"
                                 "function Render() {}"));
    run.start();
    ASSERT_TRUE(run.waitForMessage(QStringLiteral("ready")));
    QProcess xdotool;
    // The class name is the program's; window tests run one at a time.
    xdotool.start(QStringLiteral("xdotool"),
                  {"search", "--sync", "--classname", "^ledge$", "getwindowname", "windowfocus",
                   "--sync", "key", "F1"});
    xdotool.waitForFinished(20000);
    EXPECT_EQ(QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed(), QStringLiteral("Меню"));
    EXPECT_EQ(run.finish(), 0);
    EXPECT_EQ(run.messages(), (QStringList{"ready", "F1", "Игра остановлена"}));
}
