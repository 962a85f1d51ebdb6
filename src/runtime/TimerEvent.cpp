#include "runtime/TimerEvent.h"

#include <QScopedValueRollback>
#include <QScriptEngine>

TimerEvent::TimerEvent(const QScriptValue& job, QScriptEngine* engine, QObject* parent)
    : QObject(parent), job(job), engine(engine)
{
}

void TimerEvent::execCode()
{
    // Failures of timer code are the script's own business: the result, an
    // error included, is dropped unseen.
    const QScopedValueRollback<bool> busy(running, true);
    if (job.isFunction())
        job.call();
    else
        engine->evaluate(job.toString(), QString(), 1);
}
