#include "runtime/Game.h"
#include "runtime/QGameSystem.h"
#include "TestGame.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString kScript = QStringLiteral("function Init(p) { return true; }\n"
                                       "function Frame(dt) { return true; }\n"
                                       "function Render() {}\n");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every test gets its own HOME and user data directory.
class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedHome = qgetenv("HOME");
        savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        // Deeper than what exists, so the first save has parents to create.
        dataHome = home.path() + QStringLiteral("/share/deeper");
        qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
        ensureTestApp();
        appDir = dataHome + QLatin1Char('/') + QCoreApplication::applicationName();
    }
    void TearDown() override
    {
        qputenv("HOME", savedHome);
        if (savedDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedDataHome);
    }

    QTemporaryDir home;
    QString dataHome;
    QString appDir;
    QByteArray savedHome;
    QByteArray savedDataHome;
};

struct SavedCase {
    const char* value;    // script expression saved
    QByteArray bytes;     // exact file content
    const char* loadedAs; // JSON.stringify of the value loaded back; null: not loaded
};

} // namespace

TEST_F(Persistence, WritesExactTextAndReadsItBack)
{
    const SavedCase cases[] = {
        {"({b: 1, a: 'x'})", "{\n    \"a\": \"x\",\n    \"b\": 1\n}\n", "{\"a\":\"x\",\"b\":1}"},
        {"[1, 2.5, 3]", "[\n    1,\n    2.5,\n    3\n]\n", "[1,2.5,3]"},
        {"({pi: 3.14159265, big: 1000000, list: [true, null]})",
         "{\n    \"big\": 1000000,\n    \"list\": [\n        true,\n        null\n    ],\n"
         "    \"pi\": 3.14159265\n}\n",
         "{\"big\":1000000,\"list\":[true,null],\"pi\":3.14159265}"},
        {"3.14159265", "3.14159", "3.14159"},
        {"1000000", "1e+06", "1000000"},
        {"-0.5", "-0.5", "-0.5"},
        {"true", "true", "true"},
        {"false", "false", "false"},
        {"null", "null", "null"},
        {"undefined", "", nullptr},
        {"'\u00e9t\u00e9 \u0436'", "\"\xc3\xa9t\xc3\xa9 \xd0\xb6\"", "\"\u00e9t\u00e9 \u0436\""},
    };
    TestGame t(kScript);
    t.addFile(QStringLiteral("saved.json"), "a longer text saved before");
    for (const SavedCase& c : cases) {
        SCOPED_TRACE(c.value);
        t.eval(
            QStringLiteral("system.saveObject('saved.json', %1)").arg(QString::fromUtf8(c.value)));
        EXPECT_EQ(fileBytes(t.dataDir() + QStringLiteral("/saved.json")), c.bytes);
        if (c.loadedAs) {
            EXPECT_EQ(t.eval(QStringLiteral("JSON.stringify(system.loadObject('saved.json'))")),
                      QString::fromUtf8(c.loadedAs));
        }
    }
}

TEST_F(Persistence, TopLevelStringsWithSpecialCharactersRoundTrip)
{
    TestGame t(kScript);
    const char* texts[] = {"say \"hi\"", "back\\slash",   "two\nlines",  "cr\rtab\t",
                           "\\\"",       "line\u2028sep", "ends with \\"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        QScriptValue original(QString::fromUtf8(text));
        t.game().systemObject()->saveObject(QStringLiteral("s.json"), original);
        const QScriptValue loaded = t.game().systemObject()->loadObject(QStringLiteral("s.json"));
        EXPECT_TRUE(loaded.isString());
        EXPECT_EQ(loaded.toString(), original.toString());
    }
}

TEST_F(Persistence, MissingPlacesLoadAsNullAndSaveNothing)
{
    TestGame t(kScript);
    EXPECT_EQ(t.eval(QStringLiteral("try { system.saveObject('nodir/x.json', {a: 1}); 'ok' }"
                                    " catch (e) { 'thrown ' + e }")),
              QStringLiteral("ok"));
    EXPECT_FALSE(QFile::exists(t.dataDir() + QStringLiteral("/nodir")));
    QDir(t.dataDir()).mkpath(QStringLiteral("adir"));
    for (const char* name : {"never-saved.json", "no/such/dir/x.json", "adir", ""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(
            t.eval(QStringLiteral("system.loadObject('%1') === null").arg(QLatin1String(name))),
            QStringLiteral("true"));
    }
}

// The old save stays whole until the new one is complete: the file is
// replaced, never truncated in place.
TEST_F(Persistence, SaveReplacesTheFileInsteadOfTruncatingIt)
{
    TestGame t(kScript);
    const QString path = t.dataDir() + QStringLiteral("/slot.json");
    const QString witness = t.dataDir() + QStringLiteral("/witness.json");
    t.addFile(QStringLiteral("slot.json"),
              "{\n    \"level\": 7,\n    \"name\": \"a long old name\"\n}\n");
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(witness).constData()),
              0);

    t.eval(QStringLiteral("system.saveObject('slot.json', {level: 8})"));
    EXPECT_EQ(fileBytes(path), QByteArray("{\n    \"level\": 8\n}\n"));
    EXPECT_EQ(fileBytes(witness),
              QByteArray("{\n    \"level\": 7,\n    \"name\": \"a long old name\"\n}\n"));
    EXPECT_EQ(QDir(t.dataDir()).entryList(QDir::Files).size(), 2) << "no temporary file left";
}

TEST_F(Persistence, AppDataDirectoryIsMadeBySavingOnly)
{
    TestGame t(kScript);
    EXPECT_EQ(t.eval(QStringLiteral("system.loadObjectFromAppData('best.json') === null")),
              QStringLiteral("true"));
    EXPECT_FALSE(QFile::exists(dataHome));

    t.eval(QStringLiteral("system.saveObjectToAppData('best.json', {score: 1200})"));
    EXPECT_EQ(fileBytes(appDir + QStringLiteral("/best.json")),
              QByteArray("{\n    \"score\": 1200\n}\n"));
    EXPECT_EQ(t.eval(QStringLiteral("system.loadObjectFromAppData('best.json').score")),
              QStringLiteral("1200"));

    // Sub-directories inside the name are the script's to have made.
    t.eval(QStringLiteral("system.saveObjectToAppData('slots/1.json', 1)"));
    EXPECT_FALSE(QFile::exists(appDir + QStringLiteral("/slots")));
}

TEST_F(Persistence, LoadingEvaluatesTheTextAsAnExpression)
{
    TestGame t(kScript + QStringLiteral("var v = 'mine';\n"));
    t.addFile(QStringLiteral("hand.txt"), "{ score: 2 * 21, tags: ['a'] }");
    t.addFile(QStringLiteral("zero.txt"), QByteArray("41\0garbage", 10));
    t.addFile(QStringLiteral("bad.txt"), "{ score: ");
    EXPECT_EQ(t.eval(QStringLiteral("var h = system.loadObject('hand.txt'); h.score + h.tags[0]")),
              QStringLiteral("42a"));
    EXPECT_EQ(t.eval(QStringLiteral("system.loadObject('zero.txt') + 1")), QStringLiteral("42"));
    // The loader's own variable never replaces a global of the script.
    t.game().systemObject()->loadObject(QStringLiteral("hand.txt"));
    EXPECT_EQ(t.eval(QStringLiteral("v")), QStringLiteral("mine"));
    // A broken file is an error the script can catch; the game goes on.
    EXPECT_EQ(t.eval(QStringLiteral("try { system.loadObject('bad.txt'); 'no error' }"
                                    " catch (e) { e.name }")),
              QStringLiteral("SyntaxError"));
    EXPECT_TRUE(t.game().callFrame(0.016));
}
