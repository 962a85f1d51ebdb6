#include "FuzzTargets.h"
#include "core/JsonTextReader.h"
#include "runtime/SaveFiles.h"
#include "runtime/ScriptJson.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QScriptEngine>
#include <QScriptValueIterator>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace {

// Script words a JSON-ish value needs. Anything else (loops, functions,
// calls of the host) is refused, so an input can neither hang nor escape.
const QSet<QString>& allowedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("true"),      QStringLiteral("false"),  QStringLiteral("null"),
        QStringLiteral("undefined"), QStringLiteral("NaN"),    QStringLiteral("Infinity"),
        QStringLiteral("new"),       QStringLiteral("Object"), QStringLiteral("Array"),
        QStringLiteral("String"),    QStringLiteral("Number"), QStringLiteral("Boolean"),
        QStringLiteral("Date"),      QStringLiteral("length"), QStringLiteral("var"),
        QStringLiteral("get"),       QStringLiteral("set"),    QStringLiteral("return"),
        QStringLiteral("this"),      QStringLiteral("delete"), QStringLiteral("e"),
    };
    return words;
}

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Accepts literals, operators and single-letter variables; string contents
// are skipped. Slashes and backslashes outside strings are refused, so no
// comment or regular expression can hide a word from this scan.
bool isJsonish(const QString& source)
{
    for (int i = 0; i < source.size();) {
        const QChar c = source.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            int j = i + 1;
            while (j < source.size() && source.at(j) != c)
                j += source.at(j) == QLatin1Char('\\') ? 2 : 1;
            i = j + 1;
            continue;
        }
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('`'))
            return false;
        if (isWordStart(c)) {
            int j = i + 1;
            while (j < source.size() && (isWordStart(source.at(j)) || source.at(j).isDigit()))
                ++j;
            const QString word = source.mid(i, j - i);
            if (word.size() > 1 && !allowedWords().contains(word))
                return false;
            i = j;
            continue;
        }
        ++i;
    }
    return true;
}

// A script engine needs the application object.
void ensureApp()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// One engine for all inputs (a fresh one per input is too slow to fuzz);
// after every input the global object gets back exactly its first state.
class Engine {
public:
    Engine()
    {
        QScriptValueIterator it(engine.globalObject());
        while (it.hasNext()) {
            it.next();
            builtins.insert(it.name(), it.value());
        }
    }

    QScriptEngine* get() { return &engine; }
    QScriptEngine* operator->() { return &engine; }

    void restore()
    {
        engine.clearExceptions();
        QScriptValue global = engine.globalObject();
        QStringList added;
        QScriptValueIterator it(global);
        while (it.hasNext()) {
            it.next();
            if (!builtins.contains(it.name()))
                added << it.name();
        }
        for (const QString& name : added)
            global.setProperty(name, QScriptValue());
        for (auto b = builtins.constBegin(); b != builtins.constEnd(); ++b)
            global.setProperty(b.key(), b.value());
    }

private:
    QScriptEngine engine;
    QHash<QString, QScriptValue> builtins;
};

QString savePath()
{
    // In memory where the system has it: every save syncs its file.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/ledge-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/ledge-fuzz-XXXXXX"));
    return dir.path() + QStringLiteral("/saved.json");
}

} // namespace

int fuzz::scriptJson(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const QString source = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    if (!isJsonish(source))
        return 0;

    ensureApp();
    static Engine engine;
    struct Restore {
        ~Restore() { engine.restore(); }
    } restore;
    const QScriptValue value = engine->evaluate(source);
    engine->clearExceptions();
    const QString text = scriptValueToJson(value);
    // Undefined saves as an empty file, which is no value to load back.
    if (text.isEmpty())
        return 0;

    // Saved and read back through the same files a script's saveObject uses.
    const QByteArray bytes = text.toUtf8();
    if (!writeSaveFile(savePath(), bytes))
        return 0;
    const std::optional<QString> saved = readSaveFile(savePath());
    check(saved.has_value(), "a written save file reads back");
    check(bytes.contains('\0') || saved->toUtf8() == bytes, "the saved text reads back whole");

    const std::optional<QJsonValue> read = readJsonText(*saved);
    check(read.has_value(), "saved text loads without error");
    const QString again = scriptValueToJson(jsonToScriptValue(engine.get(), *read));
    check(again == *saved, "saving what was loaded gives the same text");
    return 0;
}
