// The real program with a window: how a run starts, what scripts ask of the window, how it ends.
#include "LedgeRun.h"

#include <QDeadlineTimer>
#include <QThread>
#include <SFML/Window/VideoMode.hpp>
#include <gtest/gtest.h>
// Last: Xlib's macros clash with the names above.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

// Whether the cursor X draws at the pointer has a visible pixel.
static bool cursorShown()
{
    Display* display = XOpenDisplay(nullptr);
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    bool shown = false;
    for (int i = 0; image && i < image->width * image->height; ++i)
        shown = shown || (image->pixels[i] >> 24) != 0;
    XFree(image);
    XCloseDisplay(display);
    return shown;
}

TEST(RuntimeE2E, WithoutADisplayARunEndsWithExitCode1)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral("function Init() {}"));
    run.setEnv(QStringLiteral("DISPLAY"), QString());
    run.start();
    EXPECT_EQ(run.finish(), 1);
    EXPECT_EQ(run.messages(), QStringList{"No display to open the window on (is DISPLAY set?)"});
}

// Init gets the command line; keys come through X; the title outlives full screen and a switch;
// the user data directory is named after the program; the script ends the run.
TEST(RuntimeE2E, TheWindowCarriesTitleKeysAndFullScreenAcrossASwitch)
{
    LedgeRun run;
    QTemporaryDir home;
    run.setEnv(QStringLiteral("XDG_DATA_HOME"), home.path());
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        function Init(p) {
            system.writeMessage(p.length + '|' + p[1] + '|' + p[2] + '|' + (p[0] == p['0']));
            game.setGameTitle('Меню'); system.showCursor(false); game.setFullscreen(true);
        }
        function Frame() { game.goToScript('second', null); } function Render() {})"));
    // writePair has no effect and raises nothing.
    run.addScript(QStringLiteral("second"), QStringLiteral(R"(
        function size() { var s = game.getWindowSize(); return s.width + 'x' + s.height; }
        function Init() { system.writePair('any', {x: 1}); system.writeMessage('ready ' + size()); }
        function Frame() {
            if (!game.isKeyDown(KEY_F1)) return;
            game.setFullscreen(false);
            system.saveObjectToAppData('best.json', {score: 1200});
            system.writeMessage('F1 ' + size()); return false;
        }
        function Render() {})"));
    ASSERT_TRUE(cursorShown());
    run.start({QStringLiteral("first"), QStringLiteral("два слова")});
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    const QString ready = QStringLiteral("ready %1x%2").arg(desktop.width).arg(desktop.height);
    ASSERT_TRUE(run.waitForMessage(ready));
    // The cursor hidden before full screen stays hidden in the new window.
    QProcess::execute(QStringLiteral("xdotool"), {"mousemove", "--sync", "10", "10"});
    QDeadlineTimer patience(10000);
    while (cursorShown() && !patience.hasExpired())
        QThread::msleep(20);
    EXPECT_FALSE(cursorShown());
    QProcess xdotool;
    // The class name is the program's; window tests run one at a time.
    xdotool.start(QStringLiteral("xdotool"),
                  {"search", "--sync", "--classname", "^ledge$", "getwindowname", "windowfocus",
                   "--sync", "key", "F1"});
    xdotool.waitForFinished(20000);
    EXPECT_EQ(QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed(), QStringLiteral("Меню"));
    EXPECT_EQ(run.finish(), 0);
    EXPECT_EQ(run.messages(),
              (QStringList{"3|first|два слова|true", ready, "F1 800x600", "Игра остановлена"}));
    EXPECT_EQ(readFile(home.path() + QStringLiteral("/ledge/best.json")),
              QByteArray("{\n    \"score\": 1200\n}\n"));
}
