#pragma once

#include <SFML/Graphics/RenderTexture.hpp>

// What a frame is drawn onto and then shown on.
class FrameTarget {
public:
    virtual ~FrameTarget() = default;
    // Handed to the Game at each render step; null draws nothing.
    virtual sf::RenderTarget* renderTarget() = 0;
    virtual void display() = 0;
};

// An off-screen picture: the frame can be read back instead of shown.
class TextureTarget final : public FrameTarget {
public:
    explicit TextureTarget(sf::RenderTexture& texture) : texture(texture) {}
    sf::RenderTarget* renderTarget() override { return &texture; }
    void display() override { texture.display(); }

private:
    sf::RenderTexture& texture;
};
