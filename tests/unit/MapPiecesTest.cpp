#include "MapTestMaps.h"
#include "PlatformMap.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// "M" middle, "L" left cap, "R" right cap, "S" cave strip, "T" stone, each
// with its position, in drawing order.
std::string piecesOf(const QByteArray& text)
{
    static const char names[] = "MLRST";
    std::string out;
    mapFromText(text).forEachPiece([&out](TilePiece piece, int x, int y) {
        out += names[static_cast<int>(piece)];
        out += std::to_string(x) + "," + std::to_string(y) + " ";
    });
    return out;
}

const char* const caveStrips100 = "S0,110 S0,120 S0,130 S0,140 S0,150 S0,160 ";
const char* const caveStrips160 = "S0,170 S0,180 S0,190 S0,200 S0,210 S0,220 ";

} // namespace

// 64-wide columns, rows 60 apart from y = 40, 16-wide caps, 10-high strips.

TEST(MapPieces, CapsSitInTheEmptyCellsBesideARun)
{
    const struct {
        const char* text;
        std::string pieces;
    } cases[] = {
        {"3\n1\n.G.\n", "L48,40 M64,40 R128,40 "},
        {"2\n1\nGG\n", "M0,40 M64,40 "},                  // the map's ends get no cap
        {"3\n1\nG.G\n", "M0,40 R64,40 L112,40 M128,40 "}, // both caps in one cell
        {"4\n1\n.W..\n", "L48,40 M64,40 T64,40 T64,100 R128,40 "},
        {"0\n3\n", ""},
        {"3\n0\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(piecesOf(c.text), c.pieces) << c.text;
}

TEST(MapPieces, CavesDrawStripsBelowTheirTopAndAStoneARowLower)
{
    EXPECT_EQ(piecesOf("1\n3\n.\nC\nC\n"),
              std::string("M0,100 ") + caveStrips100 + "T0,160 " + caveStrips160 + "T0,220 ")
        << "only the top of a cave run is open; the last stone lies below the grid";
    EXPECT_EQ(piecesOf("1\n2\nG\nC\n"), std::string("M0,40 M0,100 ") + caveStrips100 + "T0,160 ");
    EXPECT_EQ(piecesOf("1\n2\nW\nC\n"),
              std::string("M0,40 T0,40 T0,100 ") + caveStrips100 + "T0,160 ");
    EXPECT_EQ(piecesOf("1\n1\nC\n"), "S0,50 S0,60 S0,70 S0,80 S0,90 S0,100 T0,100 ")
        << "a cave in row 0 has no middle tile";
}

TEST(MapPieces, WallsShowAStoneOnTopUnlessOpenAbove)
{
    const struct {
        const char* text;
        std::string pieces;
    } cases[] = {
        {"1\n1\nW\n", "M0,40 T0,40 T0,100 "},
        {"1\n2\nG\nW\n", "M0,40 M0,100 T0,160 "},
        {"1\n2\n.\nW\n", "M0,100 T0,160 "},
        {"1\n2\nW\nW\n", "M0,40 T0,40 T0,100 M0,100 T0,100 T0,160 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(piecesOf(c.text), c.pieces) << c.text;
}
