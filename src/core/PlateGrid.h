#pragma once

#include <cstdint>

enum class TileKind : std::int32_t { Empty = 0, Ground = 1, Cave = 2, Wall = 3 };

// The cells of a platform map, at most 20 x 20, stored inline. Reads outside
// the map's area answer Empty and writes there are dropped, so no caller can
// reach past the array whatever indices a script or a file supplies.
class PlateGrid {
public:
    static constexpr int Capacity = 20;

    // Counts are clipped to 0..Capacity.
    void reset(int columns, int rows);

    int columnCount() const { return columns; }
    int rowCount() const { return rows; }
    bool contains(int c, int r) const { return c >= 0 && c < columns && r >= 0 && r < rows; }

    TileKind kindAt(int c, int r) const
    {
        return contains(c, r) ? static_cast<TileKind>(cells[c][r]) : TileKind::Empty;
    }
    void setKind(int c, int r, TileKind kind);

    bool hasLeftNeighbour(int c, int r) const
    {
        return c > 0 && kindAt(c - 1, r) != TileKind::Empty;
    }
    bool hasRightNeighbour(int c, int r) const
    {
        return c < columns - 1 && kindAt(c + 1, r) != TileKind::Empty;
    }
    bool isOpenAbove(int c, int r) const
    {
        if (r <= 0)
            return false;
        const TileKind above = kindAt(c, r - 1);
        return above == TileKind::Empty || above == TileKind::Ground;
    }

private:
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t cells[Capacity][Capacity] = {};
};
