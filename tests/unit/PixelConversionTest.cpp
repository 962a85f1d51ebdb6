#include "objects/PixelConversion.h"
#include "TestGame.h"
#include "objects/OpaqueColor.h"
#include "objects/ScriptWatchdog.h"

#include <QScriptEngine>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Pixel = std::array<int, 4>;

Pixel convertOne(QScriptEngine& engine, const QScriptValue& func, Pixel in)
{
    std::uint8_t p[4] = {std::uint8_t(in[0]), std::uint8_t(in[1]), std::uint8_t(in[2]),
                         std::uint8_t(in[3])};
    ScriptWatchdog guard(&engine, 20000);
    convertPixelBuffer(guard, p, 1, 1, func);
    return {p[0], p[1], p[2], p[3]};
}

} // namespace

TEST(PixelConversion, FillsMarkersInTurnAcrossTheWholeText)
{
    EXPECT_EQ(pixelCallText(QStringLiteral("invert"), 10, 20, 30, 255),
              QStringLiteral("invert({r:10,g:20,b:30,a:255})"));
    // The function's own %2 is the lowest marker left after red is filled.
    EXPECT_EQ(pixelCallText(QStringLiteral("f(c.r%2)"), 1, 2, 3, 4),
              QStringLiteral("f(c.r2)({r:1,g:2,b:3,a:4})"));
}

TEST(PixelConversion, ChannelsAreToInt32LowBitsAndFailuresClear)
{
    ensureTestApp();
    QScriptEngine engine;
    engine.evaluate(QStringLiteral(
        "function invert(c) { return {r: 255 - c.r, g: 255 - c.g, b: 255 - c.b, a: c.a}; }"
        "function opaqueless(c) { return {r: c.r, g: c.g, b: c.b}; }"
        "function odd(c) { return {r: 256, g: -1, b: 3.7, a: -3.7}; }"
        "function loose(c) { return {r: '12', g: true, b: NaN, a: 'x'}; }"
        "function wide(c) { return {r: 4294967297, g: -Infinity, b: 511.9, a: null}; }"
        "function num(c) { return 7; }"
        "function thrower(c) { throw new Error('no'); }"));
    struct Case {
        const char* func;
        Pixel expected;
    };
    const Case cases[] = {
        {"invert", {245, 235, 225, 200}},
        {"opaqueless", {10, 20, 30, 0}},
        {"odd", {0, 255, 3, 253}},
        {"loose", {12, 1, 0, 0}},
        {"wide", {1, 0, 255, 0}},
        {"num", {0, 0, 0, 0}},
        {"thrower", {0, 0, 0, 0}},
        {"notDefined", {0, 0, 0, 0}},
        {"function (c) { return c; }", {0, 0, 0, 0}}, // a statement missing its name
        {"(function (c) { return c; })", {10, 20, 30, 200}},
        {"(function (c) { return {r: 100%3, g: c.g, b: c.b, a: c.a}; })",
         {10030 & 255, 20, 30, 200}},
        // Function values themselves are called, with no text in between.
        {"fn:invert", {245, 235, 225, 200}},
        {"fn:thrower", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const QString func = QString::fromLatin1(c.func);
        const QScriptValue value = func.startsWith(QLatin1String("fn:"))
                                       ? engine.globalObject().property(func.mid(3))
                                       : QScriptValue(func);
        EXPECT_EQ(convertOne(engine, value, {10, 20, 30, 200}), c.expected) << c.func;
        EXPECT_FALSE(engine.hasUncaughtException()) << c.func;
    }
}

TEST(PixelConversion, VisitsColumnByColumnOncePerPixel)
{
    ensureTestApp();
    QScriptEngine engine;
    engine.evaluate(QStringLiteral("var seen = [];"
                                   "function log(c) { seen.push(c.r + ':' + c.g); return c; }"));
    // 3 x 2 pixels, row by row, red = x and green = y.
    std::vector<std::uint8_t> pixels = {0, 0, 9, 255, 1, 0, 9, 255, 2, 0, 9, 255,
                                        0, 1, 9, 255, 1, 1, 9, 255, 2, 1, 9, 255};
    const std::vector<std::uint8_t> before = pixels;
    ScriptWatchdog guard(&engine, 20000);
    convertPixelBuffer(guard, pixels.data(), 3, 2, QStringLiteral("log"));
    EXPECT_EQ(engine.evaluate(QStringLiteral("seen.join(' ')")).toString(),
              QStringLiteral("0:0 0:1 1:0 1:1 2:0 2:1"));
    EXPECT_EQ(pixels, before);

    convertPixelBuffer(guard, pixels.data(), 0, 0, QStringLiteral("log"));
    EXPECT_EQ(engine.evaluate(QStringLiteral("seen.length")).toInt32(), 6);
}

// A script's colour channels keep their low 8 bits; without an opacity the
// colour is opaque.
TEST(ScriptColor, ChannelsWrapAndTheColourIsOpaqueUnlessTold)
{
    const struct {
        sf::Color made, expected;
    } cases[] = {
        {opaqueColor(256, 300, -1), {0, 44, 255, 255}},
        {opaqueColor(1, 2, 3), {1, 2, 3, 255}},
        {scriptColor(1, 2, 3, 256), {1, 2, 3, 0}},
        {scriptColor(-256, 44, 511, -1), {0, 44, 255, 255}},
        {scriptColor(1, 2, 3, 128), {1, 2, 3, 128}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.made.toInteger(), c.expected.toInteger()) << c.expected.toInteger();
}
