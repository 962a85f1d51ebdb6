// Text drawn by a script in a shipped font.
#include "Scene.h"

using namespace scene;

namespace {

// The smallest box holding every pixel in the band that is not the black background.
struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};

Box litBox(const sf::Image& image, int y0, int y1)
{
    Box box;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < 800; ++x)
            if (image.getPixel(unsigned(x), unsigned(y)) != black)
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
    return box;
}

} // namespace

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
    EXPECT_GE(plain.left, 100);
    EXPECT_LE(plain.left, 106);
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
