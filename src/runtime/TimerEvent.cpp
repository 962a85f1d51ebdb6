#include "runtime/TimerEvent.h"

#include "objects/ScriptWatchdog.h"

#include <QTimer>

TimerEvent::TimerEvent(const QString& code, ScriptWatchdog* guard, QTimer* timer)
    : QObject(timer), code(code), guard(guard), timer(timer)
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
    guard->evaluate(code);
    if (timer->isSingleShot())
        emit finished();
}

void TimerEvent::runHeld()
{
    if (!guard->busy() && !timer->isSingleShot())
        timer->start();
    execCode();
}
