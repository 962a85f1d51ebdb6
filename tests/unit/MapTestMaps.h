#pragma once

#include "MapFile.h"
#include "PlatformMap.h"

#include <QBuffer>
#include <QByteArray>

// Sizes of the usual tile set: 64 x 65 middle tile, 16-pixel caps, 10-pixel strip.
inline TileMeasures standardMeasures()
{
    TileMeasures m;
    m.tileWidth = 64;
    m.rowPitch = 60;
    m.capWidth = 16;
    m.caveStripHeight = 10;
    return m;
}

inline PlateGrid gridFromText(const QByteArray& text)
{
    QByteArray bytes = text;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    PlateGrid grid;
    MapFile::parse(buffer, MapFile::standardTileCodes(), grid);
    return grid;
}

inline PlatformMap mapFromText(const QByteArray& text,
                               const TileMeasures& measures = standardMeasures())
{
    PlatformMap map;
    map.setMeasures(measures);
    map.setGrid(gridFromText(text));
    return map;
}

// The six-by-three example map: ground on row 1, a wall and two caves on row 2.
inline const char* exampleMapText()
{
    return "6\n3\n......\nGGG..G\n..W.CC\n";
}
