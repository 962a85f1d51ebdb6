#include "objects/SoundDecoder.h"

#include "core/AssetFile.h"

#include <QBuffer>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QIODevice& deviceOf(void* user)
{
    return *static_cast<QIODevice*>(user);
}

sf_count_t deviceLength(void* user)
{
    return deviceOf(user).size();
}

sf_count_t deviceSeek(sf_count_t offset, int whence, void* user)
{
    QIODevice& d = deviceOf(user);
    const sf_count_t size = d.size();
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? d.pos() : size;
    if (offset < -base || offset > size - base || !d.seek(base + offset))
        return -1;
    return d.pos();
}

sf_count_t deviceRead(void* to, sf_count_t count, void* user)
{
    return std::max<qint64>(
        deviceOf(user).read(static_cast<char*>(to), std::max<sf_count_t>(count, 0)), 0);
}

sf_count_t deviceWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t deviceTell(void* user)
{
    return deviceOf(user).pos();
}

// n bytes from position at; the device is left at its start.
QByteArray bytesAt(QIODevice& device, qint64 at, int n)
{
    QByteArray bytes;
    if (at <= device.size() - n && device.seek(at))
        bytes = device.read(n);
    device.seek(0);
    return bytes;
}

// Only the containers sounds were always read from reach the library, which
// knows many more.
bool knownContainer(QIODevice& device)
{
    const QByteArray head = bytesAt(device, 0, 12);
    qint64 at = 0;
    // FLAC files may start with an ID3 tag: 10 bytes and a syncsafe size.
    if (head.startsWith("ID3") && head.size() >= 10) {
        at = 10;
        for (int i = 6; i < 10; ++i)
            at += qint64(head[i] & 0x7F) << (7 * (9 - i));
    }
    return (at == 0 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE") ||
           (at == 0 && head.startsWith("OggS")) || bytesAt(device, at, 4) == "fLaC";
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

} // namespace

namespace sound {

Reader::Reader(QIODevice& device) : device(device)
{
    if (!knownContainer(device)) {
        reason = asset::unknownFormat();
        return;
    }
    SF_VIRTUAL_IO io{deviceLength, deviceSeek, deviceRead, deviceWrite, deviceTell};
    SF_INFO header{};
    file = sf_open_virtual(&io, SFM_READ, &header, &device);
    info = {header.frames, header.samplerate, header.channels, header.format};
    if (!file)
        reason = damaged();
    else if (!knownFormat(info.format))
        reason = asset::unknownFormat();
    else if (info.channels < 1 || unsigned(info.channels) > maxChannels || info.samplerate < 1 ||
             unsigned(info.samplerate) > maxSampleRate)
        reason = damaged();
    if (!reason.isEmpty())
        return;
    // Vorbis is decoded to floats and rounded as its own reader always did.
    vorbis = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS;
    if (!vorbis)
        sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

Reader::~Reader()
{
    if (file)
        sf_close(file);
}

std::size_t Reader::read(std::int16_t* to, std::size_t frames)
{
    if (!reason.isEmpty() || frames == 0)
        return 0;
    const auto count = sf_count_t(frames);
    if (!vorbis)
        return std::size_t(std::max<sf_count_t>(sf_readf_short(file, to, count), 0));
    const std::size_t channels = std::size_t(info.channels);
    floats.resize(frames * channels);
    const auto got =
        std::size_t(std::max<sf_count_t>(sf_readf_float(file, floats.data(), count), 0));
    for (std::size_t i = 0; i < got * channels; ++i)
        to[i] = std::int16_t(std::clamp(std::lrint(double(floats[i] * 32768.f)), -32768L, 32767L));
    return got;
}

bool Reader::rewind()
{
    return reason.isEmpty() && sf_seek(file, 0, SEEK_SET) == 0;
}

QString decode(const QByteArray& bytes, quint64 maxSamples, DecodedSound& out)
{
    out = DecodedSound();
    QBuffer memory;
    memory.setData(bytes);
    memory.open(QIODevice::ReadOnly);
    Reader reader(memory);
    if (!reader.error().isEmpty())
        return reader.error();
    const std::size_t channels = reader.channels();
    // The header's length is only a hint, never more than the limit.
    if (reader.framesHint() > 0)
        out.samples.reserve(std::size_t(
            std::min<quint64>(quint64(reader.framesHint()), maxSamples / channels) * channels));
    constexpr std::size_t chunkFrames = 4096;
    for (std::size_t got = chunkFrames; got == chunkFrames;) {
        if (out.samples.size() > maxSamples) {
            out = DecodedSound();
            return tooLong();
        }
        const std::size_t at = out.samples.size();
        out.samples.resize(at + chunkFrames * channels);
        got = reader.read(out.samples.data() + at, chunkFrames);
        out.samples.resize(at + got * channels);
    }
    if (out.samples.size() > maxSamples) {
        out = DecodedSound();
        return tooLong();
    }
    out.samples.shrink_to_fit();
    out.channels = reader.channels();
    out.sampleRate = reader.sampleRate();
    return QString();
}

} // namespace sound
