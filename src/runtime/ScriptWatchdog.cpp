#include "runtime/ScriptWatchdog.h"

#include <QCoreApplication>
#include <QScriptEngine>
#include <QTimerEvent>

namespace {

// How often a running call lets the watchdog look at the clock.
constexpr int checkIntervalMs = 200;

} // namespace

ScriptWatchdog::ScriptWatchdog(QScriptEngine* engine, int limitMs)
    : engine(engine), limitMs(limitMs)
{
    engine->setProcessEventsInterval(checkIntervalMs);
    tickId = startTimer(checkIntervalMs);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

ScriptWatchdog::~ScriptWatchdog()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void ScriptWatchdog::begin()
{
    inCall = true;
    aborted = false;
    started.start();
}

bool ScriptWatchdog::eventFilter(QObject* watched, QEvent* event)
{
    if (!inCall)
        return QObject::eventFilter(watched, event);
    if (!aborted && started.elapsed() > limitMs) {
        aborted = true;
        const QString text =
            QStringLiteral("выполнение прервано: вызов длился дольше %1 с").arg(limitMs / 1000);
        engine->abortEvaluation(engine->globalObject()
                                    .property(QStringLiteral("Error"))
                                    .construct(QScriptValueList{QScriptValue(text)}));
    }
    // Nothing else runs in the middle of a call: timers wait for the frame loop.
    return true;
}
