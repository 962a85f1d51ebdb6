#include "TestGame.h"
#include "core/PlatformMap.h"
#include "core/RegularFile.h"
#include "runtime/Game.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QString entryFunctions = QStringLiteral(R"(
var mode = "";
function Init(p) { return p; }
function Frame(dt) {
    switch (mode) {
    case "error": throw new Error("boom");
    case "string": throw "just text";
    case "thrownFalse": throw false;
    case "false": return false;
    case "zero": return 0;
    case "null": return null;
    case "empty": return "";
    case "errorValue": return new TypeError("returned");
    case "call": undefinedFunction(); break;
    }
}
)");

} // namespace

TEST(GameEntryCalls, OnlyErrorsAndBooleanFalseFail)
{
    TestGame t(entryFunctions);
    // The call's text gives dt with six significant digits.
    struct Case {
        const char* mode;
        bool ok;
        QString log;
        double dt = 0.5;
    } cases[] = {
        {"", true, QString()},
        {"zero", true, QString()},
        {"null", true, QString()},
        {"empty", true, QString()},
        {"string", true, QString()},
        {"false", false, QStringLiteral("Игра остановлена")},
        {"thrownFalse", false, QStringLiteral("Игра остановлена")},
        {"error", false, QStringLiteral("ОШИБКА функции Frame(0.0166667): Error: boom"), 0.0166667},
        {"errorValue", false, QStringLiteral("ОШИБКА функции Frame(1e-05): TypeError: returned"),
         1e-5},
        {"call", false,
         QStringLiteral("ОШИБКА функции Frame(0.5): ReferenceError: Can't find variable: "
                        "undefinedFunction")},
    };
    for (const Case& c : cases) {
        t.eval(QStringLiteral("mode = '%1'").arg(QLatin1String(c.mode)));
        t.logs.clear();
        EXPECT_EQ(t.game().callFrame(c.dt), c.ok) << c.mode;
        EXPECT_EQ(t.logs.value(0), c.log) << c.mode;
    }
}

// The text reported in full when Init fails: FrameLoopTest.
TEST(GameEntryCalls, AnEmptyParameterTextIsNoArgument)
{
    TestGame u(QStringLiteral("var got; function Init(p) { got = arguments.length + ':' + p; }"));
    EXPECT_TRUE(u.game().callInit(QString()));
    EXPECT_EQ(u.eval(QStringLiteral("got")), QStringLiteral("0:undefined"));
}

TEST(GameEntryCalls, TimeAndFrameRateAreUpdatedBeforeFrame)
{
    TestGame t(QStringLiteral(R"(
        var seen = [];
        function Frame(dt) {
            seen.push(game.getTotalTime().toFixed(2) + '/' + game.getFPS());
            if (seen.length == 5) game.resetTotalTime();
        }
    )"));
    // 0.25 s frames: the fourth completes the first second and counts itself.
    // A reset starts the time afresh and keeps the frame rate's counters.
    for (int i = 0; i < 8; ++i)
        t.game().callFrame(0.25);
    EXPECT_EQ(t.eval(QStringLiteral("seen.join(' ')")),
              QStringLiteral("0.25/0 0.50/0 0.75/0 1.00/4 1.25/4 0.25/4 0.50/4 0.75/4"));
}

TEST(GameEntryCalls, FrameRateDropsTheRemainderAboveOneSecond)
{
    FrameStats s;
    s.advance(0.7);
    s.advance(0.7); // 1.4 s: the 0.4 s above the second is dropped
    EXPECT_EQ(s.fps, 2);
    s.advance(0.5);
    s.advance(0.3);
    s.advance(0.3);
    EXPECT_EQ(s.fps, 3);
    EXPECT_EQ(s.frameCount, 0);
    EXPECT_DOUBLE_EQ(s.totalTime, 2.5);
}

TEST(GameEntryCalls, GoToScriptRecordsAndAnEmptyNameClears)
{
    TestGame t(QStringLiteral(R"(
        var step = 0;
        function Frame() {
            if (step == 0) game.goToScript("next", {score: 3});
            if (step == 1) { game.goToScript("next", 1); game.goToScript("", 2); }
            if (step == 2) game.goToScript("alone");
            step++;
        }
    )"));
    EXPECT_TRUE(t.game().callFrame(0.1));
    EXPECT_TRUE(t.game().hasPendingScript());
    EXPECT_EQ(t.game().pendingScript(), QStringLiteral("next"));
    EXPECT_EQ(t.game().pendingParams().property(QStringLiteral("score")).toInt32(), 3);
    t.game().callFrame(0.1);
    EXPECT_FALSE(t.game().hasPendingScript());
    EXPECT_TRUE(t.game().callFrame(0.1));
    EXPECT_EQ(t.game().pendingScript(), QStringLiteral("alone"));
    EXPECT_FALSE(t.game().pendingParams().isValid());
}

TEST(GameEntryCalls, FailuresAreLocatedInTheirOwnFiles)
{
    const struct {
        const char* name;
        const char* main;
        const char* lib;
        bool frame;
        QStringList logs;
    } cases[] = {
        {"stack through an include",
         "function Init() {}\nfunction a() { b(); }\n$include<lib.js>\nfunction Frame() {\n "
         "a();\n}",
         "// lib\nfunction b() {\n c();\n}\nfunction c() { null.f(); }",
         true,
         {"ОШИБКА функции Frame(0.5): TypeError: Result of expression 'null' [null] is not an "
          "object.",
          "  at scripts/lib.js:5", "    c() at scripts/lib.js:5", "    b() at scripts/lib.js:3",
          "    a() at scripts/main.js:2", "    Frame(0.5) at scripts/main.js:5"}},
        // What a catch sees, also caught twice and in the included file.
        {"caught",
         "$include<lib.js>\nfunction Init() {\n try { try { null.f(); } catch (e) { throw e; } } "
         "catch (e) { throw new Error(e.fileName + ':' + e.lineNumber + ' ' + lib()); }\n}",
         "// lib\nfunction lib() { try { nothing; } catch (e) { return e.fileName + ':' + "
         "e.lineNumber; } }",
         false,
         {"ОШИБКА функции Init(): Error: scripts/main.js:3 scripts/lib.js:2",
          "  at scripts/main.js:3", "    Init() at scripts/main.js:3"}},
        // Top-level code runs before `game` exists; what follows the throw never runs.
        {"top-level throw",
         "function Init() { return typeof after; }\nvar before = 1;\n$include<lib.js>\nvar after = "
         "1;",
         "\nvar s = game.getFPS();",
         false,
         {"Error while loading scripts/main.js: ReferenceError: Can't find variable: game",
          "  at scripts/lib.js:2", "    <global>() at scripts/lib.js:2"}},
        {"parse error in an include",
         "$include<lib.js>\nfunction Init() {}",
         "var a = 1;\nvar b = (;",
         false,
         {"Parse error at scripts/lib.js:2",
          "ОШИБКА функции Init(): ReferenceError: Can't find variable: Init"}},
        {"newer construct",
         "function Init() {}\n$include<lib.js>",
         "\nvar f = (x) => x;",
         false,
         {"Parse error at scripts/lib.js:2 (arrow function: not ECMAScript 5, the language of "
          "scripts)",
          "ОШИБКА функции Init(): ReferenceError: Can't find variable: Init"}},
    };
    for (const auto& c : cases) {
        TestGame t;
        t.addScript(QStringLiteral("lib"), QString::fromUtf8(c.lib));
        t.addScript(QStringLiteral("main"), QString::fromUtf8(c.main));
        t.load();
        t.game().callInit(QString());
        if (c.frame)
            t.game().callFrame(0.5);
        EXPECT_EQ(t.logs, c.logs) << c.name;
    }
}

TEST(GameEntryCalls, LibraryFunctionsFillGapsButNeverReplace)
{
    TestGame t(QStringLiteral("String.prototype.repeat = function () { return 'own'; };"));
    const struct {
        const char* expression;
        const char* value;
    } cases[] = {
        {"[1, NaN].includes(NaN) + ',' + [1].includes(1, 1)", "true,false"},
        {"[5, 6, 7].find(function (x) { return x > 5; }) + ',' + [5].findIndex(isNaN)", "6,-1"},
        {"[0, 0, 0].fill(1, -2).join() + Array.from('ab').join('-') + Array.of(7).length",
         "0,1,1a-b1"},
        {"JSON.stringify(Object.assign({a: 1}, null, {b: 2})) + Object.entries({c: 3})",
         "{\"a\":1,\"b\":2}c,3"},
        {"'abc'.startsWith('b', 1) + ',' + 'abc'.endsWith('ab', 2) + ',' + 'abc'.includes('d')",
         "true,true,false"},
        {"'5'.padStart(3, '0') + 'x'.padEnd(4, 'ab') + '|' + ' t '.trimStart() + '|'",
         "005xaba|t |"},
        {"Math.sign(-3) + ',' + Math.trunc(-4.7) + ',' + Math.hypot(3, 4) + ',' + Math.log10(1000)",
         "-1,-4,5,3"},
        {"Number.isInteger(5) + ',' + Number.isInteger('5') + ',' + Number.isNaN('x')",
         "true,false,false"},
        {"var k = []; for (var p in [1]) k.push(p); for (var q in {}) k.push(q); k.join()", "0"},
        {"'x'.repeat(2)", "own"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.eval(QString::fromUtf8(c.expression)), QString::fromUtf8(c.value))
            << c.expression;
    t.eval(QStringLiteral("console.log('a', 1); console.error(null)"));
    EXPECT_EQ(t.logs, (QStringList{"a 1", "null"}));
}

// Hostile things where a script, include, map or asset is expected: nothing
// hangs, nothing is read. What a script includes stays within bounds.
TEST(GameEntryCalls, EveryReaderRefusesNonRegularAndOversizedFiles)
{
    TestGame t;
    const QString root = t.dataDir() + QLatin1Char('/');
    for (const char* fifo : {"fifo", "scripts/fifo.js"})
        ASSERT_EQ(mkfifo(QFile::encodeName(root + QLatin1String(fifo)).constData(), 0600), 0);
    QDir(root).mkdir(QStringLiteral("dir"));
    t.addFile(QStringLiteral("big"), QByteArray(fileLimits::scriptBytes + 1, '/'));
    t.addFile(QStringLiteral("half"),
              "n += 1e6; //" + QByteArray(fileLimits::scriptBytes / 2, 'x'));
    t.addFile(QStringLiteral("one"), "n += 1;");
    const QString zero = QStringLiteral("../../../../../../../../../../../dev/zero");
    t.addScript(QStringLiteral("main"),
                QStringLiteral("var n = 0;\n// $include<../fifo>\n// $include<../dir>\n"
                               "// $include<../big>\n// $include<") +
                    zero + QStringLiteral(">\n") +
                    QStringLiteral("// $include<../half>\n").repeated(2) +
                    QStringLiteral("// $include<../one>\n").repeated(2000) +
                    QStringLiteral("function Init() { game.loadSound('../../fifo'); }"));
    for (const QString& name :
         {QStringLiteral("fifo"), QStringLiteral("dir"), QStringLiteral("big"),
          QStringLiteral("scripts/") + zero, QStringLiteral("one\0fifo")}) {
        EXPECT_FALSE(readRegularFile(root + name, fileLimits::scriptBytes)) << name.toStdString();
        EXPECT_FALSE(loaderMayOpen(root + name, fileLimits::scriptBytes)) << name.toStdString();
        EXPECT_FALSE(PlatformMap().loadFile(root + name)) << name.toStdString();
    }
    t.load();
    EXPECT_TRUE(t.game().callInit(QString()));
    // One of the two halves fits, and only so many includes are expanded.
    EXPECT_EQ(t.eval(QStringLiteral("Math.floor(n / 1e6) + ' ' + (n % 1e6 > 0 && n % 1e6 < 2000)")),
              QStringLiteral("1 true"));
    t.load(QStringLiteral("fifo"));
    EXPECT_EQ(t.eval(QStringLiteral("typeof Init")), QStringLiteral("undefined"));
}
