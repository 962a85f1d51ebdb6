#pragma once

#include <QString>

// Where a script's image file names point, relative to the data directory.
inline QString spritePath(const QString& filename)
{
    return QStringLiteral("sprites/") + filename;
}
