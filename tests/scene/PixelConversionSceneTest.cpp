// Pixel conversion of sprites and animations by the script's own functions.
#include "SpriteSceneSupport.h"

#include <QElapsedTimer>

using namespace spritescene;

namespace {

// Run inside Init(): assignments without var make them globals.
const char* functions = "calls = 0;"
                        "invert = function (c) { ++calls;"
                        "  return {r: 255 - c.r, g: 255 - c.g, b: 255 - c.b, a: c.a}; };"
                        "noAlpha = function (c) { return {r: c.r, g: c.g, b: c.b}; };"
                        "thrower = function (c) { throw 'bad pixel'; };"
                        "again = function (c) { s.convertPixels('again'); return invert(c); };";

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
        // A conversion started from conversion code does nothing: it would never end.
        {"s.convertPixels('again')", sf::Color(0, 255, 255), blue},
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

// Conversion code counts towards the time limit of the call it runs in: a
// conversion stuck in one pixel, or slow over many, ends with the call, and
// the call says so once.
TEST(PixelConversionScene, AConversionEndsWithItsCallPastTheTimeLimit)
{
    const char* conversions[] = {
        "n = 0; f = function (c) { if (++n > 1) while (true) {} return c; };",
        "f = function (c) { for (var i = 0; i < 50; ++i) {} return c; };",
    };
    for (const char* conversion : conversions) {
        TestGame test(QString(), 600);
        writeImage(test, QStringLiteral("sprites/q.png"), quadrants(512, 512));
        test.addScript(
            QStringLiteral("main"),
            script(QLatin1String(conversion) + QStringLiteral("s = game.loadSprite('q.png');"
                                                              "s.convertPixels('f');"),
                   QString()));
        test.load();
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(test.game().callInit(QStringLiteral("{}"))) << conversion;
        // Unchecked, the second takes several seconds.
        EXPECT_LT(clock.elapsed(), 2000) << conversion;
        EXPECT_EQ(test.logs,
                  QStringList{QStringLiteral("ОШИБКА функции Init({}): Error: "
                                             "выполнение прервано: вызов длился дольше 0 с")});
    }
}
