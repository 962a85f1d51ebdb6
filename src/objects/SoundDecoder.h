#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <vector>

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

} // namespace sound
