#include "objects/Rect.h"

#include "runtime/Game.h"

#include <SFML/Graphics/RenderTarget.hpp>

namespace {

sf::Color opaque(int r, int g, int b)
{
    return sf::Color(sf::Uint8(r & 0xFF), sf::Uint8(g & 0xFF), sf::Uint8(b & 0xFF), 255);
}

} // namespace

Rect::Rect(Game* game, QObject* parent) : QObject(parent), game(game)
{
    shape.setFillColor(sf::Color::White);
    shape.setOutlineColor(sf::Color::White);
    shape.setOutlineThickness(0.f);
}

void Rect::drawTo(int x, int y, int w, int h)
{
    shape.setPosition(float(x), float(y));
    shape.setSize(sf::Vector2f(float(w), float(h)));
    if (sf::RenderTarget* target = game->renderTarget())
        target->draw(shape, sf::RenderStates::Default);
}

void Rect::setFillColor(int r, int g, int b)
{
    shape.setFillColor(opaque(r, g, b));
}

void Rect::setBorderColor(int r, int g, int b)
{
    shape.setOutlineColor(opaque(r, g, b));
}

void Rect::setLineWidth(int w)
{
    shape.setOutlineThickness(float(w));
}
