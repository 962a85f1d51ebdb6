#include "core/IncludeExpander.h"

#include "core/TextBytes.h"

#include <QRegExp>

SourceLine ExpandedScript::locate(int expandedLine) const
{
    if (expandedLine >= 1 && expandedLine <= origins.size())
        return origins.at(expandedLine - 1);
    return {files.value(0), expandedLine};
}

ExpandedScript expandScript(const QString& path, const QString& text, const FileReader& read,
                            qint64 budget)
{
    // Greedy on purpose: the capture runs to the last '>' of the line.
    QRegExp pattern(QStringLiteral("\\$include<(.*)>"));
    QStringList lines = text.split(QLatin1Char('\n'));
    ExpandedScript result;
    result.files << path;
    int left = fileLimits::includes;
    for (int i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        if (left > 0 && pattern.indexIn(line) >= 0) {
            --left;
            const QString included = QStringLiteral("scripts/") + pattern.cap(1);
            if (const std::optional<QByteArray> bytes = read(included, budget)) {
                budget -= bytes->size();
                line = textUpToNul(*bytes);
                const int count = line.count(QLatin1Char('\n')) + 1;
                for (int own = 1; own <= count; ++own)
                    result.origins.append({included, own});
                if (!result.files.contains(included))
                    result.files << included;
                continue;
            }
        }
        result.origins.append({path, i + 1});
    }
    result.text = lines.join(QLatin1Char('\n'));
    return result;
}

QString expandIncludes(const QString& text, const FileReader& read, qint64 budget)
{
    return expandScript(QString(), text, read, budget).text;
}
