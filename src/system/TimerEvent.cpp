#include "TimerEvent.h"

#include <QScriptEngine>

TimerEvent::TimerEvent(const QString& code, QScriptEngine* engine, bool runOnce, QObject* parent)
    : QObject(parent), code(code), engine(engine), runOnce(runOnce)
{
}

void TimerEvent::execCode()
{
    // Failures of timer code are the script's own business: the result, an
    // error included, is dropped and the exception must not linger into the
    // next entry call.
    engine->evaluate(code, QString(), 1);
    if (engine->hasUncaughtException())
        engine->clearExceptions();
}
