#include "core/MapFile.h"

#include "core/RegularFile.h"
#include "core/TextBytes.h"

#include <QBuffer>

namespace {

// Longer lines are consumed but only this much is kept: a map row uses at
// most 20 characters, and a count line this long is not a count.
constexpr int MaxKeptLineBytes = 4096;

// One line, its line feed included; empty at the end of the input.
QByteArray readLine(QIODevice& in)
{
    QByteArray line;
    char ch;
    while (in.getChar(&ch)) {
        if (line.size() < MaxKeptLineBytes)
            line.append(ch);
        if (ch == '\n')
            break;
    }
    return line;
}

} // namespace

MapFile::TileCodes MapFile::standardTileCodes()
{
    TileCodes codes;
    codes.insert(QLatin1Char('G'), static_cast<std::int32_t>(TileKind::Ground));
    codes.insert(QLatin1Char('C'), static_cast<std::int32_t>(TileKind::Cave));
    codes.insert(QLatin1Char('W'), static_cast<std::int32_t>(TileKind::Wall));
    return codes;
}

int MapFile::parseCount(const QByteArray& line)
{
    const QByteArray text = line.trimmed();
    // toInt stops at a NUL byte, which would let "1\0junk" pass as 1.
    if (text.isEmpty() || text.contains('\0'))
        return 0;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

bool MapFile::read(const QString& path, const TileCodes& codes, PlateGrid& grid)
{
    std::optional<QByteArray> bytes = readRegularFile(path, fileLimits::mapBytes);
    if (!bytes)
        return false;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    parse(buffer, codes, grid);
    return true;
}

void MapFile::parse(QIODevice& in, const TileCodes& codes, PlateGrid& grid)
{
    const int columns = parseCount(readLine(in));
    const int rows = parseCount(readLine(in));
    grid.reset(columns, rows);
    for (int r = 0; r < grid.rowCount(); ++r) {
        const QString text = textUpToNul(readLine(in));
        const int used = qMin(text.size(), grid.columnCount());
        for (int i = 0; i < used; ++i) {
            const auto code = codes.constFind(text.at(i));
            if (code == codes.constEnd())
                continue;
            const std::int32_t kind = code.value();
            if (kind >= static_cast<std::int32_t>(TileKind::Empty) &&
                kind <= static_cast<std::int32_t>(TileKind::Wall))
                grid.setKind(i, r, static_cast<TileKind>(kind));
        }
    }
}
