#include "MapSceneSupport.h"
#include "MapViewer.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>
#include <memory>

using namespace spritescene;
using mapscene::grey;
using mapscene::key;

namespace {

class MapRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(canvas.create(800, 600));
        mapscene::writeTileSet(test);
        viewer = std::make_unique<MapViewer>(&canvas);
    }

    sf::Image draw(const QByteArray& mapText)
    {
        test.addFile(QStringLiteral("level.map"), mapText);
        viewer->loadMapFromFile(QStringLiteral("level.map"));
        canvas.clear(black);
        viewer->render();
        canvas.display();
        return canvas.getTexture().copyToImage();
    }

    TestGame test;
    sf::RenderTexture canvas;
    std::unique_ptr<MapViewer> viewer;
};

} // namespace

// Cells are 40 wide; row r's tiles start at y = 40 + 30 r and the middle
// tile is 35 high, reaching 5 pixels into the row below.

TEST_F(MapRender, ALoneGroundCellGetsACapOnEachSide)
{
    expectPixels(draw("3\n1\n.G.\n"),
                 {
                     {31, 50, black},
                     {32, 50, green}, // left cap ends at the ground cell's left edge
                     {39, 74, green},
                     {40, 40, black}, // the middle tile's key pixel is see-through
                     {41, 40, red},
                     {79, 74, red},
                     {60, 75, black},
                     {80, 50, blue}, // right cap starts at the next cell's left edge
                     {87, 50, blue},
                     {88, 50, black},
                     {60, 39, black},
                 },
                 "lone ground");
}

TEST_F(MapRender, ARunTouchingTheMapsEndHasNoCapThere)
{
    expectPixels(draw("3\n1\n.GG\n"),
                 {{35, 50, green}, {79, 50, red}, {119, 50, red}, {125, 50, black}},
                 "run to the right end");
    expectPixels(draw("3\n1\nGG.\n"),
                 {{1, 50, red}, {79, 50, red}, {84, 50, blue}, {95, 50, black}},
                 "run from the left end");
}

TEST_F(MapRender, ACaveColumnDrawsStripsOverItsTopAndStonesBelowEachCell)
{
    // Row 1 (y 70) is open above; row 2 (y 100) lies under the cave.
    expectPixels(draw("1\n3\n.\nC\nC\n"),
                 {
                     {10, 68, black},
                     {10, 72, red},    // middle tile, visible above the first strip
                     {10, 76, yellow}, // strips start one strip height down
                     {0, 76, key},     // strips are opaque even at their key pixel
                     {10, 99, yellow},
                     {10, 102, grey},   // stone of row 1 at the top of row 2
                     {10, 107, yellow}, // row 2's strips cover the rest of that stone
                     {10, 129, yellow},
                     {10, 135, grey},   // the bottom row's stone lies below the grid
                     {10, 141, yellow}, // the last strip reaches past that stone
                     {10, 143, black},
                 },
                 "cave column");
}

TEST_F(MapRender, AWallInRowZeroHasAStoneOnTop)
{
    expectPixels(draw("1\n1\nW\n"),
                 {
                     {10, 41, grey},
                     {10, 49, grey},
                     {10, 50, red},
                     {10, 69, red},
                     {10, 72, grey},
                     {10, 79, grey},
                     {10, 81, black},
                 },
                 "wall in row 0");
    expectPixels(draw("1\n2\nG\nW\n"), {{10, 72, red}, {10, 85, red}, {10, 105, grey}},
                 "wall under ground shows its middle tile");
}

TEST_F(MapRender, MissingTilesDrawNothingAndAFailedLoadKeepsTheMap)
{
    const sf::Image first = draw("2\n1\nGG\n");
    viewer->loadMapFromFile(QStringLiteral("no such.map"));
    canvas.clear(black);
    viewer->render();
    canvas.display();
    expectPixels(canvas.getTexture().copyToImage(), {{60, 50, red}}, "after a failed load");

    for (const char* file :
         {"gnd_mid.pcx", "gnd_left.pcx", "gnd_rght.pcx", "caveback.pcx", "gnd_ston.pcx"})
        QFile::remove(test.dataDir() + QLatin1Char('/') + QLatin1String(file));
    MapViewer bare(&canvas);
    test.addFile(QStringLiteral("all.map"), "3\n3\nGCW\n.W.\nCGC\n");
    bare.loadMapFromFile(QStringLiteral("all.map"));
    canvas.clear(black);
    bare.render();
    canvas.display();
    const sf::Image image = canvas.getTexture().copyToImage();
    EXPECT_FALSE(anyPixelIn(image, 0, 0, 199, 199, red));
    EXPECT_EQ(image.getPixel(100, 100), black);
    EXPECT_EQ(bare.getPlateY(0), 35) << "measures of 0 x 0 images";
}
