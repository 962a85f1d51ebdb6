#include "MapTestMaps.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

// Borders lie at 0, 64, 128, 192, 256, 320, 384. In the example map plate 0
// has floor in columns 0-2 and 5, plate 1 in columns 2, 4 and 5, and the
// bottom plate's own row 2 reads ". . W . C C".

TEST(Navigation, IsNeedStopTestsWindowEdgesFloorGapsWallsAndCaveBorders)
{
    const char* const ex = exampleMap;
    const struct {
        const char* map;
        double x1, x2;
        int plate;
        double w2;
        bool fly, stop;
        const char* why;
    } cases[] = {
        {"0\n0\n", 20, 20, 0, 20, false, true, "still, left side on the window edge"},
        {"0\n0\n", 780, 780, 0, 20, false, true, "still, right side on the window edge"},
        {"0\n0\n", 30, 10, 0, 20, true, true, "flying across the left edge"},
        {"0\n0\n", 21, 20.5, 0, 20, false, false, "just inside the left edge"},
        {"0\n0\n", 100, 700, 5, 20, false, false, "no columns: only the edges"},
        {ex, 180, 190, 0, 5, false, false, "short of the end of the ground"},
        {ex, 180, 192, 0, 5, false, true, "move ending on the gap's border"},
        {ex, 192, 195, 0, 5, false, true, "move starting on the gap's border"},
        {ex, 330, 320, 0, 5, false, true, "left into the gap before column 5"},
        {ex, 370, 390, 0, 5, false, true, "right out of the last column"},
        {ex, 120, 130, 0, 5, false, false, "inner border of a ground run"},
        {ex, 180, 200, 0, 5, true, false, "flying over a gap"},
        {ex, 370, 390, 0, 5, true, false, "flying off the map's end"},
        {ex, 180, 200, 2, 5, false, false, "bottom plate has floor everywhere"},
        {ex, 270, 300, 1, 5, false, false, "cave floor is floor"},
        {ex, 128, 128, 1, 5, false, true, "standing still counts as going left"},
        {ex, 200, 180, 1, 5, false, false, "stepping left onto floor"},
        {ex, 100, 108, 2, 20, false, true, "leading side reaches the wall"},
        {ex, 100, 107.9, 2, 20, false, false, "leading side short of the wall"},
        {ex, 220, 212, 2, 20, false, true, "left into the wall"},
        {ex, 100, 110, 2, 20, true, true, "flying into the wall"},
        {ex, 160, 180, 2, 20, false, false, "walking right out of the wall"},
        {ex, 160, 140, 2, 20, false, false, "walking left out of the wall"},
        // Already past a border, the leading side does not cross it again.
        {ex, 140, 150, 2, 20, false, false, "right inside the wall"},
        {ex, 180, 170, 2, 20, false, false, "left inside the wall"},
        {ex, 230, 236, 2, 20, true, true, "empty into cave"},
        {ex, 280, 276, 2, 20, false, true, "cave out to empty"},
        {ex, 290, 310, 2, 20, false, false, "cave to cave"},
        {"4\n1\nW..W\n", 100, 84, 0, 20, false, true, "left into a wall in column 0"},
        {"4\n1\nW..W\n", 160, 172, 0, 20, false, true, "right into a wall in the last column"},
        {"4\n1\nGC.C\n", 40, 50, 0, 20, false, false, "ground into cave"},
        {"4\n1\nGC.C\n", 90, 80, 0, 20, false, false, "cave into ground"},
        {"1\n2\nW\nG\n", 10, 70, 0, 5, true, false, "one column: no wall test"},
        {"1\n2\nW\nG\n", 10, 70, 0, 5, false, true, "one column: its floor still ends"},
        {ex, 100, 300, 3, 20, false, false, "plate below the map: an empty row"},
        {ex, 100, 130, -1, 5, false, true, "plate -1 walks on row 0, all gaps"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mapFromText(c.map).isNeedStop(c.x1, c.x2, c.plate, c.w2, c.fly), c.stop)
            << c.why << ": " << c.x1 << " -> " << c.x2 << " on plate " << c.plate;
    const PlatformMap map = mapFromText(ex);
    for (int plate : {INT_MIN, INT_MIN + 1, 20, INT_MAX}) // must stay inside the grid
        map.isNeedStop(50, 350, plate, 10, false);
}

TEST(Navigation, PlateYAndCanJumpTo)
{
    const PlatformMap map = mapFromText(exampleMap);
    EXPECT_EQ(map.plateY(0), 110);
    EXPECT_EQ(map.plateY(2), 230);
    EXPECT_EQ(map.plateY(-1), 50);
    EXPECT_EQ(map.plateY(INT_MAX), 50) << "wraps like int32, without overflow";

    // Plate 1 has points at 160, 288 and 352.
    const std::tuple<double, int, bool> cases[] = {
        {160, 1, true}, {128.5, 1, true}, {191.5, 1, true}, {128, 1, false}, {192, 1, false},
        {96, 1, false}, {96, 0, true},    {160, -1, false}, {160, 3, false}, {NAN, 1, false}};
    for (const auto& [x, plate, can] : cases)
        EXPECT_EQ(map.canJumpTo(x, plate), can) << x << " plate " << plate;
    const PlatformMap odd = mapFromText("2\n1\n..\n", 63); // half 31, point at 94
    EXPECT_TRUE(odd.canJumpTo(63.5, 0));
    EXPECT_FALSE(odd.canJumpTo(63, 0));
}

TEST(Navigation, SpawnDrawsUniformlyAmongPointsAwayFromThePlayer)
{
    const PlatformMap map = mapFromText(exampleMap);
    // No point on the player's plate: the index is r * n / 2^32 itself.
    for (const auto& [r, index] : {std::pair{0u, 0},
                                   {0x80000000u, 6},
                                   {0xFFFFFFFFu, 11},
                                   {0x15555555u, 0},
                                   {0x15555556u, 1}})
        EXPECT_EQ(map.pickSpawnPoint(100, 7, r), &map.jumpPoints()[index]) << r;

    // Player at 160 on plate 0: (96,0) and (160,0) are too near; (32,0) lies
    // exactly two columns away and is allowed.
    std::map<std::pair<int, int>, int> hits;
    const int draws = 100000;
    for (std::uint64_t i = 0; i < draws; ++i) {
        const JumpPoint* p = map.pickSpawnPoint(160, 0, std::uint32_t((i << 32) / draws));
        ASSERT_NE(p, nullptr);
        ++hits[{p->x, p->plate}];
    }
    EXPECT_EQ(hits.size(), 10u);
    EXPECT_EQ(hits.count({96, 0}) + hits.count({160, 0}), 0u);
    EXPECT_EQ(hits.count({32, 0}), 1u);
    for (const auto& [point, count] : hits)
        EXPECT_NEAR(count, draws / 10, 1) << point.first << "," << point.second;

    for (const char* text : {"0\n0\n", "3\n2\nWWW\nWWW\n", "2\n1\nG\n"})
        EXPECT_EQ(mapFromText(text).pickSpawnPoint(64, 0, 0xFFFFFFFFu), nullptr) << text;
}
