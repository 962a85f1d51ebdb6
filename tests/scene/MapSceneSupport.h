// Tile images of known sizes and colours, written into a TestGame's data
// directory before a MapViewer loads them.
#pragma once

#include "SpriteSceneSupport.h"

namespace mapscene {

const sf::Color key(255, 0, 255), grey(128, 128, 128);

// A w x h image of `colour` whose first pixel is the key colour, so with
// transparency on that one pixel is see-through.
inline QByteArray tileImage(int w, int h, const sf::Color& colour)
{
    std::vector<int> data = {0xC1, 0};
    for (int left = w * h - 1; left > 0; left -= 63)
        data.insert(data.end(), {0xC0 + (left < 63 ? left : 63), 1});
    return spritescene::pcxFile(w - 1, h - 1, data, {key, colour});
}

// tileWidth 40, rowPitch 30, capWidth 8, caveStripHeight 6.
inline void writeTileSet(TestGame& test)
{
    test.addFile(QStringLiteral("gnd_mid.pcx"), tileImage(40, 35, spritescene::red));
    test.addFile(QStringLiteral("gnd_left.pcx"), tileImage(8, 35, spritescene::green));
    test.addFile(QStringLiteral("gnd_rght.pcx"), tileImage(8, 35, spritescene::blue));
    test.addFile(QStringLiteral("caveback.pcx"), tileImage(40, 6, spritescene::yellow));
    test.addFile(QStringLiteral("gnd_ston.pcx"), tileImage(40, 10, grey));
}

} // namespace mapscene
