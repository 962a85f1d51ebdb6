#include "FuzzTargets.h"
#include "objects/SoundDecoder.h"

#include <QByteArray>

namespace {

constexpr quint64 maxSamples = 1 << 20;

} // namespace

int fuzz::soundDecoder(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    DecodedSound decoded;
    if (!sound::decode(bytes, maxSamples, decoded).isEmpty()) {
        check(decoded.samples.empty() && decoded.channels == 0, "a refused sound is empty");
        return 0;
    }
    check(decoded.channels >= 1 && decoded.channels <= sound::maxChannels, "channels");
    check(decoded.sampleRate >= 1 && decoded.sampleRate <= sound::maxSampleRate, "rate");
    check(decoded.samples.size() <= maxSamples, "length within the limit");
    check(decoded.samples.size() % decoded.channels == 0, "whole frames");
    return 0;
}
