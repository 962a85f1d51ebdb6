#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QScriptValue>
#include <QString>
#include <QVariant>

class QScriptEngine;
class QTimer;
class ScriptWatchdog;

// Game time for timers that follow the frames rather than the wall clock.
class TimerClock {
public:
    virtual ~TimerClock() = default;
    // Milliseconds since the run started.
    virtual double elapsedMs() const = 0;
};

// The script global `system`: timers, saved values and the logging/cursor signals.
class QGameSystem : public QObject {
    Q_OBJECT
public:
    // Timer code runs through the guard.
    QGameSystem(QScriptEngine* engine, ScriptWatchdog* guard, QObject* parent = nullptr);
    ~QGameSystem() override;

    // Deletes every timer of this script so no job of it runs again.
    void stopAllTimers();
    // From now on timers set here follow this clock and fire only in
    // runDueTimers; without it they are wall-clock Qt timers.
    void followClock(const TimerClock* clock) { gameClock = clock; }
    // Runs, once each and in order of their due time, the jobs of the
    // clock-driven timers that are due.
    void runDueTimers();

signals:
    void writeMessage(QString msg);
    void writePair(QString name, QVariant value);
    void showCursor(bool showed);

public slots:
    bool saveObject(QString filename, QScriptValue obj);
    QScriptValue loadObject(QString filename);
    bool saveObjectToAppData(QString filename, QScriptValue obj);
    QScriptValue loadObjectFromAppData(QString filename);
    // The job is a function to call or the text of code to run; the result
    // is the id clearTimer takes (0 for a timer that can never fire).
    int setTimeout(QScriptValue job, int ms);
    int setInterval(QScriptValue job, int ms);
    // Stops a timer for good; unknown ids do nothing.
    void clearTimer(int id);

private:
    int addTimer(const QScriptValue& job, int ms, bool once);
    void retire(QTimer* timer);

    QScriptEngine* engine;
    ScriptWatchdog* guard;
    // Timers that may still fire, in creation order; each owns its job.
    QList<QTimer*> timers;
    QHash<int, QTimer*> byId;

    struct Scheduled {
        double due;
        int interval;
        bool once;
        QScriptValue job;
        int id;
    };
    int lastId = 0;
    const TimerClock* gameClock = nullptr;
    // Clock-driven timers in creation order.
    QList<Scheduled> scheduled;
};
