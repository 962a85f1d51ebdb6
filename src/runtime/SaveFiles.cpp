#include "runtime/SaveFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

bool writeSaveFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // A writable file in a read-only directory cannot be replaced by a rename;
    // writing it in place is still better than losing the save.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

std::optional<QString> readSaveFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return QString::fromUtf8(bytes);
}

QString loadProgram(const QString& savedText)
{
    return QStringLiteral("var v = ") + savedText + QStringLiteral("; v ;");
}

QString appDataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation);
}
