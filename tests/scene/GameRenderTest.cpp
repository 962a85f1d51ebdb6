// Frames drawn off-screen through the frame loop's render seam.
#include "DataFiles.h"
#include "PixelProbes.h"
#include "TestGame.h"
#include "app/EventSource.h"
#include "app/FrameClock.h"
#include "app/FrameLoop.h"
#include "app/FrameTarget.h"

#include <QScriptEngine>
#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

TEST(GameRender, EachFrameIsClearedWithTheBackgroundColourBeforeRender)
{
    TestGame data;
    data.addScript(QStringLiteral("main"), QStringLiteral(R"(
        var frames = 0, box;
        function Init() { box = game.createRect(0, 0, 255); }
        function Frame() { if (frames++) game.setBackgroundColor(300, -1, 256); }
        function Render() { box.drawTo(0, 0, 4, 8); }
    )"));
    sf::RenderTexture texture;
    ASSERT_TRUE(texture.create(8, 8));
    texture.clear(sf::Color::Red);
    FixedStepClock clock(0.25f);
    ScriptedEvents events({});
    TextureTarget target(texture);
    FrameLoop loop([](const QString& name) { return GameOwner(new Game(scriptPath(name))); }, clock,
                   events, target);
    ASSERT_TRUE(loop.start({}));
    for (const sf::Color background : {sf::Color::Black, sf::Color(44, 255, 0)}) {
        loop.step();
        const sf::Image frame = texture.getTexture().copyToImage();
        EXPECT_EQ(frame.getPixel(6, 3), background);
        EXPECT_EQ(frame.getPixel(1, 3), sf::Color::Blue);
    }
}

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

TEST(GameRender, DevelopmentModeShowsAFailureAsText)
{
    TestGame data;
    data.addScript(QStringLiteral("main"), QStringLiteral("function Init() { nothing(); }"));
    sf::RenderTexture texture;
    ASSERT_TRUE(texture.create(200, 40));
    FixedStepClock clock(0.25f);
    ScriptedEvents events({});
    TextureTarget target(texture);
    FrameLoop loop([](const QString& name) { return GameOwner(new Game(scriptPath(name))); }, clock,
                   events, target);
    loop.setDevelopmentMode(
        QStringLiteral(LEDGE_SOURCE_PATH "/tests/fixtures/fonts/DejaVuSans.ttf"));
    ASSERT_TRUE(loop.start({}));
    EXPECT_EQ(loop.step(), std::nullopt);
    // Light text on the dark backdrop, in the first line's place.
    const sf::Image frame = texture.getTexture().copyToImage();
    EXPECT_TRUE(anyPixelIn(frame, 0, 10, 199, 30, sf::Color::White));
    EXPECT_EQ(frame.getPixel(5, 35), sf::Color(48, 16, 16));
}
