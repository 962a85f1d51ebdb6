// The `game` factory slots: each makes an object, keeps it in its list and
// hands it to the script wrapped, never owned by the engine.
#include "runtime/Game.h"

#include "core/AssetPaths.h"
#include "objects/Animation.h"
#include "objects/Circle.h"
#include "objects/Line.h"
#include "objects/Music.h"
#include "objects/PcxTexture.h"
#include "objects/Rect.h"
#include "objects/Sound.h"
#include "objects/Sprite.h"
#include "objects/Text.h"

#include <QScriptEngine>

QScriptValue Game::loadSprite(QString filename)
{
    auto* sprite = new Sprite(this);
    sprite->loadImageFile(filename);
    return adopt(sprites, sprite);
}

QScriptValue Game::loadSpritePCX8bit(QString filename, bool usetransp)
{
    auto* sprite = new Sprite(this);
    sf::Texture loaded;
    loadPcxTexture(loaded, spritePath(filename), usetransp, sf::Texture::getMaximumSize());
    sprite->assignTexture(loaded);
    return adopt(sprites, sprite);
}

QScriptValue Game::loadSpritePCX8bit(QString filename)
{
    return loadSpritePCX8bit(filename, false);
}

void Game::noteVoice(bool voiced, const QString& filename)
{
    if (!voiced)
        emit sendLog(QStringLiteral("Sound silent, no voice left for it: ") + filename);
}

QScriptValue Game::loadSound(QString filename)
{
    auto* sound = new Sound(filename);
    noteVoice(sound->hasVoice(), filename);
    return adopt(sounds, sound);
}

QScriptValue Game::loadText(QString fontname, QString text, int size)
{
    auto* label = new Text(fontname, this);
    label->setText(text);
    label->setSize(size);
    return adopt(texts, label);
}

// Calls that cannot make an animation give scripts the string "none".
QScriptValue Game::adoptAnimation(Animation* animation)
{
    if (!animation)
        return QScriptValue(engine.get(), QStringLiteral("none"));
    return adopt<Sprite>(sprites, animation);
}

QScriptValue Game::loadAnimationFromFiles(QScriptValue arr, int fps)
{
    return adoptAnimation(Animation::fromFiles(this, arr, fps));
}

QScriptValue Game::loadAnimation(QString filename, int w, int h, int framecount, int fps)
{
    return adoptAnimation(Animation::fromSheet(this, filename, w, h, framecount, fps, true));
}

QScriptValue Game::loadAnimation(QString filename, int framecount, int fps)
{
    return loadAnimation(filename, -1, -1, framecount, fps);
}

QScriptValue Game::loadAnimationPCX8bit(QString filename, int w, int h, int framecount, int fps,
                                        int usetransp)
{
    return adoptAnimation(
        Animation::fromSheet(this, filename, w, h, framecount, fps, usetransp != 0));
}

QScriptValue Game::loadAnimationPCX8bit(QString filename, int w, int h, int framecount, int fps)
{
    return loadAnimationPCX8bit(filename, w, h, framecount, fps, 0);
}

QScriptValue Game::loadAnimationPCX8bit(QString filename, int framecount, int fps, int usetransp)
{
    return loadAnimationPCX8bit(filename, -1, -1, framecount, fps, usetransp);
}

QScriptValue Game::loadAnimationPCX8bit(QString filename, int framecount, int fps)
{
    return loadAnimationPCX8bit(filename, -1, -1, framecount, fps, 0);
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

QScriptValue Game::loadMusic(QString filename)
{
    auto* music = new Music(filename);
    noteVoice(music->hasVoice(), filename);
    return adopt(musics, music);
}

QScriptValue Game::createLine(int r, int g, int b, int a)
{
    auto* line = new Line(this);
    line->setColor(r, g, b, a);
    return adopt(lines, line);
}

QScriptValue Game::createRect(int r, int g, int b, int a)
{
    auto* rect = new Rect(this);
    rect->setFillColor(r, g, b, a);
    rect->setBorderColor(r, g, b, a);
    return adopt(rects, rect);
}

QScriptValue Game::createCircle(int r, int g, int b)
{
    return createCircle(r, g, b, 255);
}

QScriptValue Game::createCircle(int r, int g, int b, int a)
{
    auto* circle = new Circle(this);
    circle->setFillColor(r, g, b, a);
    circle->setBorderColor(r, g, b, a);
    return adopt(circles, circle);
}
