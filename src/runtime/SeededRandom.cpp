#include "runtime/SeededRandom.h"

#include <QScriptEngine>

namespace {

QScriptValue random(QScriptContext*, QScriptEngine*, void* self)
{
    return static_cast<SeededRandom*>(self)->next();
}

} // namespace

void SeededRandom::install(QScriptEngine* engine)
{
    QScriptValue math = engine->globalObject().property(QStringLiteral("Math"));
    math.setProperty(QStringLiteral("random"), engine->newFunction(random, this));
}

double SeededRandom::next()
{
    // The top 53 bits as the fraction: the distributions of the standard
    // library differ between its implementations.
    return double(generator() >> 11) * (1.0 / 9007199254740992.0);
}
