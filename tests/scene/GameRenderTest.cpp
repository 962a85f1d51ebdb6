// Frames drawn off-screen through the frame loop's render seam.
#include "DataFiles.h"
#include "PixelProbes.h"
#include "TestGame.h"
#include "app/EventSource.h"
#include "app/FrameClock.h"
#include "app/FrameLoop.h"
#include "app/FrameTarget.h"

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
