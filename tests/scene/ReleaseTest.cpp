// Objects a script gives back while it runs.
#include "Scene.h"

using namespace scene;

// Released, an object draws nothing, and every call on it, drawing or not,
// does nothing but say so once.
TEST(Release, ReleasedObjectsDrawNothingAndIgnoreCalls)
{
    const struct {
        const char* make;
        const char* calls;
    } cases[] = {
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
    for (const auto& c : cases) {
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
                .arg(QLatin1String(c.make), QLatin1String(c.calls)));
        EXPECT_FALSE(anyPixelIn(scene.frame(), 0, 0, 799, 599, red)) << c.make;
        EXPECT_EQ(scene.eval(QStringLiteral("m")), QStringLiteral("0")) << c.make;
        EXPECT_EQ(lines().size(), 1) << c.make << lines().join('\n').toStdString();
    }
}
