#include "core/PlatformMap.h"

#include <cmath>

PlatformMap::PlatformMap() : tileCodes(MapFile::standardTileCodes())
{
    points.reserve(maxJumpPoints);
}

bool PlatformMap::loadFile(const QString& path)
{
    PlateGrid loaded;
    if (!MapFile::read(path, tileCodes, loaded))
        return false;
    setGrid(loaded);
    return true;
}

void PlatformMap::setGrid(const PlateGrid& loaded)
{
    grid = loaded;
    rebuildJumpPoints();
}

void PlatformMap::rebuildJumpPoints()
{
    points.clear();
    const int rows = grid.rowCount();
    for (int c = 0; c < grid.columnCount(); ++c) {
        for (int p = 0; p < rows; ++p) {
            if (p < rows - 1 && grid.kindAt(c, p + 1) == TileKind::Empty)
                continue;
            if (grid.kindAt(c, p) == TileKind::Wall)
                continue;
            points.push_back(
                {originX + c * measures.tileWidth + measures.tileWidth / 2, std::int32_t(p)});
        }
    }
}

int PlatformMap::plateY(int plate) const
{
    // Any plate number is answered; 64-bit steps keep an absurd one from
    // overflowing, and the result wraps to 32 bits like int32 arithmetic.
    const std::int64_t y = std::int64_t(originY) + (std::int64_t(plate) + 1) * measures.rowPitch +
                           measures.caveStripHeight;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(y));
}

bool PlatformMap::isNeedStop(double x1, double x2, int platei, double w2, bool isfly) const
{
    if (x2 <= w2 && w2 <= x1)
        return true;
    const double rightEdge = windowWidth - w2;
    if (x1 <= rightEdge && rightEdge <= x2)
        return true;

    const bool right = x2 > x1;
    const int columns = grid.columnCount();

    if (!isfly && platei < grid.rowCount() - 1) {
        const int floor = platei + 1;
        for (int c = 0; c < columns; ++c) {
            if (right) {
                const double border = borderX(c + 1);
                if (!grid.hasRightNeighbour(c, floor) && x1 <= border && border <= x2)
                    return true;
            } else {
                const double border = borderX(c);
                if (!grid.hasLeftNeighbour(c, floor) && x2 <= border && border <= x1)
                    return true;
            }
        }
    }

    for (int b = 1; b < columns; ++b) {
        const double border = borderX(b);
        const bool crossed = right ? (x1 + w2 <= border && border <= x2 + w2)
                                   : (x2 - w2 <= border && border <= x1 - w2);
        if (!crossed)
            continue;
        const int entered = right ? b : b - 1;
        if (grid.kindAt(entered, platei) == TileKind::Wall)
            return true;
        const TileKind left = grid.kindAt(b - 1, platei);
        const TileKind next = grid.kindAt(b, platei);
        if ((left == TileKind::Empty && next == TileKind::Cave) ||
            (left == TileKind::Cave && next == TileKind::Empty))
            return true;
    }
    return false;
}

bool PlatformMap::canJumpTo(double x, int targetplatei) const
{
    if (targetplatei < 0 || targetplatei >= grid.rowCount())
        return false;
    const std::int32_t half = measures.tileWidth / 2;
    for (const JumpPoint& point : points)
        if (point.plate == targetplatei && std::abs(point.x - x) < half)
            return true;
    return false;
}

bool PlatformMap::isSpawnAcceptable(const JumpPoint& point, double playerx, int playerplatei) const
{
    const double tooNear = 2 * measures.tileWidth;
    return !(point.plate == playerplatei && std::abs(point.x - playerx) < tooNear);
}

const JumpPoint* PlatformMap::pickSpawnPoint(double playerx, int playerplatei,
                                             std::uint32_t r) const
{
    // Drawing among the acceptable points only, rather than redrawing after a
    // rejection, gives each of them the same chance and always ends.
    std::uint64_t acceptable = 0;
    for (const JumpPoint& point : points)
        if (isSpawnAcceptable(point, playerx, playerplatei))
            ++acceptable;
    if (acceptable == 0)
        return nullptr;
    std::uint64_t index = (std::uint64_t(r) * acceptable) >> 32;
    for (const JumpPoint& point : points) {
        if (!isSpawnAcceptable(point, playerx, playerplatei))
            continue;
        if (index == 0)
            return &point;
        --index;
    }
    return nullptr;
}
