#include "runtime/QGameSystem.h"

#include "core/JsonTextReader.h"
#include "objects/ScriptWatchdog.h"
#include "runtime/SaveFiles.h"
#include "runtime/ScriptJson.h"
#include "runtime/TimerEvent.h"

#include <QDir>
#include <QFileInfo>
#include <QScriptContext>
#include <QScriptEngine>
#include <QTimer>
#include <algorithm>
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
    byId.clear();
    qDeleteAll(ending);
    scheduled.clear();
}

void QGameSystem::runDueTimers()
{
    const double now = gameClock ? gameClock->elapsedMs() : 0.0;
    // Like a Qt timer, each fires at most once per pass, and one a job
    // starts now waits for the next pass. Runs between calls, so no job is
    // ever held.
    QList<Scheduled> due;
    for (const Scheduled& s : scheduled)
        if (s.due <= now)
            due.append(s);
    std::stable_sort(due.begin(), due.end(),
                     [](const Scheduled& x, const Scheduled& y) { return x.due < y.due; });
    for (const Scheduled& job : due) {
        // An earlier job may have ended the script's timers.
        const auto it = std::find_if(scheduled.begin(), scheduled.end(),
                                     [&job](const Scheduled& s) { return s.id == job.id; });
        if (it == scheduled.end())
            continue;
        if (it->once)
            scheduled.erase(it);
        else
            it->due = now + it->interval;
        if (job.job.isFunction())
            guard->call(job.job);
        else
            guard->evaluate(job.job.toString());
    }
}

int QGameSystem::addTimer(const QScriptValue& job, int ms, bool once)
{
    // A negative delay never fires (a QTimer would run it as a zero delay),
    // and a timer that cannot fire is not worth keeping.
    if (ms < 0)
        return 0;
    // Anything but a function is code, made text now, while the call that
    // asks for the timer runs.
    const QScriptValue work = job.isFunction() ? job : QScriptValue(job.toString());
    if (gameClock) {
        scheduled.append({gameClock->elapsedMs() + ms, ms, once, work, ++lastId});
        return lastId;
    }
    auto* timer = new QTimer(this);
    timer->setSingleShot(once);
    auto* event = new TimerEvent(work, guard, timer);
    connect(timer, &QTimer::timeout, event, &TimerEvent::execCode);
    connect(event, &TimerEvent::finished, this, [this, timer] { retire(timer); });
    timer->start(ms);
    timers.append(timer);
    byId.insert(++lastId, timer);
    return lastId;
}

void QGameSystem::retire(QTimer* timer)
{
    timers.removeOne(timer);
    byId.remove(byId.key(timer));
    // Its job is still running; it and the timer go at the next event pass.
    timer->deleteLater();
}

int QGameSystem::setTimeout(QScriptValue job, int ms)
{
    return addTimer(job, ms, true);
}

int QGameSystem::setInterval(QScriptValue job, int ms)
{
    return addTimer(job, ms, false);
}

void QGameSystem::clearTimer(int id)
{
    scheduled.erase(std::remove_if(scheduled.begin(), scheduled.end(),
                                   [id](const Scheduled& s) { return s.id == id; }),
                    scheduled.end());
    QTimer* timer = byId.value(id);
    if (!timer)
        return;
    timer->stop();
    timers.removeOne(timer);
    byId.remove(id);
    // Only a timer whose own job is running has to wait; waiting outside an
    // event pass would keep it until the script ends.
    const TimerEvent* event = timer->findChild<TimerEvent*>();
    if (event && event->isRunning())
        timer->deleteLater();
    else
        delete timer;
}

bool QGameSystem::saveObject(QString filename, QScriptValue obj)
{
    // The file system would cut the name at a zero character.
    if (filename.contains(QChar(0))) {
        emit writeMessage(QStringLiteral("Save refused, a zero character in the file name: ") +
                          filename);
        return false;
    }
    // Saves stay in the game's folders: the data directory (the current
    // one) and its app-data directory, wherever links and ".." lead.
    const QString target = resolveSaveTarget(filename);
    if (target.isEmpty())
        return false;
    if (!isInsideFolders(target, {QDir::current().canonicalPath(),
                                  QFileInfo(appDataDirectory()).canonicalFilePath()})) {
        emit writeMessage(QStringLiteral("Save refused, outside the game's folders: ") + filename);
        return false;
    }
    const QString text = scriptValueToJson(obj);
    // An object always has a text; none means it is too large or too deep.
    if (obj.isObject() && text.isEmpty())
        return false;
    return writeSaveFile(target, text.toUtf8());
}

QScriptValue QGameSystem::loadObject(QString filename)
{
    const std::optional<QString> text = readSaveFile(filename);
    if (!text)
        return engine->nullValue();
    const std::optional<QJsonValue> value = readJsonText(*text);
    if (!value)
        return engine->currentContext()->throwError(
            QScriptContext::SyntaxError, QStringLiteral("Parse error in saved file ") + filename);
    return jsonToScriptValue(engine, *value);
}

bool QGameSystem::saveObjectToAppData(QString filename, QScriptValue obj)
{
    const QString path = inAppData(filename);
    if (path.isEmpty())
        return false;
    QDir().mkpath(appDataDirectory());
    return saveObject(path, obj);
}

QScriptValue QGameSystem::loadObjectFromAppData(QString filename)
{
    const QString path = inAppData(filename);
    return path.isEmpty() ? engine->nullValue() : loadObject(path);
}
