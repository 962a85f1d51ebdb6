#pragma once

#include <SFML/System/Vector2.hpp>

// What a script may ask of the window it is shown in.
class WindowRequests {
public:
    virtual sf::Vector2u windowSize() const = 0;
    virtual void setFullscreen(bool on) = 0;

protected:
    ~WindowRequests() = default;
};
