// Scripts that misuse the API on purpose. Each must end the way the runtime's
// rules say (an error message and its exit code, or the game going on) and
// never by a signal or a hang.
#include "DataFiles.h"
#include "LedgeRun.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString stopped = QStringLiteral("Игра остановлена");

// A 4 x 4 PCX image of one colour.
QByteArray smallPcx()
{
    QByteArray bytes(128, '\0');
    bytes[8] = 3;
    bytes[10] = 3;
    bytes.append(char(0xD0)).append(char(1));
    for (int i = 0; i < 256; ++i)
        bytes.append(char(10)).append(char(20)).append(char(30));
    return bytes;
}

QByteArray font()
{
    return sourceFile(QStringLiteral("tests/fixtures/fonts/DejaVuSans.ttf"));
}

// A run with a sprite image and a font in its data directory, and its own
// user data directory.
class HostileRun : public LedgeRun {
public:
    HostileRun()
    {
        addFile(QStringLiteral("sprites/s.pcx"), smallPcx());
        addFile(QStringLiteral("fonts/f.ttf"), font());
        setEnv(QStringLiteral("HOME"), home.path());
        setEnv(QStringLiteral("XDG_DATA_HOME"), home.path());
    }

    QTemporaryDir home;
};

} // namespace

TEST(HostileE2E, UnboundedRecursionIsAnErrorOfTheFrame)
{
    const char* recursions[] = {
        "function f(n) { return f(n + 1) + 1; } function Frame(dt) { f(0); }",
        "function f() { game.getFPS(); return f(); } function Frame(dt) { f(); }",
        "var o = { get x() { return this.x; } }; function Frame(dt) { return o.x; }",
    };
    for (const char* source : recursions) {
        HostileRun run;
        run.addScript(QStringLiteral("main"),
                      QStringLiteral("function Init() {} function Render() {}\n") +
                          QLatin1String(source));
        EXPECT_EQ(run.run(), 0) << source;
        // The error line, then its place and at most a screenful of calls.
        const QStringList messages = run.messages();
        ASSERT_GE(messages.size(), 1) << source << run.rawStderr().toStdString();
        ASSERT_LE(messages.size(), 23) << source;
        EXPECT_TRUE(messages.first().startsWith(QStringLiteral("ОШИБКА функции Frame(")));
        EXPECT_TRUE(messages.first().contains(QStringLiteral("RangeError"))) << source;
    }
}

TEST(HostileE2E, EverySlotShrugsOffMissingExtraAndWrongArguments)
{
    HostileRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"js(
        var calls = 0, threw = 0, frames = 0, objects;
        var argSets = [[], [1, 2, 3, 4, 5, 6, 7, 8, 9], [{}, [], null, undefined, 'x', NaN],
                       [Infinity, -Infinity, 1e308, -1e308, 2147483648, -2147483649],
                       ['s.pcx', '1', '-1', true, false, function () {}]];
        // The switch and the messages are tested on their own; these would
        // only end the run or flood the output.
        var skip = {goToScript: 1, writeMessage: 1, sendLog: 1, sendTitle: 1, writePair: 1};
        function hammer(obj) {
            for (var name in obj) {
                var f = obj[name];
                if (typeof f != 'function' || skip[name.split('(')[0]])
                    continue;
                for (var i = 0; i < argSets.length; ++i) {
                    ++calls;
                    try { f.apply(obj, argSets[i]); } catch (e) { ++threw; }
                }
            }
        }
        function Init() {
            objects = [game, system, mapviewer, game.loadSpritePCX8bit('s.pcx'),
                       game.loadAnimationPCX8bit('s.pcx', 2, 2, 2, 10),
                       game.loadText('f.ttf', 'x', 12), game.createLine(1, 2, 3),
                       game.createRect(1, 2, 3), game.loadSound('none.wav')];
            objects.forEach(hammer);
        }
        function Frame(dt) {
            objects.slice(3).forEach(hammer);
            if (++frames == 3) {
                system.writeMessage('calls ' + calls + ' threw ' + threw);
                return false;
            }
        }
        function Render() { objects.forEach(hammer); }
    )js"));
    EXPECT_EQ(run.run({}, 120000), 0) << run.rawStderr().toStdString();
    const QStringList messages = run.messages();
    ASSERT_GE(messages.size(), 2) << run.rawStderr().toStdString();
    EXPECT_TRUE(messages.at(messages.size() - 2).startsWith(QStringLiteral("calls ")));
    EXPECT_EQ(messages.last(), stopped);
}

TEST(HostileE2E, ScriptsCannotDeleteOrFakeTheDestructionOfObjects)
{
    HostileRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"js(
        var s, a, frames = 0;
        function emitDestroyed(obj, arg) {
            for (var name in obj)
                if (name.indexOf('destroyed') == 0 && typeof obj[name] == 'function')
                    obj[name](arg);
        }
        function Init() {
            s = game.loadSpritePCX8bit('s.pcx');
            a = game.loadAnimationPCX8bit('s.pcx', 2, 2, 2, 10);
            [game, system, mapviewer, s, a].forEach(function (o) {
                emitDestroyed(o, s);
                emitDestroyed(o, null);
            });
            system.setTimeout('x', 100000);
            system.writeMessage([typeof s.deleteLater, typeof game.deleteLater,
                                 typeof system.findChildren, typeof system.findChild].join(' '));
        }
        function Frame(dt) {
            s.setXY(10, 10);
            a.play();
            if (++frames == 3) {
                system.writeMessage('still here ' + s.getWidth() + ' ' + a.getWidth());
                return false;
            }
        }
        function Render() { s.render(); a.render(); }
    )js"));
    EXPECT_EQ(run.run(), 0) << run.rawStderr().toStdString();
    EXPECT_EQ(run.messages(),
              (QStringList{QStringLiteral("undefined undefined undefined undefined"),
                           QStringLiteral("still here 4 2"), stopped}));
}

TEST(HostileE2E, HugeNumbersForSizesScalesAnglesFramesAndRates)
{
    HostileRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"js(
        var big = 2147483647, small = -2147483648, frames = 0, things = [];
        function Init() {
            var s = game.loadSpritePCX8bit('s.pcx');
            s.setScale(big); s.setScaleY(small); s.setAngle(big); s.setHotSpot(big, small);
            s.setXY(big, small); s.setBordered(true); s.setAlpha(big);
            var a = game.loadAnimationPCX8bit('s.pcx', big, big, 3, big);
            var b = game.loadAnimation('s.pcx', 1, 1e300);
            var c = game.loadAnimationPCX8bit('s.pcx', 2, 2, 4, small, 1);
            var refused = [game.loadAnimation('s.pcx', big, 10),
                           game.loadAnimationPCX8bit('s.pcx', 1, 1, small, 10)];
            a.play(); b.play(); c.playOneTime();
            var t = game.loadText('f.ttf', 'big', big);
            t.setSize(1e300);
            var r = game.createRect(big, small, big);
            r.setLineWidth(big);
            var l = game.createLine(1, 2, 3);
            system.setTimeout('x = 1', big);
            system.setInterval('x = 2', big);
            things = [s, a, b, c, t, r, l];
            system.writeMessage('refused ' + refused.join(' ') + ' plate ' +
                                mapviewer.getPlateY(big) + ' ' +
                                mapviewer.isNeedStop(1e308, -1e308, big, 1e308, false) + ' ' +
                                mapviewer.canJumpTo(Infinity, small));
        }
        function Frame(dt) { return ++frames < 5; }
        function Render() {
            things[0].render();
            things[1].renderTo(big, big);
            things[2].renderTo(small, small);
            things[3].render();
            things[4].printTo(big, small);
            things[5].drawTo(small, small, big, big);
            things[6].drawTo(small, big, big, small);
            mapviewer.render();
            mapviewer.genSpawnPoint(1e308, big);
        }
    )js"));
    EXPECT_EQ(run.run({}, 60000), 0) << run.rawStderr().toStdString();
    const QStringList messages = run.messages();
    ASSERT_EQ(messages.size(), 2) << run.rawStderr().toStdString();
    EXPECT_TRUE(messages.first().startsWith(QStringLiteral("refused none none plate ")));
    EXPECT_EQ(messages.last(), stopped);
}

TEST(HostileE2E, NothingOfTheOldScriptIsReachableAfterASwitch)
{
    HostileRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"js(
        var keep;
        function Init() {
            keep = game.loadSpritePCX8bit('s.pcx');
            system.setInterval("keep.setXY(1, 1); system.writeMessage('old timer')", 0);
            game.goToScript('next', {sprite: keep, list: [keep]});
}
function Frame(dt) {}
function Render()
{
    keep.render();
}
    )js"));
    run.addScript(QStringLiteral("next"), QStringLiteral(R"js(
        var frames = 0;
        function Init(p) {
            var alive = false;
            try { p.sprite.setXY(1, 2); alive = true; } catch (e) {}
            try { p.list[0].render(); alive = true; } catch (e) {}
            system.writeMessage('next ' + typeof keep + ' ' + alive);
        }
        function Frame(dt) { return ++frames < 5; }
        function Render() {}
    )js"));
    EXPECT_EQ(run.run(), 0) << run.rawStderr().toStdString();
    QStringList messages = run.messages();
    const int switchAt = messages.indexOf(QStringLiteral("next undefined false"));
    ASSERT_GE(switchAt, 0) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(messages.mid(switchAt),
              (QStringList{QStringLiteral("next undefined false"), stopped}));
}

TEST(HostileE2E, ThousandsOfTimersMadeInOneFrame)
{
    HostileRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"js(
        var frames = 0, once = 0, every = 0;
        function Init() {}
        function Frame(dt) {
            if (++frames == 1) {
                for (var i = 0; i < 5000; ++i)
                    system.setTimeout('++once', 0);
                for (var i = 0; i < 1000; ++i)
                    system.setInterval('++every', 0);
            }
            if (once == 5000 && every >= 3000) {
                // The loop runs a due timer once per frame, from the frame after.
                system.writeMessage('once ' + once + ' ' + (every <= 1000 * (frames - 1)));
                return false;
            }
        }
        function Render() {}
    )js"));
    EXPECT_EQ(run.run({}, 120000), 0) << run.rawStderr().toStdString();
    EXPECT_EQ(run.messages(), (QStringList{QStringLiteral("once 5000 true"), stopped}));
}

TEST(HostileE2E, TenMegabyteStringsInTextAndSaveFiles)
{
    HostileRun run;
    run.addScript(QStringLiteral("main"), QStringLiteral(R"js(
        var t, frames = 0;
        function Init() {
            var big = new Array(10 * 1024 * 1024 + 1).join('x');
            t = game.loadText('f.ttf', big, 12);
            t.setText(big + '\\n' + big);
            t.setText('short again');
            system.saveObject('big.json', big);
            system.saveObject('bigobj.json', {s: big});
            system.saveObjectToAppData('big.json', [big]);
            system.writeMessage([system.loadObject('big.json').length,
                                 system.loadObject('bigobj.json').s.length,
                                 system.loadObjectFromAppData('big.json')[0].length].join(' '));
        }
        function Frame(dt) { return ++frames < 3; }
        function Render() { t.printTo(10, 10); }
    )js"));
    EXPECT_EQ(run.run({}, 120000), 0) << run.rawStderr().toStdString();
    EXPECT_EQ(run.messages(), (QStringList{QStringLiteral("10485760 10485760 10485760"), stopped}));
}
