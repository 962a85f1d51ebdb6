#include "TestGame.h"
#include "runtime/Game.h"
#include "runtime/QGameSystem.h"
#include "runtime/ScriptJson.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScriptEngine>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const QString kScript = QStringLiteral("function Init(p) { return true; }\n"
                                       "function Frame(dt) { return true; }\n"
                                       "function Render() {}\n");

// The saved text of what an expression gives, or the error it throws: two
// values are the same here when they save alike.
QString valueText(TestGame& t, const QString& expression)
{
    QScriptEngine* engine = t.game().scriptEngine();
    const QScriptValue value = engine->evaluate(expression);
    return engine->hasUncaughtException() ? value.toString() : scriptValueToJson(value);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every test gets its own user data directory, in a home of its own.
class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
        ensureTestApp();
        appDir = dataHome + QLatin1Char('/') + QCoreApplication::applicationName();
    }
    void TearDown() override
    {
        savedDataHome.isNull() ? qunsetenv("XDG_DATA_HOME")
                               : qputenv("XDG_DATA_HOME", savedDataHome);
    }

    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    QTemporaryDir home;
    // Deeper than what exists, so the first save has parents to create.
    const QString dataHome = home.path() + QStringLiteral("/share/deeper");
    QString appDir;
};

} // namespace

// What is written, and that it reads back as a value that is written alike.
TEST_F(Persistence, WritesExactTextAndReadsItBack)
{
    const struct {
        const char* value;
        const char* bytes; // null: not looked at
    } cases[] = {
        {"({b: 1, a: 'x'})", "{\n    \"a\": \"x\",\n    \"b\": 1\n}\n"},
        {"[1, 2.5, 3]", "[\n    1,\n    2.5,\n    3\n]\n"},
        {"({pi: 3.14159265, big: 1000000, list: [true, null], u: undefined, e: {}})",
         "{\n    \"big\": 1000000,\n    \"e\": {\n    },\n    \"list\": [\n        true,\n"
         "        null\n    ],\n    \"pi\": 3.14159265,\n    \"u\": null\n}\n"},
        {"-0.5", "-0.5"},
        {"NaN", "NaN"},
        {"-Infinity", "-Infinity"},
        {"Infinity", "Infinity"},
        {"true", "true"},
        {"false", "false"},
        {"null", "null"},
        {"undefined", ""},
        {"'say \"hi\"\\\\ \\n\\r\\t\\u0001 \\u2028\\u2029 \\\\'", nullptr},
        {"({q: 'a\"b\\nc\\u2028', n: [[{d: 'x'}], [], -1e-7]})", nullptr},
        // Holes are null, named properties of arrays left out, cycles cut.
        {"(function () { var a = [1]; a[2] = 3; a.name = 'x'; return a; })()",
         "[\n    1,\n    null,\n    3\n]\n"},
        {"(function () { var a = {n: 1}; a.self = a; a.list = [a, 2]; return a; })()", nullptr},
    };
    TestGame t(kScript);
    t.addFile(QStringLiteral("saved.json"), "a longer text saved before");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(t.eval(QStringLiteral("system.saveObject('saved.json', %1)")
                             .arg(QString::fromUtf8(c.value))),
                  QStringLiteral("true"));
        const QByteArray bytes = fileBytes(t.dataDir() + QStringLiteral("/saved.json"));
        if (c.bytes) {
            EXPECT_EQ(bytes, QByteArray(c.bytes));
        }
        // Read back, and as the script text of an Init() parameter.
        const QString text = QString::fromUtf8(bytes);
        if (bytes.isEmpty())
            continue;
        EXPECT_EQ(valueText(t, QStringLiteral("system.loadObject('saved.json')")), text);
        EXPECT_EQ(valueText(t, "(" + text + ")"), text);
    }
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
    QList<QByteArray> broken = {
        "{ score: 2 * 21 }", "{ \"score\": ", "",          "[1,]",  "{\"a\": 1} x", "[01]", "1.",
        "'single'",          "\"raw\nline\"", "\"\\x41\"", "[NaN]", "/* c */ 1",    "1e999"};
    broken << "[" + deep + "]"
           << "{\"b\": [1], \"b\": 2}"
           << "{\"a\": 1, \"\\u0061\": {}}"
           << "{\"score\": 7, \"x\": system.saveObject(\"ran.json\", \"$(touch PWNED)\")}";
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
}

// The app-data directory is made by saving only; sub-directories inside a
// name are the script's to have made.
TEST_F(Persistence, MissingPlacesLoadAsNullAndSaveNothing)
{
    TestGame t(kScript);
    QDir(t.dataDir()).mkpath(QStringLiteral("adir"));
    // Past the size limit, without taking the disk space.
    QFile huge(t.dataDir() + QStringLiteral("/huge.json"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(257) << 20));
    EXPECT_EQ(t.eval(QStringLiteral(
                  "[system.loadObjectFromAppData('best.json'), system.loadObject('never.json'),"
                  " system.loadObject('no/such/dir/x.json'), system.loadObject('adir'),"
                  " system.loadObject(''), system.loadObject('huge.json')]"
                  ".map(function (v) { return v === null; }).join()")),
              QStringLiteral("true,true,true,true,true,true"));
    EXPECT_FALSE(QFile::exists(dataHome));
    EXPECT_EQ(
        t.eval(QStringLiteral(
            "[system.saveObject('nodir/x.json', 1), system.saveObjectToAppData('s/1.json', 1),"
            " system.saveObjectToAppData('best.json', {score: 1200}) &&"
            " system.loadObjectFromAppData('best.json').score].join()")),
        QStringLiteral("false,false,1200"));
}

// Saves land in the data directory or the app-data directory only, wherever
// "..", absolute paths and links lead; anything else is refused with one
// message and writes nothing.
TEST_F(Persistence, WritesStayInsideTheGameFolders)
{
    TestGame t(kScript);
    QDir(t.dataDir()).mkpath(QStringLiteral("sub"));
    const QString outside = home.path() + QStringLiteral("/outside.json");
    const QString inside = t.dataDir() + QStringLiteral("/inside.json");
    QFile::link(outside, t.dataDir() + QStringLiteral("/out-link.json"));
    QFile::link(home.path(), t.dataDir() + QStringLiteral("/out-dir"));
    QFile::link(inside, t.dataDir() + QStringLiteral("/in-link.json"));
    const QString up =
        QStringLiteral("../") + QFileInfo(t.dataDir()).fileName() + QStringLiteral("-up.json");
    const struct {
        QString call;
        QString written; // the file the save makes; empty: refused
    } cases[] = {
        {"saveObject('" + outside + "', 1)", QString()},
        {"saveObject('" + up + "', 1)", QString()},
        {"saveObjectToAppData('../../escape.json', 1)", QString()},
        {"saveObject('out-link.json', 1)", QString()},
        {"saveObject('out-dir/x.json', 1)", QString()},
        {"saveObject('nul.json\\0.txt', 1)", QString()},
        {"saveObject('sub/../' + 'in-link.json', 1)", inside},
        {"saveObject('" + t.dataDir() + "/sub/abs.json', 1)", t.dataDir() + "/sub/abs.json"},
        {"saveObjectToAppData('sub/../app.json', 1)", appDir + "/app.json"},
    };
    QStringList messages;
    QObject::connect(t.game().systemObject(), &QGameSystem::writeMessage,
                     [&](const QString& m) { messages << m; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call.toStdString());
        messages.clear();
        EXPECT_EQ(t.eval(QStringLiteral("system.") + c.call),
                  c.written.isEmpty() ? QStringLiteral("false") : QStringLiteral("true"));
        if (c.written.isEmpty())
            EXPECT_EQ(messages.size(), 1);
        else
            EXPECT_EQ(fileBytes(c.written), QByteArray("1"));
    }
    EXPECT_TRUE(QFileInfo(t.dataDir() + QStringLiteral("/in-link.json")).isSymLink());
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList());
    EXPECT_FALSE(QFile::exists(home.path() + QStringLiteral("/share/escape.json")));
    EXPECT_FALSE(QFile::exists(t.dataDir() + QStringLiteral("/nul.json")));
    EXPECT_FALSE(QFile::exists(t.dataDir() + QStringLiteral("/") + up));
}

// Values too large or nested too deep are not written and leave the old
// save as it was; the deepest that is written reads back.
TEST_F(Persistence, ValuesPastTheLimitsAreNotWritten)
{
    const struct {
        const char* value;
        bool written;
    } cases[] = {
        {"nest(999, [])", true},
        {"nest(1000, [])", false},
        {"nest(40000, {})", false},
        // Five thousand empty arrays: ten thousand lines of four thousand spaces.
        {"nest(998, new Array(5001).join('-').split('').map(function () { return []; }))", false},
        {"new Array(2147483647)", false},
        // Past the element limit, and past the character limit (a string
        // counts in each place it appears), each on its own.
        {"new Array(4194305)", false},
        {"(function () { var s = new Array(9 << 20).join('x'); return [s, s, s, s]; })()", false},
        {"nest(1, new Array(2147483647))", false},
        // Shared arrays: each level doubles what a conversion walks.
        {"(function () { for (var s = [1, 1], i = 0; i < 40; ++i) s = [s, s]; return s; })()",
         false},
    };
    TestGame t(kScript +
               QStringLiteral("function nest(n, v) { while (n--) v = {k: v}; return v; }\n"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        t.addFile(QStringLiteral("v.json"), "\"old\"");
        EXPECT_EQ(t.eval(QStringLiteral("system.saveObject('v.json', v = %1)").arg(c.value)),
                  c.written ? QStringLiteral("true") : QStringLiteral("false"));
        EXPECT_EQ(valueText(t, QStringLiteral("system.loadObject('v.json')")),
                  valueText(t, QLatin1String(c.written ? "v" : "'old'")));
    }
}

// The old save stays whole until the new one is complete: the file is
// replaced, never cut off in place, also where the disk is full.
TEST_F(Persistence, SaveReplacesTheFileInsteadOfTruncatingIt)
{
    TestGame t(kScript);
    const QByteArray old = "{\n    \"level\": 7\n}\n";
    const QString path = t.dataDir() + QStringLiteral("/slot.json");
    const QString witness = t.dataDir() + QStringLiteral("/witness.json");
    t.addFile(QStringLiteral("slot.json"), old);
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(witness).constData()),
              0);
    t.eval(QStringLiteral("system.saveObject('slot.json', {level: 8})"));
    EXPECT_EQ(fileBytes(path), QByteArray("{\n    \"level\": 8\n}\n"));
    EXPECT_EQ(fileBytes(witness), old);
    EXPECT_EQ(QDir(t.dataDir()).entryList(QDir::Files).size(), 2) << "no temporary file left";

    // 64 KiB where only root may make files: full, then also read-only to
    // the user who saves (nobody; the file itself stays writable to them).
    const QString disk = t.dataDir() + QStringLiteral("/disk");
    const QByteArray slot = QFile::encodeName(disk + QStringLiteral("/slot.json"));
    QDir().mkpath(disk);
    QFile::setPermissions(t.dataDir(),
                          QFile::permissions(t.dataDir()) | QFile::ExeGroup | QFile::ExeOther);
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k,mode=0555") !=
        0)
        GTEST_SKIP() << "no small disk can be mounted here";
    struct Unmount {
        QByteArray dir;
        ~Unmount() { ::umount2(dir.constData(), MNT_DETACH); }
    } unmount{QFile::encodeName(disk)};
    t.addFile(QStringLiteral("disk/slot.json"), old);
    ASSERT_EQ(::chown(slot.constData(), 65534, 65534), 0);
    for (const uid_t user : {0, 65534}) {
        SCOPED_TRACE(user);
        ASSERT_EQ(::seteuid(user), 0);
        const QString saved =
            t.eval(QStringLiteral("system.saveObject('disk/slot.json', new Array(1e5).join('x'))"));
        ASSERT_EQ(::seteuid(0), 0);
        EXPECT_EQ(saved, QStringLiteral("false"));
        EXPECT_EQ(fileBytes(QFile::decodeName(slot)), old);
        EXPECT_EQ(QDir(disk).entryList(QDir::Files).size(), 1);
    }
}
