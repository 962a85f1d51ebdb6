#include "objects/SpriteBatch.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <cstdlib>

namespace {

// The two triangles of a quad run 0, 1, 2 and 2, 1, 3, as the strip's do:
// the same corners in the same order give the rasteriser the same
// interpolation, so the same pixels. Corner i is written at cornerAt[i] of
// the six vertices; the copies of corners 2 and 1 follow.
constexpr int cornerAt[4] = {0, 1, 2, 5};
void completeTriangles(sf::Vertex* six)
{
    six[3] = six[2];
    six[4] = six[1];
}

} // namespace

void appendQuad(std::vector<sf::Vertex>& vertices, const sf::Vertex (&quad)[4])
{
    const std::size_t at = vertices.size();
    vertices.resize(at + 6);
    for (int i = 0; i < 4; ++i)
        vertices[at + cornerAt[i]] = quad[i];
    completeTriangles(&vertices[at]);
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
    if (shown != texture || used == vertices.size())
        flush();
    texture = shown;
    // The corners and texture coordinates the library's sprite has, mapped
    // by its transform as the library maps a point.
    const sf::IntRect rect = sprite.getTextureRect();
    const float w = float(std::abs(rect.width));
    const float h = float(std::abs(rect.height));
    const float left = float(rect.left);
    const float right = left + float(rect.width);
    const float top = float(rect.top);
    const float bottom = top + float(rect.height);
    const float* m = sprite.getTransform().getMatrix();
    const sf::Color color = sprite.getColor();
    sf::Vertex* v = &vertices[used];
    const auto corner = [&](sf::Vertex& out, float x, float y, float u, float t) {
        out.position = {m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]};
        out.color = color;
        out.texCoords = {u, t};
    };
    corner(v[cornerAt[0]], 0, 0, left, top);
    corner(v[cornerAt[1]], 0, h, left, bottom);
    corner(v[cornerAt[2]], w, 0, right, top);
    corner(v[cornerAt[3]], w, h, right, bottom);
    completeTriangles(v);
    used += 6;
}

void SpriteBatch::flush()
{
    if (used > 0 && target_)
        target_->draw(vertices.data(), used, sf::Triangles, sf::RenderStates(texture));
    discard();
}

void SpriteBatch::discard()
{
    used = 0;
    texture = nullptr;
}
