#include "objects/Sound.h"

#include "objects/AssetLoad.h"
#include "objects/Loudness.h"

#include <algorithm>

Sound::Sound(const QString& filename, QObject* parent) : Releasable(parent)
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
    freeResources();
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

void Sound::setVolume(double volume)
{
    if (voiced)
        player->setVolume(loudness(volume));
}

void Sound::setPitch(double pitch)
{
    if (voiced && usablePitch(pitch))
        player->setPitch(float(std::min(pitch, 100.0)));
}

void Sound::freeResources()
{
    if (!voiced) {
        const asset::QuietLibrary quiet;
        player.reset();
    }
    voiced = false;
    player.reset();
    buffer = sf::SoundBuffer();
}
