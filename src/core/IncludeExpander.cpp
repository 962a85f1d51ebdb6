#include "core/IncludeExpander.h"

#include <QFile>
#include <QRegExp>
#include <QStringList>

QString scriptTextFromBytes(const QByteArray& bytes)
{
    const int nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
}

QString expandIncludes(const QString& text, const FileReader& read)
{
    // Greedy on purpose: the capture runs to the last '>' of the line.
    QRegExp pattern(QStringLiteral("\\$include<(.*)>"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (pattern.indexIn(line) < 0)
            continue;
        const std::optional<QByteArray> bytes =
            read(QStringLiteral("scripts/") + pattern.cap(1));
        if (bytes)
            line = scriptTextFromBytes(*bytes);
    }
    return lines.join(QLatin1Char('\n'));
}

std::optional<QByteArray> readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}
