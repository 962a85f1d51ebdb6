#include "QGameSystem.h"

#include "SaveFiles.h"
#include "ScriptJson.h"
#include "ScriptWatchdog.h"
#include "TimerEvent.h"

#include <QDir>
#include <QScriptEngine>
#include <QTimer>
#include <utility>

namespace {

// Empty when the platform knows no such directory: the name alone would
// then land in the file system's root.
QString inAppData(const QString& filename)
{
    const QString dir = appDataDirectory();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + filename;
}

} // namespace

QGameSystem::QGameSystem(QScriptEngine* engine, ScriptWatchdog* guard, QObject* parent)
    : QObject(parent), engine(engine), guard(guard)
{
}

QGameSystem::~QGameSystem()
{
    stopAllTimers();
}

void QGameSystem::stopAllTimers()
{
    // Taken out first: deleting a timer must not meet a list being walked.
    const QList<QTimer*> ending = std::exchange(timers, {});
    qDeleteAll(ending);
}

void QGameSystem::addTimer(const QString& code, int ms, bool once)
{
    // A negative delay never fires (a QTimer would run it as a zero delay),
    // and a timer that cannot fire is not worth keeping.
    if (ms < 0)
        return;
    auto* timer = new QTimer(this);
    timer->setSingleShot(once);
    auto* job = new TimerEvent(code, guard, timer);
    connect(timer, &QTimer::timeout, job, &TimerEvent::execCode);
    connect(job, &TimerEvent::finished, this, [this, timer] { retire(timer); });
    timer->start(ms);
    timers.append(timer);
}

void QGameSystem::retire(QTimer* timer)
{
    timers.removeOne(timer);
    // Its job is still running; it and the timer go at the next event pass.
    timer->deleteLater();
}

void QGameSystem::setTimeout(QString code, int ms)
{
    addTimer(code, ms, true);
}

void QGameSystem::setInterval(QString code, int ms)
{
    addTimer(code, ms, false);
}

void QGameSystem::saveObject(QString filename, QScriptValue obj)
{
    writeSaveFile(filename, scriptValueToJson(obj).toUtf8());
}

QScriptValue QGameSystem::loadObject(QString filename)
{
    const std::optional<QString> text = readSaveFile(filename);
    if (!text)
        return engine->nullValue();
    // A context of its own keeps the helper variable out of the script's globals.
    engine->pushContext();
    const QScriptValue value = guard->evaluate(loadProgram(*text));
    engine->popContext();
    return value;
}

void QGameSystem::saveObjectToAppData(QString filename, QScriptValue obj)
{
    const QString path = inAppData(filename);
    if (path.isEmpty())
        return;
    QDir().mkpath(appDataDirectory());
    saveObject(path, obj);
}

QScriptValue QGameSystem::loadObjectFromAppData(QString filename)
{
    const QString path = inAppData(filename);
    return path.isEmpty() ? engine->nullValue() : loadObject(path);
}
