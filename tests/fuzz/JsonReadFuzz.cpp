#include "FuzzTargets.h"
#include "core/JsonTextReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The JSON document of a value; one that is no object or array goes into an array.
QByteArray documentText(const QJsonValue& value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson();
    return QJsonDocument(value.isArray() ? value.toArray() : QJsonArray{value}).toJson();
}

} // namespace

// Any bytes as a saved file: the reader never crashes, and what it reads,
// written again by the JSON writer, reads back to the same text.
int fuzz::jsonReader(const std::uint8_t* data, std::size_t size)
{
    const std::optional<QJsonValue> value =
        readJsonText(QString::fromUtf8(reinterpret_cast<const char*>(data), int(size)));
    if (!value)
        return 0;
    const QByteArray written = documentText(*value);
    const std::optional<QJsonValue> again = readJsonText(QString::fromUtf8(written));
    check(again.has_value(), "what was read, written again, reads back");
    check(documentText(*again) == written, "and is written the same");
    return 0;
}
