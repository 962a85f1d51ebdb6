#include "core/IncludeExpander.h"

#include <QMap>
#include <gtest/gtest.h>

namespace {

// Files of the scripts folder, by name.
FileReader fakeFiles(const QMap<QString, QByteArray>& files)
{
    return [files](const QString& path, qint64) -> std::optional<QByteArray> {
        const QString name = path.mid(8);
        if (!path.startsWith(QLatin1String("scripts/")) || !files.contains(name))
            return std::nullopt;
        return files.value(name);
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
    const struct {
        const char* name;
        QString text, expected;
    } cases[] = {
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
    for (const auto& c : cases)
        EXPECT_EQ(expandIncludes(c.text, read), c.expected) << c.name;
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
