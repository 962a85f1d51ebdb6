#include "core/IncludeExpander.h"

#include "core/TextBytes.h"

#include <QRegExp>
#include <QStringList>

QString expandIncludes(const QString& text, const FileReader& read, qint64 budget)
{
    // Greedy on purpose: the capture runs to the last '>' of the line.
    QRegExp pattern(QStringLiteral("\\$include<(.*)>"));
    QStringList lines = text.split(QLatin1Char('\n'));
    int left = fileLimits::includes;
    for (QString& line : lines) {
        if (left == 0)
            break;
        if (pattern.indexIn(line) < 0)
            continue;
        --left;
        const std::optional<QByteArray> bytes =
            read(QStringLiteral("scripts/") + pattern.cap(1), budget);
        if (!bytes)
            continue;
        budget -= bytes->size();
        line = textUpToNul(*bytes);
    }
    return lines.join(QLatin1Char('\n'));
}
