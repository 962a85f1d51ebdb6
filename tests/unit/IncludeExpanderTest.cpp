#include "IncludeExpander.h"
#include "Game.h"
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
    return [files](const QString& path, qint64) -> std::optional<QByteArray> {
        if (!files.contains(path))
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
        {QStringLiteral("scripts/bad.js"), QByteArray("a\xff"
                                                      "b")},
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
        {"bad UTF-8 replaced", "$include<bad.js>",
         QString::fromUtf8("a\xef\xbf\xbd"
                           "b")},
        {"case-sensitive keyword", "$Include<lib>", "$Include<lib>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expandIncludes(c.text, read), c.expected) << c.name;
}

// Hostile things where a script, include, map or asset is expected: nothing
// hangs, nothing is read. What a script includes stays within bounds.
TEST(IncludeExpander, EveryReaderRefusesNonRegularAndOversizedFiles)
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
