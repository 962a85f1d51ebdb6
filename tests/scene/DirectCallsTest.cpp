// The slots scripts reach without the engine's method call answer every call
// as the engine's own method of the same object does.
#include "TestGame.h"
#include "objects/Sprite.h"
#include "runtime/Game.h"

#include <QScriptEngine>
#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

namespace {

QStringList debugLines;

// A call's value or error with its line, the messages it wrote, and where
// the sprite now stands.
QString outcome(QScriptEngine* engine, const QString& call, const Sprite* sprite)
{
    debugLines.clear();
    const QScriptValue value = engine->evaluate(call, QStringLiteral("case.js"), 1);
    QString text = value.toString() + ' ' + value.property(QStringLiteral("lineNumber")).toString();
    engine->clearExceptions();
    for (const contact::Point& p : sprite->corners())
        text += QStringLiteral(" %1,%2").arg(p.x).arg(p.y);
    return text + debugLines.join(QLatin1Char('|'));
}

} // namespace

TEST(DirectCalls, AnswerAsTheEngineCallOfTheSameSlot)
{
    TestGame t(
        QStringLiteral("var d, e; function Init() {"
                       " d = game.loadSprite('pic.png'); e = game.loadSprite('pic.png'); }"));
    t.addFile(QStringLiteral("sprites/pic.png"), QByteArray());
    sf::Image pic;
    pic.create(6, 4, sf::Color::Red);
    ASSERT_TRUE(pic.saveToFile("sprites/pic.png"));
    Game& g = t.game();
    ASSERT_TRUE(g.callInit(QString()));
    const Sprite* direct = g.spriteList().at(0);
    Sprite* plain = g.spriteList().at(1);
    // The engine's own wrappers of the second sprite and of the game.
    QScriptEngine* engine = g.scriptEngine();
    engine->globalObject().setProperty("p", engine->newQObject(plain));
    engine->globalObject().setProperty("pg", engine->newQObject(&g));

    // `o` is the sprite, `og` the game.
    const char* cases[] = {
        "o.setXY(2.7, -2.7); o.render()",
        "o.renderTo(1e10, NaN); o.renderTo(4294967297, -Infinity)",
        "o.renderTo('12', ' 7 '); o.renderTo(1, 2, 3)",
        "o.renderTo(undefined, null)",
        "\n o.renderTo(5)",
        "o.setScale(-150); o.mirrorHorz(1); o.mirrorVert({}); o.renderTo(3, 4)",
        "o.setScaleX(30); o.setScaleY(true); o.setAngle(4294967386); o.renderTo(3, 4)",
        "o.setHotSpot([5], '0x10'); o.setAlpha(); o.renderTo(0, 0)",
        "o.setXY({valueOf: function() { throw new Error('no'); }}, 1)",
        "[o.isPointIn(1, 2), o.isPointIn(1), o.getWidth('x'), o.getHeight()]",
        "[o.isContactWith(o), o.isContactWith(game), o.isContactWith()]",
        "var f = o.setXY; f(5, 6); o.render(); o.renderTo.call(game, 7, 8)",
        "[og.isKeyDown(72), og.isKeyDown('72'), og.isKeyHeld(72.9), og.isKeyReleased()]",
        "[og.isOneOfKeysDown([1, 72]), og.getTotalTime(1), og.isLeftButtonClicked()]",
        "[og.getMousePos() === game.getMousePos(), og.getJoystickAxis(0)]",
        "[og.isJoystickConnected(-1), og.isKeyDown.call(o, 72)]",
        "var f = o.renderTo; game.release(o); f(1, 2); o.renderTo(3, 4); [f(), o.getWidth()]",
    };
    qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { debugLines << text; });
    for (const char* c : cases) {
        g.keyPressed(72);
        g.leftPressed();
        const QString fast = outcome(engine, QStringLiteral("o = d; og = game;") + c, direct);
        g.leftPressed();
        EXPECT_EQ(fast, outcome(engine, QStringLiteral("o = p; og = pg;") + c, plain)) << c;
    }
    qInstallMessageHandler(nullptr);
}
