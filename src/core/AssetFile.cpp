#include "core/AssetFile.h"

#include "core/RegularFile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace asset {

void reportFailure(const QString& path, const QString& reason)
{
    qDebug() << QStringLiteral("Not loaded, %1: %2").arg(reason, path);
}

namespace {

void reportRefused(const QString& path, bool reportMissing)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        if (reportMissing)
            reportFailure(path, QStringLiteral("no such file"));
    } else if (!info.isFile()) {
        reportFailure(path, QStringLiteral("not a regular file"));
    } else if (info.size() > fileLimits::assetBytes) {
        reportFailure(path, QStringLiteral("larger than %1 MiB").arg(fileLimits::assetBytes >> 20));
    } else {
        reportFailure(path, QStringLiteral("unreadable"));
    }
}

} // namespace

bool readOrReport(const QString& path, QByteArray& bytes, bool reportMissing)
{
    std::optional<QByteArray> file = readRegularFile(path, fileLimits::assetBytes);
    if (file) {
        bytes = std::move(*file);
        return true;
    }
    reportRefused(path, reportMissing);
    return false;
}

std::unique_ptr<QFile> openOrReport(const QString& path)
{
    std::unique_ptr<QFile> file = openRegularFile(path, fileLimits::assetBytes);
    if (!file)
        reportRefused(path, true);
    return file;
}

QString damaged()
{
    return QStringLiteral("damaged file");
}

QString unknownFormat()
{
    return QStringLiteral("unknown format");
}

QString tooLarge(quint64 width, quint64 height)
{
    return QStringLiteral("%1 × %2 pixels is past the limit").arg(width).arg(height);
}

} // namespace asset
