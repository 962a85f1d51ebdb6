#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class QFile;

// Files a game reads may be hostile: a FIFO blocks until someone writes to
// it, a device never ends, a huge file exhausts memory. So every reader
// takes only regular files, each up to a size of its kind.
namespace fileLimits {
// A script together with everything it includes, and its number of includes.
constexpr qint64 scriptBytes = 16 * 1024 * 1024;
constexpr int includes = 1000;
constexpr qint64 mapBytes = 1024 * 1024;
// Images, sounds and fonts.
constexpr qint64 assetBytes = 256 * 1024 * 1024;
} // namespace fileLimits

// The whole file; nullopt when it is missing or unreadable, is not a regular
// file (a directory, FIFO or device) or holds more than maxBytes.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes);
// The same file opened for reading a little at a time; null where
// readRegularFile gives nullopt. `size` gets its size at opening.
std::unique_ptr<QFile> openRegularFile(const QString& path, qint64 maxBytes,
                                       qint64* size = nullptr);

// For loaders that open the file themselves and report a missing one on
// their own: false when what is there must not be read (no regular file,
// or one of more than maxBytes).
bool loaderMayOpen(const QString& path, qint64 maxBytes);
