// Animations cut from sheets or loaded from file lists, stepped frame by
// frame through the Game and read back as pixels.
#include "SpriteSceneSupport.h"

using namespace spritescene;

namespace {

sf::Image solid(unsigned w, unsigned h, const sf::Color& colour)
{
    sf::Image image;
    image.create(w, h, colour);
    return image;
}

sf::Color sheetAt(unsigned x, unsigned y)
{
    return sf::Color(sf::Uint8(x), sf::Uint8(y), 128);
}

struct FrameCheck {
    double dt;       // frame step before the render
    unsigned sheetX; // the sheet pixel expected at the frame's top-left corner
    unsigned sheetY;
};

// Steps the game by each dt and checks which sheet rectangle of size w x h
// is drawn with its top-left corner at the screen point (left, top).
void expectFrames(TestGame& test, unsigned left, unsigned top, unsigned w, unsigned h,
                  const std::vector<FrameCheck>& checks, const std::string& label)
{
    int n = 0;
    for (const FrameCheck& c : checks) {
        ASSERT_TRUE(test.game().callFrame(c.dt));
        const std::string at = label + ", step " + std::to_string(n++);
        expectPixels(renderFrame(test),
                     {{left, top, sheetAt(c.sheetX, c.sheetY)},
                      {left + w - 1, top + h - 1, sheetAt(c.sheetX + w - 1, c.sheetY + h - 1)},
                      {left - 1, top, black},
                      {left + w, top + h - 1, black}},
                     at);
    }
}

QString evalIn(TestGame& test, const char* source)
{
    return test.eval(QString::fromLatin1(source));
}

} // namespace

TEST(AnimationScene, StripIsCutIntoEqualFramesLeftToRight)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/strip.png"), coded(256, 64));
    start(test, QStringLiteral("a = game.loadAnimation('strip.png', 4, 10);"),
          QStringLiteral("a.renderTo(100, 100);"));
    EXPECT_EQ(evalIn(test, "[a.getWidth(), a.getHeight(), a.isPlayed()].join()"),
              QStringLiteral("64,64,false"));
    // Not playing: steps change nothing. Hot spot (32, 32) puts the corner at (68, 68).
    expectFrames(test, 68, 68, 64, 64, {{0.5, 0, 0}}, "stopped");
    evalIn(test, "a.play()");
    expectFrames(test, 68, 68, 64, 64,
                 {{0.05, 0, 0}, {0.1, 64, 0}, {0.1, 128, 0}, {0.1, 192, 0}, {0.1, 0, 0}},
                 "playing");
}

TEST(AnimationScene, FileListHasOneFramePerName)
{
    TestGame test;
    // The third file is larger: only its top-left 8 x 8 (blue) fits the
    // first file's rectangle, through which every frame is drawn.
    sf::Image big = solid(16, 16, yellow);
    big.copy(solid(8, 8, blue), 0, 0);
    writeImage(test, QStringLiteral("sprites/f0.png"), solid(8, 8, red));
    writeImage(test, QStringLiteral("sprites/f1.png"), solid(8, 8, green));
    writeImage(test, QStringLiteral("sprites/f2.png"), big);
    start(test,
          QStringLiteral("a = game.loadAnimationFromFiles(['f0.png', 'f1.png', 'f2.png'], 10);"
                         "b = game.loadAnimationFromFiles('f0.png', 10);"
                         "a.play();"),
          QStringLiteral("a.renderTo(100, 100);"));
    EXPECT_EQ(evalIn(test, "typeof b + ' ' + b"), QStringLiteral("string none"));
    EXPECT_EQ(evalIn(test, "a.getWidth()"), QStringLiteral("8"));
    const struct {
        double dt;
        sf::Color colour;
    } steps[] = {{0.05, red}, {0.1, green}, {0.1, blue}, {0.1, red}};
    for (const auto& step : steps) {
        ASSERT_TRUE(test.game().callFrame(step.dt));
        expectPixels(
            renderFrame(test),
            {{96, 96, step.colour}, {103, 103, step.colour}, {104, 100, black}, {100, 95, black}},
            "file list at " + std::to_string(step.dt));
    }
}

TEST(AnimationScene, CallsThatCannotMakeAnAnimationGiveNone)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/strip.png"), coded(64, 16));
    writeImage(test, QStringLiteral("sprites/big.png"), coded(512, 512));
    start(test, QString(), QString());
    const char* refused[] = {
        "game.loadAnimation('strip.png', 0, 10)",
        "game.loadAnimation('strip.png', -3, 10)",
        "game.loadAnimation('strip.png', 16, 16, 0, 10)",
        "game.loadAnimationPCX8bit('strip.png', 0, 10, 1)",
        "game.loadAnimation('strip.png', 1000000, 10)",
        // More frames than columns: each frame would be the whole 512 x 512 image.
        "game.loadAnimation('big.png', 2000, 10)",
        "game.loadAnimationFromFiles([], 10)",
        "game.loadAnimationFromFiles(12, 10)",
        "game.loadAnimationFromFiles({length: 2, 0: 'strip.png'}, 10)",
        "(function () { var x = []; x.length = 100000; "
        "return game.loadAnimationFromFiles(x, 10); })()",
        "(function () { var x = []; x.length = 4000000000; "
        "return game.loadAnimationFromFiles(x, 10); })()",
    };
    for (const char* call : refused)
        EXPECT_EQ(evalIn(test, call), QStringLiteral("none")) << call;
}

TEST(AnimationScene, ZeroFpsShowsTheFirstFrameForEver)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/strip.png"), coded(256, 64));
    start(test,
          QStringLiteral("a = game.loadAnimation('strip.png', 4, 0); a.play();"
                         "b = game.loadAnimation('strip.png', 4, 2147483647); b.play();"),
          QStringLiteral("a.renderTo(100, 100); b.renderTo(300, 100);"));
    for (double dt : {0.0, 0.1, 1000.0, 0.016}) {
        ASSERT_TRUE(test.game().callFrame(dt));
        const sf::Image frame = renderFrame(test);
        EXPECT_EQ(describe(frame.getPixel(68, 68)), describe(sheetAt(0, 0))) << dt;
        // Whatever frame the fast one shows, it is one of the four.
        EXPECT_EQ(frame.getPixel(268, 68).g, 0) << dt;
        EXPECT_EQ(frame.getPixel(268, 68).r % 64, 0) << dt;
    }
}

TEST(AnimationScene, SmoothingReachesEveryFrame)
{
    TestGame test;
    sf::Image pair0 = solid(2, 1, red), pair1 = solid(2, 1, green);
    pair0.setPixel(1, 0, blue);
    pair1.setPixel(1, 0, yellow);
    writeImage(test, QStringLiteral("sprites/p0.png"), pair0);
    writeImage(test, QStringLiteral("sprites/p1.png"), pair1);
    start(test,
          QStringLiteral("a = game.loadAnimationFromFiles(['p0.png', 'p1.png'], 10);"
                         "a.setScale(1000); a.play();"),
          QStringLiteral("a.renderTo(200, 200);"));
    ASSERT_TRUE(test.game().callFrame(0.15));
    // Screen x 199 samples image x 0.95, just left of the texel boundary.
    EXPECT_NE(renderFrame(test).getPixel(199, 205), green) << "filtered blends";
    evalIn(test, "a.setSmooth(false)");
    EXPECT_EQ(describe(renderFrame(test).getPixel(199, 205)), describe(green));
    EXPECT_EQ(describe(renderFrame(test).getPixel(200, 205)), describe(yellow));
}

TEST(AnimationScene, IsASpriteToScriptsAndTheFrameStep)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/strip.png"), coded(128, 32));
    writeImage(test, QStringLiteral("sprites/sq.png"), solid(32, 32, red));
    test.addScript(QStringLiteral("main"),
                   QStringLiteral("var a, s, seen = [];"
                                  "function Init(p) {"
                                  "  a = game.loadAnimation('strip.png', 4, 10);"
                                  "  s = game.loadSprite('sq.png'); a.playOneTime(); return true; }"
                                  "function Frame(dt) { seen.push(a.isPlayed()); return true; }"
                                  "function Render() { a.renderTo(100, 100);"
                                  "  s.renderTo(110, 105); return true; }"));
    test.load();
    ASSERT_TRUE(test.game().callInit(QStringLiteral("{}")));
    // The animation is stepped before Frame() sees it.
    ASSERT_TRUE(test.game().callFrame(0.2));
    ASSERT_TRUE(test.game().callFrame(0.25));
    EXPECT_EQ(evalIn(test, "seen.join()"), QStringLiteral("true,false"));
    renderFrame(test);
    EXPECT_EQ(evalIn(test, "a.setTag('k', 3); a.setContactModelCircle();"
                           "[a.isContactWith(s), s.isContactWith(a), a.getTag('k'),"
                           " a.isPointIn(100, 101), a.getHeight(), String(a)].join()"),
              QStringLiteral("true,true,3,true,32,Animation(name = \"\")"));
}
