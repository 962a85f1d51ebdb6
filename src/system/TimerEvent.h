#pragma once

#include <QObject>
#include <QString>

class QScriptEngine;

// One pending job of a timer: a piece of script source run in the global scope.
class TimerEvent : public QObject {
    Q_OBJECT
public:
    TimerEvent(const QString& code, QScriptEngine* engine, bool runOnce, QObject* parent = nullptr);

    bool isRunOnce() const { return runOnce; }

public slots:
    void execCode();

private:
    QString code;
    QScriptEngine* engine;
    bool runOnce;
};
