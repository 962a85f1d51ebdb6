#include "core/PlateGrid.h"

#include <algorithm>

void PlateGrid::reset(int columnCount, int rowCount)
{
    columns = std::clamp(columnCount, 0, Capacity);
    rows = std::clamp(rowCount, 0, Capacity);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            cells[c][r] = static_cast<std::int32_t>(TileKind::Empty);
}

void PlateGrid::setKind(int c, int r, TileKind kind)
{
    if (contains(c, r))
        cells[c][r] = static_cast<std::int32_t>(kind);
}
