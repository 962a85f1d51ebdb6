#pragma once

#include "core/PlateGrid.h"

#include <QByteArray>
#include <QChar>
#include <QMap>
#include <QString>
#include <cstdint>

class QIODevice;

// Reader of map files: a column count line, a row count line, then one line
// per row whose characters name the tiles of its cells.
class MapFile {
public:
    using TileCodes = QMap<QChar, std::int32_t>;

    // "G", "C" and "W"; every other character is an empty cell.
    static TileCodes standardTileCodes();

    // False, with the grid untouched, when the file can't be opened or is
    // refused (not a regular file, or larger than a map can sensibly be).
    static bool read(const QString& path, const TileCodes& codes, PlateGrid& grid);
    static void parse(QIODevice& in, const TileCodes& codes, PlateGrid& grid);

    // A decimal integer with white space around it; anything else is 0.
    static int parseCount(const QByteArray& line);
};
