#include "core/ScriptLocation.h"

#include <gtest/gtest.h>

TEST(ScriptLocation, ParseFailuresNameTheNewerConstruct)
{
    const struct {
        const char* line;
        const char* construct;
    } cases[] = {
        {"let x = 1;", "let declaration"},
        {"var f = (a, b) => a + b;", "arrow function"},
        {"class Hero extends Actor {", "class"},
        {"var s = `score ${n}`;", "template string"},
        {"for (var item of list) {", "for...of loop"},
        {"function move(dx, dy = 0) {", "default parameter"},
        {"var {x, y} = point;", "destructuring"},
        {"f(...args);", "spread or rest (...)"},
        {"var x = (1;", ""},
        {"var outlet = offset; // let it be", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(newerConstructIn(QString::fromUtf8(c.line)), QString::fromUtf8(c.construct))
            << c.line;
}

TEST(ScriptLocation, CatchBlocksOfCodeGetTheHookOnTheirOwnLine)
{
    const struct {
        const char* text;
        const char* hooked;
    } cases[] = {
        {"try { f(); } catch (e) { g(e); }", "try { f(); } catch (e) {H(e); g(e); }"},
        {"try {}\ncatch ( err )\n{\n}", "try {}\ncatch ( err )\n{H(err);\n}"},
        {"s = 'catch (e) {'; // catch (e) {\n/* catch (e) {*/", nullptr},
        {"r = /catch (e) {/; d = a / b / c; q = \"\\\" catch (e) {\"; try {} catch (x) {}",
         "r = /catch (e) {/; d = a / b / c; q = \"\\\" catch (e) {\"; try {} catch (x) {H(x);}"},
        {"r = /[/]catch (e) {/; p.catch(e) {", nullptr},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        // The call is guarded: a game may have a global of the hook's name.
        const QString hooked = withCatchHook(text, QStringLiteral("H"))
                                   .remove(QStringLiteral("if (typeof H == 'function') "));
        EXPECT_EQ(hooked, c.hooked ? QString::fromUtf8(c.hooked) : text) << c.text;
    }
}
