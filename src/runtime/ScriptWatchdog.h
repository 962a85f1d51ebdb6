#pragma once

#include <QElapsedTimer>
#include <QObject>

class QScriptEngine;

// Ends an entry call that runs far too long (an endless loop in Frame, say)
// with a script error instead of hanging the program. While a call runs, the
// engine processes events now and then so this object gets control; every
// other event is held back then, so timers still never fire inside a call.
class ScriptWatchdog : public QObject {
    Q_OBJECT
public:
    ScriptWatchdog(QScriptEngine* engine, int limitMs);
    ~ScriptWatchdog() override;

    // Marks the start and end of one entry call.
    void begin();
    void end() { inCall = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QScriptEngine* engine;
    int limitMs;
    int tickId = 0;
    bool inCall = false;
    bool aborted = false;
    QElapsedTimer started;
};
