#pragma once

#include <SFML/Graphics/Vertex.hpp>

#include <array>
#include <cstddef>
#include <vector>

namespace sf {
class RenderTarget;
class Sprite;
class Texture;
} // namespace sf

// Appends a quad, corners in the library's strip order (top-left,
// bottom-left, top-right, bottom-right), as the two triangles the strip
// would give, each with its vertices in the strip's order.
void appendQuad(std::vector<sf::Vertex>& vertices, const sf::Vertex (&quad)[4]);

// Sprites drawn one after another with the same texture reach the target as
// one array of triangles. Anything else drawn on the target must come after
// flush(), so the target sees every draw in the script's order.
class SpriteBatch {
public:
    // More quads than this go to the target in the next array: the software
    // rasteriser takes arrays of this size far faster than huge ones.
    static constexpr std::size_t maxQuads = 64;

    // What is queued goes to the old target first.
    void setTarget(sf::RenderTarget* target);
    sf::RenderTarget* target() const { return target_; }
    // Off, every sprite is drawn at once, by the library itself.
    void setEnabled(bool on);
    bool enabled() const { return on; }

    // Draws the sprite after everything drawn before; nothing without a target.
    void draw(const sf::Sprite& sprite);
    void flush();
    // Forgets what is queued, unseen: its textures are going away.
    void discard();

private:
    sf::RenderTarget* target_ = nullptr;
    const sf::Texture* texture = nullptr;
    // Made once and written in place: the library's vertex constructor is
    // not inline, and a sprite is drawn many times a frame.
    std::array<sf::Vertex, maxQuads * 6> vertices;
    std::size_t used = 0;
    bool on = true;
};
