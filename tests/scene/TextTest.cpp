// Text drawn by a script in a shipped font onto an offscreen target.
#include "DataFiles.h"
#include "TestGame.h"
#include "runtime/Game.h"

#include <QElapsedTimer>
#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

namespace {

QByteArray testFont()
{
    return sourceFile(QStringLiteral("tests/fixtures/fonts/DejaVuSans.ttf"));
}

struct Scene {
    sf::Image image;
    QStringList logs;
    // What Render() left in the global m.
    QString m;
};

// Loads the test font as fonts/sans.ttf, runs Init() (with `init`) and one
// render step whose Render() runs `render`.
Scene drawText(const QString& init, const QString& render)
{
    // Read before the game changes the current directory.
    const QByteArray font = testFont();
    TestGame test;
    test.addFile(QStringLiteral("fonts/sans.ttf"), font);
    test.addScript(QStringLiteral("main"), QStringLiteral("var t, u, m; function Init(p) {") +
                                               init +
                                               QStringLiteral("return true; }"
                                                              "function Frame(dt) { return true; }"
                                                              "function Render() {") +
                                               render + QStringLiteral("return true; }"));
    test.load();
    sf::RenderTexture canvas;
    canvas.create(800, 600);
    EXPECT_TRUE(test.game().callInit(QStringLiteral("{}")));
    EXPECT_TRUE(test.game().callRender(&canvas));
    canvas.display();
    return {canvas.getTexture().copyToImage(), test.logs, test.eval(QStringLiteral("m"))};
}

// The smallest box holding every pixel that is not the black background.
struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Box litBox(const sf::Image& image, int x0 = 0, int y0 = 0, int x1 = 799, int y1 = 599)
{
    Box box;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (image.getPixel(unsigned(x), unsigned(y)) != sf::Color::Black) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Bands of consecutive rows with ink: one per line of capital letters.
int inkBands(const sf::Image& image)
{
    int bands = 0;
    bool inside = false;
    for (unsigned y = 0; y < image.getSize().y; ++y) {
        bool ink = false;
        for (unsigned x = 0; x < image.getSize().x && !ink; ++x)
            ink = image.getPixel(x, y) != sf::Color::Black;
        bands += ink && !inside;
        inside = ink;
    }
    return bands;
}

bool hasPixel(const sf::Image& image, const sf::Color& color)
{
    const sf::Uint8* p = image.getPixelsPtr();
    const sf::Uint8* end = p + 4 * image.getSize().x * image.getSize().y;
    for (; p != end; p += 4)
        if (sf::Color(p[0], p[1], p[2], p[3]) == color)
            return true;
    return false;
}

} // namespace

TEST(TextScene, DrawsWhiteGlyphsAtTheFactorySizeFromThePosition)
{
    const Scene scene = drawText(QStringLiteral("t = game.loadText('sans.ttf', 'HHHH', 40);"),
                                 QStringLiteral("t.printTo(100, 200);"));
    EXPECT_TRUE(scene.logs.isEmpty());
    const Box box = litBox(scene.image);
    ASSERT_FALSE(box.empty());
    // Capitals of a 40-pixel font stand about 29 pixels tall below the line top.
    EXPECT_GE(box.left, 100);
    EXPECT_LE(box.left, 106);
    EXPECT_GE(box.top, 200);
    EXPECT_NEAR(box.height(), 29, 3);
    EXPECT_NEAR(box.width(), 4 * 29, 20);
    EXPECT_TRUE(hasPixel(scene.image, sf::Color::White));
    const Scene coloured = drawText(
        QStringLiteral("t = game.loadText('sans.ttf', 'HHHH', 40); t.setColor(256, 300, -1);"),
        QStringLiteral("t.printTo(100, 200);"));
    EXPECT_TRUE(hasPixel(coloured.image, sf::Color(0, 44, 255)));
    EXPECT_FALSE(hasPixel(coloured.image, sf::Color::White));
}

TEST(TextScene, BackslashNStartsANewLine)
{
    // Script string literals: "\\n" is the two characters backslash and n.
    struct Case {
        const char* literal;
        int lines;
    };
    const Case cases[] = {
        {R"('H\\nH')", 2},    {R"('H\nH')", 2},     {R"('H\\NH')", 1},
        {R"('H\\nH\\n')", 2}, {R"('H\\n\\nH')", 2}, {R"('HH')", 1},
    };
    for (const Case& c : cases) {
        const Scene scene = drawText(
            QStringLiteral("t = game.loadText('sans.ttf', %1, 30);").arg(QLatin1String(c.literal)),
            QStringLiteral("t.printTo(50, 50);"));
        EXPECT_EQ(inkBands(scene.image), c.lines) << c.literal;
    }
    // An empty line between two lines pushes the second one further down.
    const Box one = litBox(drawText(QStringLiteral("t = game.loadText('sans.ttf', 'H\\\\nH', 30);"),
                                    QStringLiteral("t.printTo(50, 50);"))
                               .image);
    const Box two =
        litBox(drawText(QStringLiteral("t = game.loadText('sans.ttf', 'H\\\\n\\\\nH', 30);"),
                        QStringLiteral("t.printTo(50, 50);"))
                   .image);
    EXPECT_GT(two.height(), one.height() + 25);
}

// Also: non-Latin text keeps its letters (four capital Zhe are wider than
// the four question marks they would become).
TEST(TextScene, CentringShiftsLeftByHalfTheWidthOnly)
{
    const Scene scene =
        drawText(QStringLiteral("t = game.loadText('sans.ttf', 'HHHH', 40);"
                                "u = game.loadText('sans.ttf', 'HHHH', 40); u.setAlignCenter();"
                                "v = game.loadText('sans.ttf', '\\u0416\\u0416\\u0416\\u0416', 40);"
                                "w = game.loadText('sans.ttf', '?' + '?' + '?' + '?', 40);"),
                 QStringLiteral("t.printTo(400, 20); u.printTo(400, 170); v.printTo(50, 320);"
                                "w.printTo(50, 470);"));
    const Box plain = litBox(scene.image, 0, 0, 799, 149);
    const Box centred = litBox(scene.image, 0, 150, 799, 299);
    ASSERT_FALSE(plain.empty());
    ASSERT_FALSE(centred.empty());
    EXPECT_NEAR(centred.left, plain.left - plain.width() / 2.0, 4);
    EXPECT_EQ(centred.top - 150, plain.top);
    EXPECT_GT(litBox(scene.image, 0, 300, 799, 449).width(),
              litBox(scene.image, 0, 450, 799, 599).width() + 30);
}

// The measured size holds the ink that printTo draws from the position on,
// at least one line height per line.
TEST(TextScene, MeasuredSizeHoldsWhatIsDrawn)
{
    struct Case {
        const char* text;
        int size;
        int lines;
    } cases[] = {{"HHHH", 40, 1}, {"Hi, you", 20, 1}, {"jig\\nWAVE", 30, 2}, {"Wy", 90, 1}};
    for (const Case& c : cases) {
        const Scene scene = drawText(
            QStringLiteral("t = game.loadText('sans.ttf', '%1', %2);").arg(c.text).arg(c.size),
            QStringLiteral("t.printTo(100, 100); m = t.getWidth() + ' ' + t.getHeight();"));
        const QStringList wh = scene.m.split(' ');
        const int w = wh.value(0).toInt(), h = wh.value(1).toInt();
        const Box ink = litBox(scene.image);
        EXPECT_NEAR(100 + w, ink.right + 1, 2) << c.text;
        EXPECT_LE(ink.bottom + 1, 100 + h) << c.text;
        EXPECT_NEAR(h, c.lines * c.size * 1.16, c.size * 0.1) << c.text;
    }
}

TEST(TextScene, DrawsNothingWithoutTargetFontOrSize)
{
    struct Case {
        const char* label;
        const char* init;
        const char* render;
    };
    const Case cases[] = {
        {"drawn during Init", "t = game.loadText('sans.ttf', 'HHHH', 40); t.printTo(100, 100);",
         ""},
        {"missing font", "t = game.loadText('none.ttf', 'HHHH', 40);", "t.printTo(100, 100);"},
        {"negative size", "t = game.loadText('sans.ttf', 'HHHH', -40);", "t.printTo(100, 100);"},
        {"size zero", "t = game.loadText('sans.ttf', 'HHHH', 40); t.setSize(0);",
         "t.printTo(100, 100);"},
        {"empty string", "t = game.loadText('sans.ttf', '', 40); t.setAlignCenter();",
         "t.printTo(100, 100);"},
    };
    for (const Case& c : cases) {
        const Scene scene = drawText(QLatin1String(c.init),
                                     QLatin1String(c.render) +
                                         QStringLiteral("m = t.getWidth() + ' ' + t.getHeight();"));
        EXPECT_TRUE(litBox(scene.image).empty()) << c.label;
        if (*c.render) {
            EXPECT_EQ(scene.m, QStringLiteral("0 0")) << c.label;
        }
        EXPECT_TRUE(scene.logs.isEmpty()) << c.label;
    }
}

TEST(TextScene, AbsurdSizeIsCappedAndDrawsPromptly)
{
    QElapsedTimer clock;
    clock.start();
    const Scene scene = drawText(QStringLiteral("t = game.loadText('sans.ttf', 'H', 2000000000);"),
                                 QStringLiteral("t.printTo(0, 0);"));
    EXPECT_LT(clock.elapsed(), 20000);
    const Box box = litBox(scene.image);
    ASSERT_FALSE(box.empty());
    // A capital at the capped size is taller than the window.
    EXPECT_EQ(box.bottom, 599);
}
