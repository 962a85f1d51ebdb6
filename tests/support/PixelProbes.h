#pragma once

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Pixel checks on a rendered image, with readable colours in failures.
inline std::string describe(const sf::Color& c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ", " + std::to_string(c.a) + ")";
}

struct Probe {
    unsigned x, y;
    sf::Color color;
};

inline void expectPixels(const sf::Image& image, const std::vector<Probe>& probes,
                         const std::string& label)
{
    for (const Probe& p : probes)
        EXPECT_EQ(describe(image.getPixel(p.x, p.y)), describe(p.color))
            << label << " at (" << p.x << ", " << p.y << ")";
}

inline bool anyPixelIn(const sf::Image& image, unsigned x0, unsigned y0, unsigned x1, unsigned y1,
                       const sf::Color& color)
{
    for (unsigned y = y0; y <= y1; ++y)
        for (unsigned x = x0; x <= x1; ++x)
            if (image.getPixel(x, y) == color)
                return true;
    return false;
}
