#include "runtime/ScriptJson.h"

#include "core/JsonText.h"
#include "core/JsonTextReader.h"
#include "objects/ScriptArray.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScriptEngine>
#include <QScriptValueIterator>
#include <QSet>

namespace {

QJsonValue toJsonValue(const QScriptValue& value)
{
    return QJsonValue::fromVariant(value.toVariant());
}

// Arrays are walked up to their length, however sparse, and an object or
// string shared by many places is written once for each: a script's
// new Array(2e9), or an array holding itself twice forty levels deep,
// would take the program down with it. Values that hold more array
// elements and properties, or more characters of strings, keys and
// indentation, than this, all nesting levels together, are not written at
// all; nor are values nested deeper than kJsonDepthLimit, whose conversion
// would exhaust the stack.
struct Budget {
    qint64 parts = qint64(1) << 22;
    qint64 chars = qint64(1) << 25;
    bool spent() const { return parts < 0 || chars < 0; }
};

// The indented text gives every member and every closing bracket a line of
// its own, four spaces deeper per level.
qint64 indent(int level)
{
    return 4 * qint64(level);
}

// Counts what the conversion will walk: shared values once per place they
// appear, cycles cut where they close (as the engine's conversion does).
// False as soon as the budget is spent or the nesting too deep.
bool withinBudget(const QScriptValue& value, Budget& budget, QSet<qint64>& path, int level)
{
    if (value.isString()) {
        budget.chars -= value.toString().size();
        return !budget.spent();
    }
    if (!value.isObject() || value.isFunction() || value.isQObject() ||
        path.contains(value.objectId()))
        return true;
    if (level == kJsonDepthLimit)
        return false;
    path.insert(value.objectId());
    budget.chars -= indent(level);
    bool ok = true;
    if (value.isArray()) {
        // Unsigned: the engine's conversion of nested arrays reads it so.
        const quint32 length = value.property(QStringLiteral("length")).toUInt32();
        budget.parts -= length;
        budget.chars -= qint64(length) * indent(level + 1);
        for (quint32 i = 0; ok && !budget.spent() && i < length; ++i)
            ok = withinBudget(value.property(i), budget, path, level + 1);
    } else {
        QScriptValueIterator it(value);
        while (ok && it.hasNext()) {
            it.next();
            budget.parts -= 1;
            budget.chars -= it.name().size() + indent(level + 1);
            ok = !budget.spent() && withinBudget(it.value(), budget, path, level + 1);
        }
    }
    path.remove(value.objectId());
    return ok && !budget.spent();
}

QJsonDocument toDocument(const QScriptValue& value)
{
    if (value.isArray()) {
        QJsonArray array;
        forEachElement(value, [&](const QScriptValue& element) {
            array.append(toJsonValue(element));
            return true;
        });
        return QJsonDocument(array);
    }
    QJsonObject object;
    QScriptValueIterator it(value);
    while (it.hasNext()) {
        it.next();
        object.insert(it.name(), toJsonValue(it.value()));
    }
    return QJsonDocument(object);
}

} // namespace

QString scriptValueToJson(const QScriptValue& value)
{
    if (value.isObject()) {
        Budget budget;
        QSet<qint64> path;
        if (!withinBudget(value, budget, path, 0))
            return QString();
        QString text = QString::fromUtf8(toDocument(value).toJson(QJsonDocument::Indented));
        // Valid JSON, but a script reads these two raw as line breaks; in JSON
        // text they can only stand inside strings, so escaping them is safe.
        text.replace(QChar(0x2028), QStringLiteral("\\u2028"));
        text.replace(QChar(0x2029), QStringLiteral("\\u2029"));
        return text;
    }
    if (value.isString())
        return quoteString(value.toString());
    if (value.isNumber())
        return formatNumber(value.toNumber());
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isNull())
        return QStringLiteral("null");
    return QString();
}

QScriptValue jsonToScriptValue(QScriptEngine* engine, const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return QScriptValue(value.toBool());
    case QJsonValue::Double:
        return QScriptValue(value.toDouble());
    case QJsonValue::String:
        return QScriptValue(value.toString());
    case QJsonValue::Array: {
        const QJsonArray array = value.toArray();
        QScriptValue result = engine->newArray(uint(array.size()));
        for (int i = 0; i < array.size(); ++i)
            result.setProperty(quint32(i), jsonToScriptValue(engine, array.at(i)));
        return result;
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        QScriptValue result = engine->newObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            result.setProperty(it.key(), jsonToScriptValue(engine, it.value()));
        return result;
    }
    default:
        return engine->nullValue();
    }
}
