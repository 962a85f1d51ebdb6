// Whole frames: background, letterbox, a held failure, and the map.
#include "Scene.h"

using namespace scene;

// After a resize the area keeps its shape between bars in the background colour and the pointer
// is reported in it; in development mode a failure shows over the last frame, bars and all.
TEST(GameRender, ALetterboxedFrameAndTheFailureHeldOverIt)
{
    const struct {
        unsigned w, h;
        int px, py;
        const char* seen;
    } cases[] = {{800, 600, 3, 7, "3,7"},
                 {1600, 600, 0, 0, "-400,0"},
                 {800, 1200, 400, 300, "400,0"},
                 {400, 300, 200, 150, "400,300"}};
    for (const auto& c : cases) {
        sf::Event resized{}, moved{};
        resized.type = sf::Event::Resized;
        resized.size = {c.w, c.h};
        moved.type = sf::Event::MouseMoved;
        moved.mouseMove = {c.px, c.py};
        Scene scene({}, {{resized, moved}}, {c.w, c.h});
        scene.loop.setDevelopmentMode(
            QStringLiteral(LEDGE_SOURCE_PATH "/tests/fixtures/fonts/DejaVuSans.ttf"));
        ASSERT_TRUE(
            scene.start(QStringLiteral("var box, seen, n = 0;"
                                       "function Init() { box = game.createRect(255, 0, 0); "
                                       "game.setBackgroundColor(256, 0, 255); }"
                                       "function Frame() { var p = game.getMousePos(); seen = p.x "
                                       "+ ',' + p.y; if (n++) nothing(); }"
                                       "function Render() { box.drawTo(0, 300, 800, 300); }")));
        // Where a point of the drawing area is in the picture.
        const float k = std::min(c.w / 800.0f, c.h / 600.0f);
        auto at = [&](unsigned x, unsigned y) {
            return sf::Vector2u(unsigned((c.w - 800 * k) / 2 + x * k),
                                unsigned((c.h - 600 * k) / 2 + y * k));
        };
        const sf::Vector2u below = at(100, 450), above = at(100, 150), corner = at(20, 20),
                           bar = at(0, 0) - sf::Vector2u(at(0, 0).x > 0, at(0, 0).y > 0);
        const std::string label = std::to_string(c.w) + "x" + std::to_string(c.h);
        for (const bool failed : {false, true}) {
            const sf::Image frame = scene.frame();
            EXPECT_EQ(scene.loop.failure().isEmpty(), !failed) << label;
            expectPixels(frame,
                         {{below.x, below.y, red}, {above.x, above.y, blue}, {bar.x, bar.y, blue}},
                         label);
            // Light text on a dark panel: the only channel values strictly between 100 and 255.
            const sf::Uint8* pixels = frame.getPixelsPtr();
            EXPECT_EQ(std::any_of(pixels, pixels + 4 * c.w * c.h,
                                  [](int v) { return v > 100 && v < 255; }),
                      failed)
                << label;
            EXPECT_EQ(frame.getPixel(corner.x, corner.y) == blue, !failed) << label;
        }
        EXPECT_EQ(scene.eval(QStringLiteral("seen")), QLatin1String(c.seen)) << label;
    }
}

const sf::Color key(255, 0, 255), grey(128, 128, 128);

// A w x h tile of `colour` whose first pixel is the key colour.
static QByteArray tileImage(int w, int h, const sf::Color& colour)
{
    std::vector<int> data = {0xC1, 0};
    for (int left = w * h - 1; left > 0; left -= 63)
        data.insert(data.end(), {0xC0 + (left < 63 ? left : 63), 1});
    return pcxFile(w - 1, h - 1, data, {key, colour});
}

// Columns 40 wide, rows 30 apart from y = 40, caps 8 wide, cave strips 6 high.
static void addTileSet(Scene& scene)
{
    scene.addFile(QStringLiteral("gnd_mid.pcx"), tileImage(40, 35, red));
    scene.addFile(QStringLiteral("gnd_left.pcx"), tileImage(8, 35, green));
    scene.addFile(QStringLiteral("gnd_rght.pcx"), tileImage(8, 35, blue));
    scene.addFile(QStringLiteral("caveback.pcx"), tileImage(40, 6, yellow));
    scene.addFile(QStringLiteral("gnd_ston.pcx"), tileImage(40, 10, grey));
}

// Each map piece is drawn with its image, see-through at its key pixel but for the cave strips.
TEST(MapScene, EachPieceIsDrawnWithItsImageAfterASwitch)
{
    Scene scene;
    addTileSet(scene);
    scene.addFile(QStringLiteral("level.map"), "3\n3\n.G.\nC..\nC..\n");
    scene.data.addScript(
        QStringLiteral("next"),
        QStringLiteral("function Init() { system.writeMessage(mapviewer.getPlateCount()); }"
                       "function Frame() {} function Render() { mapviewer.render(); }"));
    scene.start(QStringLiteral("system.writeMessage(JSON.stringify(mapviewer.genSpawnPoint(0, 0)));"
                               "mapviewer.loadMapFromFile('level.map'); game.goToScript('next');"),
                QString());
    // clang-format off
    expectPixels(scene.frame(), {{31, 50, black}, {32, 50, green}, {39, 60, green}, {40, 40, black},
                                 {41, 40, red}, {79, 74, red}, {80, 50, blue}, {87, 50, blue}, {88, 50, black},
                                 {10, 72, red}, {10, 76, yellow}, {0, 76, key}, {10, 102, grey}, {10, 143, black}},
                 "map");
    // clang-format on
    // No spawn point before a map; a plate per row of the map.
    EXPECT_EQ(lines(), (QStringList{"{}", "3"}));

    // Without tile images nothing is drawn and the measures are those of 0 x 0.
    Scene bare;
    bare.addFile(QStringLiteral("level.map"), "1\n1\nW\n");
    bare.start(QStringLiteral("mapviewer.loadMapFromFile('level.map');"),
               QStringLiteral("mapviewer.render();"));
    expectPixels(bare.frame(), {{10, 60, black}}, "bare");
    EXPECT_EQ(bare.eval(QStringLiteral("mapviewer.getPlateY(0)")), QStringLiteral("35"));
}

// Batched sprites give the very pixels of single draws, among every other kind of drawing.
TEST(BatchScene, BatchedSpritesGiveThePixelsOfSingleDraws)
{
    // a plays on a 100 x 30 sheet cut in 40 x 30 frames: the last is 20 wide.
    const QString init = QStringLiteral(
        "s = game.loadSprite('q.png'); u = game.loadSprite('q.png'); b = game.loadAnimation("
        "'strip.png', 4, 10); a = game.loadAnimation('strip.png', 40, 30, 3, 10); a.play();"
        "t = game.loadText('sans.ttf', 'Batch', 20); l = game.createLine(255, 255, 0);"
        "r = game.createRect(0, 0, 255, 160); r.setLineWidth(3); r.setBorderColor(255, 0, 0);"
        "c = game.createCircle(0, 255, 0, 140); c.setLineWidth(-2);"
        "mapviewer.loadMapFromFile('level.map');");
    const QString render = QStringLiteral(
        "for (var i = 0; i < 90; ++i) {"
        "  s.setAngle(i * 23); s.setScaleX(30 + i * 7); s.setScaleY(150 - i * 2);"
        "  s.mirrorHorz(i % 2 == 1); s.mirrorVert(i % 3 == 0); s.setAlpha(90 + i * 3);"
        "  s.setHotSpot(i % 7 * 9, i % 5 * 11); s.setSmooth(i < 80);"
        "  s.renderTo(40 + i * 8, 60 + (i * 37) % 480); }"
        "mapviewer.render(); s.renderTo(60, 90); a.setAngle(31); a.renderTo(80, 100);"
        "t.printTo(50, 85); s.renderTo(100, 100); l.drawTo(0, 0, 800, 600); a.renderTo(110, 110);"
        "a.renderTo(120, 115); r.drawTo(100, 90, 50, 40); s.setBordered(true);"
        "s.renderTo(130, 120); s.setBordered(false); c.drawTo(140, 130, 30); s.renderTo(150, 140);"
        "mapviewer.render(); b.renderTo(170, 150);"
        "s.convertPixels(function (p) { return {r: p.g, g: p.b, b: p.r, a: p.a}; });"
        "s.renderTo(340, 310); a.setSmooth(false); a.setScale(150); a.renderTo(400, 350);"
        "u.renderTo(500, 300); game.release(u); s.renderTo(520, 310);");
    sf::Image frames[2];
    for (const bool batched : {false, true}) {
        Scene scene;
        scene.addImage(QStringLiteral("sprites/q.png"), coded(64, 48));
        scene.addImage(QStringLiteral("sprites/strip.png"), coded(100, 30));
        scene.addFont();
        addTileSet(scene);
        scene.addFile(QStringLiteral("level.map"), "6\n4\n......\nGGG..G\n..W.CC\nGWWGCG\n");
        ASSERT_TRUE(scene.start(init, render));
        scene.loop.game()->setBatching(batched);
        frames[batched] = scene.frame();
    }
    const sf::Uint8 *single = frames[0].getPixelsPtr(), *end = single + 4 * 800 * 600;
    EXPECT_EQ(std::mismatch(single, end, frames[1].getPixelsPtr()).first - single, end - single)
        << "the first differing byte";
    EXPECT_LT(std::count(single, end, 0), 3 * 800 * 600 * 3 / 4) << "a quarter is drawn";
}
