#pragma once

#include "core/RegularFile.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Reads a whole file relative to the data directory; nullopt when it does
// not exist, cannot be opened or holds more than maxBytes. Injected so
// expansion is testable without files.
using FileReader = std::function<std::optional<QByteArray>(const QString& path, qint64 maxBytes)>;

// Replaces every line holding $include<name> with the text of scripts/name.
// Included text is not searched again. The included files together may
// hold at most budget bytes, and only so many lines are expanded; an
// include past either stays unchanged, like one of a missing file.
QString expandIncludes(const QString& text, const FileReader& read,
                       qint64 budget = fileLimits::scriptBytes);
