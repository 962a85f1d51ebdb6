#pragma once

#include "core/PcxImage.h"

#include <QString>

namespace sf {
class Texture;
}

// Decodes a PCX file into `texture`. When the file cannot be read, or the
// graphics card refuses its size, the texture is left untouched.
bool loadPcxTexture(sf::Texture& texture, const QString& path, bool usetransp,
                    unsigned maxSide = PcxImage::defaultMaxSide);
