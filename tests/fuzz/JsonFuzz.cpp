#include "FuzzTargets.h"
#include "core/JsonTextReader.h"
#include "runtime/ScriptJson.h"

#include <QCoreApplication>
#include <QScriptEngine>

namespace {

// Accepts literals, operators, single-letter variables and the few words a
// JSON-ish value needs; string contents are skipped. Anything else (loops,
// functions, calls of the host) is refused, so an input can neither hang nor
// escape. Slashes and backslashes outside strings are refused, so no comment
// or regular expression can hide a word from this scan.
bool isJsonish(const QString& source)
{
    static const QStringList words =
        QStringLiteral("true false null undefined NaN Infinity new Object Array String Number "
                       "Boolean Date length var get set return this delete")
            .split(QLatin1Char(' '));
    const auto isWordStart = [](QChar c) { return c.isLetter() || c == '_' || c == '$'; };
    for (int i = 0; i < source.size();) {
        const QChar c = source.at(i);
        int j = i + 1;
        if (c == '"' || c == '\'') {
            while (j < source.size() && source.at(j) != c)
                j += source.at(j) == '\\' ? 2 : 1;
            ++j;
        } else if (c == '/' || c == '\\' || c == '`') {
            return false;
        } else if (isWordStart(c)) {
            while (j < source.size() && (isWordStart(source.at(j)) || source.at(j).isDigit()))
                ++j;
            if (j - i > 1 && !words.contains(source.mid(i, j - i)))
                return false;
        }
        i = j;
    }
    return true;
}

} // namespace

int fuzz::scriptJson(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const QString source = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    if (!isJsonish(source))
        return 0;

    // A script engine needs the application object.
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    // A fresh engine per input keeps every run alone.
    QScriptEngine engine;
    const QScriptValue value = engine.evaluate(source);
    engine.clearExceptions();
    const QString text = scriptValueToJson(value);
    // Undefined saves as an empty file, which is no value to load back.
    if (text.isEmpty())
        return 0;

    const std::optional<QJsonValue> read = readJsonText(text);
    check(read.has_value(), "saved text loads without error");
    check(scriptValueToJson(jsonToScriptValue(&engine, *read)) == text,
          "saving what was loaded gives the same text");
    return 0;
}
