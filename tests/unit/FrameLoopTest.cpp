// The frame loop driven pass by pass: fixed steps of a quarter second,
// events written in advance, no window. Everything the scripts, the loop
// and the seams do lands in one log, so order is what is checked.
#include "app/FrameLoop.h"
#include "DataFiles.h"
#include "TestGame.h"
#include "app/EventSource.h"
#include "app/FrameClock.h"
#include "app/FrameTarget.h"
#include "runtime/QGameSystem.h"

#include <gtest/gtest.h>

namespace {

// A window event with a key code, a mouse button or a pointer position.
sf::Event event(sf::Event::EventType type, int a = 0, int b = 0)
{
    sf::Event e{};
    e.type = type;
    if (type == sf::Event::KeyPressed || type == sf::Event::KeyReleased)
        e.key.code = sf::Keyboard::Key(a);
    else if (type == sf::Event::MouseButtonPressed || type == sf::Event::MouseButtonReleased)
        e.mouseButton.button = sf::Mouse::Button(a);
    else
        e.mouseMove = {a, b};
    return e;
}

const sf::Event keyA = event(sf::Event::KeyPressed, sf::Keyboard::A);
const sf::Event left = event(sf::Event::MouseButtonPressed, sf::Mouse::Left);

sf::Event wheel(float delta)
{
    sf::Event e = event(sf::Event::MouseWheelScrolled);
    e.mouseWheelScroll.wheel = sf::Mouse::VerticalWheel;
    e.mouseWheelScroll.delta = delta;
    return e;
}

// A run of scripts written into a scratch data directory; it shows frames
// by logging them.
struct LoopRun : FrameTarget {
    explicit LoopRun(std::vector<ScriptedEvents::Frame> frames = {}) : events(std::move(frames)) {}

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

TEST(FrameLoop, EachPassRunsItsStepsInOrder)
{
    LoopRun run({{keyA, left, left, event(sf::Event::MouseButtonPressed, sf::Mouse::Right),
                  event(sf::Event::MouseMoved, 5, 7)},
                 {},
                 {event(sf::Event::MouseButtonPressed, sf::Mouse::Middle)}});
    // Keys last one Frame(); clicks stay until read, from the second frame on.
    run.data.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var n = 0;
        function Init(p) {
            system.setTimeout('system.writeMessage("timer")', 0);
            system.writeMessage('init ' + p.length + ' ' + p[1]);
        }
        function Frame(dt) {
            var m = game.getMousePos(), clicks = ++n == 1 ? 'unread' :
                game.isLeftButtonClicked() + ' ' + game.isRightButtonClicked();
            system.writeMessage(['frame', dt, game.isKeyDown(KEY_A), clicks, m.x, m.y].join(' '));
        }
        function Render() { system.writeMessage('render ' + game.isKeyDown(KEY_A)); }
    )"));
    ASSERT_TRUE(run.loop.start({QStringLiteral("ledge"), QStringLiteral("one")}));
    EXPECT_EQ(run.steps(3), std::nullopt);
    EXPECT_EQ(
        run.log,
        (QStringList{"make main", "init 2 one", "timer", "frame 0.25 true unread 5 7",
                     "render false", "display", "frame 0.25 false true true 5 7", "render false",
                     "display", "frame 0.25 false false false 5 7", "render false", "display"}));
}

TEST(FrameLoop, HeldInputLastsFromPressToReleaseOrFocusLoss)
{
    using E = sf::Event;
    const sf::Keyboard::Key right = sf::Keyboard::Right;
    LoopRun run({{event(E::KeyPressed, right), wheel(1), wheel(2),
                  event(E::MouseButtonPressed, sf::Mouse::Middle),
                  event(E::MouseButtonPressed, sf::Mouse::Left)},
                 {event(E::KeyPressed, right), wheel(-0.5f)},
                 {event(E::KeyReleased, right), event(E::MouseButtonReleased, sf::Mouse::Left)},
                 {event(E::KeyPressed, right), event(E::MouseButtonPressed, sf::Mouse::Right),
                  event(E::LostFocus)},
                 {event(E::KeyReleased, right)}});
    run.data.addScript(QStringLiteral("main"), QStringLiteral(R"(
        function Init() {}
        function Frame() {
            system.writeMessage([game.isKeyHeld(KEY_RIGHT), game.isKeyReleased(KEY_RIGHT),
                game.getWheelDelta(), game.isMiddleButtonClicked(), game.isLeftButtonHeld(),
                game.isRightButtonHeld()].join(' '));
        }
    )"));
    ASSERT_TRUE(run.loop.start({}));
    run.steps(6);
    EXPECT_EQ(run.log.filter(QRegExp(QStringLiteral("^(true|false)"))),
              (QStringList{"true false 3 true true false", "true false -0.5 false true false",
                           "false true 0 false false false", "false true 0 false false false",
                           "false false 0 false false false", "false false 0 false false false"}));
}

TEST(FrameLoop, SwitchEndsTheOldGameBeforeMakingTheNewOne)
{
    LoopRun run;
    run.data.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var leftover = 1;
        function Init() {}
        function Frame() { game.goToScript('next', {from: 'main'}); }
        function Render() { system.writeMessage('main render'); }
    )"));
    run.data.addScript(QStringLiteral("next"), QStringLiteral(R"(
        function Init(p) {
            system.writeMessage('init ' + p.from + ' ' + typeof leftover);
        }
        function Frame(dt) { system.writeMessage('next frame ' + dt); }
        function Render() { system.writeMessage('next render'); }
    )"));
    ASSERT_TRUE(run.loop.start({}));
    EXPECT_EQ(run.steps(2), std::nullopt);
    // The old Render never runs again; the new one runs before its first Frame.
    EXPECT_EQ(run.log,
              (QStringList{"make main", "end main", "make next", "init main undefined",
                           "next render", "display", "next frame 0.25", "next render", "display"}));
}

TEST(FrameLoop, RunEndsWithTheExitCodeOfWhatEndedIt)
{
    struct Case {
        const char* name;
        const char* main;
        std::vector<ScriptedEvents::Frame> events;
        int exitCode;
        QStringList logTail;
    } cases[] = {
        {"Init fails",
         "function Init() { return false; }",
         {},
         1,
         {"Игра остановлена", "end main"}},
        {"Frame fails",
         "function Init() {} function Frame() { return false; }",
         {},
         0,
         {"Игра остановлена", "end main"}},
        {"false Frame wins over a switch",
         "function Init() {} function Frame() { game.goToScript('main', 1); return false; }",
         {},
         0,
         {"make main", "Игра остановлена", "end main"}},
        // The parameters reach the next Init as JSON text.
        {"switch to a missing script",
         "function Init() {} function Frame() { game.goToScript('nowhere', {b: 1, a: 'x'}); }",
         {},
         1,
         {"make nowhere", "Script not found: scripts/nowhere.js (<data>/scripts/nowhere.js)",
          "ОШИБКА функции Init({\n    \"a\": \"x\",\n    \"b\": 1\n}\n): ReferenceError: "
          "Can't find variable: Init",
          "end nowhere"}},
        // A switch asked for outside Frame() is carried out after the next one.
        {"switch asked for by Render",
         "function Init() {} function Frame() { system.writeMessage('frame'); }"
         "function Render() { game.goToScript('nowhere', 3); }",
         {},
         1,
         {"frame", "display", "frame", "end main", "make nowhere",
          "Script not found: scripts/nowhere.js (<data>/scripts/nowhere.js)",
          "ОШИБКА функции Init(3): ReferenceError: Can't find variable: Init", "end nowhere"}},
        // The pass that reads the close request finishes; events after it go unread.
        {"window closed",
         "function Init() {} function Frame() { system.writeMessage('frame ' + "
         "game.isKeyDown(KEY_A)); } function Render() { system.writeMessage('render'); }",
         {{event(sf::Event::Closed), keyA}},
         0,
         {"frame false", "render", "display", "end main"}},
    };
    for (const Case& c : cases) {
        LoopRun run(c.events);
        run.data.addScript(QStringLiteral("main"), QString::fromUtf8(c.main));
        run.loop.start({});
        EXPECT_EQ(run.steps(5), c.exitCode) << c.name;
        EXPECT_EQ(run.log.mid(run.log.size() - c.logTail.size()), c.logTail) << c.name;
        EXPECT_EQ(run.loop.game(), nullptr) << c.name;
    }
}

TEST(FrameLoop, DevelopmentModeHoldsAFailureUntilAFileChanges)
{
    std::vector<ScriptedEvents::Frame> frames(6);
    frames[5] = {event(sf::Event::KeyPressed, sf::Keyboard::Escape)};
    LoopRun run(frames);
    run.data.addScript(QStringLiteral("lib"), QStringLiteral("function broken() { nothing(); }"));
    run.data.addScript(QStringLiteral("main"), QStringLiteral(R"(var n = 0;
function Init(p) { system.setInterval(function () { system.writeMessage('tick ' + n); }, 0); }
$include<lib.js>
function Frame() { if (++n == 2) broken(); })"));
    run.loop.setDevelopmentMode(QString());
    ASSERT_TRUE(run.loop.start({QStringLiteral("ledge")}));
    EXPECT_EQ(run.steps(3), std::nullopt);
    EXPECT_EQ(run.loop.failure(),
              QStringLiteral("ОШИБКА функции Frame(0.25): ReferenceError: Can't find variable: "
                             "nothing\n  at scripts/lib.js:1\n    broken() at scripts/lib.js:1\n"
                             "    Frame(0.25) at scripts/main.js:4"));

    // The included file changes: the script starts afresh with the same
    // parameters, without the old script's globals and timers.
    run.data.addScript(QStringLiteral("lib"), QStringLiteral("function broken() {}"));
    run.data.addScript(
        QStringLiteral("main"),
        QStringLiteral("function Init(p) { system.writeMessage('again ' + p[0]); }\n"
                       "function Frame() { system.writeMessage(typeof n); } function Render() {}"));
    run.log.clear();
    EXPECT_EQ(run.steps(1), std::nullopt);
    EXPECT_EQ(run.log,
              (QStringList{"end main", "make main", "again ledge", "undefined", "display"}));

    // A text that does not parse is held too; Escape still ends the run.
    run.data.addScript(QStringLiteral("main"), QStringLiteral("function Init( {"));
    EXPECT_EQ(run.steps(3), 0);
    EXPECT_EQ(run.log.mid(6, 2),
              (QStringList{"make main", "Parse error at scripts/main.js:1: Expected `)'"}));
}
