// Sprites drawn by a script onto an offscreen target, and their contact
// tests and tags as scripts see them.
#include "SpriteSceneSupport.h"

using namespace spritescene;

namespace {

// The 64 x 48 quadrant image as sprites/q.png, `init` run after
// s = game.loadSprite('q.png'), and one frame showing `render`.
sf::Image drawQuadrants(const QString& init, const QString& render)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/q.png"), quadrants(64, 48));
    start(test, QStringLiteral("s = game.loadSprite('q.png');") + init, render);
    const sf::Image frame = renderFrame(test);
    EXPECT_TRUE(test.logs.isEmpty()) << test.logs.join('\n').toStdString();
    return frame;
}

const std::vector<Probe> naturalAt100 = {
    {68, 76, red},      {131, 76, green}, {68, 123, blue},   {131, 123, yellow}, {99, 99, red},
    {100, 100, yellow}, {67, 76, black},  {132, 100, black}, {100, 75, black},   {100, 124, black},
};

} // namespace

TEST(SpriteScene, TransformsAboutTheHotSpot)
{
    struct Case {
        const char* label;
        const char* init;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"centred hot spot covers x 68..131, y 76..123", "", naturalAt100},
        {"mirrored in place",
         "s.mirrorHorz(true);",
         {{68, 76, green},
          {131, 76, red},
          {68, 123, yellow},
          {131, 123, blue},
          {67, 80, black},
          {132, 80, black}}},
        {"mirrored about a (0, 0) hot spot lies left of the position",
         "s.setHotSpot(0, 0); s.mirrorHorz(true);",
         {{99, 100, red},
          {36, 100, green},
          {99, 147, blue},
          {36, 147, yellow},
          {100, 120, black},
          {35, 120, black},
          {60, 99, black},
          {60, 148, black}}},
        {"mirrored vertically",
         "s.mirrorVert(true);",
         {{68, 76, blue}, {131, 76, yellow}, {68, 123, red}, {131, 123, green}}},
        {"a negative scale undoes the mirror", "s.setScaleX(-100); s.mirrorHorz(true);",
         naturalAt100},
        {"half size about the hot spot",
         "s.setScale(50);",
         {{84, 88, red},
          {115, 88, green},
          {84, 111, blue},
          {115, 111, yellow},
          {83, 100, black},
          {116, 100, black},
          {100, 87, black},
          {100, 112, black}}},
        {"a quarter turn clockwise",
         "s.setAngle(90);",
         {{77, 69, blue},
          {122, 69, red},
          {77, 130, yellow},
          {122, 130, green},
          {75, 100, black},
          {124, 100, black},
          {100, 67, black},
          {100, 132, black}}},
        {"alpha 256 wraps to invisible",
         "s.setAlpha(256);",
         {{68, 76, black}, {131, 123, black}, {100, 100, black}}},
        {"alpha -1 wraps to opaque", "s.setAlpha(-1);", naturalAt100},
        {"alpha 128 blends with the background", "s.setAlpha(128);", {{80, 80, {128, 0, 0}}}},
        {"scale 0 shows nothing", "s.setScale(0);", {{99, 99, black}, {100, 100, black}}},
    };
    for (const Case& c : cases)
        expectPixels(
            drawQuadrants(QString::fromLatin1(c.init), QStringLiteral("s.renderTo(100, 100);")),
            c.probes, c.label);
}

TEST(SpriteScene, OutlineFollowsTheRotatedScaledRectangle)
{
    // At 50 % and 90 degrees the 64 x 48 image covers x 188..211, y 184..215.
    const sf::Image frame =
        drawQuadrants(QStringLiteral("s.setScale(50); s.setAngle(90); s.setBordered(true);"),
                      QStringLiteral("s.renderTo(200, 200);"));
    for (unsigned y : {190u, 200u, 210u}) {
        EXPECT_TRUE(anyPixelIn(frame, 187, y, 189, y, white)) << "left edge at y " << y;
        EXPECT_TRUE(anyPixelIn(frame, 211, y, 213, y, white)) << "right edge at y " << y;
    }
    for (unsigned x : {192u, 200u, 208u}) {
        EXPECT_TRUE(anyPixelIn(frame, x, 183, x, 185, white)) << "top edge at x " << x;
        EXPECT_TRUE(anyPixelIn(frame, x, 215, x, 217, white)) << "bottom edge at x " << x;
    }
    EXPECT_FALSE(anyPixelIn(frame, 192, 188, 208, 212, white)) << "outline only on the edge";
    EXPECT_FALSE(anyPixelIn(frame, 150, 150, 180, 250, white));
}

// 4 x 2: row 0 is palette entry 5 (red), row 1 entries 1, 2, 3 and 7, which
// is red too. Only the first pixel's entry turns see-through, and only when
// the factory asks for it; animations cut the image in two 2 x 2 frames.
TEST(SpriteScene, PcxFirstPixelEntryIsTransparentOnRequest)
{
    const std::vector<sf::Color> palette = {black, white, green, yellow, black, red, black, red};
    const QByteArray file = pcxFile(3, 1, {0xC4, 0x05, 0x01, 0x02, 0x03, 0xC1, 0x07}, palette);
    struct Case {
        const char* load;
        sf::Color top;
        std::vector<Probe> more;
    };
    const Case cases[] = {
        {"game.loadSpritePCX8bit('t.pcx', true)",
         blue,
         {{185, 205, white}, {195, 205, green}, {205, 205, yellow}, {215, 205, red}}},
        {"game.loadSpritePCX8bit('t.pcx', false)", red, {{215, 195, red}}},
        {"game.loadSpritePCX8bit('t.pcx')", red, {}},
        {"game.loadAnimation('t.pcx', 2, 10)", blue, {{195, 205, white}}},
        {"game.loadAnimation('t.pcx', 2, 2, 2, 10)", blue, {}},
        {"game.loadAnimationPCX8bit('t.pcx', 2, 10)", red, {}},
        {"game.loadAnimationPCX8bit('t.pcx', 2, 10, 1)", blue, {}},
        {"game.loadAnimationPCX8bit('t.pcx', 2, 10, 0)", red, {}},
        {"game.loadAnimationPCX8bit('t.pcx', 2, 2, 2, 10)", red, {}},
        {"game.loadAnimationPCX8bit('t.pcx', 2, 2, 2, 10, 7)", blue, {}},
        // The image library, which such a name goes to, reads no PCX.
        {"game.loadAnimation('T.PCX', 2, 10)", blue, {{195, 205, blue}}},
    };
    for (const Case& c : cases) {
        TestGame test;
        test.addFile(QStringLiteral("sprites/t.pcx"), file);
        test.addFile(QStringLiteral("sprites/T.PCX"), file);
        // Ten times larger, unfiltered: pixel (i, j) covers x 180 + 10i, y 190 + 10j
        // (a frame's x 190 + 10i).
        start(test,
              QStringLiteral("game.setBackgroundColor(0, 0, 255); s = ") + QLatin1String(c.load) +
                  QStringLiteral("; s.setScale(1000); s.setSmooth(false);"),
              QStringLiteral("s.renderTo(200, 200);"));
        std::vector<Probe> probes = c.more;
        probes.push_back({195, 195, c.top});
        expectPixels(renderFrame(test), probes, c.load);
    }
}

TEST(SpriteScene, ImagesThatCannotLoadGiveEmptySprites)
{
    TestGame test;
    // A 900-byte file claiming 65536 x 65536 pixels, one claiming a row too
    // wide for any texture, and missing files. Init() draws before the Game
    // has a render target. a's second frame is missing.
    test.addFile(QStringLiteral("sprites/huge.pcx"), pcxFile(65535, 65535, {}, {}));
    test.addFile(QStringLiteral("sprites/wide.pcx"), pcxFile(65535, 0, {}, {}));
    writeImage(test, QStringLiteral("sprites/f0.png"), coded(8, 8));
    start(
        test,
        QStringLiteral("s = [game.loadSpritePCX8bit('huge.pcx', true),"
                       " game.loadSpritePCX8bit('wide.pcx'),"
                       " game.loadSpritePCX8bit('missing.pcx', true),"
                       " game.loadSprite('missing.png'), game.loadAnimation('gone.png', 4, 10),"
                       " game.loadAnimationFromFiles(['gone.png', 'f0.png'], 10)];"
                       "a = game.loadAnimationFromFiles(['f0.png', 'gone.png'], 10); a.play();"
                       "s.forEach(function (x) { x.setBordered(true); x.render(); });"),
        QStringLiteral("s.forEach(function (x) { x.renderTo(100, 100); }); a.renderTo(200, 200);"));
    EXPECT_EQ(test.eval(QStringLiteral("s.map(function (x) {"
                                       "  return x.getWidth() + 'x' + x.getHeight() +"
                                       "         x.isPointIn(100, 100); }).join()")),
              QStringLiteral("0x0false,0x0false,0x0false,0x0false,0x0false,0x0false"));
    ASSERT_TRUE(test.game().callFrame(0.15));
    const sf::Image frame = renderFrame(test);
    // An empty frame drawn through a non-empty rectangle must not become a white box.
    EXPECT_FALSE(anyPixelIn(frame, 90, 90, 110, 110, white));
    EXPECT_FALSE(anyPixelIn(frame, 190, 190, 210, 210, white));
    EXPECT_EQ(frame.getPixel(100, 100), black);
}

TEST(SpriteContact, NonSpriteValuesNeverTouch)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/sq.png"), quadrants(32, 32));
    // Under the circle model a sprite touches itself, so a false below is the
    // type check and not the geometry.
    start(test,
          QStringLiteral("s = game.loadSprite('sq.png'); s.setContactModelCircle();"
                         "a = game.createLine(1, 2, 3);"),
          QStringLiteral("s.renderTo(100, 100);"));
    renderFrame(test);
    EXPECT_EQ(test.eval(QStringLiteral("[1, 'sprite', game, system, a, null, undefined, {}, [s], s]"
                                       ".map(function (v) { return s.isContactWith(v); }).join()")),
              QStringLiteral("false,false,false,false,false,false,false,false,false,true"));
}

TEST(SpriteContact, TestsSeeTheLastDrawAndTheCurrentAngle)
{
    TestGame test;
    writeImage(test, QStringLiteral("sprites/sq.png"), quadrants(32, 32));
    start(test,
          QStringLiteral("a = game.loadSprite('sq.png'); b = game.loadSprite('sq.png');"
                         "a.setXY(100, 100); b.setXY(132, 100);"),
          QStringLiteral("a.render(); b.render();"));
    auto both = [&] {
        return test.eval(QStringLiteral("[a.isContactWith(b), b.isContactWith(a)].join()"));
    };
    renderFrame(test);
    EXPECT_EQ(both(), QStringLiteral("false,false")) << "edges touching";
    EXPECT_EQ(test.eval(QStringLiteral("a.isPointIn(100, 100) + ',' + a.isPointIn(101, 100)")),
              QStringLiteral("false,true"));

    // Turning is seen at once: a's corner (122.6, 100) enters b.
    test.eval(QStringLiteral("a.setAngle(45);"));
    EXPECT_EQ(both(), QStringLiteral("false,true"));
    test.eval(QStringLiteral("a.setAngle(0); a.setScale(200); a.setXY(600, 600);"));
    EXPECT_EQ(both(), QStringLiteral("false,false")) << "scale and position wait for a draw";
    test.eval(QStringLiteral("a.setXY(100, 100);"));
    renderFrame(test);
    EXPECT_EQ(both(), QStringLiteral("true,false"));
}

TEST(SpriteTags, HoldValuesByNameCaseSensitively)
{
    TestGame test;
    start(test,
          QStringLiteral("s = game.loadSprite('none.png'); b = {hp: 1};"
                         "s.setTag('speed', 5); s.setTag('Speed', 7); s.setTag('body', b);"
                         "s.setTag('name', 'x'); s.setTag('name', 'y'); b.hp = 2;"),
          QString());
    EXPECT_EQ(test.eval(QStringLiteral("[s.getTag('speed'), s.getTag('Speed'), s.getTag('name'),"
                                       " s.getTag('body').hp, s.getTag('body') === b,"
                                       " typeof s.getTag('never')].join()")),
              QStringLiteral("5,7,y,2,true,undefined"));
}
