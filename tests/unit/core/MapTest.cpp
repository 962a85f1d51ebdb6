#include "core/MapFile.h"
#include "core/PlatformMap.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Tile set of 64-wide columns, rows 60 apart, 16-wide caps, 10-high strips.
PlatformMap mapFromText(QByteArray text, int tileWidth = 64)
{
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    PlateGrid grid;
    MapFile::parse(buffer, MapFile::standardTileCodes(), grid);
    PlatformMap map;
    map.setMeasures({tileWidth, 60, 16, 10});
    map.setGrid(grid);
    return map;
}

// Six by three: ground on row 1, a wall and two caves on row 2. Borders lie at
// 0, 64, ..., 384; plate 0 has floor in columns 0-2 and 5, plate 1 in 2, 4, 5.
constexpr const char* exampleMap = "6\n3\n......\nGGG..G\n..W.CC\n";

std::string rowsOf(const PlateGrid& grid)
{
    std::string out;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c)
            out += ".GCW"[static_cast<int>(grid.kindAt(c, r))];
        out += '|';
    }
    return out;
}

using Points = std::vector<JumpPoint>;

} // namespace

TEST(MapFile, CountLinesTakeOnlyAWholeDecimalNumberWithSpaceAround)
{
    // clang-format off
    const std::pair<QByteArray, int> counts[] = {
        {"12\r\n", 12}, {"  7 \t\n", 7}, {"3", 3}, {"+4\n", 4}, {"-2\n", -2}, {"0x10\n", 0},
        {"1 2\n", 0}, {"\n", 0}, {"5a\n", 0}, {"1.5\n", 0}, {"99999999999\n", 0},
        {QByteArray("1\0 9\n", 5), 0}};
    // clang-format on
    for (const auto& [line, count] : counts)
        EXPECT_EQ(MapFile::parseCount(line), count) << line.toStdString();
}

TEST(MapFile, RowsKeepOnlyUpperCaseTilesWithinTheDeclaredSize)
{
    const std::pair<QByteArray, const char*> cases[] = {
        {exampleMap, "......|GGG..G|..W.CC|"},
        {"3\r\n2\r\nGCW\r\nW.G\r\n", "GCW|W.G|"},
        {"3\n1\ngcw\n", "...|"},
        {"4\n3\nG\n\nWWWWWWWW\n", "G...|....|WWWW|"},
        {"2\n3\nCC\n", "CC|..|..|"},
        {"3\n1\n\xc3\xa9GW\n", ".GW|"},        // one character of two bytes
        {"3\n1\n\xf0\x9f\x99\x82G\n", "..G|"}, // a surrogate pair takes two
        {QByteArray("3\n2\nG\0W\nCCC\n", 12), "G..|CCC|"},
        {"3\n1\nGCW" + QByteArray(1 << 20, 'x') + "\nnot read\n", "GCW|"},
        {"x\n2\nGGG\n", "||"},
    };
    for (const auto& [text, rows] : cases)
        EXPECT_EQ(rowsOf(mapFromText(text).plates()), rows) << text.left(40).toStdString();
}

TEST(MapFile, CountsBeyondTheGridAreClippedAndNoIndexReachesPastIt)
{
    QByteArray text = "25\n30\n";
    for (int r = 0; r < 30; ++r)
        text += QByteArray(25, r == 19 ? 'W' : 'G') + "\n";
    PlateGrid grid = mapFromText(text).plates();
    EXPECT_EQ(rowsOf(grid).size(), 20u * 21u);
    EXPECT_EQ(grid.kindAt(19, 19), TileKind::Wall);

    grid = mapFromText("2\n2\nGG\nWW\n").plates();
    // Row 20 of a column, or row -20 of the next, would alias another cell.
    for (int c : {-1, 0, 2, 20, INT_MIN, INT_MAX})
        for (int r : {-20, -1, 2, 20, INT_MAX}) {
            grid.setKind(c, r, TileKind::Cave);
            EXPECT_EQ(grid.kindAt(c, r), TileKind::Empty);
        }
    EXPECT_EQ(rowsOf(grid), "GG|WW|");
}

TEST(MapFile, JumpPointsStandOnFloorOutsideWallsColumnByColumn)
{
    const std::pair<const char*, Points> cases[] = {
        // clang-format off
        {exampleMap, {{32, 0}, {32, 2}, {96, 0}, {96, 2}, {160, 0}, {160, 1}, {224, 2}, {288, 1},
                      {288, 2}, {352, 0}, {352, 1}, {352, 2}}},
        // clang-format on
        {"4\n1\nG.WC\n", {{32, 0}, {96, 0}, {224, 0}}}, // one row: the bottom plate
        {"1\n3\nW\nG\n.\n", {{32, 2}}},
        {"0\n5\n", {}},
    };
    for (const auto& [text, points] : cases)
        EXPECT_EQ(mapFromText(text).jumpPoints(), points) << text;
    EXPECT_EQ(mapFromText("2\n1\n..\n", 63).jumpPoints(), (Points{{31, 0}, {94, 0}}));
}

TEST(MapFile, AFailedLoadChangesNothingAndANewMapReplacesAll)
{
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QLatin1String(name)));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    };
    PlatformMap map = mapFromText("");
    ASSERT_TRUE(map.loadFile(write("big.map", exampleMap)));
    const Points before = map.jumpPoints();
    // A map file may hold a mebibyte; one byte more is not read at all.
    const int limit = 1 << 20;
    const QByteArray padded = exampleMap + QByteArray(limit, ' ');
    for (const QString& bad : {dir.filePath(QStringLiteral("missing")), dir.path(), QString(),
                               write("huge.map", padded.left(limit + 1))})
        EXPECT_FALSE(map.loadFile(bad)) << bad.toStdString();
    EXPECT_EQ(rowsOf(map.plates()), "......|GGG..G|..W.CC|");
    EXPECT_EQ(map.jumpPoints(), before);

    ASSERT_TRUE(map.loadFile(write("full.map", padded.left(limit))));
    ASSERT_TRUE(map.loadFile(write("small.map", "2\n1\nW.\n")));
    EXPECT_EQ(rowsOf(map.plates()), "W.|");
    EXPECT_EQ(map.jumpPoints(), (Points{{96, 0}}));
}

// Pieces in drawing order as M(iddle), L(eft cap), R(ight cap), S(trip),
// T (stone) with their positions. Rows start at y = 40 + 60 r.
TEST(MapPieces, EveryCellKindDrawsItsPiecesInOrder)
{
    const std::string strips100 = "S0,110 S0,120 S0,130 S0,140 S0,150 S0,160 ";
    const std::pair<const char*, std::string> cases[] = {
        {"3\n1\n.G.\n", "L48,40 M64,40 R128,40 "}, // caps in the empty cells beside
        {"2\n1\nGG\n", "M0,40 M64,40 "},           // none at the map's ends
        {"3\n1\nG.G\n", "M0,40 R64,40 L112,40 M128,40 "},
        {"1\n3\n.\nC\nC\n", // only the top of a cave run is open; the last stone lies
                            // below the grid
         "M0,100 " + strips100 + "T0,160 S0,170 S0,180 S0,190 S0,200 S0,210 S0,220 T0,220 "},
        {"1\n2\nW\nC\n", "M0,40 T0,40 T0,100 " + strips100 + "T0,160 "},
        {"1\n1\nC\n", "S0,50 S0,60 S0,70 S0,80 S0,90 S0,100 T0,100 "},
        {"1\n2\nG\nW\n", "M0,40 M0,100 T0,160 "},
        {"1\n2\nW\nW\n", "M0,40 T0,40 T0,100 M0,100 T0,100 T0,160 "},
    };
    for (const auto& [text, pieces] : cases) {
        QString drawn;
        mapFromText(text).forEachPiece([&drawn](TilePiece piece, int x, int y) {
            drawn += QString::asprintf("%c%d,%d ", "MLRST"[static_cast<int>(piece)], x, y);
        });
        EXPECT_EQ(drawn.toStdString(), pieces) << text;
    }
}

// Moves from x1 to x2 on a plate, with the half width w2, walking or flying.
// The bottom plate of the example map has its own row 2, ". . W . C C".
TEST(Navigation, IsNeedStopTestsWindowEdgesFloorGapsWallsAndCaveBorders)
{
    const char* const ex = exampleMap;
    const std::tuple<const char*, double, double, int, double, bool, bool> cases[] = {
        // clang-format off
        // Window edges: standing on either stops; just inside does not.
        {"0\n0\n", 20, 20, 0, 20, false, true}, {"0\n0\n", 780, 780, 0, 20, false, true},
        {"0\n0\n", 21, 20.5, 0, 20, false, false},
        // The end of the floor: a move ending or starting on the border stops, to
        // either side and out of the last column; not at an inner border, nor
        // flying, nor on the bottom plate; cave floor is floor; standing still
        // counts as going left.
        {ex, 180, 192, 0, 5, false, true},  {ex, 192, 195, 0, 5, false, true},
        {ex, 330, 320, 0, 5, false, true},  {ex, 370, 390, 0, 5, false, true},
        {ex, 120, 130, 0, 5, false, false}, {ex, 180, 200, 0, 5, true, false},
        {ex, 180, 200, 2, 5, false, false}, {ex, 270, 300, 1, 5, false, false},
        {ex, 128, 128, 1, 5, false, true},  {ex, 200, 180, 1, 5, false, false},
        // Walls stop the leading side when it reaches them, flying too; walking
        // out of a wall, or already past its border, does not stop.
        {ex, 100, 108, 2, 20, false, true},  {ex, 100, 107.9, 2, 20, false, false},
        {ex, 220, 212, 2, 20, false, true},  {ex, 100, 110, 2, 20, true, true},
        {ex, 160, 180, 2, 20, false, false}, {ex, 160, 140, 2, 20, false, false},
        {ex, 140, 150, 2, 20, false, false}, {ex, 180, 170, 2, 20, false, false},
        {"4\n1\nW..W\n", 100, 84, 0, 20, false, true},
        {"4\n1\nW..W\n", 160, 172, 0, 20, false, true},
        // Between empty and cave cells, not between two caves or ground and cave.
        {ex, 230, 236, 2, 20, true, true},   {ex, 280, 276, 2, 20, false, true},
        {ex, 290, 310, 2, 20, false, false}, {"4\n1\nGC.C\n", 40, 50, 0, 20, false, false},
        // One column still ends its floor; below the map an empty row; plate -1
        // walks on row 0, all gaps.
        {"1\n2\nW\nG\n", 10, 70, 0, 5, false, true}, {ex, 100, 300, 3, 20, false, false},
        {ex, 100, 130, -1, 5, false, true},
        // clang-format on
    };
    for (const auto& [text, x1, x2, plate, w2, fly, stop] : cases)
        EXPECT_EQ(mapFromText(text).isNeedStop(x1, x2, plate, w2, fly), stop)
            << text << ": " << x1 << " -> " << x2 << " on plate " << plate;
}

TEST(Navigation, PlateYAndCanJumpTo)
{
    const PlatformMap map = mapFromText(exampleMap);
    // INT_MAX wraps like int32, without overflow.
    for (const auto& [plate, y] : {std::pair{0, 110}, {2, 230}, {-1, 50}, {INT_MAX, 50}})
        EXPECT_EQ(map.plateY(plate), y) << plate;

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

// Drawn as r * n / 2^32 among the n points not within two columns of the
// player on the player's plate.
TEST(Navigation, SpawnDrawsUniformlyAmongPointsAwayFromThePlayer)
{
    const PlatformMap map = mapFromText(exampleMap);
    const std::tuple<double, int, std::uint32_t, JumpPoint> cases[] = {
        // clang-format off
        {100, 7, 0, {32, 0}}, {100, 7, 0x15555555u, {32, 0}}, {100, 7, 0x15555556u, {32, 2}},
        {100, 7, 0x80000000u, {224, 2}}, {100, 7, 0xFFFFFFFFu, {352, 2}},
        {160, 0, 0, {32, 0}}, {160, 0, 0x40000000u, {96, 2}}, {160, 0, 0x4CCCCCCDu, {160, 1}},
        {160, 0, 0xFFFFFFFFu, {352, 2}},
        // clang-format on
    };
    for (const auto& [x, plate, r, point] : cases) {
        const JumpPoint* p = map.pickSpawnPoint(x, plate, r);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(*p, point) << x << " " << plate << " " << r;
    }
    for (const char* text : {"0\n0\n", "3\n2\nWWW\nWWW\n", "2\n1\nG\n"})
        EXPECT_EQ(mapFromText(text).pickSpawnPoint(64, 0, 0xFFFFFFFFu), nullptr) << text;
}
