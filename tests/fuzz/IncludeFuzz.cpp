#include "FuzzTargets.h"
#include "core/IncludeExpander.h"
#include "core/Prelude.h"
#include "core/TextBytes.h"

#include <QByteArray>
#include <QHash>

namespace {

// The input is the script, then any number of include files, each part
// starting after a 0xFF 0xFE pair (bytes that UTF-8 text never holds) with
// its file name up to the first line feed.
const QByteArray separator("\xFF\xFE", 2);

} // namespace

int fuzz::includeExpansion(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), int(size));
    QByteArray script;
    QHash<QString, QByteArray> files;
    int index = 0;
    int from = 0;
    while (from <= input.size()) {
        int next = input.indexOf(separator, from);
        const QByteArray part = input.mid(from, next < 0 ? -1 : next - from);
        if (index++ == 0) {
            script = part;
        } else {
            const int nameEnd = part.indexOf('\n');
            const QByteArray name = nameEnd < 0 ? part : part.left(nameEnd);
            files.insert(QStringLiteral("scripts/") + QString::fromUtf8(name),
                         nameEnd < 0 ? QByteArray() : part.mid(nameEnd + 1));
        }
        if (next < 0)
            break;
        from = next + separator.size();
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
    // A small budget, so that inputs reach it.
    const qint64 budget = 64;
    const QString expanded = expandIncludes(text, read, budget);
    if (found == 0)
        check(expanded == text, "nothing changes when no include file exists");
    check(reads <= text.count(QLatin1Char('\n')) + 1, "at most one include per line");
    check(included <= budget, "included files stay within the budget");
    check((prelude() + expanded).startsWith(prelude()), "prelude leads");
    return 0;
}
