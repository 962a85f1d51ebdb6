#pragma once

#include <QJsonValue>
#include <QString>
#include <optional>

// How deep objects and arrays may nest in JSON text, written or read.
constexpr int kJsonDepthLimit = 1000;

// The value that JSON text holds, read as data only: one object, array,
// string, number, true, false or null, with white space around it; at the
// top level also NaN, Infinity and -Infinity. Nothing when the text is
// anything else or nests deeper than kJsonDepthLimit.
std::optional<QJsonValue> readJsonText(const QString& text);
