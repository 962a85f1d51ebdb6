#include "core/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system's file calls end a name at a NUL, which would open another file.
bool usableName(const QString& path)
{
    return !path.isEmpty() && !path.contains(QChar(0));
}

} // namespace

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes)
{
    if (!usableName(path))
        return std::nullopt;
    // Opened without blocking and checked on the open file itself: a FIFO
    // put in the file's place after a check must not hang the reader.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    QFile file;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    // Whatever the file grows to meanwhile is not read.
    return file.read(status.st_size);
}

bool loaderMayOpen(const QString& path, qint64 maxBytes)
{
    const QFileInfo info(path);
    return usableName(path) && (!info.exists() || (info.isFile() && info.size() <= maxBytes));
}
