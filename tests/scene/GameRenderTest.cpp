#include "runtime/Game.h"
#include "TestGame.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

TEST(GameRender, ClearsWithTheBackgroundColourBeforeRender)
{
    TestGame t(QStringLiteral(R"(
        var when = '';
        function Frame() { game.setBackgroundColor(300, -1, 256); }
        function Render() { when = 'rendered'; }
    )"));
    sf::RenderTexture texture;
    ASSERT_TRUE(texture.create(8, 8));
    texture.clear(sf::Color::Red);
    t.game().callRender(&texture);
    texture.display();
    EXPECT_EQ(texture.getTexture().copyToImage().getPixel(3, 3), sf::Color(0, 0, 0, 255));

    t.game().callFrame(0.016);
    t.game().callRender(&texture);
    texture.display();
    EXPECT_EQ(texture.getTexture().copyToImage().getPixel(3, 3), sf::Color(44, 255, 0, 255));
    EXPECT_EQ(t.eval(QStringLiteral("when")), QStringLiteral("rendered"));
    EXPECT_EQ(t.game().renderTarget(), &texture);
}
