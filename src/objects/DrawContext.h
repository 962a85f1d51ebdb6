#pragma once

class ScriptWatchdog;
namespace sf {
class RenderTarget;
class Sprite;
} // namespace sf

// What a drawable needs of the script that made it: where a draw goes now,
// and the guard through which its conversion code runs. The Game is one; a
// drawable never sees more of it.
class DrawContext {
public:
    // Where a draw goes now, with every sprite drawn before it already on
    // it; null until the first render step.
    virtual sf::RenderTarget* renderTarget() = 0;
    // Draws a sprite in its turn, perhaps together with the sprites after
    // it; nothing while there is no render target.
    virtual void drawSprite(const sf::Sprite& picture) = 0;
    // Puts the sprites drawn so far on the target: a texture they show is
    // about to change or go.
    virtual void flushSprites() = 0;
    virtual ScriptWatchdog& scriptGuard() const = 0;

protected:
    ~DrawContext() = default;
};
