// The `game` factory slots: each makes an object, keeps it in its list and
// hands it to the script wrapped, never owned by the engine.
#include "Game.h"

#include "Line.h"
#include "Rect.h"
#include "Sound.h"
#include "Sprite.h"
#include "Text.h"

#include <QScriptEngine>

QScriptValue Game::loadSprite(QString)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadSpritePCX8bit(QString, bool)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadSpritePCX8bit(QString)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadSound(QString)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadText(QString, QString, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadAnimationFromFiles(QScriptValue, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadAnimation(QString, int, int, int, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadAnimation(QString, int, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadAnimationPCX8bit(QString, int, int, int, int, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadAnimationPCX8bit(QString, int, int, int, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadAnimationPCX8bit(QString, int, int, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::loadAnimationPCX8bit(QString, int, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::createLine(int, int, int)
{
    return engine->undefinedValue();
}

QScriptValue Game::createRect(int, int, int)
{
    return engine->undefinedValue();
}
