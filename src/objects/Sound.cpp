#include "Sound.h"

#include "AssetLoad.h"

Sound::Sound(const QString& filename, QObject* parent) : QObject(parent)
{
    asset::loadSoundBuffer(buffer, QStringLiteral("sounds/") + filename);
    player.setBuffer(buffer);
}

void Sound::play()
{
    player.setPlayingOffset(sf::Time::Zero);
    player.play();
}

void Sound::stop()
{
    player.stop();
}

void Sound::setLoop(bool isloop)
{
    player.setLoop(isloop);
}

bool Sound::isPlayed()
{
    return player.getStatus() == sf::Sound::Playing;
}
