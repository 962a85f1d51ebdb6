// Rectangles, circles, lines and text in a shipped font drawn by a script.
#include "Scene.h"

using namespace scene;

TEST(ShapeScene, FillBorderOpacityAndChannelsFollowTheirRules)
{
    const sf::Color halfRed(128, 0, 0), wrapped(0, 44, 255);
    // clang-format off
    const struct {
        const char* label;
        const char* init;
        const char* render;
        std::vector<Probe> probes;
    } cases[] = {
        {"plain fill covers x 10..109, y 20..69", "r = game.createRect(255, 0, 0);",
         "r.drawTo(10, 20, 100, 50);",
         {{10, 20, red}, {109, 69, red}, {9, 20, black}, {110, 20, black}, {10, 19, black}, {10, 70, black}}},
        {"a positive width grows the box outwards",
         "r = game.createRect(255, 0, 0); r.setLineWidth(3); r.setBorderColor(0, 0, 255);",
         "r.drawTo(10, 20, 100, 50);",
         {{10, 20, red}, {7, 17, blue}, {112, 72, blue}, {6, 45, black}, {60, 73, black}}},
        {"the border starts in the fill colour", "r = game.createRect(0, 255, 0); r.setLineWidth(2);",
         "r.drawTo(10, 20, 100, 50);", {{8, 18, green}, {111, 71, green}, {7, 45, black}}},
        {"a negative width stays inside the box",
         "r = game.createRect(255, 0, 0); r.setLineWidth(-3); r.setBorderColor(0, 0, 255);",
         "r.drawTo(10, 20, 100, 50);",
         {{10, 20, blue}, {107, 45, blue}, {60, 67, blue}, {13, 45, red}, {60, 23, red}, {110, 45, black}}},
        {"channels wrap to their low 8 bits and stay opaque",
         "r = game.createRect(256, 300, -1); c = game.createCircle(-256, 44, 511);",
         "r.drawTo(10, 20, 100, 50); c.drawTo(300, 300, 10);", {{60, 45, wrapped}, {300, 300, wrapped}}},
        {"nothing drawn before the first render step",
         "r = game.createRect(255, 0, 0); r.drawTo(0, 0, 800, 600);"
         "l = game.createLine(0, 255, 0); l.drawTo(0, 300, 800, 300);",
         "", {{400, 300, black}, {10, 10, black}}},
        // Each draw takes the colours of its moment; alpha 256 is 0.
        {"opacity blends over what is below",
         "r = game.createRect(255, 0, 0, 128); l = game.createLine(0, 255, 0, 64);",
         "r.drawTo(0, 0, 100, 100); r.setFillColor(0, 0, 255, 255); r.drawTo(50, 0, 10, 10);"
         "r.setFillColor(0, 0, 255, 256); r.drawTo(70, 0, 10, 10);"
         "l.drawTo(0, 50, 300, 50); l.setColor(0, 255, 0); l.drawTo(0, 60, 300, 60);",
         {{10, 10, halfRed}, {55, 5, blue}, {75, 5, halfRed}, {200, 50, sf::Color(0, 64, 0)}, {200, 60, green}}},
        // A colour without alpha is opaque.
        {"circles fill their radius and borders go out or in",
         "c = game.createCircle(0, 0, 0, 0); c.setFillColor(0, 0, 255); d = game.createCircle(255, 255, 255, 0);"
         "c.setLineWidth(4); c.setBorderColor(0, 255, 0, 255);"
         "d.setLineWidth(-3); d.setBorderColor(255, 0, 0);",
         "c.drawTo(300, 300, 50); c.drawTo(500, 300, 0); d.drawTo(600, 100, 20);",
         {{300, 300, blue}, {346, 300, blue}, {352, 300, green}, {300, 248, green}, {340, 340, black},
          {500, 300, black}, {600, 100, black}, {618, 100, red}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        Scene scene;
        ASSERT_TRUE(scene.start(QLatin1String(c.init), QLatin1String(c.render)));
        expectPixels(scene.frame(), c.probes, c.label);
        EXPECT_EQ(lines(), QStringList()) << c.label;
    }
}

// Which of two rows a line on a pixel edge lights is the rasteriser's choice; one, nothing further.
TEST(ShapeScene, LinesAreOnePixelWide)
{
    Scene scene;
    scene.start(QStringLiteral("l = game.createLine(300, -1, 0);"),
                QStringLiteral("l.drawTo(0, 10, 100, 10); l.drawTo(200, 100, 200, 150);"));
    const sf::Image image = scene.frame();
    const sf::Color wrapped(44, 255, 0);
    int lit = 0;
    for (unsigned at = 0; at < 20; ++at)
        lit += (image.getPixel(50, at) == wrapped) + (image.getPixel(190 + at, 125) == wrapped);
    EXPECT_EQ(lit, 2) << "a line has no thickness";
}

// The smallest box holding every pixel in the band that is not the black background.
struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};

static Box litBox(const sf::Image& image, int y0, int y1)
{
    Box box;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < 800; ++x)
            if (image.getPixel(unsigned(x), unsigned(y)) != black)
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
    return box;
}

TEST(TextScene, GlyphsStandAtThePositionInTheirSizeAndColour)
{
    Scene scene;
    scene.addFont();
    // One text per band of 100 rows; the last band's texts draw nothing.
    ASSERT_TRUE(scene.start(
        QStringLiteral(
            "t = game.loadText('sans.ttf', 'HHHH', 40);"
            "u = game.loadText('sans.ttf', 'HHHH', 40); u.setColor(256, 300, -1);"
            "u.setAlignCenter();"
            "d = [game.loadText('none.ttf', 'HHHH', 40),"
            "     game.loadText('sans.ttf', 'HHHH', -40),"
            "     game.loadText('sans.ttf', 'HHHH', 40), game.loadText('sans.ttf', '', 40)];"
            "d[2].setSize(0); d[3].setAlignCenter(); t.printTo(0, 500);"
            "h = game.loadText('sans.ttf', 'H', 2000000000); n = 0;"),
        QStringLiteral("if (n++) return h.printTo(0, 0);"
                       "t.printTo(100, 20); u.printTo(400, 120);"
                       "d.forEach(function (x) { x.printTo(100, 500); });"
                       "m = d.map(function (x) {"
                       "  return x.getWidth() + ' ' + x.getHeight(); }).join();")));
    const sf::Image image = scene.frame();
    const Box plain = litBox(image, 0, 99), centred = litBox(image, 100, 199);
    const int width = plain.right - plain.left + 1;
    // Capitals of a 40-pixel font stand about 29 pixels tall below the line top.
    EXPECT_NEAR(plain.left, 103, 3);
    EXPECT_GE(plain.top, 20);
    EXPECT_NEAR(plain.bottom - plain.top + 1, 29, 3);
    EXPECT_NEAR(width, 4 * 29, 20);
    EXPECT_TRUE(anyPixelIn(image, 100, 20, 230, 99, white));
    // Centring shifts left by half the width only; channels wrap and stay opaque.
    EXPECT_NEAR(centred.left, plain.left + 300 - width / 2.0, 4);
    EXPECT_EQ(centred.top - 100, plain.top);
    EXPECT_TRUE(anyPixelIn(image, 300, 120, 500, 199, sf::Color(0, 44, 255)));
    EXPECT_FALSE(anyPixelIn(image, 300, 120, 500, 199, white));
    EXPECT_LT(litBox(image, 400, 599).right, 0);

    // The measured width holds the ink; texts that cannot draw measure nothing.
    EXPECT_NEAR(scene.eval(QStringLiteral("t.getWidth()")).toInt() + 100, plain.right + 1, 2);
    EXPECT_EQ(scene.eval(QStringLiteral("m")), QStringLiteral("0 0,0 0,0 0,0 0"));
    EXPECT_EQ(lines(), QStringList{"Not loaded, no such file: fonts/none.ttf"});

    // An absurd size is capped and draws promptly: a capital taller than the window.
    EXPECT_EQ(litBox(scene.frame(), 0, 599).bottom, 599);
}
