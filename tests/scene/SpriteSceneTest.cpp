// Sprites and animations drawn by a script, read back as pixels.
#include "Scene.h"
#include "objects/Sprite.h"

#include <QPointer>

using namespace scene;

// Red, green, blue and yellow quadrants: top-left, top-right, bottom-left, bottom-right.
static sf::Image quadrants(unsigned w, unsigned h)
{
    sf::Image image = solid(w, h, red);
    image.copy(solid(w - w / 2, h / 2, green), w / 2, 0);
    image.copy(solid(w / 2, h - h / 2, blue), 0, h / 2);
    image.copy(solid(w - w / 2, h - h / 2, yellow), w / 2, h / 2);
    return image;
}

// q() is the 64 x 48 quadrants at (100, 100); big(x) draws x ten times larger from (200, 200).
// s.pcx is 4 x 2: entry 5 (red), then 1 (white) to 4; entry 0 is see-through where told so.
TEST(SpriteScene, TransformsAboutTheHotSpotAndSeeThroughColours)
{
    // clang-format off
    const std::vector<Probe> natural = {{68, 76, red}, {131, 76, green}, {68, 123, blue}, {131, 123, yellow},
                                        {67, 76, black}, {132, 100, black}, {100, 75, black}, {100, 124, black}};
    const struct {
        const char* init;
        std::vector<Probe> probes;
    } cases[] = {
        {"s = q();", natural},
        {"s = q(); s.mirrorHorz(true);", {{68, 76, green}, {131, 123, blue}, {67, 80, black}}},
        {"s = q(); s.setHotSpot(0, 0); s.mirrorHorz(true);", {{99, 100, red}, {36, 147, yellow}, {100, 120, black}, {60, 148, black}}},
        {"s = q(); s.mirrorVert(true);", {{68, 76, blue}, {131, 123, green}}},
        {"s = q(); s.setScaleX(-100); s.mirrorHorz(true);", natural},
        {"s = q(); s.setScale(50);", {{84, 88, red}, {115, 111, yellow}, {83, 100, black}, {100, 112, black}}},
        {"s = q(); s.setAngle(90);", {{77, 69, blue}, {122, 130, green}, {75, 100, black}, {100, 67, black}}},
        {"s = q(); s.setAlpha(256);", {{68, 76, black}, {131, 123, black}}},
        {"s = q(); s.setScale(0);", {{99, 99, black}, {100, 100, black}}},
        {"s = big(game.loadSpritePCX8bit('s.pcx', true));", {{202, 202, black}, {202, 212, white}}},
        {"s = big(game.loadSpritePCX8bit('s.pcx'));", {{202, 202, red}, {202, 212, white}}},
        {"s = big(game.loadAnimation('s.pcx', 2, 10));", {{202, 202, black}, {202, 212, white}}},
        {"s = big(game.loadAnimation('s.pcx', 2, 2, 2, 10));", {{202, 202, black}, {202, 212, white}}},
        {"s = big(game.loadAnimationPCX8bit('s.pcx', 2, 10));", {{202, 202, red}, {202, 212, white}}},
        {"s = big(game.loadAnimationPCX8bit('s.pcx', 2, 10, 1));", {{202, 202, black}, {202, 212, white}}},
        {"s = big(game.loadAnimationPCX8bit('s.pcx', 2, 2, 2, 10));", {{202, 202, red}, {202, 212, white}}},
        {"s = big(game.loadAnimationPCX8bit('s.pcx', 2, 2, 2, 10, 7));", {{202, 202, black}, {202, 212, white}}},
        // An upper-case extension goes to the image library, which reads no PCX.
        {"s = big(game.loadAnimation('s.PCX', 2, 10));", {{202, 202, black}, {202, 212, black}}},
    };
    // clang-format on
    const QByteArray pcx = pcxFile(3, 1, {0xC4, 0x05, 0x01, 0x02, 0x03, 0x04},
                                   {black, white, green, yellow, black, red});
    for (const auto& c : cases) {
        Scene scene;
        scene.addImage(QStringLiteral("sprites/q.png"), quadrants(64, 48));
        scene.addFile(QStringLiteral("sprites/s.pcx"), pcx);
        scene.addFile(QStringLiteral("sprites/s.PCX"), pcx);
        scene.start(QStringLiteral("function q() { var x = game.loadSprite('q.png');"
                                   "  x.setXY(100, 100); return x; }"
                                   "function big(x) { x.setScale(1000); x.setSmooth(false);"
                                   "  x.setHotSpot(0, 0); x.setXY(200, 200); return x; }") +
                        QLatin1String(c.init),
                    QStringLiteral("s.render();"));
        expectPixels(scene.frame(), c.probes, c.init);
    }
}

// Frames drawn as time passes; a missing file is an empty frame; smoothing reaches every frame.
TEST(AnimationScene, FramesFollowTheClockFromSheetsAndFileListsOrAreNone)
{
    // Strip frames are 64 wide; of the larger f2 only the top-left 8 x 8 (blue) fits f0's size.
    Scene scene({0.05f, 0.1f, 0.1f, 0.1f, 0.1f});
    sf::Image big = solid(16, 16, yellow), pair0 = solid(2, 1, red), pair1 = solid(2, 1, green);
    big.copy(solid(8, 8, blue), 0, 0);
    pair0.setPixel(1, 0, blue);
    pair1.setPixel(1, 0, yellow);
    scene.addImage(QStringLiteral("sprites/strip.png"), coded(256, 64));
    scene.addImage(QStringLiteral("sprites/f0.png"), solid(8, 8, red));
    scene.addImage(QStringLiteral("sprites/f1.png"), solid(8, 8, green));
    scene.addImage(QStringLiteral("sprites/f2.png"), big);
    scene.addImage(QStringLiteral("sprites/p0.png"), pair0);
    scene.addImage(QStringLiteral("sprites/p1.png"), pair1);
    scene.addImage(QStringLiteral("sprites/big.png"), coded(512, 512));
    scene.start(
        QStringLiteral(
            "a = game.loadAnimation('strip.png', 4, 10);"
            "b = game.loadAnimationFromFiles(['f0.png', 'f1.png', 'f2.png'], 10);"
            "c = game.loadAnimationFromFiles(['gone.png', 'f1.png'], 10);"
            "u = game.loadAnimationFromFiles(['f0.png', 'gone.png'], 10);"
            "d = game.loadAnimationFromFiles(['p0.png', 'p1.png'], 10);"
            "d.setScale(1000); d.setSmooth(false); t = game.loadAnimation('gone.png', 4, 10);"
            "[a, b, c, d, u].forEach(function (x) { x.play(); });"),
        QStringLiteral("a.renderTo(100, 100); b.renderTo(300, 100); c.renderTo(400, 100);"
                       "u.renderTo(500, 100); t.renderTo(600, 100); d.renderTo(500, 300);"));
    EXPECT_EQ(scene.eval(QStringLiteral("[a.getWidth(), a.getHeight(), b.getWidth(), c.getWidth(),"
                                        " t.getWidth(), t.getHeight()].join()")),
              QStringLiteral("64,64,8,0,0,0"));
    // Sheet x, colours of b, of u and of d at x 499 (its image x 0.95, not blended with 1) and 500.
    const struct {
        unsigned sheetX;
        sf::Color b, u, d0, d1;
    } steps[] = {{0, red, red, red, blue},
                 {64, green, black, green, yellow},
                 {128, blue, red, red, blue},
                 {192, red, black, green, yellow},
                 {0, green, red, red, blue}};
    for (const auto& step : steps) {
        // The hot spot (32, 32) puts the strip's corner at (68, 68).
        const sf::Color first(sf::Uint8(step.sheetX), 0, 128),
            last(sf::Uint8(step.sheetX + 63), 63, 128);
        const sf::Image frame = scene.frame();
        // clang-format off
        expectPixels(frame, {{68, 68, first}, {131, 131, last}, {67, 68, black}, {132, 131, black},
                             {296, 96, step.b}, {303, 103, step.b}, {304, 100, black},
                             {500, 100, step.u}, {499, 305, step.d0}, {500, 305, step.d1}},
                     "sheet x " + std::to_string(step.sheetX));
        // clang-format on
        // An empty frame drawn through a non-empty rectangle must not become a white box.
        EXPECT_FALSE(anyPixelIn(frame, 390, 90, 610, 110, white));
    }
    for (const char* call : {
             "game.loadAnimation('strip.png', 0, 10)",
             "game.loadAnimation('strip.png', 16, 16, 0, 10)",
             "game.loadAnimationPCX8bit('strip.png', 0, 10, 1)",
             // More frames than columns: each would be the whole 512 x 512 image.
             "game.loadAnimation('big.png', 2000, 10)",
             "game.loadAnimationFromFiles([], 10)",
             "game.loadAnimationFromFiles({length: 2, 0: 'strip.png'}, 10)",
             "(function () { var x = []; x.length = 4000000000; "
             "return game.loadAnimationFromFiles(x, 10); })()",
         })
        EXPECT_EQ(scene.eval(QLatin1String(call)), QStringLiteral("none")) << call;
}

// Contacts see the last draw and the current angle; an animation is stepped before Frame() runs.
TEST(SpriteScene, ContactsAndTheFrameStep)
{
    Scene scene({0.2f, 0.25f});
    scene.addImage(QStringLiteral("sprites/sq.png"), quadrants(32, 32));
    scene.addImage(QStringLiteral("sprites/strip.png"), coded(128, 32));
    scene.start(
        QStringLiteral("var seen = []; function Init() {"
                       "  a = game.loadSprite('sq.png'); b = game.loadSprite('sq.png');"
                       "  a.setXY(100, 100); b.setXY(132, 100);"
                       "  c = game.loadAnimation('strip.png', 4, 10); c.playOneTime(); }"
                       "function Frame() { seen.push(c.isPlayed()); }"
                       "function Render() { a.render(); b.render(); c.renderTo(132, 100); }"));
    const QString both = QStringLiteral("[a.isContactWith(b), b.isContactWith(a)].join()");
    scene.frame();
    EXPECT_EQ(scene.eval(both), QStringLiteral("false,false")) << "edges touching";
    EXPECT_EQ(scene.eval(QStringLiteral("a.isPointIn(100, 100) + ',' + a.isPointIn(101, 100)")),
              QStringLiteral("false,true"));
    // Turning is seen at once: a's corner (122.6, 100) enters b.
    EXPECT_EQ(scene.eval(QStringLiteral("a.setAngle(45);") + both), QStringLiteral("false,true"));
    // Drawn twice as large, a reaches into b.
    scene.eval(QStringLiteral("a.setAngle(0); a.setScale(200);"));
    scene.frame();
    EXPECT_EQ(scene.eval(both), QStringLiteral("true,false"));
    EXPECT_EQ(scene.eval(QStringLiteral("seen.join()")), QStringLiteral("true,false"));

    // Under the circle model a sprite touches itself, so a false is the type check.
    EXPECT_EQ(
        scene.eval(QStringLiteral("b.setContactModelCircle(); l = game.createLine(1, 2, 3);"
                                  "[1, 'sprite', game, system, l, null, undefined, {}, [b], b, c]"
                                  ".map(function (v) { return b.isContactWith(v); }).join()")),
        QStringLiteral("false,false,false,false,false,false,false,false,false,true,true"));
    // A script started afresh has deleted the sprites and animations of the old one.
    QList<QPointer<QObject>> made;
    for (const char* name : {"a", "b", "c"})
        made << scene.loop.game()->scriptEngine()->globalObject().property(name).toQObject();
    ASSERT_TRUE(scene.loop.switchTo(QStringLiteral("main"), QString()));
    for (const auto& object : made)
        EXPECT_TRUE(object.isNull());
}

// A script's function converts every pixel once; that counts towards the call's time limit.
TEST(SpriteScene, PixelConversionChangesWhatIsDrawn)
{
    const char* functions = "calls = 0;"
                            "invert = function (c) { ++calls;"
                            "  return {r: 255 - c.r, g: 255 - c.g, b: 255 - c.b, a: c.a}; };"
                            "again = function (c) { s.convertPixels('again'); return invert(c); };";
    // Left half red, right half see-through, drawn ten times larger.
    sf::Image half = solid(4, 4, sf::Color::Transparent);
    half.copy(solid(2, 4, red), 0, 0);
    const struct {
        const char* convert;
        sf::Color left, right;
        int calls;
    } cases[] = {
        {"s.convertPixels('invert'); s.convertPixels('invert')", red, blue, 32 + 1024},
        // A conversion started by conversion code does nothing: it would never end.
        {"s.convertPixels('again')", sf::Color(0, 255, 255), blue, 16 + 1024},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.addImage(QStringLiteral("sprites/h.png"), half);
        scene.addImage(QStringLiteral("sprites/strip.png"), quadrants(64, 16));
        scene.start(QLatin1String(functions) +
                        QStringLiteral("game.setBackgroundColor(0, 0, 255);"
                                       "s = game.loadSprite('h.png'); s.setScale(1000); %1;"
                                       "a = game.loadAnimation('strip.png', 4, 10);"
                                       "a.convertPixels('invert'); m = 'after';"
                                       "game.loadSprite('none.png').convertPixels('invert');")
                            .arg(QLatin1String(c.convert)),
                    QStringLiteral("s.renderTo(200, 200); a.renderTo(400, 400);"));
        EXPECT_EQ(scene.eval(QStringLiteral("m + calls")), "after" + QString::number(c.calls))
            << c.convert;
        expectPixels(scene.frame(),
                     {{185, 200, c.left}, {215, 200, c.right}, {395, 395, sf::Color(0, 255, 255)}},
                     c.convert);
    }
    // A conversion stuck in one pixel, or slow over many, ends with the call.
    for (const char* conversion :
         {"n = 0; f = function (c) { if (++n > 1) while (true) {} return c; };",
          "f = function (c) { for (var i = 0; i < 50; ++i) {} return c; };"}) {
        TestGame test(
            QStringLiteral("function Init() {%1 game.loadSprite('q.png').convertPixels('f'); }")
                .arg(QLatin1String(conversion)),
            600);
        QDir(test.dataDir()).mkpath(QStringLiteral("sprites"));
        ASSERT_TRUE(quadrants(512, 512).saveToFile(
            (test.dataDir() + QStringLiteral("/sprites/q.png")).toStdString()));
        EXPECT_FALSE(test.game().callInit(QString())) << conversion;
        EXPECT_EQ(test.logs, QStringList{QStringLiteral("ОШИБКА функции Init(): Error: выполнение "
                                                        "прервано: вызов длился дольше 0 с")});
    }
}

// Direct slots answer as the engine's own methods: value, error and its line, messages, place.
TEST(SpriteScene, DirectSlotsAnswerAsTheEngineCallsOfTheSameSlot)
{
    Scene scene;
    scene.addImage(QStringLiteral("sprites/pic.png"), solid(6, 4, red));
    ASSERT_TRUE(
        scene.start(QStringLiteral("d = game.loadSprite('pic.png'); u = game.loadSprite('pic.png');"
                                   "e = game.loadSprite('pic.png');"),
                    ""));
    // Plain calls read their arguments from the engine's frame on this build.
    EXPECT_TRUE(direct::frame::readable());
    Game& g = *scene.loop.game();
    const Sprite* sprites[] = {g.spriteList().at(0), g.spriteList().at(1)};
    QScriptEngine* engine = g.scriptEngine();
    // Each case runs on d and game, then on the engine's own wrappers p (of the sprite u) and pg.
    engine->globalObject().setProperty("p", engine->newQObject(g.spriteList().at(1)));
    engine->globalObject().setProperty("pg", engine->newQObject(&g));
    g.keyPressed(72);
    auto placed = [](const Sprite* sprite) {
        QString text;
        for (const contact::Point& at : sprite->corners())
            text += QStringLiteral(" %1,%2").arg(at.x).arg(at.y);
        return text;
    };
    auto outcome = [&](const QString& call, const Sprite* sprite) {
        g.leftPressed(); // a click is read once
        lines().clear();
        const QScriptValue value = engine->evaluate(call, QStringLiteral("case.js"), 1);
        const QString text = value.toString() + ' ' + value.property("lineNumber").toString();
        engine->clearExceptions();
        return text + placed(sprite) + lines().join('|');
    };
    // A call from native code, where the engine makes the call's frame itself.
    for (const char* o : {"d", "p"}) {
        const QScriptValue wrapper = engine->globalObject().property(o);
        wrapper.property("renderTo").call(wrapper, QScriptValueList{6, -7.5});
    }
    EXPECT_EQ(placed(sprites[0]), placed(sprites[1]));
    // clang-format off
    for (const char* c : {
             "o.setXY(2.7, -2.7); o.render(); o.renderTo(1e10, NaN); o.renderTo(4294967297, -Infinity);"
             " o.isContactWith()",
             "o.renderTo('12', ' 7 '); o.renderTo(1, 2, 3); o.renderTo(undefined, null);\n o.renderTo(5)",
             "o.setScale(-150); o.mirrorHorz(1); o.mirrorVert({}); o.renderTo(3, 4); o.isPointIn(1)",
             "o.setScaleX(30); o.setScaleY(true); o.setAngle(4294967386); o.mirrorHorz(false);"
             " o.mirrorVert(true); o.renderTo(3, 4);"
             " og.getJoystickAxis(0)",
             "o.setHotSpot([5], '0x10'); o.setAlpha(); o.renderTo(0, 0)",
             "o.setXY({valueOf: function() { throw new Error('no'); }}, 1)",
             "[o.isContactWith(o), o.isContactWith(game), o.isPointIn(1, 2), o.getWidth('x'), o.getHeight()]",
             "var f = o.setXY; f(5, 6); o.render(); o.renderTo.call(game, 7, 8); og.isKeyReleased()",
             "o.setXY.call(o, 9.5, -10); o.render(); o.setXY.apply(o, [11, 1e10]); o.render();"
             " o.renderTo.call(e, 1, 1)",
             "[og.isKeyDown(72), og.isKeyDown('72'), og.isKeyHeld(72.9), og.isOneOfKeysDown([1, 72]),"
             " og.getTotalTime(1), og.isLeftButtonClicked(), og.getMousePos() === game.getMousePos(),"
             " og.isJoystickConnected(-1), og.isKeyDown.call(o, 72)]",
             "var f = o.renderTo; game.release(o); f(1, 2); o.renderTo(3, 4); [f(), o.getWidth()]"})
        EXPECT_EQ(outcome(QStringLiteral("o = d; og = game;") + c, sprites[0]),
                  outcome(QStringLiteral("o = p; og = pg;") + c, sprites[1])) << c;
    // clang-format on
}
