#pragma once

#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Event.hpp>
#include <utility>
#include <vector>

// Where the frame loop's input comes from, and the switch that ends a run:
// the loop goes on while the source is open.
class EventSource {
public:
    virtual ~EventSource() = default;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // The next event pending for this frame; false once this frame has none left.
    virtual bool pollEvent(sf::Event& event) = 0;
    // The pointer in window pixels.
    virtual sf::Vector2i mousePosition() const = 0;
};

// Input written in advance, frame by frame: each frame's polling reads its
// list in order, events after the last frame never come. MouseMoved events
// move the pointer that mousePosition reports, as they would on a window.
class ScriptedEvents final : public EventSource {
public:
    using Frame = std::vector<sf::Event>;
    explicit ScriptedEvents(std::vector<Frame> frames) : frames(std::move(frames)) {}

    bool isOpen() const override { return open; }
    void close() override { open = false; }
    bool pollEvent(sf::Event& event) override;
    sf::Vector2i mousePosition() const override { return mouse; }

private:
    std::vector<Frame> frames;
    std::size_t frame = 0;
    std::size_t next = 0;
    sf::Vector2i mouse;
    bool open = true;
};
