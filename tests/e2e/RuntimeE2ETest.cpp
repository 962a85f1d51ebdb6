// The real program with a window: how a run starts, what the scripts ask of
// the window, and how a run ends.
#include "LedgeRun.h"

#include <SFML/Window/VideoMode.hpp>
#include <gtest/gtest.h>

TEST(RuntimeE2E, StartsWithTheCommandLineOrEndsWithExitCode1)
{
    QTemporaryDir home;
    const struct {
        const char* script;
        bool display;
        QStringList messages;
    } cases[] = {
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
        run.addScript(QStringLiteral("main"), QLatin1String(c.script));
        if (!c.display)
            run.setEnv(QStringLiteral("DISPLAY"), QString());
        EXPECT_EQ(run.run({QStringLiteral("first"), QStringLiteral("два слова")}), 1);
        EXPECT_EQ(run.messages(), c.messages);
    }
    EXPECT_EQ(readFile(home.path() + QStringLiteral("/ledge/best.json")),
              QByteArray("{\n    \"score\": 1200\n}\n"));
}

// Keys come through X with the window library's codes; the title outlives
// full screen and a script switch; the script ends the run.
TEST(RuntimeE2E, TheWindowCarriesTitleKeysAndFullScreenAcrossASwitch)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"),
                  QStringLiteral("function Init() { game.setGameTitle('Меню');"
                                 "  system.showCursor(false); game.setFullscreen(true); }"
                                 "function Frame() { game.goToScript('second', null); }"
                                 "function Render() {}"));
    // writePair has no effect and raises nothing.
    run.addScript(QStringLiteral("second"), QStringLiteral(R"(
        function size() { var s = game.getWindowSize(); return s.width + 'x' + s.height; }
        function Init() { system.writePair('any', {x: 1}); system.writeMessage('ready ' + size()); }
        function Frame() {
            if (!game.isKeyDown(KEY_F1)) return;
            game.setFullscreen(false);
            system.writeMessage('F1 ' + size());
            return false;
        }
        function Render() {})"));
    run.start();
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    const QString ready = QStringLiteral("ready %1x%2").arg(desktop.width).arg(desktop.height);
    ASSERT_TRUE(run.waitForMessage(ready));
    QProcess xdotool;
    // The class name is the program's; window tests run one at a time.
    xdotool.start(QStringLiteral("xdotool"),
                  {"search", "--sync", "--classname", "^ledge$", "getwindowname", "windowfocus",
                   "--sync", "key", "F1"});
    xdotool.waitForFinished(20000);
    EXPECT_EQ(QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed(), QStringLiteral("Меню"));
    EXPECT_EQ(run.finish(), 0);
    EXPECT_EQ(run.messages(), (QStringList{ready, "F1 800x600", "Игра остановлена"}));
}
