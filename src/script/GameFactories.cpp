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

QScriptValue Game::loadSound(QString filename)
{
    return adopt(sounds, new Sound(filename));
}

QScriptValue Game::loadText(QString fontname, QString text, int size)
{
    auto* label = new Text(fontname, this);
    label->setText(text);
    label->setSize(size);
    return adopt(texts, label);
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

QScriptValue Game::createLine(int r, int g, int b)
{
    auto* line = new Line(this);
    line->setColor(r, g, b);
    return adopt(lines, line);
}

QScriptValue Game::createRect(int r, int g, int b)
{
    auto* rect = new Rect(this);
    rect->setFillColor(r, g, b);
    rect->setBorderColor(r, g, b);
    return adopt(rects, rect);
}
