#include "MapTestMaps.h"

#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

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
    const std::pair<QByteArray, int> counts[] = {
        {"12\r\n", 12}, {"  7 \t\n", 7}, {"3", 3}, {"+4\n", 4}, {"-2\n", -2}};
    for (const auto& [line, count] : counts)
        EXPECT_EQ(MapFile::parseCount(line), count) << line.toStdString();
    for (const QByteArray& line : {QByteArray("0x10\n"), QByteArray("1 2\n"), QByteArray("abc\n"),
                                   QByteArray("\n"), QByteArray("5a\n"), QByteArray("1.5\n"),
                                   QByteArray("99999999999\n"), QByteArray("1\0 9\n", 5)})
        EXPECT_EQ(MapFile::parseCount(line), 0) << line.toStdString();
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
        {"-3\n-1\nGGG\n", ""},
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
        {exampleMap,
         {{32, 0},
          {32, 2},
          {96, 0},
          {96, 2},
          {160, 0},
          {160, 1},
          {224, 2},
          {288, 1},
          {288, 2},
          {352, 0},
          {352, 1},
          {352, 2}}},
        {"4\n1\nG.WC\n", {{32, 0}, {96, 0}, {224, 0}}}, // one row: the bottom plate
        {"3\n2\n...\nGWC\n", {{32, 0}, {32, 1}, {96, 0}, {160, 0}, {160, 1}}},
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
