#pragma once

#include "runtime/Game.h"
#include "runtime/QGameSystem.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <functional>
#include <memory>
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

    // Development mode: every pass looks at the current script's files and
    // starts the script afresh, with the parameters it was started with,
    // when one of them changed. A failing Init or Frame does not end the
    // run: its message, location and stack are shown over the last frame
    // drawn (in the font at fontPath, when it loads) until the next change;
    // Escape or closing
    // still ends the run.
    void setDevelopmentMode(const QString& fontPath);
    // The failure on show in development mode; empty while none is.
    QString failure() const { return failureText; }

private:
    void pollEvents();
    void make(const QString& name);
    int end(int code);
    // Makes the Game of name and calls its Init; false when that failed.
    bool begin(const QString& name, const QString& paramsText);
    // In development mode a failure is held on screen; otherwise the run ends.
    std::optional<int> failed(int code);
    QHash<QString, QString> fileStamps() const;
    QString changedFile() const;
    void showFailure();

    GameMaker makeGame;
    FrameClock& clock;
    EventSource& events;
    FrameTarget& target;
    GameOwner current;
    float previous = 0.0f;
    double elapsed = 0.0;
    bool framedTimers = false;
    std::optional<int> exitCode;

    bool development = false;
    sf::Font font;
    bool fontLoaded = false;
    // The last frame drawn, shown behind a failure; made with the first
    // picture, since a texture needs the graphics library's context.
    std::unique_ptr<sf::Texture> lastFrame;
    QString currentName;
    QString currentParams;
    QHash<QString, QString> stamps;
    QString failureText;
};
