#include "runtime/SaveFiles.h"

#include "core/RegularFile.h"
#include "core/TextBytes.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

bool writeSaveFile(const QString& path, const QByteArray& bytes)
{
    if (bytes.size() > kSaveFileLimit)
        return false;
    // No direct-write fallback: where no new file can be made next to the
    // old one, the old one stays rather than being cut off in place.
    QSaveFile file(path);
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
    const std::optional<QByteArray> bytes = readRegularFile(path, kSaveFileLimit);
    if (!bytes)
        return std::nullopt;
    return textUpToNul(*bytes);
}

QString resolveSaveTarget(const QString& path)
{
    // The write replaces the file a chain of links ends at, as QSaveFile does.
    QFileInfo info(path);
    for (int hops = 0; info.isSymLink(); ++hops) {
        if (hops == 40)
            return QString();
        info = QFileInfo(info.symLinkTarget());
    }
    const QString name = info.fileName();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty() || name.isEmpty() || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return QString();
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool isInsideFolders(const QString& file, const QStringList& folders)
{
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString prefix =
            folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        if (file.startsWith(prefix))
            return true;
    }
    return false;
}

QString appDataDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation);
}
