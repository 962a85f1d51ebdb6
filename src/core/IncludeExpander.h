#pragma once

#include "core/RegularFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

// Reads a whole file relative to the data directory; nullopt when it does
// not exist, cannot be opened or holds more than maxBytes. Injected so
// expansion is testable without files.
using FileReader = std::function<std::optional<QByteArray>(const QString& path, qint64 maxBytes)>;

// A line of the expanded text as it stands in its own file.
struct SourceLine {
    QString file;
    int line = 0;
};

// A script with its includes put in, and where each of its lines came from.
struct ExpandedScript {
    QString text;
    // Entry i is line i + 1 of text.
    QVector<SourceLine> origins;
    // The script and every file that was included, each once.
    QStringList files;

    // Line 0 or lines past the end keep the script's own name and number.
    SourceLine locate(int expandedLine) const;
};

// Replaces every line holding $include<name> with the text of scripts/name.
// Included text is not searched again. The included files together may
// hold at most budget bytes, and only so many lines are expanded; an
// include past either stays unchanged, like one of a missing file.
ExpandedScript expandScript(const QString& path, const QString& text, const FileReader& read,
                            qint64 budget = fileLimits::scriptBytes);
QString expandIncludes(const QString& text, const FileReader& read,
                       qint64 budget = fileLimits::scriptBytes);
