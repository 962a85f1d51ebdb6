#include "objects/Sound.h"

#include "objects/AssetLoad.h"

Sound::Sound(const QString& filename, QObject* parent) : QObject(parent)
{
    asset::loadSoundBuffer(buffer, QStringLiteral("sounds/") + filename);
    {
        // Past the device's voices the library only complains, and leaves
        // the source name undefined: it could name another sound's voice.
        const asset::QuietLibrary errors;
        player = std::make_unique<Voice>();
        voiced = !errors.any();
        if (!voiced)
            player->forgetSource();
    }
    // Every call on a sound without a voice would print errors again.
    if (voiced)
        player->setBuffer(buffer);
}

Sound::~Sound()
{
    if (!voiced) {
        const asset::QuietLibrary quiet;
        player.reset();
    }
}

void Sound::play()
{
    if (!voiced)
        return;
    player->setPlayingOffset(sf::Time::Zero);
    player->play();
}

void Sound::stop()
{
    if (voiced)
        player->stop();
}

void Sound::setLoop(bool isloop)
{
    if (voiced)
        player->setLoop(isloop);
}

bool Sound::isPlayed()
{
    return voiced && player->getStatus() == sf::Sound::Playing;
}
