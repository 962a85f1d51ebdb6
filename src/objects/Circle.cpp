#include "objects/Circle.h"

#include "objects/DrawContext.h"
#include "objects/OpaqueColor.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <algorithm>

Circle::Circle(DrawContext* context, QObject* parent) : Releasable(parent), context(context)
{
    shape.setFillColor(sf::Color::White);
    shape.setOutlineColor(sf::Color::White);
    shape.setOutlineThickness(0.f);
}

void Circle::drawTo(int cx, int cy, int radius)
{
    sf::RenderTarget* target = context->renderTarget();
    if (!target || radius < 1)
        return;
    const float r = float(radius);
    // Enough corners that the edge looks round, few enough for huge radii.
    shape.setPointCount(std::size_t(std::clamp(radius / 2 + 8, 8, 512)));
    shape.setRadius(r);
    shape.setOrigin(r, r);
    shape.setPosition(float(cx), float(cy));
    target->draw(shape, sf::RenderStates::Default);
}

void Circle::setFillColor(int r, int g, int b)
{
    setFillColor(r, g, b, 255);
}

void Circle::setFillColor(int r, int g, int b, int a)
{
    shape.setFillColor(scriptColor(r, g, b, a));
}

void Circle::setBorderColor(int r, int g, int b)
{
    setBorderColor(r, g, b, 255);
}

void Circle::setBorderColor(int r, int g, int b, int a)
{
    shape.setOutlineColor(scriptColor(r, g, b, a));
}

void Circle::setLineWidth(int w)
{
    shape.setOutlineThickness(float(w));
}

void Circle::freeResources()
{
    shape = sf::CircleShape();
}
