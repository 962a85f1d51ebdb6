#include "core/ScriptLocation.h"

#include <QRegularExpression>

QString locationText(const ExpandedScript& script, int expandedLine)
{
    const SourceLine at = script.locate(expandedLine);
    return at.file + QLatin1Char(':') + QString::number(at.line);
}

QStringList stackLines(const QStringList& backtrace, const ExpandedScript& script)
{
    static const QRegularExpression frame(QStringLiteral("^(.*) at (.+):(\\d+)$"));
    QStringList lines;
    for (const QString& entry : backtrace) {
        const QRegularExpressionMatch m = frame.match(entry);
        if (!m.hasMatch())
            continue;
        const QString file = m.captured(2);
        const int line = m.captured(3).toInt();
        const QString where = file == script.files.value(0)
                                  ? locationText(script, line)
                                  : file + QLatin1Char(':') + QString::number(line);
        lines << m.captured(1) + QStringLiteral(" at ") + where;
    }
    return lines;
}

QString newerConstructIn(const QString& line)
{
    struct Sign {
        const char* pattern;
        const char* construct;
    };
    // Most telling first: "(a = 1) => a" is an arrow function before it is
    // a default parameter.
    static const Sign signs[] = {
        {"`", "template string"},
        {"=>", "arrow function"},
        {"\\bclass\\s*[A-Za-z_$]*\\s*(\\{|\\bextends\\b)", "class"},
        {"\\bfor\\s*\\([^;]*\\bof\\b", "for...of loop"},
        {"\\b(var|let|const)\\s*[\\[{]", "destructuring"},
        {"\\blet\\s+[A-Za-z_$]", "let declaration"},
        {"\\bfunction\\b[^(]*\\([^)]*=", "default parameter"},
        {"\\.\\.\\.", "spread or rest (...)"},
    };
    // A line comment may say anything.
    const QString code = line.section(QStringLiteral("//"), 0, 0);
    for (const Sign& s : signs) {
        if (QRegularExpression(QLatin1String(s.pattern)).match(code).hasMatch())
            return QLatin1String(s.construct);
    }
    return QString();
}
