#include "app/EventSource.h"

bool ScriptedEvents::pollEvent(sf::Event& event)
{
    if (frame >= frames.size())
        return false;
    if (next == frames[frame].size()) {
        // Polling ended this frame's list: the next poll is the next frame's.
        ++frame;
        next = 0;
        return false;
    }
    event = frames[frame][next++];
    if (event.type == sf::Event::MouseMoved)
        mouse = sf::Vector2i(event.mouseMove.x, event.mouseMove.y);
    return true;
}
