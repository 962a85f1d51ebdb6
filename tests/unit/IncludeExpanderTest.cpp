#include "Game.h"
#include "IncludeExpander.h"
#include "PlatformMap.h"
#include "RegularFile.h"
#include "TestGame.h"

#include <QDir>
#include <QMap>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct Case {
    const char* name;
    QString text;
    QString expected;
};

FileReader fakeFiles(const QMap<QString, QByteArray>& files)
{
    return [files](const QString& path, qint64 maxBytes) -> std::optional<QByteArray> {
        if (!files.contains(path) || files.value(path).size() > maxBytes)
            return std::nullopt;
        return files.value(path);
    };
}

} // namespace

TEST(IncludeExpander, ExpandsLinesByTheGreedyRule)
{
    const FileReader read = fakeFiles({
        {QStringLiteral("scripts/lib.js"), QByteArray("var a = 1;\nvar b = 2;")},
        {QStringLiteral("scripts/lib"), QByteArray("NOEXT")},
        {QStringLiteral("scripts/empty.js"), QByteArray()},
        {QStringLiteral("scripts/nul.js"), QByteArray("before\0after", 12)},
        {QStringLiteral("scripts/nested.js"), QByteArray("$include<lib.js>")},
        {QStringLiteral("scripts/utf8.js"), QByteArray("var s = \"\xd0\xbf\";")},
    });
    const Case cases[] = {
        {"whole line", "x;\n$include<lib.js>\ny;", "x;\nvar a = 1;\nvar b = 2;\ny;"},
        {"no extension added", "$include<lib>", "NOEXT"},
        {"spaces kept in the name", "$include< lib.js >", "$include< lib.js >"},
        {"statement and comment lost", "f(); $include<lib.js> // c", "var a = 1;\nvar b = 2;"},
        {"two on a line capture to the last >", "$include<a.js> $include<b.js>",
         "$include<a.js> $include<b.js>"},
        {"behind a line comment", "// $include<lib.js>", "var a = 1;\nvar b = 2;"},
        {"missing file unchanged", "$include<nope.js>", "$include<nope.js>"},
        {"empty file gives an empty line", "a\n$include<empty.js>\nb", "a\n\nb"},
        {"NUL ends the included text", "$include<nul.js>", "before"},
        {"included text not searched again", "$include<nested.js>", "$include<lib.js>"},
        {"same file twice", "$include<lib>\n$include<lib>", "NOEXT\nNOEXT"},
        {"CR before LF stays", "a\r\n$include<lib>\r\nb", "a\r\nNOEXT\nb"},
        {"UTF-8 decoded", "$include<utf8.js>", QString::fromUtf8("var s = \"\xd0\xbf\";")},
        {"case-sensitive keyword", "$Include<lib>", "$Include<lib>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expandIncludes(c.text, read), c.expected) << c.name;
}

TEST(IncludeExpander, IncludesPastTheBudgetOrTheCountStayUnchanged)
{
    const FileReader read = fakeFiles(
        {{QStringLiteral("scripts/ten"), QByteArray(10, 'x')}, {QStringLiteral("scripts/e"), {}}});
    EXPECT_EQ(expandIncludes(QStringLiteral("$include<ten>\n$include<ten>\n$include<ten>"), read, 25),
              QStringLiteral("xxxxxxxxxx\nxxxxxxxxxx\n$include<ten>"));
    const QString many = QStringLiteral("$include<e>\n").repeated(100000);
    const int left = expandIncludes(many, read).count(QStringLiteral("$include<e>"));
    EXPECT_GT(left, 0);
    EXPECT_LT(left, 100000);
}

// Hostile things where a script, include, map or asset is expected: nothing
// hangs, nothing is read.
TEST(IncludeExpander, NonRegularAndOversizedFilesAreRefusedByEveryReader)
{
    TestGame t;
    const QString root = t.dataDir() + QLatin1Char('/');
    ASSERT_EQ(mkfifo(QFile::encodeName(root + QStringLiteral("fifo")).constData(), 0600), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(root + QStringLiteral("scripts/fifo.js")).constData(), 0600), 0);
    QDir(root).mkdir(QStringLiteral("dir"));
    t.addFile(QStringLiteral("big"), QByteArray(fileLimits::scriptBytes + 1, '/'));
    t.addFile(QStringLiteral("fine"), QByteArray("1\n1\nG\n"));
    const QString zero = QStringLiteral("../../../../../../../../../../../dev/zero");
    for (const QString& name : {QStringLiteral("fifo"), QStringLiteral("dir"), QStringLiteral("big"),
                                QStringLiteral("scripts/") + zero, QStringLiteral("fine\0fifo")}) {
        const QString path = t.dataDir() + QLatin1Char('/') + name;
        EXPECT_FALSE(readRegularFile(path, fileLimits::scriptBytes)) << name.toStdString();
        EXPECT_FALSE(loaderMayOpen(path, fileLimits::scriptBytes)) << name.toStdString();
        PlatformMap map;
        EXPECT_FALSE(map.loadFile(path)) << name.toStdString();
    }
    PlatformMap map;
    EXPECT_TRUE(map.loadFile(root + QStringLiteral("fine")));

    t.addScript(QStringLiteral("main"),
                QStringLiteral("var loaded = 1;\n// $include<../fifo>\n// $include<../dir>\n"
                               "// $include<../big>\n// $include<") +
                    zero + QStringLiteral(">\nfunction Init() { game.loadSound('../../fifo'); }"));
    t.load();
    EXPECT_TRUE(t.game().callInit(QString()));
    EXPECT_EQ(t.eval(QStringLiteral("loaded")), QStringLiteral("1"));
    t.load(QStringLiteral("fifo"));
    EXPECT_EQ(t.eval(QStringLiteral("typeof Init")), QStringLiteral("undefined"));
}

TEST(IncludeExpander, ScriptTextStopsAtNulAndReplacesBadUtf8)
{
    EXPECT_EQ(scriptTextFromBytes(QByteArray("ab\0cd", 5)), QStringLiteral("ab"));
    EXPECT_EQ(scriptTextFromBytes(QByteArray("a\xff" "b")), QString::fromUtf8("a\xef\xbf\xbd" "b"));
}
