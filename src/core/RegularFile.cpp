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

std::unique_ptr<QFile> openRegularFile(const QString& path, qint64 maxBytes, qint64* size)
{
    if (!usableName(path))
        return nullptr;
    // Opened without blocking and checked on the open file itself: a FIFO
    // put in the file's place after a check must not hang the reader.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat status {};
    auto file = std::make_unique<QFile>();
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes ||
        !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    if (size)
        *size = status.st_size;
    return file;
}

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes)
{
    qint64 size = 0;
    const std::unique_ptr<QFile> file = openRegularFile(path, maxBytes, &size);
    if (!file)
        return std::nullopt;
    // Whatever the file grows to meanwhile is not read.
    return file->read(size);
}

bool loaderMayOpen(const QString& path, qint64 maxBytes)
{
    const QFileInfo info(path);
    return usableName(path) && (!info.exists() || (info.isFile() && info.size() <= maxBytes));
}
