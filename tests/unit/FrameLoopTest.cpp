// The frame loop driven pass by pass: fixed quarter-second steps, events written
// in advance, no window; all that happens lands in one log, so order is checked.
#include "app/FrameLoop.h"
#include "TestGame.h"
#include "app/EventSource.h"
#include "app/FrameClock.h"
#include "app/FrameTarget.h"

#include <gtest/gtest.h>

namespace {

using E = sf::Event;
using Frames = std::vector<ScriptedEvents::Frame>;

// A window event: a key code, a mouse button, a wheel turn or a pointer position.
E event(E::EventType type, int a = 0, int b = 0)
{
    E e{};
    e.type = type;
    if (type == E::KeyPressed || type == E::KeyReleased)
        e.key.code = sf::Keyboard::Key(a);
    else if (type == E::MouseButtonPressed || type == E::MouseButtonReleased)
        e.mouseButton.button = sf::Mouse::Button(a);
    else if (type == E::MouseWheelScrolled)
        e.mouseWheelScroll = {sf::Mouse::VerticalWheel, a / 2.0f, 0, 0};
    else
        e.mouseMove = {a, b};
    return e;
}

const E keyA = event(E::KeyPressed, sf::Keyboard::A);
const E left = event(E::MouseButtonPressed, sf::Mouse::Left);

// A run of scripts written into a scratch data directory, main.js first;
// it shows frames by logging them.
struct LoopRun : FrameTarget {
    explicit LoopRun(const QString& main, Frames frames = {}) : events(std::move(frames))
    {
        data.addScript(QStringLiteral("main"), main);
    }

    sf::RenderTarget* renderTarget() override { return nullptr; }
    void display() override { log << QStringLiteral("display"); }

    // Steps until the run ends or `passes` passes are done.
    std::optional<int> steps(int passes)
    {
        std::optional<int> code;
        for (int i = 0; i < passes && !code; ++i)
            code = loop.step();
        return code;
    }

    GameOwner make(const QString& name)
    {
        log << QStringLiteral("make ") + name;
        GameOwner game(new Game(scriptPath(name)));
        auto record = [this](QString message) {
            log << message.replace(data.dataDir(), QStringLiteral("<data>"));
        };
        QObject::connect(game.get(), &Game::sendLog, record);
        QObject::connect(game->systemObject(), &QGameSystem::writeMessage, record);
        QObject::connect(game.get(), &QObject::destroyed,
                         [this, name] { log << QStringLiteral("end ") + name; });
        return game;
    }

    TestGame data;
    QStringList log;
    FixedStepClock clock{0.25f};
    ScriptedEvents events;
    FrameLoop loop{[this](const QString& name) { return make(name); }, clock, events, *this};
};

} // namespace

// Keys last one Frame(); clicks stay until read, from the second frame on;
// wheel turns add up within a frame. The pointer is one object, overwritten
// as it moves; the time adds up the steps before each Frame.
TEST(FrameLoop, EachPassRunsItsStepsInOrder)
{
    LoopRun run(QStringLiteral(R"(var n = 0, m;
        function Init(p) {
            m = game.getMousePos();
            system.setTimeout('system.writeMessage("timer")', 0);
            system.writeMessage('init ' + p.length + ' ' + p[1]);
        }
        function Frame(dt) {
            var clicks = ++n == 1 ? 'unread' :
                game.isLeftButtonClicked() + ' ' + game.isRightButtonClicked();
            system.writeMessage(['frame', dt, game.getTotalTime(), game.isKeyDown(KEY_A), clicks,
                game.isMiddleButtonClicked(), game.getWheelDelta(), m.x, m.y].join(' '));
        }
        function Render() { system.writeMessage('render ' + game.isKeyDown(KEY_A)); })"),
                {{keyA, left, left, event(E::MouseButtonPressed, sf::Mouse::Right),
                  event(E::MouseMoved, 5, 7), event(E::MouseWheelScrolled, 2),
                  event(E::MouseWheelScrolled, 4)},
                 {},
                 {event(E::MouseButtonPressed, sf::Mouse::Middle)}});
    ASSERT_TRUE(run.loop.start({QStringLiteral("ledge"), QStringLiteral("one")}));
    EXPECT_EQ(run.steps(3), std::nullopt);
    EXPECT_EQ(run.log.join('|'),
              "make main|init 2 one|timer|frame 0.25 0.25 true unread false 3 5 7|render false|"
              "display|frame 0.25 0.5 false true true false 0 5 7|render false|display|"
              "frame 0.25 0.75 false false false true 0 5 7|render false|display");
}

// Every run reads a close request at its fifth pass.
TEST(FrameLoop, RunEndsWithTheExitCodeOfWhatEndedIt)
{
    const QString missing = QStringLiteral("Script not found: scripts/nowhere.js "
                                           "(<data>/scripts/nowhere.js)");
    const QString noInit = QStringLiteral(": ReferenceError: Can't find variable: Init");
    const std::tuple<const char*, int, QStringList> cases[] = {
        {"function Init() { return false; }", 1, {"Игра остановлена", "end main"}},
        // A false Frame wins over a switch it asked for.
        {"function Init() {} function Frame() { game.goToScript('main', 1); return false; }", 0,
         {"make main", "Игра остановлена", "end main"}},
        // A switch ends the old Game before making the new one; the old
        // Render never runs again, the new one runs before its first Frame.
        {"var leftover = 1; function Init() {} function Render() { system.writeMessage('old'); }"
         "function Frame() { game.goToScript('next', {from: 'main'}); }", 0,
         {"make main", "end main", "make next", "init main undefined", "render", "display",
          "next frame", "Игра остановлена", "end next"}},
        // The parameters reach the next Init as JSON text.
        {"function Init() {} function Frame() { game.goToScript('nowhere', {b: 1, a: 'x'}); }", 1,
         {"make nowhere", missing,
          "ОШИБКА функции Init({\n    \"a\": \"x\",\n    \"b\": 1\n}\n)" + noInit,
          "end nowhere"}},
        // The last request wins: an empty name clears the one before it, its
        // parameters too.
        {"var n = 0; function Init() {} function Frame() { if (n++) game.goToScript('nowhere');"
         " else { game.goToScript('main', 1); game.goToScript('', 2); } }", 1,
         {"make nowhere", missing, "ОШИБКА функции Init()" + noInit, "end nowhere"}},
        // A switch asked for outside Frame() is carried out after the next one.
        {"function Init() {} function Frame() { system.writeMessage('frame'); }"
         "function Render() { game.goToScript('nowhere', 3); }", 1,
         {"frame", "display", "frame", "end main", "make nowhere", missing,
          "ОШИБКА функции Init(3)" + noInit, "end nowhere"}},
        // The pass that reads the close request finishes; events after it go unread.
        {"function Init() {} function Frame() { system.writeMessage('frame ' + "
         "game.isKeyDown(KEY_A)); } function Render() { system.writeMessage('render'); }", 0,
         {"frame false", "render", "display", "end main"}},
    };
    for (const auto& [main, exitCode, logTail] : cases) {
        Frames events(5);
        events[4] = {event(E::Closed), keyA};
        LoopRun run(QString::fromUtf8(main), events);
        run.data.addScript(QStringLiteral("next"), QStringLiteral(R"(
            function w(m) { system.writeMessage(m); } function Render() { w('render'); }
            function Init(p) { w('init ' + p.from + ' ' + typeof leftover); }
            function Frame() { w('next frame'); return false; })"));
        // Start says whether a Game runs.
        const bool started = run.loop.start({});
        EXPECT_EQ(started, run.loop.game() != nullptr) << main;
        EXPECT_EQ(run.steps(6), exitCode) << main;
        EXPECT_EQ(run.log.mid(run.log.size() - logTail.size()), logTail) << main;
        EXPECT_EQ(run.loop.game(), nullptr) << main;
    }
}

// A failure, a parse error too, is held (its timers stopped) until a watched
// file changes; the script then starts afresh with the same parameters.
TEST(FrameLoop, DevelopmentModeHoldsAFailureUntilAFileChanges)
{
    Frames frames(6);
    frames[5] = {event(E::KeyPressed, sf::Keyboard::Escape)};
    LoopRun run(QStringLiteral("var n = 0;\n$include<lib.js>\nfunction Init(p) {"
                               " system.writeMessage('init ' + p[0] + ' ' + n);"
                               " system.setInterval('system.writeMessage(\"tick\")', 0); }\n"
                               "function Frame() { if (++n == 2) broken(); } function Render() {}"),
                frames);
    run.data.addScript(QStringLiteral("lib"), QStringLiteral("function broken() { nothing(); }"));
    run.loop.setDevelopmentMode(QString());
    ASSERT_TRUE(run.loop.start({QStringLiteral("ledge")}));
    EXPECT_EQ(run.steps(3), std::nullopt);
    EXPECT_TRUE(run.loop.failure().startsWith("ОШИБКА функции Frame(0.25): ReferenceError"));
    run.data.addScript(QStringLiteral("lib"), QStringLiteral("function broken() {}"));
    run.log.clear();
    EXPECT_EQ(run.steps(1), std::nullopt);
    EXPECT_EQ(run.log, (QStringList{"end main", "make main", "init ledge 0", "display"}));
    run.data.addScript(QStringLiteral("main"), QStringLiteral("function Init( {"));
    EXPECT_EQ(run.steps(3), 0); // Escape still ends the run
    EXPECT_TRUE(run.log.contains("Parse error at scripts/main.js:1: Expected `)'"));
}
