#pragma once

#include <SFML/Graphics/Color.hpp>

// A colour from a script's three integers: each channel keeps its low 8
// bits (256 gives 0, -1 gives 255), and it is never transparent.
inline sf::Color opaqueColor(int r, int g, int b)
{
    return sf::Color(sf::Uint8(r & 0xFF), sf::Uint8(g & 0xFF), sf::Uint8(b & 0xFF), 255);
}
