#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Files that hold saved script values.

// No save file is written or read past this size.
constexpr qint64 kSaveFileLimit = qint64(256) << 20;

// Replaces the file at `path` as a whole: a crash, a full disk or a folder
// where no new file can be made leaves the previous content exactly as it
// was. False when nothing was written.
bool writeSaveFile(const QString& path, const QByteArray& bytes);

// The text of a saved file, decoded as UTF-8 and cut at the first zero byte;
// nothing when the file is missing, not a regular file, too large or unreadable.
std::optional<QString> readSaveFile(const QString& path);

// The file a save to `path` (relative to the current directory) replaces,
// with `..` and symbolic links resolved; empty when its folder does not
// exist or `path` names no file.
QString resolveSaveTarget(const QString& path);

// True when `file` lies inside one of the canonical `folders`.
bool isInsideFolders(const QString& file, const QStringList& folders);

// The user's data directory of this application (named after the executable).
QString appDataDirectory();
