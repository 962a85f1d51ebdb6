#include "runtime/TimerEvent.h"

#include "objects/ScriptWatchdog.h"

#include <QScopedValueRollback>
#include <QTimer>

TimerEvent::TimerEvent(const QScriptValue& job, ScriptWatchdog* guard, QTimer* timer)
    : QObject(timer), job(job), guard(guard), timer(timer)
{
}

void TimerEvent::execCode()
{
    if (guard->busy()) {
        // Timer code never runs inside a script call. The timer waits, so it
        // cannot fire a second time in the pass that runs the held job.
        timer->stop();
        QMetaObject::invokeMethod(this, &TimerEvent::runHeld, Qt::QueuedConnection);
        return;
    }
    // Failures of timer code are the script's own business: the result, an
    // error included, is dropped unseen.
    {
        const QScopedValueRollback<bool> busy(running, true);
        if (job.isFunction())
            guard->call(job);
        else
            guard->evaluate(job.toString());
    }
    if (timer->isSingleShot())
        emit finished();
}

void TimerEvent::runHeld()
{
    if (!guard->busy() && !timer->isSingleShot())
        timer->start();
    execCode();
}
