#pragma once

#include "app/EventSource.h"
#include "app/FrameTarget.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Mouse.hpp>

// The real window as the frame loop sees it: its events and pointer, its
// picture, and closing it ends the run.
class WindowFrontend final : public EventSource, public FrameTarget {
public:
    explicit WindowFrontend(sf::RenderWindow& window) : window(window) {}

    bool isOpen() const override { return window.isOpen(); }
    void close() override { window.close(); }
    bool pollEvent(sf::Event& event) override { return window.pollEvent(event); }
    sf::Vector2i mousePosition() const override { return sf::Mouse::getPosition(window); }
    sf::RenderTarget* renderTarget() override { return &window; }
    void display() override { window.display(); }
    void keepFrame(sf::Texture& into) override
    {
        if (into.getSize() != window.getSize())
            into.create(window.getSize().x, window.getSize().y);
        into.update(window);
    }

private:
    sf::RenderWindow& window;
};
