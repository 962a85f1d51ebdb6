#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QScriptValue>
#include <functional>

class QScriptEngine;
class QScriptProgram;

// The one way script code runs: top-level code, entry calls, timer code and
// pixel conversions all go through evaluate(). A call that runs far too long
// (an endless loop, say) is ended with a script error instead of hanging the
// program. Evaluations nested in a call count towards its time and end with
// it. While a call runs, the engine processes events now and then so this
// object gets control; timers hold their code until the call has ended.
class ScriptWatchdog : public QObject {
    Q_OBJECT
public:
    ScriptWatchdog(QScriptEngine* engine, int limitMs);

    QScriptEngine* scriptEngine() const { return engine; }

    // Evaluates program in the current scope (from line 1).
    QScriptValue evaluate(const QString& program, const QString& fileName = QString());
    // The same for a program compiled once and run many times.
    QScriptValue evaluate(const QScriptProgram& program);
    // Calls a script function, as evaluate() would run "f(a0, a1, ...)".
    QScriptValue call(QScriptValue function, const QScriptValueList& args = {});

    // Runs native work that may call script code back (a getter, a
    // toString) where the watchdog can end it: as part of the running call,
    // or else as a call of its own.
    void run(const std::function<void()>& work);

    // The text of an error a call ended with; the script may have given
    // errors a toString of its own.
    QString errorText(const QScriptValue& error);

    // True while a call runs.
    bool busy() const { return depth > 0; }
    // True once the running call went over its time; evaluations still
    // asked for within it do nothing.
    bool aborted() const { return overTime; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    template <typename Run> QScriptValue guarded(Run run);
    void enter();
    void leave();
    void abort();

    QScriptEngine* engine;
    int limitMs;
    // Taken before any script runs: a script's own Error must not run here.
    QScriptValue errorType;
    QScriptValue abortValue;
    QString abortText;
    int depth = 0;
    bool overTime = false;
    QElapsedTimer started;
};
