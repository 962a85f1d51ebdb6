#include "QGameSystem.h"

#include <QScriptEngine>
#include <QTimer>

QGameSystem::QGameSystem(QScriptEngine* engine, QObject* parent) : QObject(parent), engine(engine) {}

QGameSystem::~QGameSystem()
{
    stopAllTimers();
}

void QGameSystem::stopAllTimers()
{
    for (QTimer* timer : timers)
        delete timer;
    timers.clear();
}

void QGameSystem::saveObject(QString, QScriptValue) {}

QScriptValue QGameSystem::loadObject(QString)
{
    return engine->nullValue();
}

void QGameSystem::saveObjectToAppData(QString, QScriptValue) {}

QScriptValue QGameSystem::loadObjectFromAppData(QString)
{
    return engine->nullValue();
}

void QGameSystem::setTimeout(QString, int) {}

void QGameSystem::setInterval(QString, int) {}
