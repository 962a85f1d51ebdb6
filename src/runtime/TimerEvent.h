#pragma once

#include <QObject>
#include <QString>

class QTimer;
class ScriptWatchdog;

// One pending job of a timer: a piece of script source run in the global scope.
class TimerEvent : public QObject {
    Q_OBJECT
public:
    // The job is the timer's child: it goes with it. A single-shot timer's
    // job runs once.
    TimerEvent(const QString& code, ScriptWatchdog* guard, QTimer* timer);

signals:
    // A run-once job has run: its timer is done.
    void finished();

public slots:
    void execCode();

private:
    void runHeld();

    QString code;
    ScriptWatchdog* guard;
    QTimer* timer;
};
