#include "MapSceneSupport.h"
#include "runtime/MapViewer.h"

#include <gtest/gtest.h>

using namespace spritescene;
using mapscene::grey;

// Cells are 40 wide; row r starts at y = 40 + 30 r and its 35-high middle
// tile reaches 5 pixels into the row below.
TEST(MapRender, CapsCaveStripsAndStonesLandWhereTheyBelong)
{
    TestGame test;
    mapscene::writeTileSet(test);
    sf::RenderTexture canvas;
    ASSERT_TRUE(canvas.create(800, 600));
    MapViewer viewer(&canvas);
    const auto draw = [&](const QByteArray& mapText) {
        test.addFile(QStringLiteral("level.map"), mapText);
        viewer.loadMapFromFile(QStringLiteral("level.map"));
        canvas.clear(black);
        viewer.render();
        canvas.display();
        return canvas.getTexture().copyToImage();
    };
    // Left cap ending at the ground's left edge, right cap starting at the
    // next cell's; the middle tile's key pixel is see-through.
    expectPixels(draw("3\n1\n.G.\n"),
                 {{31, 50, black},
                  {32, 50, green},
                  {39, 74, green},
                  {40, 40, black},
                  {41, 40, red},
                  {79, 74, red},
                  {80, 50, blue},
                  {87, 50, blue},
                  {88, 50, black}},
                 "lone ground");
    expectPixels(draw("3\n1\n.GG\n"), {{35, 50, green}, {119, 50, red}, {125, 50, black}},
                 "run to the map's right end");
    // Row 1 (y 70) is open above, row 2 (y 100) lies under the cave. Strips
    // start one strip height down and stay opaque at their key pixel; row 2's
    // strips cover most of row 1's stone; the last stone lies below the grid.
    expectPixels(draw("1\n3\n.\nC\nC\n"),
                 {{10, 68, black},
                  {10, 72, red},
                  {10, 76, yellow},
                  {0, 76, mapscene::key},
                  {10, 102, grey},
                  {10, 107, yellow},
                  {10, 135, grey},
                  {10, 141, yellow},
                  {10, 143, black}},
                 "cave column");
    expectPixels(draw("1\n1\nW\n"),
                 {{10, 41, grey}, {10, 49, grey}, {10, 50, red}, {10, 72, grey}, {10, 81, black}},
                 "wall in row 0");

    // Without tile images nothing is drawn and the measures are those of 0 x 0.
    for (const char* file : {"gnd_mid.pcx", "gnd_left.pcx", "gnd_rght.pcx", "caveback.pcx"})
        QFile::remove(QLatin1String(file));
    MapViewer bare(&canvas);
    bare.loadMapFromFile(QStringLiteral("level.map"));
    canvas.clear(black);
    bare.render();
    canvas.display();
    expectPixels(canvas.getTexture().copyToImage(), {{10, 45, grey}, {10, 60, black}}, "bare");
    EXPECT_EQ(bare.getPlateY(0), 35);
}
