#include "PlateGrid.h"
#include "MapTestMaps.h"

#include <climits>
#include <gtest/gtest.h>

TEST(PlateGrid, ResetClipsCountsToTheCapacityAndClearsOnlyTheNewArea)
{
    PlateGrid grid;
    grid.reset(20, 20);
    grid.setKind(19, 19, TileKind::Wall);
    grid.setKind(0, 0, TileKind::Ground);
    grid.reset(2, 2);
    EXPECT_EQ(grid.kindAt(0, 0), TileKind::Empty);
    EXPECT_EQ(grid.kindAt(19, 19), TileKind::Empty) << "cells outside the map must read Empty";

    const struct {
        int columns, rows, wantColumns, wantRows;
    } cases[] = {{25, 3, 20, 3}, {3, 1000, 3, 20}, {-1, 4, 0, 4}, {INT_MIN, INT_MAX, 0, 20}};
    for (const auto& c : cases) {
        grid.reset(c.columns, c.rows);
        EXPECT_EQ(grid.columnCount(), c.wantColumns) << c.columns;
        EXPECT_EQ(grid.rowCount(), c.wantRows) << c.rows;
    }
}

TEST(PlateGrid, IndicesOutsideTheMapReadEmptyAndWriteNothing)
{
    PlateGrid grid = gridFromText("2\n2\nGG\nWW\n");
    for (int c : {-1, 2, 20, INT_MIN, INT_MAX})
        for (int r : {-1, 0, 2, 20, INT_MAX}) {
            grid.setKind(c, r, TileKind::Wall);
            EXPECT_EQ(grid.kindAt(c, r), TileKind::Empty) << c << "," << r;
        }
    // Row 20 of a column, or row -20 of the next, would alias another cell.
    grid.setKind(0, 20, TileKind::Cave);
    grid.setKind(2, -20, TileKind::Cave);
    EXPECT_EQ(grid.kindAt(1, 0), TileKind::Ground);
    EXPECT_EQ(grid.kindAt(1, 1), TileKind::Wall);
}

TEST(PlateGrid, NeighboursAndOpenAboveFollowTheCellKinds)
{
    // Row 0: G . C W ; row 1: C C C C
    const PlateGrid grid = gridFromText("4\n2\nG.CW\nCCCC\n");
    EXPECT_FALSE(grid.hasLeftNeighbour(0, 0)) << "column 0 has no left neighbour";
    EXPECT_TRUE(grid.hasLeftNeighbour(1, 0));
    EXPECT_FALSE(grid.hasLeftNeighbour(2, 0));
    EXPECT_TRUE(grid.hasLeftNeighbour(3, 0)) << "a Cave counts as a tile";
    EXPECT_TRUE(grid.hasRightNeighbour(1, 0));
    EXPECT_TRUE(grid.hasRightNeighbour(2, 0)) << "a Wall counts as a tile";
    EXPECT_FALSE(grid.hasRightNeighbour(3, 0)) << "the last column has no right neighbour";
    EXPECT_FALSE(grid.hasRightNeighbour(0, 0));

    EXPECT_FALSE(grid.isOpenAbove(1, 0)) << "row 0 is never open above";
    const bool openBelow[] = {true, true, false, false}; // under G, ., C, W
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid.isOpenAbove(c, 1), openBelow[c]) << c;
}
