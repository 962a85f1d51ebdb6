#include "objects/ScriptWatchdog.h"

#include <QScriptContext>
#include <QScriptEngine>
#include <QScriptProgram>
#include <QStringList>

namespace {

// How often a running call lets the watchdog look at the clock.
constexpr int checkIntervalMs = 200;

} // namespace

ScriptWatchdog::ScriptWatchdog(QScriptEngine* engine, int limitMs)
    : engine(engine), limitMs(limitMs),
      errorType(engine->globalObject().property(QStringLiteral("Error")))
{
    engine->setProcessEventsInterval(checkIntervalMs);
    startTimer(checkIntervalMs);
}

template <typename Run> QScriptValue ScriptWatchdog::guarded(Run run)
{
    if (depth > 0 && started.elapsed() > limitMs) {
        // Many short nested evaluations never give the engine's own check a
        // turn, so the clock is read before each of them too.
        abort();
        return abortValue;
    }
    enter();
    const QScriptValue result = run();
    leave();
    return result;
}

QScriptValue ScriptWatchdog::evaluate(const QString& program, const QString& fileName)
{
    return guarded([&] { return engine->evaluate(program, fileName, 1); });
}

QScriptValue ScriptWatchdog::evaluate(const QScriptProgram& program)
{
    return guarded([&] { return engine->evaluate(program); });
}

QScriptValue ScriptWatchdog::call(QScriptValue function, const QScriptValueList& args)
{
    // A call made from native code is never looked in on, so it runs as a
    // piece of code of its own, in a scope that holds only it and its
    // arguments.
    QScriptContext* context = engine->pushContext();
    QScriptValue scope = context->activationObject();
    scope.setProperty(QStringLiteral("f"), function);
    QStringList names;
    for (int i = 0; i < args.size(); ++i) {
        names << QStringLiteral("a%1").arg(i);
        scope.setProperty(names.last(), args.at(i));
    }
    const QScriptValue result =
        evaluate(QStringLiteral("f(") + names.join(QLatin1Char(',')) + QLatin1Char(')'));
    engine->popContext();
    return result;
}

void ScriptWatchdog::run(const std::function<void()>& work)
{
    // Only code called from a script function counts as running for the
    // engine; an abort outside one would go unheard.
    const auto trampoline = [](QScriptContext*, QScriptEngine*, void* arg) -> QScriptValue {
        (*static_cast<const std::function<void()>*>(arg))();
        return QScriptValue();
    };
    enter();
    engine->newFunction(trampoline, const_cast<std::function<void()>*>(&work)).call();
    leave();
}

void ScriptWatchdog::enter()
{
    if (depth++ > 0)
        return;
    overTime = false;
    started.start();
}

void ScriptWatchdog::leave()
{
    // Work nested in a call and ended by the watchdog ends the call too.
    if (--depth > 0 && overTime)
        engine->abortEvaluation(abortValue);
}

QString ScriptWatchdog::errorText(const QScriptValue& error)
{
    QString text;
    if (!overTime)
        run([&] { text = error.toString(); });
    return overTime ? abortText : text;
}

void ScriptWatchdog::timerEvent(QTimerEvent*)
{
    // Aborted again at every check: a stubborn call does not get away with
    // having swallowed the first abort.
    if (depth > 0 && started.elapsed() > limitMs)
        abort();
}

void ScriptWatchdog::abort()
{
    if (!overTime) {
        overTime = true;
        const QString text =
            QStringLiteral("выполнение прервано: вызов длился дольше %1 с").arg(limitMs / 1000);
        abortValue = errorType.construct(QScriptValueList{QScriptValue(text)});
        abortText = QStringLiteral("Error: ") + text;
    }
    engine->abortEvaluation(abortValue);
}
