#pragma once

#include <SFML/System/Vector2.hpp>

namespace sf {
class RenderTarget;
}

// Shows the drawing area letterboxed in the target at its present size.
void applyLetterbox(sf::RenderTarget& target);
// A pointer position in target pixels as a point of the drawing area; a null
// target leaves it as it is.
sf::Vector2i drawingPoint(const sf::RenderTarget* target, sf::Vector2i pixel);
