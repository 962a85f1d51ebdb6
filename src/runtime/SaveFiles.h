#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Files that hold saved script values.

// Replaces the file at `path` as a whole: a crash or a full disk while
// writing leaves the previous content in place. False when nothing was written.
bool writeSaveFile(const QString& path, const QByteArray& bytes);

// The text of a saved file, decoded as UTF-8 and cut at the first zero byte;
// nothing when the file is missing or cannot be read.
std::optional<QString> readSaveFile(const QString& path);

// The program whose value is the value a saved text holds.
QString loadProgram(const QString& savedText);

// The user's data directory of this application (named after the executable).
QString appDataDirectory();
