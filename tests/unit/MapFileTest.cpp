#include "MapFile.h"
#include "MapTestMaps.h"
#include "PlatformMap.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string rowsOf(const PlateGrid& grid)
{
    static const char letters[] = ".GCW";
    std::string out;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c)
            out += letters[static_cast<int>(grid.kindAt(c, r))];
        out += '|';
    }
    return out;
}

class MapFileOnDisk : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

TEST(MapFile, ExampleMapGivesItsGridAndJumpPointsColumnByColumn)
{
    const PlatformMap map = mapFromText(exampleMapText());
    EXPECT_EQ(rowsOf(map.plates()), "......|GGG..G|..W.CC|");
    const std::vector<JumpPoint> expected = {{32, 0},  {32, 2},  {96, 0},  {96, 2},
                                             {160, 0}, {160, 1}, {224, 2}, {288, 1},
                                             {288, 2}, {352, 0}, {352, 1}, {352, 2}};
    EXPECT_EQ(map.jumpPoints(), expected);
}

TEST(MapFile, CountLinesTakeOnlyAWholeDecimalNumberWithSpaceAround)
{
    const struct {
        const char* line;
        int count;
    } cases[] = {
        {"12\r\n", 12},       {"  7 \t\n", 7}, {"3", 3},  {"+4\n", 4}, {"-2\n", -2}, {"0x10\n", 0},
        {"1 2\n", 0},         {"abc\n", 0},    {"\n", 0}, {"", 0},     {"5a\n", 0},  {"1.5\n", 0},
        {"99999999999\n", 0}, // past int range
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapFile::parseCount(QByteArray(c.line)), c.count) << c.line;
    EXPECT_EQ(MapFile::parseCount(QByteArray("1\0 9\n", 5)), 0) << "a NUL is not white space";
}

TEST(MapFile, RowLinesKeepOnlyUpperCaseTilesWithinTheDeclaredWidth)
{
    const struct {
        QByteArray text;
        const char* rows;
    } cases[] = {
        {"3\r\n2\r\nGCW\r\nW.G\r\n", "GCW|W.G|"},
        {"3\n1\ngcw\n", "...|"},
        {"4\n3\nG\n\nWWWWWWWW\n", "G...|....|WWWW|"},
        {"2\n3\nCC\n", "CC|..|..|"},                       // missing rows stay empty
        {"3\n1\n\xc3\xa9GW\n", ".GW|"},                    // one character, two bytes
        {"3\n1\n\xf0\x9f\x99\x82G\n", "..G|"},             // a surrogate pair takes two
        {QByteArray("3\n2\nG\0W\nCCC\n", 12), "G..|CCC|"}, // a NUL ends the row
        {"2\n2\n GG\nW\tW\n", ".G|W.|"},
        {"3\n1\nGGG\nthis line is never read\n", "GGG|"},
        {"x\n2\nGGG\nGGG\n", "||"}, // no columns, two empty rows
        {"2\nx\nGG\n", ""},         // no rows
    };
    for (const auto& c : cases)
        EXPECT_EQ(rowsOf(gridFromText(c.text)), c.rows) << c.text.toStdString();
    EXPECT_EQ(gridFromText("x\n2\nGGG\n").rowCount(), 2);
}

TEST(MapFile, CountsOutsideTheGridAreClippedAndNeverReachPastIt)
{
    QByteArray text = "25\n30\n";
    for (int r = 0; r < 30; ++r)
        text += QByteArray(25, r == 19 ? 'W' : 'G') + "\n";
    const PlateGrid big = gridFromText(text);
    EXPECT_EQ(big.columnCount(), 20);
    EXPECT_EQ(big.rowCount(), 20);
    EXPECT_EQ(big.kindAt(19, 19), TileKind::Wall);

    const PlateGrid negative = gridFromText("-3\n-1\nGGG\n");
    EXPECT_EQ(negative.columnCount(), 0);
    EXPECT_EQ(negative.rowCount(), 0);
}

TEST(MapFile, AVeryLongLineIsSkippedWithoutShiftingTheNextRows)
{
    QByteArray text = "3\n3\nGCW";
    text += QByteArray(1 << 20, 'x');
    text += "\nWWW\n.C.\n";
    EXPECT_EQ(rowsOf(gridFromText(text)), "GCW|WWW|.C.|");
}

TEST(MapFile, JumpPointsNeedFloorBelowAndNoWallInTheCell)
{
    const struct {
        const char* text;
        std::vector<JumpPoint> points;
    } cases[] = {
        // One row: the bottom plate stands everywhere except in walls.
        {"4\n1\nG.WC\n", {{32, 0}, {96, 0}, {224, 0}}},
        // Wall and cave floors carry a plate like ground does.
        {"3\n2\n...\nGWC\n", {{32, 0}, {32, 1}, {96, 0}, {160, 0}, {160, 1}}},
        // A wall in the bottom row: no point on the bottom plate there.
        {"2\n2\n..\n.W\n", {{32, 1}, {96, 0}}},
        // A wall cell above floor has no point either.
        {"1\n3\nW\nG\n.\n", {{32, 2}}},
        {"0\n5\n", {}},
        {"5\n0\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mapFromText(c.text).jumpPoints(), c.points) << c.text;

    TileMeasures odd = standardMeasures();
    odd.tileWidth = 63;
    EXPECT_EQ(mapFromText("2\n1\n..\n", odd).jumpPoints(),
              (std::vector<JumpPoint>{{31, 0}, {94, 0}}))
        << "the half column is truncated";
}

TEST_F(MapFileOnDisk, AFailedLoadKeepsThePreviousMapAndASmallerMapReplacesAll)
{
    PlatformMap map;
    map.setMeasures(standardMeasures());
    ASSERT_TRUE(map.loadFile(write("big.map", exampleMapText())));
    const std::vector<JumpPoint> before = map.jumpPoints();

    EXPECT_FALSE(map.loadFile(dir.filePath("missing.map")));
    EXPECT_FALSE(map.loadFile(dir.path())) << "a directory is not a map file";
    EXPECT_FALSE(map.loadFile(QString()));
    EXPECT_EQ(rowsOf(map.plates()), "......|GGG..G|..W.CC|");
    EXPECT_EQ(map.jumpPoints(), before);

    ASSERT_TRUE(map.loadFile(write("small.map", "2\n1\nW.\n")));
    EXPECT_EQ(rowsOf(map.plates()), "W.|");
    EXPECT_EQ(map.plateCount(), 1);
    EXPECT_EQ(map.jumpPoints(), (std::vector<JumpPoint>{{96, 0}}));

    // An empty file is a readable map of no cells.
    ASSERT_TRUE(map.loadFile(write("empty.map", "")));
    EXPECT_EQ(map.plateCount(), 0);
    EXPECT_TRUE(map.jumpPoints().empty());
}

TEST_F(MapFileOnDisk, ThePathIsUsedAsGivenWithoutFolderOrExtension)
{
    write("level", "1\n1\nG\n");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    PlatformMap map;
    EXPECT_TRUE(map.loadFile(QStringLiteral("level")));
    EXPECT_FALSE(map.loadFile(QStringLiteral("level.txt")));
    QDir::setCurrent(previous);
    EXPECT_EQ(map.plateCount(), 1);
}
