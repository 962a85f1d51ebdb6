#pragma once

class ScriptWatchdog;
namespace sf {
class RenderTarget;
}

// What a drawable needs of the script that made it: where a draw goes now,
// and the guard through which its conversion code runs. The Game is one; a
// drawable never sees more of it.
class DrawContext {
public:
    // Null until the first render step.
    virtual sf::RenderTarget* renderTarget() const = 0;
    virtual ScriptWatchdog& scriptGuard() const = 0;

protected:
    ~DrawContext() = default;
};
