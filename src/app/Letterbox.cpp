#include "app/Letterbox.h"

#include "core/Letterbox.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <cmath>

void applyLetterbox(sf::RenderTarget& target)
{
    const sf::Vector2u size = target.getSize();
    const ViewportFractions part = letterbox(size.x, size.y);
    sf::View view(sf::FloatRect(0.f, 0.f, float(drawingWidth), float(drawingHeight)));
    view.setViewport(sf::FloatRect(part.left, part.top, part.width, part.height));
    target.setView(view);
}

sf::Vector2i drawingPoint(const sf::RenderTarget* target, sf::Vector2i pixel)
{
    if (!target)
        return pixel;
    const sf::Vector2f point = target->mapPixelToCoords(pixel);
    // The view's matrices leave a pixel of the unscaled window a hair below
    // its own number.
    const float slack = 1e-3f;
    return sf::Vector2i(int(std::floor(point.x + slack)), int(std::floor(point.y + slack)));
}
