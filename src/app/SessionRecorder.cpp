#include "app/SessionRecorder.h"

SessionRecorder::SessionRecorder(FrameClock& clock, EventSource& events, QIODevice& out,
                                 quint64 seed)
    : clock(clock), events(events), out(out)
{
    out.write("seed " + QByteArray::number(seed) + '\n');
}

float SessionRecorder::interval(float previous, float now)
{
    const float dt = clock.interval(previous, now);
    InputLine line;
    line.frame = ++frame;
    line.kind = InputLine::Dt;
    line.dt = dt;
    write(line);
    return dt;
}

bool SessionRecorder::pollEvent(sf::Event& event)
{
    if (!events.pollEvent(event))
        return false;
    InputLine line;
    line.frame = frame;
    if (event.type == sf::Event::KeyPressed) {
        line.kind = InputLine::Key;
        line.a = event.key.code;
        write(line);
    } else if (event.type == sf::Event::MouseButtonPressed &&
               (event.mouseButton.button == sf::Mouse::Left ||
                event.mouseButton.button == sf::Mouse::Right)) {
        line.kind = InputLine::Click;
        line.a = event.mouseButton.button == sf::Mouse::Right ? 1 : 0;
        write(line);
    }
    return true;
}

sf::Vector2i SessionRecorder::mousePosition() const
{
    const sf::Vector2i position = events.mousePosition();
    if (!mouse || *mouse != position) {
        mouse = position;
        InputLine line;
        line.frame = frame;
        line.kind = InputLine::Mouse;
        line.a = position.x;
        line.b = position.y;
        write(line);
    }
    return position;
}

void SessionRecorder::write(InputLine line) const
{
    out.write(inputLineText(line).toUtf8() + '\n');
}

std::vector<ScriptedEvents::Frame> eventFrames(const InputScript& script)
{
    std::vector<ScriptedEvents::Frame> frames;
    for (const InputLine& line : script.lines) {
        sf::Event event{};
        switch (line.kind) {
        case InputLine::Key:
            event.type = sf::Event::KeyPressed;
            event.key.code = sf::Keyboard::Key(line.a);
            break;
        case InputLine::Mouse:
            event.type = sf::Event::MouseMoved;
            event.mouseMove.x = line.a;
            event.mouseMove.y = line.b;
            break;
        case InputLine::Click:
            event.type = sf::Event::MouseButtonPressed;
            event.mouseButton.button = line.a ? sf::Mouse::Right : sf::Mouse::Left;
            break;
        case InputLine::Dt:
            continue;
        }
        if (frames.size() < std::size_t(line.frame))
            frames.resize(std::size_t(line.frame));
        frames[std::size_t(line.frame - 1)].push_back(event);
    }
    return frames;
}

std::vector<float> frameSteps(const InputScript& script, float step)
{
    std::vector<float> steps;
    for (const InputLine& line : script.lines) {
        if (line.kind != InputLine::Dt)
            continue;
        if (steps.size() < std::size_t(line.frame))
            steps.resize(std::size_t(line.frame), step);
        steps[std::size_t(line.frame - 1)] = line.dt;
    }
    return steps;
}
