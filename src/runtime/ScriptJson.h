#pragma once

#include <QScriptValue>
#include <QString>

// JSON text of a script value: the parameter text of Init() and the content of
// saved files. Objects and arrays become an indented document with sorted keys.
QString scriptValueToJson(const QScriptValue& value);

// A number as script-readable text: 'g' format, 6 significant digits;
// NaN and the infinities as the names a script reads back.
QString formatNumber(double value);

// A string as a JSON string literal that a script also reads back.
QString quoteString(const QString& text);
