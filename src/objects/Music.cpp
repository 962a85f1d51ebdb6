#include "objects/Music.h"

#include "objects/Loudness.h"

#include <QFileInfo>

Music::Music(const QString& filename, QObject* parent) : Releasable(parent)
{
    const QString path = QStringLiteral("sounds/") + filename;
    // Opening a pipe or a device would wait for it for ever.
    if (QFileInfo(path).isFile())
        opened = stream->openFromFile(path.toUtf8().toStdString());
}

void Music::play()
{
    if (!opened)
        return;
    stream->stop();
    stream->play();
}

void Music::stop()
{
    stream->stop();
}

void Music::setLoop(bool isloop)
{
    stream->setLoop(isloop);
}

bool Music::isPlayed()
{
    return stream->getStatus() == sf::SoundSource::Playing;
}

void Music::setVolume(double volume)
{
    stream->setVolume(loudness(volume));
}

void Music::freeResources()
{
    stream.reset();
}
