// Objects a script gives back while it runs.
#include "ResidentMemory.h"
#include "Scene.h"

using namespace scene;

namespace {

// A red picture of the given size, a dot, a font and a sound.
void addAssets(Scene& scene, unsigned w = 800, unsigned h = 600)
{
    scene.addImage(QStringLiteral("sprites/red.png"), solid(w, h, red));
    scene.addImage(QStringLiteral("sprites/dot.png"), solid(2, 2, red));
    scene.addFont();
    scene.addFile(QStringLiteral("sounds/hit.wav"),
                  sourceFile(QStringLiteral("data/sounds/hit.wav")));
}

} // namespace

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
        addAssets(scene);
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

// A game that makes and gives back objects all the time stays the same size.
TEST(Release, MemoryStaysFlatOverManyCycles)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer holds on to freed memory";
#endif
    Scene scene;
    addAssets(scene, 64, 64);
    scene.start(QStringLiteral(R"(
        var makers = [function() { return game.loadSprite('red.png'); },
                      function() { return game.loadText('sans.ttf', 'HUD', 20); },
                      function() { return game.createRect(1, 2, 3); },
                      function() { return game.createCircle(1, 2, 3, 4); },
                      function() { return game.loadSound('hit.wav'); }];
        function cycles(n) {
            for (var i = 0; i < n; ++i) {
                var o = makers[i % makers.length]();
                o.setTag ? o.setTag('big', new Array(1000)) : 0;
                game.release(o);
            }
        }
        function Init() { cycles(2000); }
    )"));
    const long warm = residentKiB();
    scene.eval(QStringLiteral("cycles(10000)"));
    EXPECT_LT(residentKiB() - warm, 4096) << "KiB grown over 10000 cycles";
    EXPECT_EQ(lines(), QStringList());
}
