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

TEST(ScriptLocation, StackFramesAreMappedToTheirOwnFiles)
{
    ExpandedScript s;
    s.files = QStringList{"scripts/main.js", "scripts/lib.js"};
    s.origins = {{"scripts/main.js", 1}, {"scripts/lib.js", 1}, {"scripts/lib.js", 2}};
    EXPECT_EQ(stackLines({"c() at scripts/main.js:3", "b(x = 1) at scripts/main.js:1",
                          "<global>() at 1", "d() at other.js:9"},
                         s),
              (QStringList{"c() at scripts/lib.js:2", "b(x = 1) at scripts/main.js:1",
                           "d() at other.js:9"}));
}
