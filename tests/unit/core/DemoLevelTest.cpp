#include "core/PcxImage.h"
#include "core/PlatformMap.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

// The demo's level as the shipped files make it: the hero can reach every
// place where gems and beetles may appear.

namespace {

const QString dataDir = QStringLiteral(LEDGE_SOURCE_PATH "/data/");

// The level script's numbers (data/scripts/level.js, scenery.js).
constexpr int heroHalfWidth = 10;
constexpr double heroStartX = 75;

TileMeasures demoMeasures()
{
    TileMeasures m;
    PcxImage mid, left, strip;
    mid.load(dataDir + QStringLiteral("gnd_mid.pcx"), true);
    left.load(dataDir + QStringLiteral("gnd_left.pcx"), true);
    strip.load(dataDir + QStringLiteral("caveback.pcx"), false);
    m.tileWidth = mid.width();
    m.rowPitch = mid.height() - 5;
    m.capWidth = left.width();
    m.caveStripHeight = strip.height();
    return m;
}

class DemoLevel : public ::testing::Test {
protected:
    void SetUp() override
    {
        map.setMeasures(demoMeasures());
        ASSERT_TRUE(map.loadFile(dataDir + QStringLiteral("levels/level1.map")));
    }
    PlatformMap map;
};

} // namespace

// Walks, jumps and drops from the hero's start with the map's own queries,
// the way the level script moves the hero, and visits every jump point.
TEST_F(DemoLevel, HeroCanReachEveryJumpPoint)
{
    const int tileWidth = demoMeasures().tileWidth;
    const int start = map.plateCount() - 2;
    ASSERT_TRUE(map.canJumpTo(heroStartX, start));

    std::set<std::pair<int, int>> seen{{int(heroStartX), start}};
    std::vector<std::pair<int, int>> todo(seen.begin(), seen.end());
    auto visit = [&](int x, int plate) {
        if (seen.insert({x, plate}).second)
            todo.push_back({x, plate});
    };
    while (!todo.empty()) {
        const auto [x, plate] = todo.back();
        todo.pop_back();
        for (int dir : {-1, 1}) {
            double at = x;
            bool stopped = false;
            for (int step = 0; step < tileWidth && !stopped; ++step) {
                stopped = map.isNeedStop(at, at + dir, plate, heroHalfWidth, false);
                at += dir;
            }
            if (!stopped)
                visit(x + dir * tileWidth, plate);
        }
        if (map.canJumpTo(x, plate - 1))
            visit(x, plate - 1);
        for (int below = plate + 1; below < map.plateCount(); ++below)
            if (map.canJumpTo(x, below)) {
                visit(x, below);
                break;
            }
    }
    for (const JumpPoint& p : map.jumpPoints())
        EXPECT_TRUE(seen.count({p.x, p.plate})) << "x " << p.x << " plate " << p.plate;
}
