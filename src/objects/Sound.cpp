#include "objects/Sound.h"

#include "objects/Loudness.h"

Sound::Sound(const QString& filename, QObject* parent) : Releasable(parent)
{
    buffer.loadFromFile((QStringLiteral("sounds/") + filename).toUtf8().toStdString());
    player = std::make_unique<sf::Sound>(buffer);
}

void Sound::play()
{
    player->setPlayingOffset(sf::Time::Zero);
    player->play();
}

void Sound::stop()
{
    player->stop();
}

void Sound::setLoop(bool isloop)
{
    player->setLoop(isloop);
}

bool Sound::isPlayed()
{
    return player->getStatus() == sf::Sound::Playing;
}

void Sound::setVolume(double volume)
{
    player->setVolume(loudness(volume));
}

void Sound::setPitch(double pitch)
{
    if (usablePitch(pitch))
        player->setPitch(float(std::min(pitch, 100.0)));
}

void Sound::freeResources()
{
    player.reset();
    buffer = sf::SoundBuffer();
}
