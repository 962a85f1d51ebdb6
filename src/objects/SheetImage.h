#pragma once

#include <QString>
#include <SFML/Graphics/Image.hpp>

// The image an animation sheet is cut from: sprites/<filename>, decoded as
// PCX when the name ends in ".pcx" (lower case only), otherwise by the
// graphics library, which ignores usetransp. Empty (0 x 0) on failure.
sf::Image loadSheetImage(const QString& filename, bool usetransp);
