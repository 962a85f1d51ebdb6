#pragma once

#include <QObject>
#include <QScriptValue>

class QScriptEngine;

// One pending job of a timer: a script function called without arguments,
// or a piece of script source run in the global scope.
class TimerEvent : public QObject {
    Q_OBJECT
public:
    // The parent is the timer that runs the job: the job goes with it.
    TimerEvent(const QScriptValue& job, QScriptEngine* engine, QObject* parent = nullptr);

    // True while its job runs: its timer must outlive the call.
    bool isRunning() const { return running; }

public slots:
    void execCode();

private:
    QScriptValue job;
    bool running = false;
    QScriptEngine* engine;
};
