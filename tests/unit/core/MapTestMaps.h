#pragma once

#include "core/MapFile.h"
#include "core/PlatformMap.h"

#include <QBuffer>

// Tile set of 64-wide columns, rows 60 apart, 16-wide caps, 10-high strips.
inline PlatformMap mapFromText(QByteArray text, int tileWidth = 64)
{
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    PlateGrid grid;
    MapFile::parse(buffer, MapFile::standardTileCodes(), grid);
    PlatformMap map;
    map.setMeasures({tileWidth, 60, 16, 10});
    map.setGrid(grid);
    return map;
}

// Six by three: ground on row 1, a wall and two caves on row 2.
constexpr const char* exampleMap = "6\n3\n......\nGGG..G\n..W.CC\n";
