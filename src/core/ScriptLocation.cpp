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

namespace {

bool identifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Whether a '/' after `before` (the code up to it, blanks left out) starts a
// regular expression rather than a division.
bool regexMayStart(const QString& text, int at)
{
    int end = at;
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    if (end == 0)
        return true;
    const QChar last = text.at(end - 1);
    if (last == QLatin1Char(')') || last == QLatin1Char(']') || last == QLatin1Char('}'))
        return false;
    if (!identifierChar(last))
        return true;
    int start = end;
    while (start > 0 && identifierChar(text.at(start - 1)))
        --start;
    static const QStringList keywords{"return", "typeof", "instanceof", "in", "new", "delete",
                                      "void",   "throw",  "case",       "do", "else"};
    return keywords.contains(text.mid(start, end - start));
}

} // namespace

QString withCatchHook(const QString& text, const QString& hook)
{
    static const QRegularExpression clause(
        QStringLiteral("catch\\s*\\(\\s*([A-Za-z_$][A-Za-z0-9_$]*)\\s*\\)\\s*\\{"));
    QString out;
    out.reserve(text.size());
    const int n = text.size();
    int copied = 0;
    for (int i = 0; i < n;) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < n ? text.at(i + 1) : QChar();
        if (c == QLatin1Char('/') && next == QLatin1Char('/')) {
            while (i < n && text.at(i) != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int end = text.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'') ||
                   (c == QLatin1Char('/') && regexMayStart(text, i))) {
            // To its closing mark on the same line; a regular expression's
            // class may hold that mark unescaped.
            bool inClass = false;
            for (++i; i < n && text.at(i) != QLatin1Char('\n'); ++i) {
                const QChar d = text.at(i);
                if (d == QLatin1Char('\\')) {
                    ++i;
                } else if (c == QLatin1Char('/') &&
                           (d == QLatin1Char('[') || d == QLatin1Char(']'))) {
                    inClass = d == QLatin1Char('[');
                } else if (d == c && !inClass) {
                    ++i;
                    break;
                }
            }
        } else if (identifierChar(c)) {
            const int start = i;
            while (i < n && identifierChar(text.at(i)))
                ++i;
            const bool member = start > 0 && text.at(start - 1) == QLatin1Char('.');
            if (member || i - start != 5 || text.midRef(start, 5) != QLatin1String("catch"))
                continue;
            const QRegularExpressionMatch m =
                clause.match(text, start, QRegularExpression::NormalMatch,
                             QRegularExpression::AnchoredMatchOption);
            if (!m.hasMatch())
                continue;
            i = m.capturedEnd();
            out += text.midRef(copied, i - copied);
            out += QStringLiteral("if (typeof %1 == 'function') %1(%2);").arg(hook, m.captured(1));
            copied = i;
        } else {
            ++i;
        }
    }
    out += text.midRef(copied);
    return out;
}
