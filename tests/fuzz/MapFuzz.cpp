#include "FuzzTargets.h"
#include "core/MapFile.h"
#include "core/PlatformMap.h"

#include <QBuffer>

int fuzz::mapReader(const std::uint8_t* data, std::size_t size)
{
    // Fixed-size argument block first, then the map file itself. A tile
    // measure is 0..16384, the largest texture the graphics drivers here give.
    const auto side = [&] { return std::int32_t(take<std::uint16_t>(data, size) % 16385u); };
    const TileMeasures measures{side(), side() - 5, side(), side()}; // read in this order
    const auto plate = take<std::int32_t>(data, size);
    const auto otherPlate = take<std::int32_t>(data, size);
    const auto x1 = take<double>(data, size);
    const auto x2 = take<double>(data, size);
    const auto w2 = take<double>(data, size);
    const bool fly = take<std::uint8_t>(data, size) & 1;
    const auto draw = take<std::uint32_t>(data, size);

    QByteArray file = bytes(data, size);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    PlateGrid grid;
    MapFile::parse(buffer, MapFile::standardTileCodes(), grid);
    PlatformMap map;
    map.setMeasures(measures);
    map.setGrid(grid);

    const int rows = map.plateCount();
    const int columns = map.plates().columnCount();
    check(rows >= 0 && rows <= PlateGrid::Capacity, "rows within capacity");
    check(columns >= 0 && columns <= PlateGrid::Capacity, "columns within capacity");
    for (const JumpPoint& p : map.jumpPoints())
        check(p.plate >= 0 && p.plate < rows, "jump points lie on plates of the map");

    for (const int p : {plate, otherPlate, 0, rows - 1, rows}) {
        map.plateY(p);
        map.isNeedStop(x1, x2, p, w2, fly);
        map.isNeedStop(x2, x1, p, w2, !fly);
        check(!map.canJumpTo(x1, p) || (p >= 0 && p < rows), "no jump to a plate outside the map");
        map.pickSpawnPoint(x2, p, draw);
    }

    int pieces = 0;
    map.forEachPiece([&pieces](TilePiece, std::int32_t, std::int32_t) { ++pieces; });
    check(pieces <= 8 * columns * rows, "at most eight pieces per cell");
    return 0;
}
