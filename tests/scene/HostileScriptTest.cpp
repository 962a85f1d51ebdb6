// Scripts that misuse the API on purpose, run by the frame loop as the
// program runs them: each ends as the rules say, with the messages the
// pattern gives, and never crashes.
#include "Scene.h"

#include <QRegularExpression>
#include <QTemporaryDir>

using namespace scene;

TEST(HostileScripts, EndAsTheRulesSayAndNeverCrash)
{
    const struct {
        const char* script;
        const char* lines; // a pattern for all debug lines, one after the other
    } cases[] = {
        // Unbounded recursion: the error, its place and at most a screenful of calls.
        {"function f(n) { return f(n + 1) + 1; } function Frame(dt) { f(0); }",
         "ОШИБКА функции Frame\\(0\\.25\\): RangeError[^\\n]*(\\n[^\\n]*){1,22}"},
        // Every slot of every object, with missing, extra and wrong arguments;
        // the switch and the messages only end the run or flood the output.
        {R"js(var calls = 0, threw = 0, frames = 0, objects, argSets = [[], [1, 2, 3, 4, 5, 6, 7, 8, 9],
              [{}, [], null, undefined, 'x', NaN], [Infinity, -Infinity, 1e308, -1e308, 2147483648, -2147483649],
              ['s.pcx', '1', '-1', true, false, function () {}]];
            var skip = {goToScript: 1, writeMessage: 1, sendLog: 1, sendTitle: 1, writePair: 1};
            function hammer(obj) {
                for (var name in obj)
                    if (typeof obj[name] == 'function' && !skip[name.split('(')[0]])
                        argSets.forEach(function (args) {
                            ++calls;
                            try { obj[name].apply(obj, args); } catch (e) { ++threw; }
                        });
            }
            function Init() {
                objects = [game, system, mapviewer, game.loadSpritePCX8bit('s.pcx'),
                           game.loadAnimationPCX8bit('s.pcx', 2, 2, 2, 10), game.loadText('f.ttf', 'x', 12),
                           game.createLine(1, 2, 3), game.createRect(1, 2, 3), game.loadSound('none.wav')];
                objects.forEach(hammer);
            }
            function Frame(dt) {
                objects.slice(3).forEach(hammer);
                if (++frames == 3) system.writeMessage('calls ' + calls + ' threw ' + threw);
                return frames < 3;
            }
            function Render() { objects.forEach(hammer); })js",
         "(.*\\n)?calls \\d+ threw \\d+\\nИгра остановлена"},
        // Scripts can neither delete the objects nor fake their destruction.
        {R"js(var s, a, frames = 0;
            function emitDestroyed(obj, arg) {
                for (var name in obj)
                    if (name.indexOf('destroyed') == 0 && typeof obj[name] == 'function') obj[name](arg);
            }
            function Init() {
                s = game.loadSpritePCX8bit('s.pcx');
                a = game.loadAnimationPCX8bit('s.pcx', 2, 2, 2, 10);
                [game, system, mapviewer, s, a].forEach(function (o) { emitDestroyed(o, s); emitDestroyed(o, null); });
                system.setTimeout('x', 100000);
                system.writeMessage([typeof s.deleteLater, typeof game.deleteLater,
                                     typeof system.findChildren, typeof system.findChild].join(' '));
            }
            function Frame(dt) { if (++frames == 3) return s.getWidth() + a.getWidth() != 6; }
            function Render() { s.setXY(10, 10); a.play(); s.render(); a.render(); })js",
         "undefined undefined undefined undefined\nИгра остановлена"},
        // Nothing of the old script is reachable after a switch.
        {R"js(var keep;
            function Init() {
                keep = game.loadSpritePCX8bit('s.pcx');
                system.setInterval("keep.setXY(1, 1); system.writeMessage('old timer')", 0);
                game.goToScript('next', {sprite: keep, list: [keep]});
            }
            function Render() { keep.render(); })js",
         "(old timer\\n)*next undefined false\\nИгра остановлена"},
    };
    QTemporaryDir appData;
    qputenv("XDG_DATA_HOME", QFile::encodeName(appData.path()));
    for (const auto& c : cases) {
        Scene scene;
        scene.addFile(QStringLiteral("sprites/s.pcx"), pcxFile(3, 3, {0xD0, 1}, {black, blue}));
        scene.addFont(QStringLiteral("fonts/f.ttf"));
        scene.data.addScript(QStringLiteral("next"), QStringLiteral(R"js(var frames = 0;
            function Init(p) {
                var alive = false;
                try { p.sprite.setXY(1, 2); alive = true; } catch (e) {}
                try { p.list[0].render(); alive = true; } catch (e) {}
                system.writeMessage('next ' + typeof keep + ' ' + alive);
            }
            function Frame(dt) { return ++frames < 5; }
            function Render() {})js"));
        ASSERT_TRUE(scene.start(QStringLiteral("function Init() {} function Frame() {}"
                                               "function Render() {}\n") +
                                QLatin1String(c.script)));
        std::optional<int> code;
        for (int i = 0; i < 100 && !code; ++i)
            code = scene.loop.step();
        EXPECT_EQ(code, 0) << c.script;
        const QString all = lines().join(QLatin1Char('\n'));
        const QRegularExpression pattern(QStringLiteral("^(?:%1)$").arg(QString::fromUtf8(c.lines)),
                                         QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(pattern.match(all).hasMatch()) << all.left(2000).toStdString();
    }
    qunsetenv("XDG_DATA_HOME");
}
