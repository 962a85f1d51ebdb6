#include "FuzzTargets.h"
#include "core/IncludeExpander.h"
#include "core/TextBytes.h"

#include <QHash>

int fuzz::includeExpansion(const std::uint8_t* data, std::size_t size)
{
    // The input is the script, then any number of include files, each part
    // starting after a 0xFF 0xFE pair (bytes that UTF-8 text never holds) with
    // its file name up to the first line feed.
    const QByteArray input = bytes(data, size);
    QByteArray script;
    QHash<QString, QByteArray> files;
    for (int from = 0, index = 0;; ++index) {
        const int next = input.indexOf("\xFF\xFE", from);
        const QByteArray part = input.mid(from, next < 0 ? -1 : next - from);
        const int nameEnd = part.indexOf('\n');
        if (index == 0)
            script = part;
        else
            files.insert(QStringLiteral("scripts/") +
                             QString::fromUtf8(nameEnd < 0 ? part : part.left(nameEnd)),
                         nameEnd < 0 ? QByteArray() : part.mid(nameEnd + 1));
        if (next < 0)
            break;
        from = next + 2;
    }

    int reads = 0, found = 0;
    qint64 included = 0;
    const FileReader read = [&](const QString& path, qint64 maxBytes) -> std::optional<QByteArray> {
        ++reads;
        const auto it = files.constFind(path);
        if (it == files.constEnd() || it->size() > maxBytes)
            return std::nullopt;
        ++found;
        included += it->size();
        return *it;
    };
    const QString text = textUpToNul(script);
    check(!text.contains(QChar(0)), "script text ends at its first NUL");
    const qint64 budget = 64; // small, so that inputs reach it
    const QString expanded = expandIncludes(text, read, budget);
    check(found > 0 || expanded == text, "nothing changes when no include file exists");
    check(reads <= text.count(QLatin1Char('\n')) + 1, "at most one include per line");
    check(included <= budget, "included files stay within the budget");
    return 0;
}
