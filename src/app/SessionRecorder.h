#pragma once

#include "app/EventSource.h"
#include "app/FrameClock.h"
#include "core/InputScript.h"

#include <QIODevice>
#include <optional>

// Passes a run's clock and input through and writes them down as
// ledge-play --replay reads them: the seed, every frame's dt, and each key
// press, click and pointer move with its frame.
class SessionRecorder final : public FrameClock, public EventSource {
public:
    SessionRecorder(FrameClock& clock, EventSource& events, QIODevice& out, quint64 seed);

    float now() override { return clock.now(); }
    float interval(float previous, float now) override;
    bool isOpen() const override { return events.isOpen(); }
    void close() override { events.close(); }
    bool pollEvent(sf::Event& event) override;
    sf::Vector2i mousePosition() const override;

private:
    void write(InputLine line) const;

    FrameClock& clock;
    EventSource& events;
    QIODevice& out;
    int frame = 0;
    // The pointer is read once a frame and written when it moved.
    mutable std::optional<sf::Vector2i> mouse;
};

// The events of an input script, frame by frame from the first frame.
std::vector<ScriptedEvents::Frame> eventFrames(const InputScript& script);
// Its dt lines as steps from the first frame; frames without one get `step`.
std::vector<float> frameSteps(const InputScript& script, float step);
