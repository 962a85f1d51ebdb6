// Shared by the sprite and animation scene tests: image fixtures written
// into a TestGame's data directory and a render step read back as pixels.
#pragma once

#include "PcxBytes.h"
#include "PixelProbes.h"
#include "TestGame.h"
#include "runtime/Game.h"

#include <QDir>
#include <QFileInfo>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace spritescene {

const sf::Color black(0, 0, 0), red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255),
    yellow(255, 255, 0), white(255, 255, 255);

// Red, green, blue and yellow quadrants: top-left, top-right, bottom-left, bottom-right.
inline sf::Image quadrants(unsigned w, unsigned h)
{
    sf::Image image;
    image.create(w, h);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            image.setPixel(x, y, bottom ? (right ? yellow : blue) : (right ? green : red));
        }
    return image;
}

// Pixel (x, y) is (x, y, 128): a drawn pixel tells where it came from.
inline sf::Image coded(unsigned w, unsigned h)
{
    sf::Image image;
    image.create(w, h);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x)
            image.setPixel(x, y, sf::Color(sf::Uint8(x), sf::Uint8(y), 128));
    return image;
}

inline void writeImage(TestGame& test, const QString& path, const sf::Image& image)
{
    const QString full = test.dataDir() + QLatin1Char('/') + path;
    QDir().mkpath(QFileInfo(full).path());
    ASSERT_TRUE(image.saveToFile(full.toStdString()));
}

// An 8-bit PCX file with the given header size, data and palette entries
// (entry i is palette[i], the rest black), behind the usual marker byte.
inline QByteArray pcxFile(int xmax, int ymax, const std::vector<int>& data,
                          const std::vector<sf::Color>& palette)
{
    QByteArray trailer(1, char(12));
    for (int i = 0; i < 256; ++i) {
        const sf::Color c = i < int(palette.size()) ? palette[i] : black;
        trailer.append(char(c.r)).append(char(c.g)).append(char(c.b));
    }
    return pcxBytes(xmax, ymax, data, trailer);
}

// One render step of the loaded game onto an 800 x 600 canvas.
inline sf::Image renderFrame(TestGame& test)
{
    sf::RenderTexture canvas;
    EXPECT_TRUE(canvas.create(800, 600));
    EXPECT_TRUE(test.game().callRender(&canvas));
    canvas.display();
    return canvas.getTexture().copyToImage();
}

// A main script whose Init() runs `init` and whose Render() runs `render`.
inline QString script(const QString& init, const QString& render)
{
    return QStringLiteral("var s, a, b; function Init(p) {") + init +
           QStringLiteral("\nreturn true; } function Frame(dt) { return true; }"
                          " function Render() {") +
           render + QStringLiteral("\nreturn true; }");
}

inline void start(TestGame& test, const QString& init, const QString& render)
{
    test.addScript(QStringLiteral("main"), script(init, render));
    test.load();
    ASSERT_TRUE(test.game().callInit(QStringLiteral("{}"))) << test.logs.join('\n').toStdString();
}

} // namespace spritescene
