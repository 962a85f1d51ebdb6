#include "objects/PcxTexture.h"

#include <SFML/Graphics/Texture.hpp>

bool loadPcxTexture(sf::Texture& texture, const QString& path, bool usetransp, unsigned maxSide)
{
    PcxImage image;
    if (!image.load(path, usetransp, maxSide) || !image.pixels() || image.width() <= 0 ||
        image.height() <= 0)
        return false;
    if (!texture.create(unsigned(image.width()), unsigned(image.height())))
        return false;
    texture.update(image.pixels());
    return true;
}
