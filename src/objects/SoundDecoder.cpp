#include "objects/SoundDecoder.h"

#include "core/AssetFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct Memory {
    const char* data;
    sf_count_t size;
    sf_count_t pos = 0;
};

sf_count_t memoryLength(void* user)
{
    return static_cast<Memory*>(user)->size;
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user)
{
    auto* m = static_cast<Memory*>(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->pos : m->size;
    if (offset < -base || offset > m->size - base)
        return -1;
    m->pos = base + offset;
    return m->pos;
}

sf_count_t memoryRead(void* to, sf_count_t count, void* user)
{
    auto* m = static_cast<Memory*>(user);
    const sf_count_t n =
        std::clamp<sf_count_t>(m->size - m->pos, 0, std::max<sf_count_t>(count, 0));
    std::memcpy(to, m->data + m->pos, std::size_t(n));
    m->pos += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t memoryTell(void* user)
{
    return static_cast<Memory*>(user)->pos;
}

bool startsWith(const QByteArray& bytes, int at, const char* magic)
{
    return bytes.mid(at, int(std::strlen(magic))) == magic;
}

// Only the containers sounds were always read from reach the library, which
// knows many more.
bool knownContainer(const QByteArray& bytes)
{
    int at = 0;
    // FLAC files may start with an ID3 tag: 10 bytes and a syncsafe size.
    if (startsWith(bytes, 0, "ID3") && bytes.size() >= 10) {
        at = 10;
        for (int i = 6; i < 10; ++i)
            at += (bytes[i] & 0x7F) << (7 * (9 - i));
    }
    return (at == 0 && startsWith(bytes, 0, "RIFF") && startsWith(bytes, 8, "WAVE")) ||
           (at == 0 && startsWith(bytes, 0, "OggS")) || startsWith(bytes, at, "fLaC");
}

bool knownFormat(int format)
{
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_FLAC:
        return true;
    case SF_FORMAT_OGG:
        return (format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS;
    }
    return false;
}

using asset::damaged;

QString tooLong()
{
    return QStringLiteral("longer than 10 minutes of 48 kHz stereo");
}

QString readSamples(SNDFILE* file, const SF_INFO& info, quint64 maxSamples, DecodedSound& out)
{
    if (!knownFormat(info.format))
        return asset::unknownFormat();
    if (info.channels < 1 || unsigned(info.channels) > sound::maxChannels || info.samplerate < 1 ||
        unsigned(info.samplerate) > sound::maxSampleRate)
        return damaged();
    const auto channels = std::size_t(info.channels);
    // Vorbis is decoded to floats and rounded as its own reader always did.
    const bool vorbis = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS;
    if (!vorbis)
        sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // The header's length is only a hint, never more than the limit.
    if (info.frames > 0)
        out.samples.reserve(
            std::size_t(std::min<quint64>(quint64(info.frames), maxSamples / channels) * channels));
    constexpr sf_count_t chunkFrames = 4096;
    const std::size_t chunk = std::size_t(chunkFrames) * channels;
    std::vector<float> floats(vorbis ? chunk : 0);
    for (sf_count_t got = chunkFrames; got == chunkFrames;) {
        if (out.samples.size() > maxSamples)
            return tooLong();
        const std::size_t at = out.samples.size();
        out.samples.resize(at + chunk);
        if (vorbis) {
            got = std::max<sf_count_t>(sf_readf_float(file, floats.data(), chunkFrames), 0);
            for (std::size_t i = 0; i < std::size_t(got) * channels; ++i)
                out.samples[at + i] = std::int16_t(
                    std::clamp(std::lrint(double(floats[i] * 32768.f)), -32768L, 32767L));
        } else {
            got =
                std::max<sf_count_t>(sf_readf_short(file, out.samples.data() + at, chunkFrames), 0);
        }
        out.samples.resize(at + std::size_t(got) * channels);
    }
    if (out.samples.size() > maxSamples)
        return tooLong();
    out.samples.shrink_to_fit();
    out.channels = unsigned(info.channels);
    out.sampleRate = unsigned(info.samplerate);
    return QString();
}

} // namespace

QString sound::decode(const QByteArray& bytes, quint64 maxSamples, DecodedSound& out)
{
    out = DecodedSound();
    if (!knownContainer(bytes))
        return asset::unknownFormat();
    Memory memory{bytes.constData(), bytes.size()};
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &memory);
    if (!file)
        return damaged();
    const QString reason = readSamples(file, info, maxSamples, out);
    sf_close(file);
    if (!reason.isEmpty())
        out = DecodedSound();
    return reason;
}
