#pragma once

#include "core/MapFile.h"
#include "core/PlateGrid.h"

#include <QString>
#include <cstdint>
#include <vector>

struct JumpPoint {
    std::int32_t x;     // window x of a column middle
    std::int32_t plate; // plate (row) index
};

inline bool operator==(const JumpPoint& a, const JumpPoint& b)
{
    return a.x == b.x && a.plate == b.plate;
}

// The four sizes the tile images give the map; they fix its whole geometry.
struct TileMeasures {
    std::int32_t tileWidth = 0;
    std::int32_t rowPitch = 0;
    std::int32_t capWidth = 0;
    std::int32_t caveStripHeight = 0;
};

enum class TilePiece { Middle, LeftCap, RightCap, CaveStrip, Stone };

// The loaded platform map and the questions movement logic asks of it. Plate
// p walks on row p + 1; the bottom plate has floor everywhere. Knows nothing
// of windows or scripts, so every rule can be checked without either.
class PlatformMap {
public:
    static constexpr std::int32_t originX = 0;
    static constexpr std::int32_t originY = 40;
    static constexpr std::int32_t windowWidth = 800;
    static constexpr int maxJumpPoints = PlateGrid::Capacity * PlateGrid::Capacity;

    PlatformMap();

    // Taken once from the tile images, before any map is loaded.
    void setMeasures(const TileMeasures& taken) { measures = taken; }

    // False, with nothing changed, when the file can't be opened.
    bool loadFile(const QString& path);
    // Takes the grid as the map and derives its jump points.
    void setGrid(const PlateGrid& loaded);

    const PlateGrid& plates() const { return grid; }
    const std::vector<JumpPoint>& jumpPoints() const { return points; }

    int plateCount() const { return grid.rowCount(); }
    int plateY(int plate) const;
    bool isNeedStop(double x1, double x2, int platei, double w2, bool isfly) const;
    bool canJumpTo(double x, int targetplatei) const;
    // The jump point that a uniform 32-bit draw r picks among those not on
    // the player's plate within two columns of the player; null when none is.
    const JumpPoint* pickSpawnPoint(double playerx, int playerplatei, std::uint32_t r) const;

    // Calls draw(piece, x, y) for every piece of the map, in drawing order.
    template <typename Draw> void forEachPiece(Draw&& draw) const;

private:
    double borderX(int b) const { return originX + b * measures.tileWidth; }
    bool isSpawnAcceptable(const JumpPoint& point, double playerx, int playerplatei) const;
    void rebuildJumpPoints();

    PlateGrid grid;
    TileMeasures measures;
    MapFile::TileCodes tileCodes;
    std::vector<JumpPoint> points;
};

template <typename Draw> void PlatformMap::forEachPiece(Draw&& draw) const
{
    const std::int32_t tileWidth = measures.tileWidth;
    const std::int32_t rowPitch = measures.rowPitch;
    for (int r = 0; r < grid.rowCount(); ++r) {
        const std::int32_t ry = originY + r * rowPitch;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const std::int32_t cx = originX + c * tileWidth;
            switch (grid.kindAt(c, r)) {
            case TileKind::Empty:
                if (grid.hasLeftNeighbour(c, r))
                    draw(TilePiece::RightCap, cx, ry);
                if (grid.hasRightNeighbour(c, r))
                    draw(TilePiece::LeftCap, cx + tileWidth - measures.capWidth, ry);
                break;
            case TileKind::Ground:
                draw(TilePiece::Middle, cx, ry);
                break;
            case TileKind::Cave:
                if (grid.isOpenAbove(c, r))
                    draw(TilePiece::Middle, cx, ry);
                for (int k = 1; k <= 6; ++k)
                    draw(TilePiece::CaveStrip, cx, ry + k * measures.caveStripHeight);
                draw(TilePiece::Stone, cx, ry + rowPitch);
                break;
            case TileKind::Wall:
                draw(TilePiece::Middle, cx, ry);
                if (!grid.isOpenAbove(c, r))
                    draw(TilePiece::Stone, cx, ry);
                draw(TilePiece::Stone, cx, ry + rowPitch);
                break;
            }
        }
    }
}
