#pragma once

#include <QObject>
#include <QString>

class QScriptEngine;

// One pending job of a timer: a piece of script source run in the global scope.
class TimerEvent : public QObject {
    Q_OBJECT
public:
    // The parent is the timer that runs the job: the job goes with it.
    TimerEvent(const QString& code, QScriptEngine* engine, QObject* parent = nullptr);

public slots:
    void execCode();

private:
    QString code;
    QScriptEngine* engine;
};
