#include "objects/PixelConversion.h"
#include "TestGame.h"
#include "objects/OpaqueColor.h"
#include "objects/ScriptWatchdog.h"

#include <gtest/gtest.h>

using Pixels = std::vector<std::uint8_t>;

// Channels keep the low 8 bits of their ToInt32; a function that fails or
// gives no object clears the pixel. A text names a function or is one; its
// %1..%4 markers are filled in turn, the function's own %3 among them.
TEST(PixelConversion, ChannelsAreToInt32LowBitsAndFailuresClear)
{
    ensureTestApp();
    QScriptEngine engine;
    engine.evaluate(QStringLiteral(
        "function invert(c) { return {r: 255 - c.r, g: 255 - c.g, b: 255 - c.b, a: c.a}; }"
        "function opaqueless(c) { return {r: c.r, g: c.g, b: c.b}; }"
        "function odd(c) { return {r: 256, g: -1, b: 3.7, a: -3.7}; }"
        "function wide(c) { return {r: 4294967297, g: -Infinity, b: '12', a: true}; }"
        "function thrower(c) { throw new Error('no'); }"
        "var seen = []; function log(c) { seen.push(c.r + ':' + c.g); return c; }"));
    const std::pair<const char*, Pixels> cases[] = {
        {"invert", {245, 235, 225, 200}}, {"opaqueless", {10, 20, 30, 0}},
        {"odd", {0, 255, 3, 253}}, {"wide", {1, 0, 12, 1}}, {"thrower", {0, 0, 0, 0}},
        {"function (c) { return c; }", {0, 0, 0, 0}}, // a statement missing its name
        {"(function (c) { return c; })", {10, 20, 30, 200}},
        {"(function (c) { return {r: 100%3, g: c.g, b: c.b, a: c.a}; })",
         {10030 & 255, 20, 30, 200}},
        // Function values themselves are called, with no text in between.
        {"fn:invert", {245, 235, 225, 200}}, {"fn:thrower", {0, 0, 0, 0}}};
    ScriptWatchdog guard(&engine, 20000);
    for (const auto& [func, expected] : cases) {
        const QString name = QString::fromLatin1(func);
        Pixels pixel = {10, 20, 30, 200};
        const bool value = name.startsWith(QLatin1String("fn:"));
        convertPixelBuffer(guard, pixel.data(), 1, 1,
                           value ? engine.evaluate(name.mid(3)) : QScriptValue(name));
        EXPECT_EQ(pixel, expected) << func;
        EXPECT_FALSE(engine.hasUncaughtException()) << func;
    }
    // Once a pixel, column by column: 3 x 2 pixels, row by row, red = x and green = y.
    Pixels pixels = {0, 0, 9, 255, 1, 0, 9, 255, 2, 0, 9, 255,
                     0, 1, 9, 255, 1, 1, 9, 255, 2, 1, 9, 255};
    const Pixels before = pixels;
    convertPixelBuffer(guard, pixels.data(), 3, 2, QStringLiteral("log"));
    convertPixelBuffer(guard, pixels.data(), 0, 0, QStringLiteral("log"));
    EXPECT_EQ(engine.evaluate(QStringLiteral("seen.join(' ')")).toString(),
              QStringLiteral("0:0 0:1 1:0 1:1 2:0 2:1"));
    EXPECT_EQ(pixels, before);
}

// A script's colour channels keep their low 8 bits; without an opacity the
// colour is opaque.
TEST(ScriptColor, ChannelsWrapAndTheColourIsOpaqueUnlessTold)
{
    const std::pair<sf::Color, sf::Color> cases[] = {
        {opaqueColor(256, 300, -1), {0, 44, 255, 255}}, {scriptColor(1, 2, 3, 256), {1, 2, 3, 0}},
        {scriptColor(-256, 44, 511, -1), {0, 44, 255, 255}},
        {scriptColor(1, 2, 3, 128), {1, 2, 3, 128}}};
    for (const auto& [made, expected] : cases)
        EXPECT_EQ(made.toInteger(), expected.toInteger()) << expected.toInteger();
}
