// Objects a script gives back while it runs.
#include "DataFiles.h"
#include "PixelProbes.h"
#include "ResidentMemory.h"
#include "TestGame.h"
#include "runtime/Game.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

namespace {

QStringList debugLines;

void keepDebugLine(QtMsgType, const QMessageLogContext&, const QString& text)
{
    debugLines << text;
}

// A game with a red picture of the given size, a font and a sound in its
// data directory.
void addAssets(TestGame& test, unsigned w = 800, unsigned h = 600)
{
    sf::Image red;
    red.create(w, h, sf::Color::Red);
    QDir().mkpath(test.dataDir() + QStringLiteral("/sprites"));
    red.saveToFile((test.dataDir() + QStringLiteral("/sprites/red.png")).toStdString());
    red.create(2, 2, sf::Color::Red);
    red.saveToFile((test.dataDir() + QStringLiteral("/sprites/dot.png")).toStdString());
    test.addFile(QStringLiteral("fonts/sans.ttf"),
                 sourceFile(QStringLiteral("tests/fixtures/fonts/DejaVuSans.ttf")));
    test.addFile(QStringLiteral("sounds/hit.wav"),
                 sourceFile(QStringLiteral("data/sounds/hit.wav")));
}

} // namespace

// Released, an object draws nothing, and every call on it, drawing or not,
// does nothing but say so once.
TEST(Release, ReleasedObjectsDrawNothingAndIgnoreCalls)
{
    struct Case {
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
        {"gone = game.loadAnimation('dot.png', 1, 1); gone.convertPixels('drop'); o = gone",
         "o.renderTo(400, 300);"},
        {"game.loadSound('hit.wav')", "o.play(); m = +o.isPlayed();"},
        {"game.loadMusic('hit.wav')", "o.play(); m = +o.isPlayed();"},
    };
    qInstallMessageHandler(keepDebugLine);
    for (const Case& c : cases) {
        debugLines.clear();
        TestGame test;
        addAssets(test);
        test.addScript(
            QStringLiteral("main"),
            QStringLiteral("var o, m = 0, gone; function drop(p) { game.release(gone); return p; }"
                           "function Init() { o = %1;"
                           "game.release(o); game.release(o); game.release(game); }"
                           "function Render() { %2 %2 }")
                .arg(QLatin1String(c.make), QLatin1String(c.calls)));
        test.load();
        sf::RenderTexture canvas;
        canvas.create(800, 600);
        ASSERT_TRUE(test.game().callInit(QString()));
        EXPECT_TRUE(test.game().callRender(&canvas)) << c.make;
        canvas.display();
        EXPECT_FALSE(anyPixelIn(canvas.getTexture().copyToImage(), 0, 0, 799, 599, sf::Color::Red))
            << c.make;
        EXPECT_EQ(test.eval(QStringLiteral("m")), QStringLiteral("0")) << c.make;
        EXPECT_EQ(debugLines.size(), 1) << c.make;
        EXPECT_TRUE(test.logs.isEmpty()) << c.make;
    }
    qInstallMessageHandler(nullptr);
}

// A game that makes and gives back objects all the time stays the same size.
TEST(Release, MemoryStaysFlatOverManyCycles)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer holds on to freed memory";
#endif
    TestGame test;
    addAssets(test, 64, 64);
    test.addScript(QStringLiteral("main"), QStringLiteral(R"(
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
    )"));
    test.load();
    test.eval(QStringLiteral("cycles(2000)"));
    const long warm = residentKiB();
    test.eval(QStringLiteral("cycles(10000)"));
    EXPECT_LT(residentKiB() - warm, 4096) << "KiB grown over 10000 cycles";
    EXPECT_TRUE(test.logs.isEmpty()) << test.logs.join('\n').toStdString();
}
