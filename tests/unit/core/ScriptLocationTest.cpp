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
        {"items.map(x => x * 2);", "arrow function"},
        {"class Hero extends Actor {", "class"},
        {"var Hero = class {", "class"},
        {"var s = `score ${n}`;", "template string"},
        {"for (var item of list) {", "for...of loop"},
        {"function move(dx, dy = 0) {", "default parameter"},
        {"var {x, y} = point;", "destructuring"},
        {"const [a, b] = pair;", "destructuring"},
        {"f(...args);", "spread or rest (...)"},
        {"var x = (1;", ""},
        {"var outlet = offset; // let it be", ""},
        {"var letter = 'of';", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(newerConstructIn(QString::fromUtf8(c.line)), QString::fromUtf8(c.construct))
            << c.line;
}
