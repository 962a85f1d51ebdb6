#include "LedgeRun.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Reports every key it sees.
const QString inputScript = QStringLiteral(R"(
function Init() { system.writeMessage('ready'); }
function Frame(dt) {
    for (var k = -1; k < 101; k++)
        if (game.isKeyDown(k)) system.writeMessage('key ' + k);
}
function Render() {}
)");

} // namespace

// Keys through X, and the run ends as the window manager closes the window.
TEST(InputE2E, KeysArriveWithTheWindowLibrarysCodes)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), inputScript);
    run.start();
    ASSERT_TRUE(run.waitForMessage(QStringLiteral("ready")));
    const QString window = run.windowId();
    QProcess::execute(QStringLiteral("xdotool"), {"windowfocus", "--sync", window});
    const struct {
        const char* name;
        const char* seen;
    } keys[] = {{"Right", "key 72"},
                {"a", "key 0"},
                {"Escape", "key 36"},
                {"F1", "key 85"},
                {"0", "key 26"}};
    for (const auto& k : keys) {
        QProcess::execute(QStringLiteral("xdotool"), {"key", k.name});
        EXPECT_TRUE(run.waitForMessage(QLatin1String(k.seen), 10000)) << k.name;
    }
    run.closeWindow();
    EXPECT_EQ(run.finish(), 0);
}

TEST(WindowRequestsE2E, TitleAndCursorOutliveAScriptSwitch)
{
    LedgeRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"(
        function Init() { game.setGameTitle('Меню'); system.showCursor(false); }
        function Frame() { game.goToScript('second', null); }
        function Render() {}
    )"));
    run.addScript(QStringLiteral("second"), QStringLiteral(R"(
        function Init() { system.writePair('any', {x: 1}); system.writeMessage('second ready'); }
        function Frame() {}
        function Render() {}
    )"));
    run.start();
    ASSERT_TRUE(run.waitForMessage(QStringLiteral("second ready")));
    QProcess name;
    name.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), run.windowId()});
    name.waitForFinished(5000);
    EXPECT_EQ(QString::fromUtf8(name.readAllStandardOutput()).trimmed(), QStringLiteral("Меню"));
    run.closeWindow();
    EXPECT_EQ(run.finish(), 0);
    // writePair has no effect and raises nothing.
    EXPECT_EQ(run.messages(), QStringList{QStringLiteral("second ready")});
}
