// Frames drawn through the frame loop's render seam, off screen or in a window.
#include "DataFiles.h"
#include "PixelProbes.h"
#include "TestGame.h"
#include "app/EventSource.h"
#include "app/ExtProc.h"
#include "app/FrameClock.h"
#include "app/FrameLoop.h"
#include "app/FrameTarget.h"
#include "app/WindowFrontend.h"

#include <QScriptEngine>
#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

// After a resize the drawing area keeps its shape, centred between bars, and
// the pointer is reported where it is in the drawing area.
TEST(GameRender, ResizedWindowIsLetterboxedAndThePointerFollows)
{
    struct Case {
        unsigned w, h;
        int px, py;
        const char* seen;
        unsigned barX, barY;
    } cases[] = {
        {800, 600, 3, 7, "3,7 false", 0, 0},
        {1600, 600, 800, 300, "400,300 true", 399, 300},
        {1600, 600, 0, 0, "-400,0 false", 399, 300},
        {800, 1200, 400, 300, "400,0 false", 400, 299},
        {400, 300, 200, 150, "400,300 true", 0, 0},
    };
    for (const Case& c : cases) {
        TestGame data;
        data.addScript(QStringLiteral("main"), QStringLiteral(R"(
            var box, seen;
            function Init() { box = game.createRect(255, 0, 0); game.setBackgroundColor(0, 0, 255); }
            function Frame() {
                var m = game.getMousePos();
                seen = m.x + ',' + m.y + ' ' + (Math.abs(m.x - 400) < 10 && Math.abs(m.y - 300) < 10);
            }
            function Render() { box.drawTo(0, 0, 800, 600); }
        )"));
        sf::RenderTexture texture;
        ASSERT_TRUE(texture.create(c.w, c.h));
        sf::Event resized{}, moved{};
        resized.type = sf::Event::Resized;
        resized.size = {c.w, c.h};
        moved.type = sf::Event::MouseMoved;
        moved.mouseMove = {c.px, c.py};
        FixedStepClock clock(0.25f);
        ScriptedEvents events({{resized, moved}});
        TextureTarget target(texture);
        FrameLoop loop([](const QString& name) { return GameOwner(new Game(scriptPath(name))); },
                       clock, events, target);
        ASSERT_TRUE(loop.start({}));
        loop.step();
        const QString seen =
            loop.game()->scriptEngine()->evaluate(QStringLiteral("seen")).toString();
        EXPECT_EQ(seen, QString::fromUtf8(c.seen)) << c.w << "x" << c.h;
        const sf::Image frame = texture.getTexture().copyToImage();
        EXPECT_EQ(frame.getPixel(c.w / 2, c.h / 2), sf::Color::Red) << c.w << "x" << c.h;
        const sf::Color bar = c.barX || c.barY ? sf::Color::Blue : sf::Color::Red;
        EXPECT_EQ(frame.getPixel(c.barX, c.barY), bar) << c.w << "x" << c.h;
    }
}

// Full screen and back: a click on the drawing area's middle hits it each time.
TEST(GameRender, FullscreenKeepsTheLetterboxAndWindowedComesBack)
{
    TestGame data;
    data.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var n = 0, seen = [];
        function Init() {}
        function Frame() {
            var m = game.getMousePos(), s = game.getWindowSize();
            if (game.isLeftButtonClicked()) seen.push(m.x + ',' + m.y + ' ' + s.width + 'x' + s.height);
            if (n < 2) game.setFullscreen(++n == 1);
        }
        function Render() {}
    )"));
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    sf::Event click{}, middle{}, back{};
    click.type = sf::Event::MouseButtonPressed;
    middle.type = back.type = sf::Event::MouseMoved;
    middle.mouseMove = {int(desktop.width / 2), int(desktop.height / 2)};
    back.mouseMove = {400, 300};
    ScriptedEvents events({{}, {middle, click}, {back, click}});
    sf::RenderWindow window(sf::VideoMode(800, 600), "fullscreen");
    ExtProc requests(&window);
    WindowFrontend target(window);
    FixedStepClock clock(0.25f);
    FrameLoop loop(
        [&](const QString& name) {
            GameOwner game(new Game(scriptPath(name)));
            game->setWindowRequests(&requests);
            return game;
        },
        clock, events, target);
    ASSERT_TRUE(loop.start({}));
    for (int i = 0; i < 3; ++i)
        loop.step();
    EXPECT_EQ(
        loop.game()->scriptEngine()->evaluate(QStringLiteral("seen.join(' ')")).toString(),
        QStringLiteral("400,300 %1x%2 400,300 800x600").arg(desktop.width).arg(desktop.height));
}

// Each frame is cleared with the background colour before Render; in
// development mode a failure is shown over the last frame drawn.
TEST(GameRender, DevelopmentModeShowsAFailureOverTheLastFrame)
{
    TestGame data;
    data.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var box, n = 0;
        function Init() { game.setBackgroundColor(256, 200, 0); box = game.createRect(0, 0, 255); }
        function Frame() { if (n++) nothing(); }
        function Render() { box.drawTo(780, 580, 20, 20); }
    )"));
    sf::RenderTexture texture;
    ASSERT_TRUE(texture.create(800, 600));
    texture.clear(sf::Color::Red);
    FixedStepClock clock(0.25f);
    ScriptedEvents events({});
    TextureTarget target(texture);
    FrameLoop loop([](const QString& name) { return GameOwner(new Game(scriptPath(name))); }, clock,
                   events, target);
    loop.setDevelopmentMode(
        QStringLiteral(LEDGE_SOURCE_PATH "/tests/fixtures/fonts/DejaVuSans.ttf"));
    ASSERT_TRUE(loop.start({}));
    for (bool failed : {false, true}) {
        EXPECT_EQ(loop.step(), std::nullopt);
        EXPECT_EQ(loop.failure().isEmpty(), !failed);
        // The frame all around, the right way up; then text on a dark panel.
        const sf::Image frame = texture.getTexture().copyToImage();
        EXPECT_EQ(frame.getPixel(400, 500), sf::Color(0, 200, 0));
        EXPECT_EQ(frame.getPixel(790, 590), sf::Color::Blue);
        EXPECT_EQ(anyPixelIn(frame, 0, 10, 199, 30, sf::Color::White), failed);
        EXPECT_EQ(frame.getPixel(8, 8).g == 200, !failed);
    }
}
