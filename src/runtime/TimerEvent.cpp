#include "runtime/TimerEvent.h"

#include <QScriptEngine>

TimerEvent::TimerEvent(const QString& code, QScriptEngine* engine, QObject* parent)
    : QObject(parent), code(code), engine(engine)
{
}

void TimerEvent::execCode()
{
    // Failures of timer code are the script's own business: the result, an
    // error included, is dropped unseen.
    engine->evaluate(code, QString(), 1);
}
