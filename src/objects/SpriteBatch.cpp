#include "objects/SpriteBatch.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <cstdlib>

void appendQuad(std::vector<sf::Vertex>& vertices, const sf::Vertex (&quad)[4])
{
    // The strip's second triangle runs 2, 1, 3: the same corners in the same
    // order give the rasteriser the same interpolation, so the same pixels.
    vertices.insert(vertices.end(), {quad[0], quad[1], quad[2], quad[2], quad[1], quad[3]});
}

void SpriteBatch::setTarget(sf::RenderTarget* target)
{
    if (target != target_)
        flush();
    target_ = target;
}

void SpriteBatch::setEnabled(bool enabled)
{
    flush();
    on = enabled;
}

void SpriteBatch::draw(const sf::Sprite& sprite)
{
    const sf::Texture* shown = sprite.getTexture();
    if (!target_ || !shown)
        return;
    if (!on) {
        target_->draw(sprite);
        return;
    }
    if (shown != texture || vertices.size() >= maxQuads * 6)
        flush();
    texture = shown;
    // The corners and texture coordinates the library's sprite has, mapped
    // by its transform as the library maps a small vertex array.
    const sf::IntRect rect = sprite.getTextureRect();
    const float w = float(std::abs(rect.width));
    const float h = float(std::abs(rect.height));
    const float left = float(rect.left);
    const float right = left + float(rect.width);
    const float top = float(rect.top);
    const float bottom = top + float(rect.height);
    const sf::Transform& t = sprite.getTransform();
    const sf::Color color = sprite.getColor();
    const sf::Vertex quad[4] = {{t.transformPoint(0, 0), color, {left, top}},
                                {t.transformPoint(0, h), color, {left, bottom}},
                                {t.transformPoint(w, 0), color, {right, top}},
                                {t.transformPoint(w, h), color, {right, bottom}}};
    appendQuad(vertices, quad);
}

void SpriteBatch::flush()
{
    if (!vertices.empty() && target_)
        target_->draw(vertices.data(), vertices.size(), sf::Triangles, sf::RenderStates(texture));
    discard();
}

void SpriteBatch::discard()
{
    // clear() keeps the capacity: a steady frame allocates nothing here.
    vertices.clear();
    texture = nullptr;
}
