#include "core/IncludeExpander.h"
#include "core/JsonText.h"
#include "core/ScriptLocation.h"
#include "core/ScriptNumber.h"

#include <QMap>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Files of the scripts folder, by name.
FileReader fakeFiles(const QMap<QString, QByteArray>& files)
{
    return [files](const QString& path, qint64) -> std::optional<QByteArray> {
        const auto it = files.constFind(path.mid(8));
        return path.startsWith(QLatin1String("scripts/")) && it != files.cend() ? std::optional(*it)
                                                                                : std::nullopt;
    };
}

} // namespace

TEST(IncludeExpander, ExpandsLinesByTheGreedyRule)
{
    // clang-format off
    const FileReader read = fakeFiles({{"lib.js", "var a = 1;\nvar b = 2;"}, {"lib", "NOEXT"},
        {"empty.js", ""}, {"nul.js", QByteArray("before\0after", 12)},
        {"nested.js", "$include<lib.js>"}, {"bad.js", "a\377b"}});
    // clang-format on
    const std::tuple<const char*, QString, QString> cases[] = {
        {"whole line", "x;\n$include<lib.js>\ny;", "x;\nvar a = 1;\nvar b = 2;\ny;"},
        {"no extension added", "$include<lib>", "NOEXT"},
        {"spaces kept in the name", "$include< lib.js >", "$include< lib.js >"},
        {"statement and comment lost", "f(); $include<lib.js> // c", "var a = 1;\nvar b = 2;"},
        {"two on a line capture to the last >", "$include<a.js> $include<b.js>",
         "$include<a.js> $include<b.js>"},
        {"missing file unchanged", "$include<nope.js>", "$include<nope.js>"},
        {"empty file gives an empty line", "a\n$include<empty.js>\nb", "a\n\nb"},
        {"NUL ends the included text", "$include<nul.js>", "before"},
        {"included text not searched again", "$include<nested.js>", "$include<lib.js>"},
        {"CR before LF stays", "a\r\n$include<lib>\r\nb", "a\r\nNOEXT\nb"},
        {"bad UTF-8 replaced", "$include<bad.js>", QString::fromUtf16(u"a\uFFFDb")},
    };
    for (const auto& [name, text, expected] : cases)
        EXPECT_EQ(expandIncludes(text, read), expected) << name;
}

TEST(IncludeExpander, EveryExpandedLineKnowsItsFileAndOwnLine)
{
    const FileReader read =
        fakeFiles({{"two.js", "t1\nt2"}, {"nested.js", "n1\n$include<two.js>"}});
    const ExpandedScript s = expandScript(
        QStringLiteral("scripts/main.js"),
        QStringLiteral("m1\n$include<two.js>\nm3\n$include<nested.js>\n$include<gone.js>\nm6"),
        read);
    const QStringList expected = {"main.js:1",   "two.js:1",    "two.js:2",  "main.js:3",
                                  "nested.js:1", "nested.js:2", "main.js:5", "main.js:6"};
    ASSERT_EQ(s.text.count(QLatin1Char('\n')) + 1, expected.size());
    for (int line = 1; line <= expected.size(); ++line) {
        const SourceLine at = s.locate(line);
        EXPECT_EQ(at.file.mid(8) + ':' + QString::number(at.line), expected[line - 1]) << line;
    }
    EXPECT_EQ(s.files, (QStringList{"scripts/main.js", "scripts/two.js", "scripts/nested.js"}));
}

TEST(JsonText, NumbersKeepSixDigitsAndNamesForTheNonFinite)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, const char*> cases[] = {
        {3.14159265, "3.14159"}, {1000000, "1e+06"},  {0.00001, "1e-05"}, {-0.5, "-0.5"},
        {std::nan(""), "NaN"},   {-inf, "-Infinity"}, {inf, "Infinity"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatNumber(value), QLatin1String(text)) << text;
}

TEST(ScriptNumber, Int32TruncatesAndWrapsAroundTwoToThe32)
{
    const double inf = std::numeric_limits<double>::infinity();
    // clang-format off
    const std::pair<double, int> cases[] = {
        {2.7, 2}, {-2.7, -2}, {2147483647.9, 2147483647}, {2147483648.0, -2147483647 - 1},
        {-2147483649.5, 2147483647}, {4294967301.75, 5}, {1e10, 1410065408}, {-1e300, 0},
        {std::nan(""), 0}, {-inf, 0}};
    // clang-format on
    for (const auto& [value, int32] : cases)
        EXPECT_EQ(scriptInt32(value), int32) << value;
}

TEST(JsonText, StringsEscapeWhatWouldEndOrBreakALiteral)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("say \"hi\" \\"), QStringLiteral("\"say \\\"hi\\\" \\\\\"")},
        {QStringLiteral("\n\r\t\b\f"), QStringLiteral("\"\\n\\r\\t\\b\\f\"")},
        {QString::fromUtf16(u"\u0001\u001f\u2028\u2029"),
         QStringLiteral("\"\\u0001\\u001f\\u2028\\u2029\"")},
        {QString::fromUtf16(u"\u00e9t\u00e9 \u0436 \u007f"),
         QString::fromUtf16(u"\"\u00e9t\u00e9 \u0436 \u007f\"")},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(quoteString(text), quoted);
}

TEST(ScriptLocation, ParseFailuresNameTheNewerConstruct)
{
    const std::pair<const char*, const char*> cases[] = {
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
    for (const auto& [line, construct] : cases)
        EXPECT_EQ(newerConstructIn(QString::fromUtf8(line)), QString::fromUtf8(construct)) << line;
}

TEST(ScriptLocation, CatchBlocksOfCodeGetTheHookOnTheirOwnLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"try { f(); } catch (e) { g(e); }", "try { f(); } catch (e) {H(e); g(e); }"},
        {"try {}\ncatch ( err )\n{\n}", "try {}\ncatch ( err )\n{H(err);\n}"},
        {"s = 'catch (e) {'; // catch (e) {\n/* catch (e) {*/", nullptr},
        {"r = /catch (e) {/; d = a / b / c; q = \"\\\" catch (e) {\"; try {} catch (x) {}",
         "r = /catch (e) {/; d = a / b / c; q = \"\\\" catch (e) {\"; try {} catch (x) {H(x);}"},
        {"r = /[/]catch (e) {/; p.catch(e) {", nullptr},
    };
    for (const auto& [source, hooked] : cases) {
        const QString text = QString::fromUtf8(source);
        // The call is guarded: a game may have a global of the hook's name.
        EXPECT_EQ(withCatchHook(text, QStringLiteral("H"))
                      .remove(QStringLiteral("if (typeof H == 'function') ")),
                  hooked ? QString::fromUtf8(hooked) : text)
            << source;
    }
}
