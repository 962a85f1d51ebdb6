#include "FuzzTargets.h"
#include "core/JsonTextReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// Any bytes as a saved file: the reader never crashes, and what it reads,
// written again by the JSON writer, reads back to the same text.
int fuzz::jsonReader(const std::uint8_t* data, std::size_t size)
{
    // A value that is no object or array is written inside an array.
    const auto write = [](const QJsonValue& v) {
        return v.isObject() ? QJsonDocument(v.toObject()).toJson()
                            : QJsonDocument(v.isArray() ? v.toArray() : QJsonArray{v}).toJson();
    };
    const std::optional<QJsonValue> value =
        readJsonText(QString::fromUtf8(reinterpret_cast<const char*>(data), int(size)));
    if (!value)
        return 0;
    const QByteArray written = write(*value);
    const std::optional<QJsonValue> again = readJsonText(QString::fromUtf8(written));
    check(again.has_value(), "what was read, written again, reads back");
    check(write(*again) == written, "and is written the same");
    return 0;
}
