#include "FuzzTargets.h"
#include "core/IncludeExpander.h"
#include "core/TextBytes.h"

#include <QHash>

int fuzz::includeExpansion(const std::uint8_t* data, std::size_t size)
{
    // The input is the script, then any number of include files, each part
    // starting after a 0xFF (a byte that UTF-8 text never holds; a 0xFE after
    // it is dropped) with its file name up to the first line feed.
    const QList<QByteArray> parts = bytes(data, size).split('\xFF');
    const QByteArray& script = parts.first();
    QHash<QString, QByteArray> files;
    for (QByteArray part : parts.mid(1)) {
        part = part.startsWith('\xFE') ? part.mid(1) : part;
        const int nameEnd = part.contains('\n') ? part.indexOf('\n') : part.size();
        files.insert(QStringLiteral("scripts/") + QString::fromUtf8(part.left(nameEnd)),
                     part.mid(nameEnd + 1));
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
