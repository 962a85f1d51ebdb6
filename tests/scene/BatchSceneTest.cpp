// Sprites drawn in batches must give the very pixels of sprites drawn one
// by one, among every other kind of drawing.
#include "DataFiles.h"
#include "MapSceneSupport.h"
#include "runtime/MapViewer.h"

using namespace spritescene;

namespace {

// Pixel (x, y) differs from each of its neighbours, so a texel off shows.
sf::Image busy(unsigned w, unsigned h)
{
    sf::Image image;
    image.create(w, h);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x)
            image.setPixel(x, y, sf::Color(sf::Uint8(x * 37), sf::Uint8(y * 53), 200, 255));
    return image;
}

// a plays on a 100 x 30 sheet cut in 40 x 30 frames: the last is 20 wide.
const char* const objects =
    "s = game.loadSprite('busy.png'); u = game.loadSprite('busy.png');"
    "a = game.loadAnimation('strip.png', 40, 30, 3, 10); a.play();"
    "b = game.loadAnimation('strip.png', 4, 10); t = game.loadText('sans.ttf', 'Batch', 20);"
    "l = game.createLine(255, 255, 0); r = game.createRect(0, 0, 255, 160);"
    "r.setLineWidth(3); r.setBorderColor(255, 0, 0); c = game.createCircle(0, 255, 0, 140);"
    "c.setLineWidth(-2); mapviewer.loadMapFromFile('level.map');";

sf::Image drawScene(const QByteArray& font, const QString& render, bool batched)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/busy.png"), busy(64, 48));
    writeImage(test, QStringLiteral("sprites/strip.png"), busy(100, 30));
    test.addFile(QStringLiteral("fonts/sans.ttf"), font);
    mapscene::writeTileSet(test);
    test.addFile(QStringLiteral("level.map"), "6\n4\n......\nGGG..G\n..W.CC\nGWWGCG\n");
    sf::RenderTexture canvas;
    EXPECT_TRUE(canvas.create(800, 600));
    MapViewer viewer(&canvas);
    test.addScript(QStringLiteral("main"), QStringLiteral("var s, u, a, b, t, l, r, c;") +
                                               script(QLatin1String(objects), render));
    Game& game = test.load();
    viewer.setEngine(game.scriptEngine());
    viewer.drawWith(&game);
    game.registerObject(QStringLiteral("mapviewer"), &viewer);
    game.setBatching(batched);
    EXPECT_TRUE(game.callInit(QStringLiteral("{}")));
    EXPECT_TRUE(game.callFrame(0.25));
    EXPECT_TRUE(game.callRender(&canvas));
    EXPECT_TRUE(test.logs.isEmpty()) << test.logs.join('\n').toStdString();
    canvas.display();
    return canvas.getTexture().copyToImage();
}

} // namespace

TEST(BatchScene, BatchedSpritesGiveThePixelsOfSingleDraws)
{
    const struct {
        const char* label;
        const char* render;
    } scenes[] = {
        {"one texture, every transform, overlapping translucently",
         "for (var i = 0; i < 60; ++i) {"
         "  s.setAngle(i * 23); s.setScaleX(30 + i * 7); s.setScaleY(150 - i * 2);"
         "  s.mirrorHorz(i % 2 == 1); s.mirrorVert(i % 3 == 0); s.setAlpha(90 + i * 3);"
         "  s.setHotSpot(i % 7 * 9, i % 5 * 11); if (i == 30) s.setSmooth(false);"
         "  s.renderTo(40 + i * 12, 60 + (i * 37) % 480); }"},
        {"animation frames and sprites taking turns",
         "for (var i = 0; i < 18; ++i) {"
         "  a.setAngle(i * 31); a.renderTo(40 * i, 200); b.mirrorVert(i % 2 == 0);"
         "  b.renderTo(40 * i + 10, 230); b.renderTo(40 * i + 20, 240);"
         "  s.setScale(70); s.renderTo(40 * i, 260); }"},
        {"sprites between text, lines, rects, outlines, circles and the map",
         "mapviewer.render(); s.renderTo(60, 90); a.renderTo(80, 100); t.printTo(50, 85);"
         "s.renderTo(100, 100); l.drawTo(0, 0, 800, 600); a.renderTo(110, 110);"
         "a.renderTo(120, 115); r.drawTo(100, 90, 50, 40); s.setBordered(true);"
         "s.setAngle(30); s.renderTo(130, 120); s.setBordered(false); c.drawTo(140, 130, 30);"
         "s.renderTo(150, 140); mapviewer.render(); b.renderTo(170, 150); t.printTo(160, 150);"},
        {"textures that change or go between draws",
         "s.renderTo(100, 100); s.setSmooth(false); s.setAngle(33); s.renderTo(120, 100);"
         "s.convertPixels(function (p) { return {r: p.g, g: p.b, b: p.r, a: p.a}; });"
         "s.renderTo(140, 110); a.setSmooth(false); a.setScale(150); a.renderTo(200, 150);"
         "u.renderTo(300, 300); game.release(u); s.renderTo(320, 310);"},
    };
    const QByteArray font = sourceFile(QStringLiteral("tests/fixtures/fonts/DejaVuSans.ttf"));
    for (const auto& scene : scenes) {
        const QString render = QString::fromLatin1(scene.render);
        const sf::Image batched = drawScene(font, render, true);
        const sf::Image single = drawScene(font, render, false);
        int differing = 0, drawn = 0;
        std::string first;
        for (unsigned y = 0; y < 600; ++y)
            for (unsigned x = 0; x < 800; ++x) {
                drawn += single.getPixel(x, y) != black;
                if (batched.getPixel(x, y) == single.getPixel(x, y) || differing++)
                    continue;
                first = "(" + std::to_string(x) + ", " + std::to_string(y) +
                        "): " + describe(batched.getPixel(x, y)) + " instead of " +
                        describe(single.getPixel(x, y));
            }
        EXPECT_EQ(differing, 0) << scene.label << ", first at " << first;
        EXPECT_GT(drawn, 2000) << scene.label;
    }
}
