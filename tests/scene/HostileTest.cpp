// Damaged assets and scripts misusing the API, released objects too: nothing crashes or hangs.
#include "Scene.h"
#include "core/RegularFile.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace scene;

// A regression input of the fuzz corpora: target/name.
static QByteArray corpus(const char* file)
{
    return readFile(QStringLiteral(LEDGE_FUZZ_CORPUS "/") + QLatin1String(file));
}

// Each damaged asset gives an object that shows or plays nothing, promptly, and one line naming it.
TEST(HostileAssets, GiveEmptyObjectsPromptlyWithOneLineEach)
{
    struct Case {
        const char* path;
        QByteArray bytes; // empty: a directory; "fifo": a named pipe; "sparse": one byte too many
        const char* load;
        bool reported;
    };
    // clang-format off
    const Case cases[] = {
        {"sprites/dir.png", {}, "game.loadSprite('dir.png')", true},
        {"sprites/pipe.png", "fifo", "game.loadSprite('pipe.png')", true},
        {"sprites/huge.pcx", QByteArray(8, 0) + QByteArray(4, '\xff') + QByteArray(116, 0), "game.loadAnimationPCX8bit('huge.pcx', 1, 5)", true},
        {"sprites/huge.png", "sparse", "game.loadAnimationFromFiles(['huge.png'], 5)", true},
        {"sprites/wide.png", corpus("image/png-16000x16000"), "game.loadSprite('wide.png')", true},
        {"sprites/hdr.png", corpus("image/hdr-zero-run-at-end.png"), "game.loadAnimation('hdr.png', 1, 5)", true},
        {"sounds/flt.wav", corpus("sound/wav-flt-instead-of-fmt"), "game.loadMusic('flt.wav')", true},
        {"sounds/long.flac", corpus("sound/flac-2pow36-samples"), "game.loadSound('long.flac')", false},
        {"sounds/granule.ogg", corpus("sound/ogg-last-granule-7fff"), "game.loadMusic('granule.ogg')", false},
        // 16 font units per em: every glyph comes out 64 times too large.
        {"fonts/tall.ttf", corpus("font/ttf-units-per-em-16"), "game.loadText('tall.ttf', 'e', 250)", true},
    };
    // clang-format on
    Scene scene;
    QString loads;
    for (const Case& c : cases) {
        const QString path = scene.data.dataDir() + QLatin1Char('/') + QLatin1String(c.path);
        QDir().mkpath(c.bytes.isEmpty() ? path : QFileInfo(path).path());
        if (c.bytes == "fifo")
            ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (!c.bytes.isEmpty())
            scene.addFile(QLatin1String(c.path), c.bytes == "sparse" ? QByteArray() : c.bytes);
        EXPECT_TRUE(c.bytes != "sparse" || QFile::resize(path, fileLimits::assetBytes + 1));
        loads += QLatin1String(c.load) + QLatin1Char(',');
    }
    ASSERT_TRUE(
        scene.start(QStringLiteral("var all; function Init() { all = [") + loads +
                    QStringLiteral("]; } function Frame() {}"
                                   "function Render() { all.forEach(function (x) {"
                                   "  if (x.render) x.render(); if (x.printTo) x.printTo(0, 0);"
                                   "  if (x.play) x.play(); }); }")));
    const sf::Image frame = scene.frame();
    for (unsigned y = 0; y < 600; y += 3)
        for (unsigned x = 0; x < 800; x += 3)
            ASSERT_EQ(frame.getPixel(x, y), black) << x << "," << y;
    int reported = 0;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        reported += cases[i].reported;
        EXPECT_EQ(lines().filter(QLatin1String(cases[i].path)).size(), int(cases[i].reported))
            << cases[i].path;
        EXPECT_EQ(scene.eval(QStringLiteral("all[%1].getWidth ? all[%1].getWidth() : 0").arg(i)),
                  QStringLiteral("0"))
            << cases[i].path;
    }
    EXPECT_EQ(lines().size(), reported) << lines().join('\n').toStdString();
}

// Scripts end as the rules say, with the messages the pattern gives.
TEST(HostileScripts, EndAsTheRulesSayAndNeverCrash)
{
    // Each script and a pattern for all its debug lines, one after the other.
    const std::pair<const char*, const char*> cases[] = {
        // Unbounded recursion: the error, its place and at most a screenful of calls.
        {"function f(n) { return f(n + 1) + 1; } function Frame(dt) { f(0); }",
         "ОШИБКА функции Frame\\(0\\.25\\): RangeError[^\\n]*(\\n[^\\n]*){1,22}"},
        // Every slot of every object with odd arguments; the skipped end the run or flood output.
        {R"js(var calls = 0, threw = 0, frames = 0, objects, argSets = [[], [1, 2, 3, 4, 5, 6, 7, 8, 9],
              [{}, [], null, undefined, 'x', NaN], [Infinity, -Infinity, 1e308, -1e308, 2147483648, -2147483649],
              ['s.pcx', '1', '-1', true, false, function () {}]];
            var skip = {goToScript: 1, writeMessage: 1, sendLog: 1, sendTitle: 1, writePair: 1};
            function hammer(obj) {
                for (var name in obj)
                    if (typeof obj[name] == 'function' && !skip[name.split('(')[0]])
                        argSets.forEach(function (args) {
                            try { ++calls; obj[name].apply(obj, args); } catch (e) { ++threw; } });
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
                s = game.loadSpritePCX8bit('s.pcx'); a = game.loadAnimationPCX8bit('s.pcx', 2, 2, 2, 10);
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
    for (const auto& [script, wanted] : cases) {
        Scene scene;
        scene.addFile(QStringLiteral("sprites/s.pcx"), pcxFile(3, 3, {0xD0, 1}, {black, blue}));
        scene.addFont(QStringLiteral("fonts/f.ttf"));
        scene.data.addScript(QStringLiteral("next"), QStringLiteral(R"js(var frames = 0;
            function Init(p) {
                var alive = [function () { p.sprite.setXY(1, 2); }, function () { p.list[0].render(); }]
                    .some(function (f) { try { f(); return true; } catch (e) { return false; } });
                system.writeMessage('next ' + typeof keep + ' ' + alive);
            }
            function Frame(dt) { return ++frames < 5; } function Render() {})js"));
        ASSERT_TRUE(scene.start(QStringLiteral("function Init() {} function Frame() {}"
                                               "function Render() {}\n") +
                                QLatin1String(script)));
        std::optional<int> code;
        for (int i = 0; i < 100 && !code; ++i)
            code = scene.loop.step();
        EXPECT_EQ(code, 0) << script;
        const QString all = lines().join(QLatin1Char('\n'));
        const QRegularExpression pattern(QStringLiteral("^(?:%1)$").arg(QString::fromUtf8(wanted)),
                                         QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(pattern.match(all).hasMatch()) << all.left(2000).toStdString();
    }
    qunsetenv("XDG_DATA_HOME");
}

// A released object draws nothing; every call on it does nothing but say so once.
TEST(Release, ReleasedObjectsDrawNothingAndIgnoreCalls)
{
    // What makes the object `o`, and the calls made on it.
    const std::pair<const char*, const char*> cases[] = {
        {"game.loadSprite('red.png')",
         "o.renderTo(400, 300); m = o.getWidth() + o.isPointIn(9, 9);"},
        {"game.loadAnimation('red.png', 1, 1)",
         "o.renderTo(400, 300); o.play(); m = +o.isPlayed();"},
        {"game.loadText('sans.ttf', 'HHHH', 500)", "o.printTo(0, 0); m = o.getWidth();"},
        {"game.createRect(255, 0, 0)", "o.drawTo(0, 0, 800, 600);"},
        {"game.createCircle(255, 0, 0)", "o.drawTo(400, 300, 500);"},
        {"game.createLine(255, 0, 0)", "for (var y = 0; y < 600; ++y) o.drawTo(0, y, 800, y);"},
        // Released by its own conversion: freed once the conversion is done.
        {"a = game.loadAnimation('dot.png', 1, 1); a.convertPixels('drop'); a",
         "o.renderTo(400, 300);"},
        {"game.loadSound('hit.wav')", "o.play(); m = +o.isPlayed();"},
        {"game.loadMusic('hit.wav')", "o.play(); m = +o.isPlayed();"},
    };
    for (const auto& [make, calls] : cases) {
        Scene scene;
        scene.addImage(QStringLiteral("sprites/red.png"), solid(800, 600, red));
        scene.addImage(QStringLiteral("sprites/dot.png"), solid(2, 2, red));
        scene.addFont();
        scene.addFile(QStringLiteral("sounds/hit.wav"), sourceFile("data/sounds/hit.wav"));
        scene.start(
            QStringLiteral("var o, a, m = 0; function drop(p) { game.release(a); return p; }"
                           "function Init() { o = %1;"
                           "game.release(o); game.release(o); game.release(game); }"
                           "function Frame() {} function Render() { %2 %2 }")
                .arg(QLatin1String(make), QLatin1String(calls)));
        EXPECT_FALSE(anyPixelIn(scene.frame(), 0, 0, 799, 599, red)) << make;
        EXPECT_EQ(scene.eval(QStringLiteral("m")), QStringLiteral("0")) << make;
        EXPECT_EQ(lines().size(), 1) << make << lines().join('\n').toStdString();
    }
}
