#pragma once

#include <QJsonValue>
#include <QScriptValue>
#include <QString>

class QScriptEngine;

// JSON text of a script value: the parameter text of Init() and the content of
// saved files. Objects and arrays become an indented document with sorted keys;
// one too large or nested too deep to write gives the empty text, as undefined does.
QString scriptValueToJson(const QScriptValue& value);

// A value read from JSON text as a new script value of the engine
// (nesting up to kJsonDepthLimit levels).
QScriptValue jsonToScriptValue(QScriptEngine* engine, const QJsonValue& value);
