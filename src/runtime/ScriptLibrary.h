#pragma once

#include <QString>
#include <functional>

class QScriptEngine;

// The later-language library functions that ECMAScript 5 code can provide,
// plus `console`, put into a fresh engine before the game's own text. Each
// is non-enumerable and only added where the engine has none of that name.
void installScriptLibrary(QScriptEngine* engine, std::function<void(const QString&)> log);
