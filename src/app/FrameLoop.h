#pragma once

#include "runtime/Game.h"
#include "runtime/QGameSystem.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class EventSource;
class FrameClock;
class FrameTarget;

// The run of a game: the first script's start, then one pass per frame,
// and the switch from one script to the next. It owns the one Game there
// is at any time; time, input and picture come through the three seams.
class FrameLoop : public TimerClock {
public:
    // Makes the Game of scripts/<name>.js, bound to the run's host objects.
    using GameMaker = std::function<GameOwner(const QString& name)>;

    FrameLoop(GameMaker makeGame, FrameClock& clock, EventSource& events, FrameTarget& target);

    // Makes the Game of "main" and calls its Init with the command line as
    // { "0": program, "1": first argument, ..., "length": count }.
    // False when Init failed: the run is over with exit code 1.
    bool start(const QStringList& arguments);
    // One pass of the loop; the exit code once the run has ended, nothing
    // while it goes on.
    std::optional<int> step();
    // start, then step until the end; the exit code.
    int run(const QStringList& arguments);

    // Ends the current Game and runs scripts/<name>.js in a new one, whose
    // Init gets paramsText. False when that Init failed (the Game is gone).
    bool switchTo(const QString& name, const QString& paramsText);

    // Timers of the Games made from now on follow the frames' dt instead
    // of the wall clock, so they fire at the same frame in every run.
    void timersFollowFrames() { framedTimers = true; }
    // The sum of the dt handed to Frame() so far.
    double elapsedMs() const override { return elapsed * 1000.0; }

    // Null before start and after the end.
    Game* game() const { return current.get(); }

private:
    void pollEvents();
    void make(const QString& name);
    int end(int code);

    GameMaker makeGame;
    FrameClock& clock;
    EventSource& events;
    FrameTarget& target;
    GameOwner current;
    float previous = 0.0f;
    double elapsed = 0.0;
    bool framedTimers = false;
    std::optional<int> exitCode;
};
