#include "objects/SheetImage.h"

#include "core/AssetPaths.h"
#include "core/PcxImage.h"
#include "objects/AssetLoad.h"

#include <SFML/Graphics/Texture.hpp>

sf::Image loadSheetImage(const QString& filename, bool usetransp)
{
    sf::Image image;
    const QString path = spritePath(filename);
    if (filename.endsWith(QStringLiteral(".pcx"), Qt::CaseSensitive)) {
        PcxImage pcx;
        if (pcx.load(path, usetransp, sf::Texture::getMaximumSize()) && pcx.pixels())
            image.create(static_cast<unsigned>(pcx.width()), static_cast<unsigned>(pcx.height()),
                         pcx.pixels());
    } else {
        asset::loadImage(image, path);
    }
    return image;
}
