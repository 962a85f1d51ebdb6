#include "core/PlatformMap.h"
#include "core/RegularFile.h"
#include "runtime/Game.h"
#include "TestGame.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

// Hostile things where a script, include, map or asset is expected: nothing
// hangs, nothing is read. What a script includes stays within bounds.
TEST(FileReaders, EveryReaderRefusesNonRegularAndOversizedFiles)
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
