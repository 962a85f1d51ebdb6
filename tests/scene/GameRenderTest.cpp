// Whole frames: the background, the letterbox of a resized window, a held
// failure in development mode, and the map drawn and asked by scripts.
#include "Scene.h"
#include "app/WindowFrontend.h"

using namespace scene;

// After a resize the drawing area keeps its shape, centred between bars, and
// the pointer is reported where it is in the drawing area.
TEST(GameRender, AResizedWindowIsLetterboxedAndThePointerFollows)
{
    const struct {
        unsigned w, h;
        int px, py;
        const char* seen;
        unsigned barX, barY;
    } cases[] = {
        {800, 600, 3, 7, "3,7", 0, 0},         {1600, 600, 800, 300, "400,300", 399, 300},
        {1600, 600, 0, 0, "-400,0", 399, 300}, {800, 1200, 400, 300, "400,0", 400, 299},
        {400, 300, 200, 150, "400,300", 0, 0},
    };
    for (const auto& c : cases) {
        sf::Event resized{}, moved{};
        resized.type = sf::Event::Resized;
        resized.size = {c.w, c.h};
        moved.type = sf::Event::MouseMoved;
        moved.mouseMove = {c.px, c.py};
        Scene scene({}, {{resized, moved}}, {c.w, c.h});
        scene.start(QStringLiteral(
            "var box, seen;"
            "function Init() { box = game.createRect(255, 0, 0);"
            "  game.setBackgroundColor(0, 0, 255); }"
            "function Frame() { var p = game.getMousePos(); seen = p.x + ',' + p.y; }"
            "function Render() { box.drawTo(0, 0, 800, 600); }"));
        const sf::Image frame = scene.frame();
        const std::string label = std::to_string(c.w) + "x" + std::to_string(c.h);
        EXPECT_EQ(scene.eval(QStringLiteral("seen")), QLatin1String(c.seen)) << label;
        expectPixels(frame,
                     {{c.w / 2, c.h / 2, red}, {c.barX, c.barY, c.barX || c.barY ? blue : red}},
                     label);
    }
}

// Full screen and back: a click on the drawing area's middle hits it each time.
TEST(GameRender, FullscreenKeepsTheLetterboxAndWindowedComesBack)
{
    TestGame data;
    data.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var n = 0, seen = [];
        function Init() {}
        function Frame() {
            var m = game.getMousePos(), s = game.getWindowSize();
            if (game.isLeftButtonClicked()) seen.push(m.x + ',' + m.y + ' ' + s.width + 'x' + s.height);
            if (n < 2) game.setFullscreen(++n == 1);
        }
        function Render() {}
    )"));
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    sf::Event click{}, middle{}, back{};
    click.type = sf::Event::MouseButtonPressed;
    middle.type = back.type = sf::Event::MouseMoved;
    middle.mouseMove = {int(desktop.width / 2), int(desktop.height / 2)};
    back.mouseMove = {400, 300};
    ScriptedEvents events({{}, {middle, click}, {back, click}});
    sf::RenderWindow window(sf::VideoMode(800, 600), "fullscreen");
    ExtProc requests(&window);
    WindowFrontend target(window);
    FixedStepClock clock(0.25f);
    FrameLoop loop(
        [&](const QString& name) {
            GameOwner game(new Game(scriptPath(name)));
            game->setWindowRequests(&requests);
            return game;
        },
        clock, events, target);
    ASSERT_TRUE(loop.start({}));
    for (int i = 0; i < 3; ++i)
        loop.step();
    EXPECT_EQ(
        loop.game()->scriptEngine()->evaluate(QStringLiteral("seen.join(' ')")).toString(),
        QStringLiteral("400,300 %1x%2 400,300 800x600").arg(desktop.width).arg(desktop.height));
}

// Each frame is cleared with the background colour before Render; in
// development mode a failure is shown over the last frame drawn.
TEST(GameRender, DevelopmentModeShowsAFailureOverTheLastFrame)
{
    Scene scene;
    scene.texture.clear(red);
    scene.loop.setDevelopmentMode(
        QStringLiteral(LEDGE_SOURCE_PATH "/tests/fixtures/fonts/DejaVuSans.ttf"));
    ASSERT_TRUE(scene.start(QStringLiteral(R"(
        var box, n = 0;
        function Init() { game.setBackgroundColor(256, 200, 0); box = game.createRect(0, 0, 255); }
        function Frame() { if (n++) nothing(); }
        function Render() { box.drawTo(780, 580, 20, 20); }
    )")));
    for (bool failed : {false, true}) {
        const sf::Image frame = scene.frame();
        EXPECT_EQ(scene.loop.failure().isEmpty(), !failed);
        // The frame all around, the right way up; then text on a dark panel.
        expectPixels(frame, {{400, 500, sf::Color(0, 200, 0)}, {790, 590, blue}}, "frame");
        EXPECT_EQ(anyPixelIn(frame, 0, 10, 199, 30, white), failed);
        EXPECT_EQ(frame.getPixel(8, 8).g == 200, !failed);
    }
}

namespace {

const sf::Color key(255, 0, 255), grey(128, 128, 128);

// A w x h tile of `colour` whose first pixel is the key colour.
QByteArray tileImage(int w, int h, const sf::Color& colour)
{
    std::vector<int> data = {0xC1, 0};
    for (int left = w * h - 1; left > 0; left -= 63)
        data.insert(data.end(), {0xC0 + (left < 63 ? left : 63), 1});
    return pcxFile(w - 1, h - 1, data, {key, colour});
}

// Columns 40 wide, rows 30 apart from y = 40, caps 8 wide, cave strips 6 high.
void addTileSet(Scene& scene)
{
    scene.addFile(QStringLiteral("gnd_mid.pcx"), tileImage(40, 35, red));
    scene.addFile(QStringLiteral("gnd_left.pcx"), tileImage(8, 35, green));
    scene.addFile(QStringLiteral("gnd_rght.pcx"), tileImage(8, 35, blue));
    scene.addFile(QStringLiteral("caveback.pcx"), tileImage(40, 6, yellow));
    scene.addFile(QStringLiteral("gnd_ston.pcx"), tileImage(40, 10, grey));
}

} // namespace

// Where each piece goes is the map's own rule (a core table); here each
// piece's image is drawn there, see-through at its key pixel but for the
// cave strips.
TEST(MapScene, EachPieceIsDrawnWithItsImage)
{
    const struct {
        const char* map;
        std::vector<Probe> probes;
    } cases[] = {
        {"3\n1\n.G.\n",
         {{31, 50, black},
          {32, 50, green},
          {39, 74, green},
          {40, 40, black},
          {41, 40, red},
          {79, 74, red},
          {80, 50, blue},
          {87, 50, blue},
          {88, 50, black}}},
        {"1\n3\n.\nC\nC\n",
         {{10, 72, red}, {10, 76, yellow}, {0, 76, key}, {10, 102, grey}, {10, 143, black}}},
    };
    for (const auto& c : cases) {
        Scene scene;
        addTileSet(scene);
        scene.addFile(QStringLiteral("level.map"), c.map);
        scene.start(QStringLiteral("mapviewer.loadMapFromFile('level.map');"),
                    QStringLiteral("mapviewer.render();"));
        expectPixels(scene.frame(), c.probes, c.map);
    }
    // Without tile images nothing is drawn and the measures are those of 0 x 0.
    Scene bare;
    bare.addFile(QStringLiteral("level.map"), "1\n1\nW\n");
    bare.start(QStringLiteral("mapviewer.loadMapFromFile('level.map');"),
               QStringLiteral("mapviewer.render();"));
    expectPixels(bare.frame(), {{10, 60, black}}, "bare");
    EXPECT_EQ(bare.eval(QStringLiteral("mapviewer.getPlateY(0)")), QStringLiteral("35"));
}

// The one map outlives a script switch and answers the next script.
TEST(MapScene, TheMapAnswersTheScriptAfterASwitch)
{
    Scene scene;
    addTileSet(scene);
    scene.addFile(QStringLiteral("level.map"), "6\n3\n......\nGGG..G\n..W.CC\n");
    scene.data.addScript(QStringLiteral("next"), QStringLiteral(R"(
        function Init() {
            // Plate 0 has floor in columns 0-2; (20, 0) lies two columns from the player.
            var near = 0, seen = {};
            for (var i = 0; i < 300; i++) {
                var p = mapviewer.genSpawnPoint(100, 0);
                near += p.y === 0 && Math.abs(p.x - 100) < 80;
                seen[p.x + ',' + p.y] = 1;
            }
            system.writeMessage([mapviewer.getPlateCount(), mapviewer.getPlateY(0),
                mapviewer.isNeedStop(110, 120, 0, 5, false), mapviewer.isNeedStop(110, 120, 0, 5, true),
                mapviewer.canJumpTo(100, 1), mapviewer.canJumpTo(80, 1), near,
                Object.keys(seen).length].join());
        }
        function Frame() {}
        function Render() { mapviewer.render(); }
    )"));
    scene.start(QStringLiteral("system.writeMessage(JSON.stringify(mapviewer.genSpawnPoint(0, 0)));"
                               "mapviewer.loadMapFromFile('level.map'); game.goToScript('next');"),
                QString());
    expectPixels(scene.frame(), {{10, 80, red}, {125, 80, blue}, {10, 20, black}}, "next");
    EXPECT_EQ(lines(), (QStringList{"{}", "3,76,true,false,true,false,0,10"}));
}

// Sprites drawn in batches give the very pixels of sprites drawn one by one,
// among every other kind of drawing.
TEST(BatchScene, BatchedSpritesGiveThePixelsOfSingleDraws)
{
    // a plays on a 100 x 30 sheet cut in 40 x 30 frames: the last is 20 wide.
    const char* const objects =
        "s = game.loadSprite('q.png'); u = game.loadSprite('q.png');"
        "a = game.loadAnimation('strip.png', 40, 30, 3, 10); a.play();"
        "b = game.loadAnimation('strip.png', 4, 10); t = game.loadText('sans.ttf', 'Batch', 20);"
        "l = game.createLine(255, 255, 0); r = game.createRect(0, 0, 255, 160);"
        "r.setLineWidth(3); r.setBorderColor(255, 0, 0); c = game.createCircle(0, 255, 0, 140);"
        "c.setLineWidth(-2); mapviewer.loadMapFromFile('level.map');"
        "r.drawTo(0, 0, 800, 600); l.drawTo(0, 20, 800, 20);"; // no target yet: nothing drawn
    const struct {
        const char* label;
        const char* render;
        std::vector<Probe> probes;
    } scenes[] = {
        {"one texture, every transform, overlapping translucently",
         "for (var i = 0; i < 90; ++i) {"
         "  s.setAngle(i * 23); s.setScaleX(30 + i * 7); s.setScaleY(150 - i * 2);"
         "  s.mirrorHorz(i % 2 == 1); s.mirrorVert(i % 3 == 0); s.setAlpha(90 + i * 3);"
         "  s.setHotSpot(i % 7 * 9, i % 5 * 11); if (i == 80) s.setSmooth(false);"
         "  s.renderTo(40 + i * 8, 60 + (i * 37) % 480); }",
         {}},
        {"sprites between text, lines, rects, outlines, circles and the map, and textures "
         "that change or go between draws",
         "mapviewer.render(); s.renderTo(60, 90); a.setAngle(31); a.renderTo(80, 100);"
         "t.printTo(50, 85); s.renderTo(100, 100); l.drawTo(0, 0, 800, 600); a.renderTo(110, 110);"
         "a.renderTo(120, 115); r.drawTo(100, 90, 50, 40); s.setBordered(true);"
         "s.setAngle(30); s.renderTo(130, 120); s.setBordered(false); c.drawTo(140, 130, 30);"
         "s.renderTo(150, 140); mapviewer.render(); b.renderTo(170, 150); t.printTo(160, 150);"
         "s.renderTo(300, 300); s.setSmooth(false); s.setAngle(33); s.renderTo(320, 300);"
         "s.convertPixels(function (p) { return {r: p.g, g: p.b, b: p.r, a: p.a}; });"
         "s.renderTo(340, 310); a.setSmooth(false); a.setScale(150); a.renderTo(400, 350);"
         "u.renderTo(500, 300); game.release(u); s.renderTo(520, 310);",
         {{220, 80, red}, {220, 20, black}}}, // the map's ground in row 1, the band above
    };
    for (const auto& c : scenes) {
        sf::Image frames[2];
        for (const bool batched : {true, false}) {
            Scene scene;
            scene.addImage(QStringLiteral("sprites/q.png"), coded(64, 48));
            scene.addImage(QStringLiteral("sprites/strip.png"), coded(100, 30));
            scene.addFile(QStringLiteral("fonts/sans.ttf"),
                          sourceFile(QStringLiteral("tests/fixtures/fonts/DejaVuSans.ttf")));
            addTileSet(scene);
            scene.addFile(QStringLiteral("level.map"), "6\n4\n......\nGGG..G\n..W.CC\nGWWGCG\n");
            ASSERT_TRUE(scene.start(QLatin1String(objects), QLatin1String(c.render)));
            scene.loop.game()->setBatching(batched);
            frames[batched] = scene.frame();
        }
        int differing = 0, drawn = 0;
        for (unsigned y = 0; y < 600; ++y)
            for (unsigned x = 0; x < 800; ++x) {
                drawn += frames[0].getPixel(x, y) != black;
                differing += frames[1].getPixel(x, y) != frames[0].getPixel(x, y);
            }
        EXPECT_EQ(differing, 0) << c.label;
        EXPECT_GT(drawn, 2000) << c.label;
        expectPixels(frames[0], c.probes, c.label);
    }
}
