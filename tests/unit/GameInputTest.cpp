#include "TestGame.h"
#include "runtime/Game.h"

#include <QScriptEngine>
#include <gtest/gtest.h>

TEST(GameInput, OneOfKeysConvertsEachElementAndRereadsLength)
{
    TestGame t(QStringLiteral("function Frame() {}"));
    Game& g = t.game();
    g.keyPressed(0);
    g.keyPressed(72);
    struct Case {
        const char* arr;
        bool down;
    } cases[] = {
        {"[KEY_RIGHT]", true},
        {"[5, 6, 72.9]", true}, // truncated to 72
        {"['72']", true},       // numeric string
        {"['left']", true},     // non-numeric string tests code 0 (A)
        {"[1, 2, 3]", false},
        {"72", false}, // not an array, nor an array-like object
        {"({length: 1, 0: 72})", false},
        // Converting element 0 shortens the array, so element 1 is never read.
        {"var a = [{valueOf: function() { a.length = 1; return 5; }}, 72]; a", false},
        // Converting element 0 grows the array, and the new element is read.
        {"var b = [{valueOf: function() { b.push(72); return 5; }}]; b", true},
    };
    for (const Case& c : cases) {
        const QScriptValue arr = g.scriptEngine()->evaluate(QString::fromUtf8(c.arr));
        EXPECT_EQ(g.isOneOfKeysDown(arr), c.down) << c.arr;
    }
}

TEST(GameInput, MousePositionIsOneObjectOverwrittenEachFrame)
{
    TestGame t(QStringLiteral(R"(
        var m;
        function Init() { m = game.getMousePos(); m.x = 999; }
        function Frame() {}
    )"));
    t.game().callInit(QString());
    EXPECT_EQ(t.eval(QStringLiteral("m === game.getMousePos()")), QStringLiteral("true"));
    t.game().setMousePos(-3, 640);
    EXPECT_EQ(t.eval(QStringLiteral("m.x + ',' + m.y")), QStringLiteral("-3,640"));
}
