#include "MapTestMaps.h"
#include "PlatformMap.h"

#include <array>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace {

struct StopCase {
    const char* why;
    double x1, x2;
    int plate;
    double w2;
    bool fly;
    bool stop;
};

void expectStops(const PlatformMap& map, std::initializer_list<StopCase> cases)
{
    for (const StopCase& c : cases)
        EXPECT_EQ(map.isNeedStop(c.x1, c.x2, c.plate, c.w2, c.fly), c.stop)
            << c.why << ": " << c.x1 << " -> " << c.x2 << " plate " << c.plate << " w2 " << c.w2
            << (c.fly ? " flying" : "");
}

} // namespace

// Columns are 64 wide, so the borders lie at 0, 64, 128, 192, 256, 320, 384.

TEST(Navigation, PlateYIsTheFloorRowTopLoweredByTheStripHeight)
{
    const PlatformMap map = mapFromText(exampleMapText());
    EXPECT_EQ(map.plateCount(), 3);
    EXPECT_EQ(map.plateY(0), 110);
    EXPECT_EQ(map.plateY(2), 230);
    EXPECT_EQ(map.plateY(-1), 50) << "any plate number gives the formula";
    EXPECT_EQ(map.plateY(99), 40 + 100 * 60 + 10);
    // int32 wrap-around, never undefined behaviour: 2^31 * 60 is 0 mod 2^32.
    EXPECT_EQ(map.plateY(INT_MAX), 50);
}

TEST(Navigation, WindowEdgesStopWithEqualityWhateverTheMap)
{
    expectStops(mapFromText("0\n0\n"),
                {
                    {"still at the left edge", 20, 20, 0, 20, false, true},
                    {"still at the right edge", 780, 780, 0, 20, false, true},
                    {"crossing the left edge", 30, 10, 0, 20, true, true},
                    {"crossing the right edge", 770, 790, 0, 20, true, true},
                    {"just inside on the left", 21, 20.5, 0, 20, false, false},
                    {"just inside on the right", 778, 779.5, 0, 20, false, false},
                    {"a map of no columns tests nothing else", 100, 700, 5, 20, false, false},
                });
}

TEST(Navigation, FloorGapsStopWalkersOnUpperPlatesOnly)
{
    // Plate 0 has floor in columns 0-2 and 5; plate 1 in columns 2, 4, 5.
    expectStops(
        mapFromText(exampleMapText()),
        {
            {"right off the end of a ground run", 180, 190, 0, 5, false, false},
            {"move ending on the gap's border", 180, 192, 0, 5, false, true},
            {"move across the gap's border", 180, 200, 0, 5, false, true},
            {"starting on the border counts", 192, 195, 0, 5, false, true},
            {"left into the gap before column 5", 330, 320, 0, 5, false, true},
            {"left, short of the border", 330, 320.5, 0, 5, false, false},
            {"right out of the last column", 370, 390, 0, 5, false, true},
            {"inner border of a ground run", 120, 130, 0, 5, false, false},
            {"flying over the gap", 180, 200, 0, 5, true, false},
            {"flying out of the map's end", 370, 390, 0, 5, true, false},
            {"bottom plate has floor everywhere", 180, 200, 2, 5, false, false},
            {"wall and cave floors are floor", 270, 300, 1, 5, false, false},
            {"plate 1 gap between wall and cave", 180, 200, 1, 5, false, true},
            {"standing still on a border counts as going left", 128, 128, 1, 5, false, true},
            {"going left onto floor is never a gap", 200, 180, 1, 5, false, false},
        });
}

TEST(Navigation, WallsAndCaveBordersStopTheLeadingSide)
{
    // Row 2 (the bottom plate's own row) is ". . W . C C".
    expectStops(mapFromText(exampleMapText()),
                {
                    {"right, leading side reaches the wall", 100, 108, 2, 20, false, true},
                    {"right, leading side short of the wall", 100, 107.9, 2, 20, false, false},
                    {"left into the wall from column 3", 220, 212, 2, 20, false, true},
                    {"left, short of the wall", 220, 212.5, 2, 20, false, false},
                    {"walking right out of the wall", 160, 180, 2, 20, false, false},
                    {"walking left out of the wall", 160, 140, 2, 20, false, false},
                    {"right from empty into the cave", 230, 236, 2, 20, false, true},
                    {"left from the cave out to empty", 280, 276, 2, 20, false, true},
                    {"cave to cave", 290, 310, 2, 20, false, false},
                    {"flying still stops at a wall", 100, 110, 2, 20, true, true},
                    {"flying still stops at a cave border", 230, 240, 2, 20, true, true},
                });
}

TEST(Navigation, WallsInTheOuterColumnsAndGroundCaveBorders)
{
    expectStops(mapFromText("4\n1\nW..W\n"),
                {
                    {"left into a wall in column 0 stops at border 1", 100, 84, 0, 20, false, true},
                    {"right into a wall in the last column", 160, 172, 0, 20, false, true},
                    {"between the walls", 100, 150, 0, 20, false, false},
                });
    expectStops(mapFromText("4\n1\nGC.C\n"), {
                                                 {"ground into cave", 40, 50, 0, 20, false, false},
                                                 {"cave into ground", 90, 80, 0, 20, false, false},
                                                 {"cave into empty", 100, 108, 0, 20, false, true},
                                                 {"empty into cave", 160, 172, 0, 20, false, true},
                                             });
    // One column: no inner border, so no wall test; the floor still ends.
    expectStops(mapFromText("1\n2\nW\nG\n"),
                {
                    {"flying inside a lone wall", 10, 70, 0, 5, true, false},
                    {"walking off the lone floor", 10, 70, 0, 5, false, true},
                });
}

TEST(Navigation, PlatesOutsideTheMapReadAsEmptyRows)
{
    const PlatformMap map = mapFromText(exampleMapText());
    expectStops(
        map, {
                 {"plate past the bottom: no floor test, empty row", 100, 300, 3, 20, false, false},
                 {"plate -1 walks on row 0, which is empty", 100, 110, -1, 5, false, false},
                 {"plate -1 across a border of its empty floor", 100, 130, -1, 5, false, true},
             });
    for (int plate : {INT_MIN, INT_MIN + 1, -20, 20, 400, INT_MAX})
        for (bool fly : {false, true})
            map.isNeedStop(50, 350, plate, 10, fly); // must not read outside the grid
}

TEST(Navigation, CanJumpToIsTrueWithinHalfAColumnOfAPoint)
{
    // Plate 1 has points at 160, 288 and 352 (columns 2, 4, 5).
    const PlatformMap map = mapFromText(exampleMapText());
    const struct {
        double x;
        int plate;
        bool can;
    } cases[] = {
        {160, 1, true},  {128.5, 1, true}, {191.5, 1, true}, {128, 1, false},
        {192, 1, false}, {96, 1, false},   {96, 0, true},    {224, 2, true},
        {160, 2, false}, {160, -1, false}, {160, 3, false},  {NAN, 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(map.canJumpTo(c.x, c.plate), c.can) << c.x << " plate " << c.plate;

    TileMeasures odd = standardMeasures();
    odd.tileWidth = 63; // half is 31, the point of column 1 at 94
    const PlatformMap oddMap = mapFromText("2\n1\n..\n", odd);
    EXPECT_TRUE(oddMap.canJumpTo(63.5, 0));
    EXPECT_FALSE(oddMap.canJumpTo(63, 0));
    EXPECT_FALSE(oddMap.canJumpTo(125, 0));
}

TEST(Navigation, SpawnDrawMapsTheRandomValueOntoThePointList)
{
    const PlatformMap map = mapFromText(exampleMapText());
    const auto& points = map.jumpPoints();
    // A player plate with no points: every point is acceptable and the draw
    // is the plain index r * n / 2^32.
    const std::pair<std::uint32_t, int> draws[] = {
        {0u, 0}, {0x80000000u, 6}, {0xFFFFFFFFu, 11}, {0x15555555u, 0}, {0x15555556u, 1}};
    for (const auto& [r, index] : draws) {
        const JumpPoint* picked = map.pickSpawnPoint(100, 7, r);
        ASSERT_NE(picked, nullptr);
        EXPECT_EQ(picked, &points[index]) << r;
    }
}

TEST(Navigation, SpawnPointsNearThePlayerAreNeverDrawnAndTheRestEquallyOften)
{
    const PlatformMap map = mapFromText(exampleMapText());
    // Player at 160 on plate 0: (96,0) and (160,0) are too near; (32,0) is
    // exactly two columns away and allowed, as are points of other plates.
    std::map<std::pair<int, int>, int> hits;
    const int draws = 100000;
    for (int i = 0; i < draws; ++i) {
        const auto r = static_cast<std::uint32_t>((std::uint64_t(i) << 32) / draws);
        const JumpPoint* p = map.pickSpawnPoint(160, 0, r);
        ASSERT_NE(p, nullptr);
        ++hits[{p->x, p->plate}];
    }
    EXPECT_EQ(hits.size(), 10u);
    EXPECT_EQ(hits.count({96, 0}), 0u);
    EXPECT_EQ(hits.count({160, 0}), 0u);
    EXPECT_EQ(hits.count({32, 0}), 1u);
    EXPECT_EQ(hits.count({160, 1}), 1u);
    for (const auto& [point, count] : hits)
        EXPECT_NEAR(count, draws / 10, 1) << point.first << "," << point.second;
}

TEST(Navigation, SpawnReturnsNothingWhenNoPointIsAcceptable)
{
    for (const char* text : {"0\n0\n", "3\n1\nWWW\n", "3\n2\nWWW\nWWW\n"})
        EXPECT_EQ(mapFromText(text).pickSpawnPoint(0, 0, 12345u), nullptr) << text;
    const PlatformMap single = mapFromText("2\n1\nG\n"); // points at 32 and 96
    EXPECT_EQ(single.pickSpawnPoint(64, 0, 0xFFFFFFFFu), nullptr);
    EXPECT_NE(single.pickSpawnPoint(64, 1, 0xFFFFFFFFu), nullptr);
    EXPECT_NE(single.pickSpawnPoint(NAN, 0, 0u), nullptr);
}
