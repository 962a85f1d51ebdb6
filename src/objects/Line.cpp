#include "objects/Line.h"

#include "objects/DrawContext.h"
#include "objects/OpaqueColor.h"

#include <SFML/Graphics/RenderTarget.hpp>

Line::Line(DrawContext* context, QObject* parent)
    : QObject(parent), vertices(sf::Lines, 2), context(context)
{
}

void Line::drawTo(int x1, int y1, int x2, int y2)
{
    vertices[0].position = sf::Vector2f(float(x1), float(y1));
    vertices[1].position = sf::Vector2f(float(x2), float(y2));
    if (sf::RenderTarget* target = context->renderTarget())
        target->draw(vertices, sf::RenderStates::Default);
}

void Line::setColor(int r, int g, int b)
{
    const sf::Color color = opaqueColor(r, g, b);
    vertices[0].color = color;
    vertices[1].color = color;
}
