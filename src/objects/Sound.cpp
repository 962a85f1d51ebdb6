#include "objects/Sound.h"

#include "core/RegularFile.h"

#include <SFML/System/Err.hpp>
#include <sstream>

namespace {

// Takes what the audio library writes to its error stream while it lives.
class AudioErrors {
public:
    AudioErrors() : previous(sf::err().rdbuf(text.rdbuf())) {}
    ~AudioErrors() { sf::err().rdbuf(previous); }
    bool any() const { return !text.str().empty(); }

private:
    std::ostringstream text;
    std::streambuf* previous;
};

} // namespace

Sound::Sound(const QString& filename, QObject* parent) : QObject(parent)
{
    const QString path = QStringLiteral("sounds/") + filename;
    if (loaderMayOpen(path, fileLimits::assetBytes))
        buffer.loadFromFile(path.toUtf8().toStdString());
    {
        // Past the device's voices the library only complains, and leaves
        // the source name undefined: it could name another sound's voice.
        const AudioErrors errors;
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
        const AudioErrors quiet;
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
