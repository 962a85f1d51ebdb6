#include "objects/Rect.h"

#include "objects/DrawContext.h"
#include "objects/OpaqueColor.h"

#include <SFML/Graphics/RenderTarget.hpp>

Rect::Rect(DrawContext* context, QObject* parent) : QObject(parent), context(context)
{
    shape.setFillColor(sf::Color::White);
    shape.setOutlineColor(sf::Color::White);
    shape.setOutlineThickness(0.f);
}

void Rect::drawTo(int x, int y, int w, int h)
{
    shape.setPosition(float(x), float(y));
    shape.setSize(sf::Vector2f(float(w), float(h)));
    if (sf::RenderTarget* target = context->renderTarget())
        target->draw(shape, sf::RenderStates::Default);
}

void Rect::setFillColor(int r, int g, int b)
{
    shape.setFillColor(opaqueColor(r, g, b));
}

void Rect::setBorderColor(int r, int g, int b)
{
    shape.setOutlineColor(opaqueColor(r, g, b));
}

void Rect::setLineWidth(int w)
{
    shape.setOutlineThickness(float(w));
}
