#include "core/InputScript.h"

#include "core/Prelude.h"

#include <QStringList>
#include <algorithm>

namespace {

// A frame or a frame range beyond this is surely a typing error.
constexpr int maxFrame = 100000000;

bool readInt(const QString& word, int* value)
{
    bool ok = false;
    *value = word.toInt(&ok);
    return ok;
}

bool readKey(const QString& word, int* code)
{
    for (const KeyName& k : keyNames())
        if (word == k.name) {
            *code = k.code;
            return true;
        }
    // Codes without a name, as recordings write them.
    return readInt(word, code) && *code >= -1 && *code < 101;
}

bool readFrames(const QString& word, int* first, int* last)
{
    const int dash = word.indexOf(QLatin1Char('-'));
    if (dash < 0) {
        if (!readInt(word, first))
            return false;
        *last = *first;
    } else if (!readInt(word.left(dash), first) || !readInt(word.mid(dash + 1), last)) {
        return false;
    }
    return *first >= 1 && *first <= *last && *last <= maxFrame;
}

// The event of one line (frame aside); an error text when it is not one.
QString readEvent(const QStringList& words, InputLine* event)
{
    const QString& kind = words[1];
    if (kind == QLatin1String("key")) {
        event->kind = InputLine::Key;
        if (words.size() != 3 || !readKey(words[2], &event->a))
            return QStringLiteral("a key is one KEY_ name without KEY_, as in \"120 key RIGHT\"");
    } else if (kind == QLatin1String("mouse")) {
        event->kind = InputLine::Mouse;
        if (words.size() != 4 || !readInt(words[2], &event->a) || !readInt(words[3], &event->b))
            return QStringLiteral("a mouse move is two whole numbers, as in \"200 mouse 400 300\"");
    } else if (kind == QLatin1String("click")) {
        event->kind = InputLine::Click;
        const bool left = words.size() == 3 && words[2] == QLatin1String("left");
        const bool right = words.size() == 3 && words[2] == QLatin1String("right");
        if (!left && !right)
            return QStringLiteral("a click is left or right, as in \"200 click left\"");
        event->a = right ? 1 : 0;
    } else if (kind == QLatin1String("dt")) {
        event->kind = InputLine::Dt;
        bool ok = false;
        event->dt = words.size() == 3 ? words[2].toFloat(&ok) : 0.0f;
        if (!ok || !(event->dt >= 0.0f))
            return QStringLiteral("a dt is seconds, as in \"1 dt 0.016666668\"");
    } else {
        return QStringLiteral("unknown event \"") + kind +
               QStringLiteral("\" (key, mouse, click or dt)");
    }
    return QString();
}

} // namespace

InputScript parseInputScript(const QString& text)
{
    InputScript script;
    const QStringList rows = text.split(QLatin1Char('\n'));
    for (int i = 0; i < rows.size(); ++i) {
        const QString row = rows[i].simplified();
        if (row.isEmpty() || row.startsWith(QLatin1Char('#')))
            continue;
        const QStringList words = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() == 2 && words[0] == QLatin1String("seed")) {
            bool ok = false;
            script.seed = words[1].toULongLong(&ok);
            if (ok) {
                script.hasSeed = true;
                continue;
            }
        }
        InputLine event;
        int first = 0;
        int last = 0;
        QString error;
        if (words.size() < 2 || !readFrames(words[0], &first, &last))
            error = QStringLiteral("a line starts with a frame number from 1 (or a range like "
                                   "10-20) and an event");
        else
            error = readEvent(words, &event);
        if (!error.isEmpty()) {
            script.lines.clear();
            script.error = QStringLiteral("line %1: ").arg(i + 1) + error;
            return script;
        }
        for (int frame = first; frame <= last; ++frame) {
            event.frame = frame;
            script.lines.push_back(event);
        }
    }
    std::stable_sort(script.lines.begin(), script.lines.end(),
                     [](const InputLine& x, const InputLine& y) { return x.frame < y.frame; });
    return script;
}

QString inputLineText(const InputLine& line)
{
    const QString frame = QString::number(line.frame);
    switch (line.kind) {
    case InputLine::Key:
        for (const KeyName& k : keyNames())
            if (k.code == line.a)
                return frame + QStringLiteral(" key ") + k.name;
        return frame + QStringLiteral(" key ") + QString::number(line.a);
    case InputLine::Mouse:
        return frame + QStringLiteral(" mouse %1 %2").arg(line.a).arg(line.b);
    case InputLine::Click:
        return frame + (line.a ? QStringLiteral(" click right") : QStringLiteral(" click left"));
    case InputLine::Dt:
        // Nine significant digits bring every float back unchanged.
        return frame + QStringLiteral(" dt ") + QString::number(double(line.dt), 'g', 9);
    }
    return QString();
}
