#include "ByteReader.h"
#include "FuzzTargets.h"
#include "core/MapFile.h"
#include "core/PlatformMap.h"

#include <QBuffer>
#include <QByteArray>
#include <cmath>
#include <cstdint>

namespace {

// A tile measure as the map takes it from an image side: 0..16384, the
// largest texture the graphics drivers here give.
std::int32_t side(fuzz::ByteReader& in)
{
    return std::int32_t(in.take<std::uint16_t>() % 16385u);
}

} // namespace

int fuzz::mapReader(const std::uint8_t* data, std::size_t size)
{
    // Fixed-size argument block first, then the map file itself.
    ByteReader in(data, size);
    TileMeasures measures;
    measures.tileWidth = side(in);
    measures.rowPitch = side(in) - 5;
    measures.capWidth = side(in);
    measures.caveStripHeight = side(in);
    const auto plate = in.take<std::int32_t>();
    const auto otherPlate = in.take<std::int32_t>();
    const auto x1 = in.take<double>();
    const auto x2 = in.take<double>();
    const auto w2 = in.take<double>();
    const auto flags = in.take<std::uint8_t>();
    const auto draw = in.take<std::uint32_t>();

    QByteArray file(reinterpret_cast<const char*>(in.rest()), int(in.restSize()));
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
    check(map.jumpPoints().size() <= std::size_t(columns) * std::size_t(rows),
          "at most one jump point per cell");
    for (const JumpPoint& p : map.jumpPoints())
        check(p.plate >= 0 && p.plate < rows, "jump points lie on plates of the map");

    for (const int p : {plate, otherPlate, 0, rows - 1, rows}) {
        map.plateY(p);
        const bool fly = flags & 1;
        map.isNeedStop(x1, x2, p, w2, fly);
        map.isNeedStop(x2, x1, p, w2, !fly);
        const bool jump = map.canJumpTo(x1, p);
        check(!jump || (p >= 0 && p < rows), "no jump to a plate outside the map");
        if (const JumpPoint* spawn = map.pickSpawnPoint(x2, p, draw)) {
            const bool near =
                spawn->plate == p && std::abs(spawn->x - x2) < 2.0 * measures.tileWidth;
            check(!near, "a spawn point is never next to the player");
        }
    }

    int pieces = 0;
    map.forEachPiece([&pieces](TilePiece, std::int32_t, std::int32_t) { ++pieces; });
    check(pieces <= 8 * columns * rows, "at most eight pieces per cell");
    return 0;
}
