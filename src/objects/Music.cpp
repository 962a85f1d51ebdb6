#include "objects/Music.h"

#include "core/AssetFile.h"
#include "objects/AssetLoad.h"
#include "objects/Loudness.h"
#include "objects/SoundDecoder.h"

#include <QFile>
#include <SFML/Audio/SoundStream.hpp>
#include <vector>

// Samples come from the checked file through the same reader that decodes
// sounds; the audio library asks for them from its own thread.
class Music::Stream : public sf::SoundStream {
public:
    explicit Stream(std::unique_ptr<QFile> opened) : file(std::move(opened)), reader(*file) {}
    ~Stream() override
    {
        // The library's thread reads through the members, which go first.
        stop();
    }

    const sound::Reader& source() const { return reader; }
    // False when the audio library refused the file's channels or rate.
    bool start()
    {
        const asset::QuietLibrary errors;
        initialize(reader.channels(), reader.sampleRate());
        // Half a second of samples at a time.
        chunk.resize(std::size_t(reader.sampleRate() / 2 + 1) * reader.channels());
        return !errors.any();
    }
    // Past the device's voices the library only complains, and leaves the
    // source name undefined: it could name another sound's voice.
    void forgetSource() { m_source = 0; }

private:
    bool onGetData(Chunk& data) override
    {
        const std::size_t frames = chunk.size() / reader.channels();
        const std::size_t got = reader.read(chunk.data(), frames);
        data.samples = chunk.data();
        data.sampleCount = got * reader.channels();
        return got == frames;
    }
    // Only ever back to the start (play and looping).
    void onSeek(sf::Time) override { reader.rewind(); }

    std::unique_ptr<QFile> file;
    sound::Reader reader;
    std::vector<sf::Int16> chunk;
};

Music::Music(const QString& filename, QObject* parent) : Releasable(parent)
{
    const QString path = QStringLiteral("sounds/") + filename;
    std::unique_ptr<QFile> file = asset::openOrReport(path);
    if (!file)
        return;
    {
        const asset::QuietLibrary errors;
        stream = std::make_unique<Stream>(std::move(file));
        voiceless = errors.any();
    }
    if (voiceless) {
        freeResources();
        return;
    }
    const QString reason = stream->source().error();
    if (!reason.isEmpty() || !stream->start()) {
        asset::reportFailure(path, reason.isEmpty() ? QStringLiteral("refused by the audio library")
                                                    : reason);
        freeResources();
    }
}

Music::~Music()
{
    freeResources();
}

void Music::play()
{
    if (!stream)
        return;
    stream->stop();
    stream->play();
}

void Music::stop()
{
    if (stream)
        stream->stop();
}

void Music::setLoop(bool isloop)
{
    if (stream)
        stream->setLoop(isloop);
}

bool Music::isPlayed()
{
    return stream && stream->getStatus() == sf::SoundSource::Playing;
}

void Music::setVolume(double volume)
{
    if (stream)
        stream->setVolume(loudness(volume));
}

void Music::freeResources()
{
    if (stream && voiceless) {
        stream->forgetSource();
        const asset::QuietLibrary quiet;
        stream.reset();
    }
    stream.reset();
}
