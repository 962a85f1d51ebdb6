#include "MapTestMaps.h"

#include <gtest/gtest.h>
#include <string>

// Pieces in drawing order as M(iddle), L(eft cap), R(ight cap), S(trip),
// T (stone) with their positions. Rows start at y = 40 + 60 r.
TEST(MapPieces, EveryCellKindDrawsItsPiecesInOrder)
{
    const std::string strips100 = "S0,110 S0,120 S0,130 S0,140 S0,150 S0,160 ";
    const std::pair<const char*, std::string> cases[] = {
        {"3\n1\n.G.\n", "L48,40 M64,40 R128,40 "}, // caps in the empty cells beside
        {"2\n1\nGG\n", "M0,40 M64,40 "},           // none at the map's ends
        {"3\n1\nG.G\n", "M0,40 R64,40 L112,40 M128,40 "},
        {"0\n3\n", ""},
        {"1\n3\n.\nC\nC\n", // only the top of a cave run is open; the last stone lies
                            // below the grid
         "M0,100 " + strips100 + "T0,160 S0,170 S0,180 S0,190 S0,200 S0,210 S0,220 T0,220 "},
        {"1\n2\nW\nC\n", "M0,40 T0,40 T0,100 " + strips100 + "T0,160 "},
        {"1\n1\nC\n", "S0,50 S0,60 S0,70 S0,80 S0,90 S0,100 T0,100 "},
        {"1\n2\nG\nW\n", "M0,40 M0,100 T0,160 "},
        {"1\n2\nW\nW\n", "M0,40 T0,40 T0,100 M0,100 T0,100 T0,160 "},
    };
    for (const auto& [text, pieces] : cases) {
        std::string drawn;
        mapFromText(text).forEachPiece([&drawn](TilePiece piece, int x, int y) {
            drawn += "MLRST"[static_cast<int>(piece)] + std::to_string(x) + "," +
                     std::to_string(y) + " ";
        });
        EXPECT_EQ(drawn, pieces) << text;
    }
}
