#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Reads a whole file relative to the data directory; nullopt when it does
// not exist or cannot be opened. Injected so expansion is testable without files.
using FileReader = std::function<std::optional<QByteArray>(const QString& path)>;

// Text of a script file: the bytes up to the first NUL, decoded as UTF-8.
QString scriptTextFromBytes(const QByteArray& bytes);

// Replaces every line holding $include<name> with the text of scripts/name.
// Included text is not searched again.
QString expandIncludes(const QString& text, const FileReader& read);

// The reader used by the running program: QFile, read-only, no text mode.
std::optional<QByteArray> readWholeFile(const QString& path);
