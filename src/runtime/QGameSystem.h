#pragma once

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
    void setTimeout(QString code, int ms);
    void setInterval(QString code, int ms);

private:
    void addTimer(const QString& code, int ms, bool once);
    void retire(QTimer* timer);

    QScriptEngine* engine;
    ScriptWatchdog* guard;
    // Timers that may still fire, in creation order; each owns its job.
    QList<QTimer*> timers;

    struct Scheduled {
        double due;
        int interval;
        bool once;
        QString code;
        quint64 id;
    };
    quint64 lastId = 0;
    const TimerClock* gameClock = nullptr;
    // Clock-driven timers in creation order.
    QList<Scheduled> scheduled;
};
