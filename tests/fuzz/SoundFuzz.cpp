#include "FuzzTargets.h"
#include "objects/SoundDecoder.h"

#include <QBuffer>
#include <vector>

int fuzz::soundDecoder(const std::uint8_t* data, std::size_t size)
{
    // Music reads the same way a chunk at a time, and goes back to loop.
    QBuffer memory;
    memory.setData(bytes(data, size));
    memory.open(QIODevice::ReadOnly);
    sound::Reader reader(memory);
    std::vector<std::int16_t> chunk(std::size_t(4096) * sound::maxChannels);
    for (int pass = 0; pass < 2 && reader.read(chunk.data(), 4096) > 0; ++pass)
        reader.rewind();
    const quint64 maxSamples = 1 << 20;
    DecodedSound decoded;
    if (!sound::decode(bytes(data, size), maxSamples, decoded).isEmpty()) {
        check(decoded.samples.empty() && decoded.channels == 0, "a refused sound is empty");
        return 0;
    }
    check(decoded.channels >= 1 && decoded.channels <= sound::maxChannels, "channels");
    check(decoded.sampleRate >= 1 && decoded.sampleRate <= sound::maxSampleRate, "rate");
    check(decoded.samples.size() <= maxSamples, "length within the limit");
    check(decoded.samples.size() % decoded.channels == 0, "whole frames");
    return 0;
}
