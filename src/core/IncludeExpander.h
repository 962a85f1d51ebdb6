#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

// Reads a whole file relative to the data directory; nullopt when it does
// not exist or cannot be opened. Injected so expansion is testable without files.
using FileReader = std::function<std::optional<QByteArray>(const QString& path)>;

// Text of a script file: the bytes up to the first NUL, decoded as UTF-8.
QString scriptTextFromBytes(const QByteArray& bytes);

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
// Included text is not searched again.
ExpandedScript expandScript(const QString& path, const QString& text, const FileReader& read);
QString expandIncludes(const QString& text, const FileReader& read);

// The reader used by the running program: QFile, read-only, no text mode.
std::optional<QByteArray> readWholeFile(const QString& path);
