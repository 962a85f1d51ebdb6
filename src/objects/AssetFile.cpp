#include "AssetFile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace asset {

FileBytes readFile(const QString& path, qint64 maxBytes)
{
    FileBytes result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.status = Status::Missing;
        return result;
    }
    // Opening a pipe would wait for a writer for ever; a directory has no bytes.
    if (!info.isFile()) {
        result.status = Status::NotAFile;
        return result;
    }
    if (info.size() > maxBytes) {
        result.status = Status::TooLarge;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = Status::Unreadable;
        return result;
    }
    // One byte more than announced tells a file that grew since.
    result.bytes = file.read(info.size() + 1);
    if (result.bytes.size() > maxBytes) {
        result.bytes.clear();
        result.status = Status::TooLarge;
        return result;
    }
    result.status = Status::Ok;
    return result;
}

namespace {

QString describe(Status status, qint64 maxBytes)
{
    switch (status) {
    case Status::Ok:
        break;
    case Status::Missing:
        return QStringLiteral("файл не найден");
    case Status::NotAFile:
        return QStringLiteral("это не обычный файл");
    case Status::TooLarge:
        return QStringLiteral("файл больше %1 МиБ").arg(maxBytes >> 20);
    case Status::Unreadable:
        return QStringLiteral("файл не читается");
    }
    return QString();
}

} // namespace

void reportFailure(const QString& path, const QString& reason)
{
    qDebug() << QStringLiteral("не удалось загрузить %1: %2").arg(path, reason);
}

bool readOrReport(const QString& path, qint64 maxBytes, QByteArray& bytes, bool reportMissing)
{
    FileBytes file = readFile(path, maxBytes);
    if (file.status != Status::Ok && (reportMissing || file.status != Status::Missing))
        reportFailure(path, describe(file.status, maxBytes));
    bytes = std::move(file.bytes);
    return file.status == Status::Ok;
}

QString damaged()
{
    return QStringLiteral("файл повреждён");
}

} // namespace asset
