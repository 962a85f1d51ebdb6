#pragma once

#include <QByteArray>
#include <QString>

// Reading a game's asset files, which may be hostile: only regular files up
// to a size are read, so a directory, a pipe or a device named like an image
// cannot hang the program, and a huge file cannot exhaust memory.
namespace asset {

// The largest files read; larger ones are refused unread.
constexpr qint64 maxImageFileBytes = qint64(64) << 20;
constexpr qint64 maxSoundFileBytes = qint64(256) << 20;
constexpr qint64 maxFontFileBytes = qint64(64) << 20;
// The most pixels an image may declare: 64 megapixels, 256 MiB of RGBA.
constexpr quint64 maxImagePixels = quint64(1) << 26;

enum class Status { Ok, Missing, NotAFile, TooLarge, Unreadable };

struct FileBytes {
    Status status = Status::Missing;
    QByteArray bytes;
};

FileBytes readFile(const QString& path, qint64 maxBytes);

// The one debug line of a failed load: the file and the reason.
void reportFailure(const QString& path, const QString& reason);

// readFile, reporting a failure (a missing file only when asked to).
bool readOrReport(const QString& path, qint64 maxBytes, QByteArray& bytes,
                  bool reportMissing = true);

// The reason given for a file its decoder stopped at.
QString damaged();

} // namespace asset
