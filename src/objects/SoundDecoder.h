#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <vector>

class QIODevice;
struct sf_private_tag;

// Decodes a sound file held in memory into 16-bit samples through libsndfile:
// WAV, FLAC and Ogg Vorbis, the formats sounds have always been read in.
// Header fields are not trusted: samples are read until the data ends, and a
// sound longer than the limit is refused instead of filling memory.
struct DecodedSound {
    std::vector<std::int16_t> samples; // interleaved channels
    unsigned channels = 0;
    unsigned sampleRate = 0;
};

namespace sound {

// Ten minutes of 48 kHz stereo (110 MiB of samples); longer pieces are
// music to be streamed, not sounds to be held whole.
constexpr quint64 maxSamples = quint64(10) * 60 * 48000 * 2;
constexpr unsigned maxChannels = 8;
constexpr unsigned maxSampleRate = 384000;

// Empty on success; otherwise why the bytes give no sound, in the words of
// the debug line, and `out` is empty.
QString decode(const QByteArray& bytes, quint64 maxSamples, DecodedSound& out);

// A sound file read a chunk at a time from an open device (a file or
// memory), which must outlive the reader: what decode does whole, and
// what music streams.
class Reader {
public:
    explicit Reader(QIODevice& device);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Empty when the file can be read; otherwise why not, in the words of
    // the debug line.
    QString error() const { return reason; }
    unsigned channels() const { return unsigned(info.channels); }
    unsigned sampleRate() const { return unsigned(info.samplerate); }
    // The header's count of frames: a hint only, maybe far off.
    qint64 framesHint() const { return info.frames; }
    // Up to `frames` frames of interleaved samples into `to`; fewer at the
    // end of the file or where it is damaged.
    std::size_t read(std::int16_t* to, std::size_t frames);
    // Back to the first sample; false when the file cannot go there.
    bool rewind();

private:
    struct Info {
        qint64 frames = 0;
        int samplerate = 0;
        int channels = 0;
        int format = 0;
    };
    QIODevice& device;
    sf_private_tag* file = nullptr;
    Info info;
    bool vorbis = false;
    std::vector<float> floats;
    QString reason;
};

} // namespace sound
