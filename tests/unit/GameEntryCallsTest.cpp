#include "TestGame.h"
#include "core/PlatformMap.h"
#include "core/RegularFile.h"

#include <SFML/Window/Keyboard.hpp>
#include <gtest/gtest.h>
#include <sys/stat.h>

// Frame gives what `v` evaluates to: only errors and boolean false fail, and
// the failure names the call with dt in six significant digits, the number
// the script gets.
TEST(GameEntryCalls, OnlyErrorsAndBooleanFalseFail)
{
    TestGame t(QStringLiteral("var v; function Frame() { return eval(v); }"));
    const QString stopped = QStringLiteral("Игра остановлена");
    const std::tuple<const char*, double, QString> cases[] = { // the log; empty: succeeds
        {"undefined", 0.5, {}}, {"0", 0.5, {}}, {"false", 0.5, stopped},
        {"(function () { throw 'just text'; })()", 0.5, {}},
        {"(function () { throw false; })()", 0.5, stopped},
        {"(function () { throw new Error('boom'); })()", 0.0166667,
         QStringLiteral("ОШИБКА функции Frame(0.0166667): Error: boom")},
        {"new TypeError('returned')", 1e-5,
         QStringLiteral("ОШИБКА функции Frame(1e-05): TypeError: returned")},
        {"new Error(arguments[0] === 0.0123457)", 0.01234567,
         QStringLiteral("ОШИБКА функции Frame(0.0123457): Error: true")},
    };
    for (const auto& [value, dt, log] : cases) {
        t.game().scriptEngine()->globalObject().setProperty(QStringLiteral("v"), value);
        t.logs.clear();
        EXPECT_EQ(t.game().callFrame(dt), log.isEmpty()) << value;
        EXPECT_EQ(t.logs.value(0), log) << value;
    }
}

TEST(GameEntryCalls, FailuresAreLocatedInTheirOwnFiles)
{
    const std::tuple<const char*, const char*, QStringList> cases[] = {
        // What a catch sees, also caught twice and in the included file.
        {"$include<lib.js>\nfunction Init() {\n try { try { null.f(); } catch (e) { throw e; } } "
         "catch (e) { throw new Error(e.fileName + ':' + e.lineNumber + ' ' + lib()); }\n}",
         "// lib\nfunction lib() { try { nothing; } catch (e) { return e.fileName + ':' + "
         "e.lineNumber; } }",
         {"ОШИБКА функции Init(): Error: scripts/main.js:3 scripts/lib.js:2",
          "  at scripts/main.js:3", "    Init() at scripts/main.js:3"}},
        // Top-level code runs before `game` exists; what follows the throw never runs.
        {"function Init() { return typeof after; }\nvar before = 1;\n$include<lib.js>\n"
         "var after = 1;",
         "\nvar s = game.getFPS();",
         {"Error while loading scripts/main.js: ReferenceError: Can't find variable: game",
          "  at scripts/lib.js:2", "    <global>() at scripts/lib.js:2"}},
        {"$include<lib.js>\nfunction Init() {}", "var a = 1;\nvar b = (;",
         {"Parse error at scripts/lib.js:2",
          "ОШИБКА функции Init(): ReferenceError: Can't find variable: Init"}},
    };
    for (const auto& [main, lib, logs] : cases) {
        TestGame t;
        t.addScript(QStringLiteral("lib"), QString::fromUtf8(lib));
        t.addScript(QStringLiteral("main"), QString::fromUtf8(main));
        t.load();
        t.game().callInit(QString());
        EXPECT_EQ(t.logs, logs) << main;
    }
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
         QStringList{"fifo", "dir", "big", "scripts/" + zero, QStringLiteral("one\0fifo")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(readRegularFile(root + name, fileLimits::scriptBytes));
        EXPECT_FALSE(loaderMayOpen(root + name, fileLimits::scriptBytes));
        EXPECT_FALSE(PlatformMap().loadFile(root + name));
    }
    t.load();
    EXPECT_TRUE(t.game().callInit(QString()));
    // One of the two halves fits, and only so many includes are expanded.
    EXPECT_EQ(t.eval(QStringLiteral("Math.floor(n / 1e6) + ' ' + (n % 1e6 > 0 && n % 1e6 < 2000)")),
              QStringLiteral("1 true"));
    t.load(QStringLiteral("fifo"));
    EXPECT_EQ(t.eval(QStringLiteral("typeof Init")), QStringLiteral("undefined"));
}

// The key constants are the window library's codes. isOneOfKeysDown takes
// array elements as numbers (truncated; what is none is code 0) and rereads
// the length as converting an element changes it.
TEST(GameInput, KeyCodesAndOneOfKeys)
{
    using K = sf::Keyboard;
    const std::pair<const char*, K::Key> keys[] = {
        {"ESCAPE", K::Escape}, {"TAB", K::Tab}, {"ENTER", K::Enter}, {"LEFT", K::Left},
        {"UP", K::Up}, {"RIGHT", K::Right}, {"DOWN", K::Down}, {"SHIFT", K::LShift},
        {"CONTROL", K::LControl}, {"ALT", K::LAlt}, {"F1", K::F1}, {"F12", K::F12},
        {"SPACE", K::Space}, {"PLUS", K::Add}, {"MINUS", K::Subtract}, {"0", K::Num0},
        {"9", K::Num9}, {"A", K::A}, {"Z", K::Z}};
    TestGame t(QStringLiteral("function Frame() {}"));
    for (const auto& [name, code] : keys)
        EXPECT_EQ(t.eval(QStringLiteral("KEY_") + QLatin1String(name)), QString::number(code))
            << name;
    Game& g = t.game();
    g.keyPressed(0);
    g.keyPressed(72);
    const std::pair<const char*, bool> cases[] = {
        {"[5, 6, 72.9]", true}, {"['left']", true}, {"72", false}, {"({length: 1, 0: 72})", false},
        {"var a = [{valueOf: function() { a.length = 1; return 5; }}, 72]; a", false},
        {"var b = [{valueOf: function() { b.push(72); return 5; }}]; b", true}};
    for (const auto& [array, down] : cases)
        EXPECT_EQ(g.isOneOfKeysDown(g.scriptEngine()->evaluate(QString::fromUtf8(array))), down)
            << array;
}
