// Lines and rectangles drawn by a script onto an offscreen target.
#include "PixelProbes.h"
#include "TestGame.h"
#include "runtime/Game.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Runs Init() and one render step of a script whose Render() body is `render`
// (after `init` in Init()), and returns what the frame shows.
sf::Image drawScene(const QString& init, const QString& render)
{
    TestGame test(QStringLiteral("var r, l, c, d; function Init(p) {") + init +
                  QStringLiteral("return true; }"
                                 "function Frame(dt) { return true; }"
                                 "function Render() {") +
                  render + QStringLiteral("return true; }"));
    sf::RenderTexture canvas;
    canvas.create(800, 600);
    EXPECT_TRUE(test.game().callInit(QStringLiteral("{}")));
    EXPECT_TRUE(test.game().callRender(&canvas));
    EXPECT_TRUE(test.logs.isEmpty()) << test.logs.join('\n').toStdString();
    canvas.display();
    return canvas.getTexture().copyToImage();
}

const sf::Color black = sf::Color::Black;
const sf::Color red(255, 0, 0);
const sf::Color green(0, 255, 0);
const sf::Color blue(0, 0, 255);

} // namespace

TEST(RectScene, FillAndBorderFollowTheOutlineRule)
{
    struct Case {
        const char* label;
        const char* init;
        std::vector<Probe> probes;
    };
    const std::vector<Case> cases = {
        {"plain fill covers x 10..109, y 20..69",
         "r = game.createRect(255, 0, 0);",
         {{10, 20, red},
          {109, 69, red},
          {60, 45, red},
          {9, 20, black},
          {110, 20, black},
          {10, 19, black},
          {10, 70, black}}},
        {"positive width grows the box outwards",
         "r = game.createRect(255, 0, 0); r.setLineWidth(3); r.setBorderColor(0, 0, 255);",
         {{10, 20, red},
          {109, 69, red},
          {7, 17, blue},
          {112, 72, blue},
          {6, 45, black},
          {60, 73, black}}},
        {"the border starts in the fill colour",
         "r = game.createRect(0, 255, 0); r.setLineWidth(2);",
         {{8, 18, green}, {111, 71, green}, {60, 45, green}, {7, 45, black}, {112, 45, black}}},
        {"negative width stays inside the box",
         "r = game.createRect(255, 0, 0); r.setLineWidth(-3); r.setBorderColor(0, 0, 255);",
         {{10, 20, blue},
          {107, 45, blue},
          {60, 67, blue},
          {13, 45, red},
          {60, 23, red},
          {110, 45, black},
          {60, 70, black}}},
        {"channels wrap to their low 8 bits and stay opaque",
         "r = game.createRect(256, 300, -1);",
         {{60, 45, sf::Color(0, 44, 255)}}},
    };
    for (const Case& c : cases)
        expectPixels(
            drawScene(QString::fromLatin1(c.init), QStringLiteral("r.drawTo(10, 20, 100, 50);")),
            c.probes, c.label);
}

TEST(LineScene, DrawsOnePixelWideInTheWrappedColour)
{
    const sf::Color wrapped(44, 255, 0);
    const sf::Image image = drawScene(QStringLiteral("l = game.createLine(300, -1, 0);"),
                                      QStringLiteral("l.drawTo(0, 0, 100, 0);"
                                                     "l.drawTo(0, 10, 100, 10);"
                                                     "l.drawTo(200, 100, 200, 150);"));
    // Which of the two pixel rows a line on a pixel edge lights is the
    // rasteriser's choice; one of them must be lit, and nothing further away.
    for (unsigned x : {5u, 50u, 95u}) {
        EXPECT_EQ(describe(image.getPixel(x, 0)), describe(wrapped)) << "top line at x " << x;
        EXPECT_TRUE(anyPixelIn(image, x, 9, x, 10, wrapped)) << "second line at x " << x;
        EXPECT_EQ(image.getPixel(x, 5), black);
    }
    EXPECT_FALSE(anyPixelIn(image, 0, 2, 100, 8, wrapped));
    EXPECT_TRUE(anyPixelIn(image, 199, 125, 200, 125, wrapped));
    int lit = 0;
    for (unsigned x = 190; x < 210; ++x)
        lit += image.getPixel(x, 125) == wrapped;
    EXPECT_EQ(lit, 1) << "a line has no thickness";
}

// Opacity blends a shape over what is below it, each draw with the colours
// of its moment; circles fill their radius.
TEST(ShapeScene, TranslucentShapesBlendAndCirclesFillTheirRadius)
{
    const sf::Image image = drawScene(
        QStringLiteral("r = game.createRect(255, 0, 0, 128); l = game.createLine(0, 255, 0, 64);"
                       "c = game.createCircle(0, 0, 255); d = game.createCircle(255, 255, 255, 0);"
                       "c.setLineWidth(4); c.setBorderColor(0, 255, 0, 255);"
                       "d.setLineWidth(-3); d.setBorderColor(255, 0, 0);"),
        QStringLiteral("r.drawTo(0, 0, 100, 100); r.setFillColor(0, 0, 255, 255);"
                       "r.drawTo(50, 0, 10, 10); r.setFillColor(0, 0, 255, 256);"
                       "r.drawTo(70, 0, 10, 10);"
                       "l.drawTo(0, 50, 300, 50); l.setColor(0, 255, 0);"
                       "l.drawTo(0, 60, 300, 60);"
                       "c.drawTo(300, 300, 50); c.drawTo(500, 300, 0);"
                       "d.drawTo(600, 100, 20);"));
    const sf::Color halfRed(128, 0, 0);
    expectPixels(image,
                 {{10, 10, halfRed},
                  {55, 5, blue},
                  {75, 5, halfRed}, // alpha 256 is 0: nothing drawn
                  {200, 50, sf::Color(0, 64, 0)},
                  {200, 60, green},
                  {300, 300, blue},
                  {300 + 46, 300, blue},
                  {300 + 52, 300, green},
                  {300, 300 - 52, green},
                  {300 + 40, 300 + 40, black}, // outside the disc, beyond its border
                  {600, 100, black},
                  {600 + 18, 100, red}},
                 "translucent shapes and circles");
    EXPECT_FALSE(anyPixelIn(image, 490, 290, 510, 310, blue)) << "radius 0";
}
