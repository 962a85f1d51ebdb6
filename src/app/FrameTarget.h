#pragma once

#include <SFML/Graphics/RenderTexture.hpp>

// What a frame is drawn onto and then shown on.
class FrameTarget {
public:
    virtual ~FrameTarget() = default;
    // Handed to the Game at each render step; null draws nothing.
    virtual sf::RenderTarget* renderTarget() = 0;
    virtual void display() = 0;
    // Copies what was drawn since the last display into `into`, made the
    // target's size; called before display. Targets without a picture keep
    // nothing.
    virtual void keepFrame(sf::Texture& into) { (void)into; }
};

// An off-screen picture: the frame can be read back instead of shown.
class TextureTarget final : public FrameTarget {
public:
    explicit TextureTarget(sf::RenderTexture& texture) : texture(texture) {}
    sf::RenderTarget* renderTarget() override { return &texture; }
    void display() override { texture.display(); }
    void keepFrame(sf::Texture& into) override
    {
        texture.display();
        if (into.getSize() != texture.getSize())
            into.create(texture.getSize().x, texture.getSize().y);
        into.update(texture.getTexture());
    }

private:
    sf::RenderTexture& texture;
};
