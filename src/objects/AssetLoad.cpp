#include "objects/AssetLoad.h"

#include "core/AssetFile.h"
#include "objects/ImageDecoder.h"
#include "objects/SoundDecoder.h"

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Err.hpp>

#include <algorithm>

namespace asset {

namespace {

bool decodeImageFile(const QString& path, unsigned maxSide, DecodedImage& decoded)
{
    QByteArray bytes;
    if (!readOrReport(path, bytes))
        return false;
    const QString reason = image::decode(bytes, {maxSide, maxImagePixels}, decoded);
    if (!reason.isEmpty())
        reportFailure(path, reason);
    return reason.isEmpty();
}

} // namespace

QuietLibrary::QuietLibrary() : previous(sf::err().rdbuf(text.rdbuf())) {}

QuietLibrary::~QuietLibrary()
{
    sf::err().rdbuf(previous);
}

bool loadTexture(sf::Texture& texture, const QString& path)
{
    DecodedImage decoded;
    if (!decodeImageFile(path, std::min(sf::Texture::getMaximumSize(), image::maxSide), decoded))
        return false;
    QuietLibrary quiet;
    if (!texture.create(decoded.width, decoded.height)) {
        reportFailure(path, QStringLiteral("refused by the graphics card"));
        return false;
    }
    texture.update(decoded.pixels.get());
    return true;
}

bool loadImage(sf::Image& image, const QString& path)
{
    DecodedImage decoded;
    if (!decodeImageFile(path, image::maxSide, decoded))
        return false;
    image.create(decoded.width, decoded.height, decoded.pixels.get());
    return true;
}

bool loadSoundBuffer(sf::SoundBuffer& buffer, const QString& path)
{
    QByteArray bytes;
    if (!readOrReport(path, bytes))
        return false;
    DecodedSound decoded;
    const QString reason = sound::decode(bytes, sound::maxSamples, decoded);
    if (!reason.isEmpty()) {
        reportFailure(path, reason);
        return false;
    }
    // A file without samples is a silent sound, as it always was.
    if (decoded.samples.empty())
        return true;
    QuietLibrary quiet;
    if (!buffer.loadFromSamples(decoded.samples.data(), decoded.samples.size(), decoded.channels,
                                decoded.sampleRate)) {
        reportFailure(path, QStringLiteral("refused by the audio library"));
        return false;
    }
    return true;
}

} // namespace asset
