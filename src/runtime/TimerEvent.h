#pragma once

#include <QObject>
#include <QScriptValue>

class QTimer;
class ScriptWatchdog;

// One pending job of a timer: a script function called without arguments,
// or a piece of script source run in the global scope.
class TimerEvent : public QObject {
    Q_OBJECT
public:
    // The job is the timer's child: it goes with it. A single-shot timer's
    // job runs once.
    TimerEvent(const QScriptValue& job, ScriptWatchdog* guard, QTimer* timer);

    // True while its job runs: its timer must outlive the call.
    bool isRunning() const { return running; }

signals:
    // A run-once job has run: its timer is done.
    void finished();

public slots:
    void execCode();

private:
    void runHeld();

    QScriptValue job;
    ScriptWatchdog* guard;
    QTimer* timer;
    bool running = false;
};
