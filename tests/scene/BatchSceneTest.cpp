// Sprites drawn in batches must give the very pixels of sprites drawn one
// by one, among every other kind of drawing.
#include "DataFiles.h"
#include "MapSceneSupport.h"
#include "app/CreateGame.h"
#include "app/ExtProc.h"
#include "runtime/MapViewer.h"

using namespace spritescene;

namespace {

// a plays on a 100 x 30 sheet cut in 40 x 30 frames: the last is 20 wide.
const char* const objects =
    "s = game.loadSprite('q.png'); u = game.loadSprite('q.png');"
    "a = game.loadAnimation('strip.png', 40, 30, 3, 10); a.play();"
    "b = game.loadAnimation('strip.png', 4, 10); t = game.loadText('sans.ttf', 'Batch', 20);"
    "l = game.createLine(255, 255, 0); r = game.createRect(0, 0, 255, 160);"
    "r.setLineWidth(3); r.setBorderColor(255, 0, 0); c = game.createCircle(0, 255, 0, 140);"
    "c.setLineWidth(-2); mapviewer.loadMapFromFile('level.map');"
    "r.drawTo(0, 0, 800, 600); l.drawTo(0, 20, 800, 20);"; // no target yet: nothing drawn

// The map is bound to the game as in the program.
sf::Image drawScene(const QByteArray& font, const QString& render, bool batched)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/q.png"), coded(64, 48));
    writeImage(test, QStringLiteral("sprites/strip.png"), coded(100, 30));
    test.addFile(QStringLiteral("fonts/sans.ttf"), font);
    mapscene::writeTileSet(test);
    test.addFile(QStringLiteral("level.map"), "6\n4\n......\nGGG..G\n..W.CC\nGWWGCG\n");
    sf::RenderTexture canvas;
    EXPECT_TRUE(canvas.create(800, 600));
    MapViewer viewer(&canvas);
    ExtProc sink(nullptr);
    test.addScript(QStringLiteral("main"), script(QLatin1String(objects), render));
    GameOwner game = createGame(QStringLiteral("main"), &viewer, &sink);
    game->setBatching(batched);
    EXPECT_TRUE(game->callInit(QStringLiteral("{}")));
    EXPECT_TRUE(game->callFrame(0.25));
    EXPECT_TRUE(game->callRender(&canvas));
    canvas.display();
    return canvas.getTexture().copyToImage();
}

} // namespace

TEST(BatchScene, BatchedSpritesGiveThePixelsOfSingleDraws)
{
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
    const QByteArray font = sourceFile(QStringLiteral("tests/fixtures/fonts/DejaVuSans.ttf"));
    for (const auto& scene : scenes) {
        const sf::Image batched = drawScene(font, QLatin1String(scene.render), true);
        const sf::Image single = drawScene(font, QLatin1String(scene.render), false);
        int differing = 0, drawn = 0;
        for (unsigned y = 0; y < 600; ++y)
            for (unsigned x = 0; x < 800; ++x) {
                drawn += single.getPixel(x, y) != black;
                differing += batched.getPixel(x, y) != single.getPixel(x, y);
            }
        EXPECT_EQ(differing, 0) << scene.label;
        EXPECT_GT(drawn, 2000) << scene.label;
        expectPixels(single, scene.probes, scene.label);
    }
}
