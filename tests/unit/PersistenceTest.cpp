#include "TestGame.h"
#include "runtime/QGameSystem.h"
#include "runtime/ScriptJson.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const QString kScript = QStringLiteral("function Frame() {}\n");

// The saved text of what an expression gives, or the error it throws: two
// values are the same here when they save alike.
QString valueText(TestGame& t, const QString& expression)
{
    QScriptEngine* engine = t.game().scriptEngine();
    const QScriptValue value = engine->evaluate(expression);
    return engine->hasUncaughtException() ? value.toString() : scriptValueToJson(value);
}

// Every test gets its own user data directory, deeper than what exists, so
// the first save has parents to create.
class Persistence : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit()); }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    QTemporaryDir home;
    const QString dataHome = home.path() + QStringLiteral("/share/deeper");
};

} // namespace

// The exact text written, read back alike (holes null, named array properties
// left out); values too large or too deep are refused. The old save stays
// whole until the new one is complete: it is replaced, never cut off.
TEST_F(Persistence, WritesExactTextWithinTheLimits)
{
    const std::pair<const char*, const char*> cases[] = { // the text written; null: refused
        {"({b: 1, a: 'x'})", "{\n    \"a\": \"x\",\n    \"b\": 1\n}\n"},
        {"({pi: 3.14159265, big: 1000000, list: [true, null], u: undefined, e: {}})",
         "{\n    \"big\": 1000000,\n    \"e\": {\n    },\n    \"list\": [\n        true,\n"
         "        null\n    ],\n    \"pi\": 3.14159265,\n    \"u\": null\n}\n"},
        {"(function () { var a = [1]; a[2] = 3; a.name = 'x'; return a; })()",
         "[\n    1,\n    null,\n    3\n]\n"},
        {"-0.5", "-0.5"}, {"NaN", "NaN"}, {"-Infinity", "-Infinity"}, {"Infinity", "Infinity"},
        {"true", "true"}, {"null", "null"}, {"undefined", ""},
        {"nest(999, [])", "*"}, // the deepest that is written; "*": its text not spelled out
        {"nest(1000, [])", nullptr}, {"nest(40000, {})", nullptr},
        // Five thousand empty arrays: ten thousand lines of four thousand spaces.
        {"nest(998, new Array(5001).join('-').split('').map(function () { return []; }))", nullptr},
        {"new Array(2147483647)", nullptr},
        // Past the element limit, and past the character limit (a string
        // counts in each place it appears), each on its own.
        {"new Array(4194305)", nullptr},
        {"(function () { var s = new Array(9 << 20).join('x'); return [s, s, s, s]; })()", nullptr},
        // Shared arrays: each level doubles what a conversion walks.
        {"(function () { for (var s = [1, 1], i = 0; i < 40; ++i) s = [s, s]; return s; })()",
         nullptr},
    };
    TestGame t(kScript +
               QStringLiteral("function nest(n, v) { while (n--) v = {k: v}; return v; }\n"));
    const QString path = t.dataDir() + QStringLiteral("/saved.json");
    t.addFile(QStringLiteral("saved.json"), "a longer text saved before");
    ASSERT_EQ(::link(QFile::encodeName(path), QFile::encodeName(path + ".witness")), 0);
    for (const auto& [value, bytes] : cases) {
        SCOPED_TRACE(value);
        const QByteArray before = readFile(path);
        EXPECT_EQ(t.eval(QStringLiteral("system.saveObject('saved.json', %1)").arg(value)),
                  QLatin1String(bytes ? "true" : "false"));
        const QByteArray saved = readFile(path);
        if (!bytes || *bytes != '*') {
            EXPECT_EQ(saved, bytes ? QByteArray(bytes) : before);
        }
        // Read back, and as the script text of an Init() parameter.
        if (bytes && !saved.isEmpty()) {
            EXPECT_EQ(valueText(t, QStringLiteral("system.loadObject('saved.json')")), saved);
            EXPECT_EQ(valueText(t, "(" + saved + ")"), saved);
        }
    }
    EXPECT_EQ(readFile(path + ".witness"), "a longer text saved before");
    EXPECT_EQ(QDir(t.dataDir()).entryList(QDir::Files).size(), 2) << "no temporary file left";
}

// Only JSON loads, however written; anything else is a SyntaxError and
// nothing in it runs.
TEST_F(Persistence, FilesAreReadAsJsonDataOnly)
{
    const QByteArray deep = QByteArray(1000, '[') + QByteArray(1000, ']');
    const std::pair<QByteArray, const char*> loads[] = {
        {QByteArray("41\0garbage", 10), "41"},
        {" \r\n\t{\"a\" : [1, {\"b\": null}],\"c\":-0.5e+1} \n", "({a: [1, {b: null}], c: -5})"},
        {"\"\\u0041\\/\\ud83d\\ude00\"", "'A/\\ud83d\\ude00'"},
        {deep, "(function () { var a = []; for (var i = 1; i < 1000; ++i) a = [a]; return a; })()"},
    };
    const QByteArray broken[] = {"{ score: 2 * 21 }", "{ \"score\": ", "", "[1,]", "{\"a\": 1} x",
        "[01]", "1.", "'single'", "\"raw\nline\"", "\"\\x41\"", "[NaN]", "/* c */ 1", "1e999",
        "[" + deep + "]", "{\"b\": [1], \"b\": 2}", "{\"a\": 1, \"\\u0061\": {}}",
        "{\"score\": 7, \"x\": system.saveObject(\"ran.json\", \"$(touch PWNED)\")}"};
    TestGame t(kScript);
    const QString load = QStringLiteral("system.loadObject('hand.json')");
    for (const auto& [bytes, value] : loads) {
        t.addFile(QStringLiteral("hand.json"), bytes);
        EXPECT_EQ(valueText(t, load), valueText(t, QLatin1String(value))) << value;
    }
    for (const QByteArray& bytes : broken) {
        t.addFile(QStringLiteral("hand.json"), bytes);
        EXPECT_EQ(valueText(t, load),
                  QStringLiteral("SyntaxError: Parse error in saved file hand.json"))
            << bytes.left(60).toStdString();
    }
    EXPECT_FALSE(QFile::exists(t.dataDir() + QStringLiteral("/ran.json")));
    // What is not there loads as null, and looking makes no app-data directory.
    EXPECT_EQ(t.eval(QStringLiteral("[system.loadObject('no/x.json'), system.loadObject(''),"
                                    " system.loadObjectFromAppData('x.json')].map(String).join()")),
              QStringLiteral("null,null,null"));
    EXPECT_FALSE(QFile::exists(dataHome));
}

// Saves land in the data or app-data directory only, wherever "..", absolute
// paths and links lead; anything else is refused with one message, unwritten.
TEST_F(Persistence, WritesStayInsideTheGameFolders)
{
    TestGame t(kScript);
    const QString data = t.dataDir() + QLatin1Char('/');
    const QString outside = home.path() + QStringLiteral("/outside.json");
    QDir(data).mkpath(QStringLiteral("sub"));
    QFile::link(outside, data + QStringLiteral("out-link.json"));
    QFile::link(home.path(), data + QStringLiteral("out-dir"));
    QFile::link(data + QStringLiteral("inside.json"), data + QStringLiteral("in-link.json"));
    const QString up = "../" + QFileInfo(t.dataDir()).fileName() + QStringLiteral("-up.json");
    const std::pair<QString, QString> cases[] = { // the file the save makes; empty: refused
        {"saveObject('" + outside + "', 1)", {}}, {"saveObject('" + up + "', 1)", {}},
        {"saveObjectToAppData('../../escape.json', 1)", {}}, {"saveObject('out-link.json', 1)", {}},
        {"saveObject('out-dir/x.json', 1)", {}}, {"saveObject('nul.json\\0.txt', 1)", {}},
        {"saveObject('sub/../' + 'in-link.json', 1)", data + "inside.json"},
        {"saveObject('" + data + "sub/abs.json', 1)", data + "sub/abs.json"},
        {"saveObjectToAppData('sub/../app.json', 1)",
         dataHome + '/' + QCoreApplication::applicationName() + "/app.json"},
    };
    QStringList messages;
    QObject::connect(t.game().systemObject(), &QGameSystem::writeMessage,
                     [&](const QString& m) { messages << m; });
    for (const auto& [call, written] : cases) {
        SCOPED_TRACE(call.toStdString());
        messages.clear();
        EXPECT_EQ(t.eval("system." + call) == QLatin1String("true"), !written.isEmpty());
        EXPECT_EQ(written.isEmpty() ? messages.size() : readFile(written).size(), 1);
    }
    EXPECT_TRUE(QFileInfo(data + QStringLiteral("in-link.json")).isSymLink());
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList());
    EXPECT_FALSE(QFile::exists(home.path() + QStringLiteral("/share/escape.json")));
    EXPECT_FALSE(QFile::exists(data + QStringLiteral("nul.json")));
    EXPECT_FALSE(QFile::exists(data + up));
}

// A full disk fails the save and leaves the old file whole.
TEST_F(Persistence, AFullDiskLeavesTheOldSaveWhole)
{
    TestGame t(kScript);
    const QString disk = t.dataDir() + QStringLiteral("/disk");
    QDir().mkpath(disk);
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k"))
        GTEST_SKIP() << "no small disk can be mounted here";
    t.addFile(QStringLiteral("disk/slot.json"), "old");
    EXPECT_EQ(t.eval(QStringLiteral("system.saveObject('disk/slot.json', new Array(1e5).join())")),
              QStringLiteral("false"));
    EXPECT_EQ(readFile(disk + QStringLiteral("/slot.json")), "old");
    EXPECT_EQ(QDir(disk).entryList(QDir::Files).size(), 1);
    ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
}
