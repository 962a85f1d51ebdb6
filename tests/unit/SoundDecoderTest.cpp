#include "objects/SoundDecoder.h"
#include "core/AssetFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <SFML/Audio/SoundBuffer.hpp>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

namespace {

// A fifth of a second of two tones, written by libsndfile in `format`.
QByteArray tones(const QString& path, int format, int channels, int rate)
{
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rate;
    info.format = format;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << path.toStdString();
    std::vector<double> frames;
    for (int i = 0; i < rate / 5; ++i)
        for (int c = 0; c < channels; ++c)
            frames.push_back(0.45 * std::sin(i * (0.05 + 0.03 * c)) + 0.5 * std::sin(i * 0.007));
    sf_writef_double(file, frames.data(), rate / 5);
    sf_close(file);
    QFile written(path);
    written.open(QIODevice::ReadOnly);
    return written.readAll();
}

} // namespace

// The audio library's own readers, which the program used before, are the reference.
TEST(SoundDecoder, ValidFilesGiveTheSamplesTheyAlwaysGave)
{
    const struct {
        const char* name;
        int format, channels, rate;
    } cases[] = {
        {"u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 22050},
        {"16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100},
        {"ex.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 4, 44100},
        {"16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100},
        {"2.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 44100},
        // Two whole blocks of the decoder's reads: the last read gives nothing.
        {"blocks.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, 40960},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QByteArray file =
            tones(dir.filePath(QLatin1String(c.name)), c.format, c.channels, c.rate);
        sf::SoundBuffer reference;
        ASSERT_TRUE(reference.loadFromMemory(file.constData(), std::size_t(file.size()))) << c.name;
        DecodedSound decoded;
        EXPECT_EQ(sound::decode(file, sound::maxSamples, decoded), QString()) << c.name;
        EXPECT_EQ(decoded.channels, reference.getChannelCount()) << c.name;
        EXPECT_EQ(decoded.sampleRate, reference.getSampleRate()) << c.name;
        EXPECT_TRUE(std::equal(decoded.samples.begin(), decoded.samples.end(),
                               reference.getSamples(),
                               reference.getSamples() + reference.getSampleCount()))
            << c.name;
        // One frame fewer than the file holds is refused as too long.
        const quint64 frames = decoded.samples.size() / c.channels;
        EXPECT_FALSE(sound::decode(file, (frames - 1) * c.channels, decoded).isEmpty()) << c.name;
        EXPECT_TRUE(decoded.samples.empty()) << c.name;
    }
    // Too short for the header of the container it starts like.
    DecodedSound none;
    EXPECT_EQ(sound::decode(QByteArray("OggS\0\0\0\0", 8), sound::maxSamples, none),
              asset::unknownFormat());
}
