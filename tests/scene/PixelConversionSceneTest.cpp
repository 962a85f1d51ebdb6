// Pixel conversion of sprites and animations by the script's own functions.
#include "SpriteSceneSupport.h"

#include <QElapsedTimer>
#include <iostream>

using namespace spritescene;

namespace {

// Run inside Init(): assignments without var make them globals.
const char* functions = "calls = 0;"
                        "invert = function (c) { ++calls;"
                        "  return {r: 255 - c.r, g: 255 - c.g, b: 255 - c.b, a: c.a}; };"
                        "noAlpha = function (c) { return {r: c.r, g: c.g, b: c.b}; };"
                        "thrower = function (c) { throw 'bad pixel'; };";

// A 4 x 4 image: left half red, right half fully transparent.
sf::Image halfClear()
{
    sf::Image image;
    image.create(4, 4, sf::Color::Transparent);
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 0; x < 2; ++x)
            image.setPixel(x, y, red);
    return image;
}

} // namespace

TEST(PixelConversionScene, ConvertsTheSpriteAsItIsDrawn)
{
    struct Case {
        const char* convert;
        sf::Color left, right;
    };
    const Case cases[] = {
        {"s.convertPixels('invert')", sf::Color(0, 255, 255), blue},
        {"s.convertPixels('noAlpha')", blue, blue},
        {"s.convertPixels('thrower')", blue, blue},
        {"s.convertPixels('invert'); s.convertPixels('invert')", red, blue},
    };
    for (const Case& c : cases) {
        TestGame test;
        writeImage(test, QStringLiteral("sprites/h.png"), halfClear());
        // The script goes on after the conversion, whatever the conversion code did.
        start(test,
              QLatin1String(functions) +
                  QStringLiteral("game.setBackgroundColor(0, 0, 255);"
                                 "s = game.loadSprite('h.png'); s.setScale(1000);") +
                  QLatin1String(c.convert) + QStringLiteral("; a = 'after';"),
              QStringLiteral("s.renderTo(200, 200);"));
        EXPECT_EQ(test.eval(QStringLiteral("a")), QStringLiteral("after")) << c.convert;
        expectPixels(renderFrame(test), {{185, 200, c.left}, {215, 200, c.right}}, c.convert);
    }
}

TEST(PixelConversionScene, RunsOncePerPixelOfEveryTexture)
{
    TestGame test;
    sf::Image strip;
    strip.create(64, 16);
    const sf::Color colours[] = {red, green, blue, yellow};
    for (unsigned x = 0; x < 64; ++x)
        for (unsigned y = 0; y < 16; ++y)
            strip.setPixel(x, y, colours[x / 16]);
    writeImage(test, QStringLiteral("sprites/strip.png"), strip);
    writeImage(test, QStringLiteral("sprites/h.png"), halfClear());
    start(
        test,
        QLatin1String(functions) +
            QStringLiteral("a = game.loadAnimation('strip.png', 4, 10); a.convertPixels('invert');"
                           "animationCalls = calls; calls = 0;"
                           "s = game.loadSprite('h.png'); s.convertPixels('invert');"
                           "spriteCalls = calls; calls = 0;"
                           "b = game.loadSprite('missing.png'); b.convertPixels('invert');"
                           "a.play();"),
        QStringLiteral("a.renderTo(100, 100);"));
    EXPECT_EQ(test.eval(QStringLiteral("[animationCalls, spriteCalls, calls].join()")),
              QStringLiteral("1024,16,0"));
    double dt = 0.05;
    for (const sf::Color& original : colours) {
        ASSERT_TRUE(test.game().callFrame(dt));
        dt = 0.1;
        const sf::Color inverted(255 - original.r, 255 - original.g, 255 - original.b);
        expectPixels(renderFrame(test), {{95, 95, inverted}, {105, 105, inverted}},
                     "frame of " + describe(original));
    }
}

TEST(PixelConversionScene, LargeSpriteConvertsCorrectly)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/big.png"), quadrants(256, 256));
    start(test, QLatin1String(functions) + QStringLiteral("s = game.loadSprite('big.png');"),
          QStringLiteral("s.renderTo(400, 300);"));
    QElapsedTimer timer;
    timer.start();
    test.eval(QStringLiteral("s.convertPixels('invert')"));
    std::cout << "[ measured ] converting 256 x 256 pixels took " << timer.elapsed() << " ms\n";
    EXPECT_EQ(test.eval(QStringLiteral("calls")), QStringLiteral("65536"));
    const sf::Color cyan(0, 255, 255), magenta(255, 0, 255), yellowInv(255, 255, 0),
        blueInv(0, 0, 255);
    expectPixels(
        renderFrame(test),
        {{272, 172, cyan}, {527, 172, magenta}, {272, 427, yellowInv}, {527, 427, blueInv}},
        "inverted quadrants");
}

// Conversion code counts towards the time limit of the call it runs in: a
// conversion stuck in one pixel, or slow over many, ends with the call, and
// the call says so once.
TEST(PixelConversionScene, AConversionEndsWithItsCallPastTheTimeLimit)
{
    Game::setCallTimeLimitMs(600);
    const char* conversions[] = {
        "n = 0; f = function (c) { if (++n > 1) while (true) {} return c; };",
        "f = function (c) { for (var i = 0; i < 50; ++i) {} return c; };",
    };
    for (const char* conversion : conversions) {
        TestGame test;
        writeImage(test, QStringLiteral("sprites/q.png"), quadrants(512, 512));
        test.addScript(QStringLiteral("main"),
                       script(QLatin1String(conversion) +
                                  QStringLiteral("s = game.loadSprite('q.png');"
                                                 "s.convertPixels('f'); after = 1;"),
                              QString()));
        test.load();
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(test.game().callInit(QStringLiteral("{}"))) << conversion;
        // Unchecked, the second takes several seconds.
        EXPECT_LT(clock.elapsed(), 2000) << conversion;
        EXPECT_EQ(test.eval(QStringLiteral("typeof after")), QStringLiteral("undefined"));
        ASSERT_EQ(test.logs.size(), 1) << conversion;
        EXPECT_TRUE(test.logs[0].startsWith(
            QStringLiteral("ОШИБКА функции Init({}): Error: выполнение прервано")));
    }
    Game::setCallTimeLimitMs(20000);
}
