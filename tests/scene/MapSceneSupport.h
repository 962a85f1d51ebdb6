// Tile images of known sizes and colours for the map's scene tests, written
// into a TestGame's data directory before the MapViewer loads them.
#pragma once

#include "SpriteSceneSupport.h"
#include "TestGame.h"

#include <QByteArray>
#include <SFML/Graphics/Color.hpp>
#include <vector>

namespace mapscene {

const sf::Color key(255, 0, 255), grey(128, 128, 128);

// A w x h image of palette entry 1 whose first pixel is entry 0, so with
// transparency on that one pixel is see-through and the rest is `colour`.
inline QByteArray tileImage(int w, int h, const sf::Color& colour, bool keyFirstPixel = true)
{
    std::vector<int> data = {0xC1, keyFirstPixel ? 0 : 1};
    for (int left = w * h - 1; left > 0; left -= 63) {
        const int run = left < 63 ? left : 63;
        data.push_back(0xC0 + run);
        data.push_back(1);
    }
    return spritescene::pcxFile(w - 1, h - 1, data, {key, colour});
}

// Geometry: tileWidth 40, rowPitch 30, capWidth 8, caveStripHeight 6.
inline void writeTileSet(TestGame& test)
{
    test.addFile(QStringLiteral("gnd_mid.pcx"), tileImage(40, 35, spritescene::red));
    test.addFile(QStringLiteral("gnd_left.pcx"), tileImage(8, 35, spritescene::green));
    test.addFile(QStringLiteral("gnd_rght.pcx"), tileImage(8, 35, spritescene::blue));
    // Drawn without transparency: its key-coloured first pixel stays opaque.
    test.addFile(QStringLiteral("caveback.pcx"), tileImage(40, 6, spritescene::yellow));
    test.addFile(QStringLiteral("gnd_ston.pcx"), tileImage(40, 10, grey));
}

} // namespace mapscene
