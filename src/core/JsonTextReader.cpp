#include "core/JsonTextReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QVector>
#include <cmath>
#include <cstring>

namespace {

// Checks the exact JSON grammar without recursion; Qt's own parser builds
// the value afterwards, but it accepts more than JSON (raw control
// characters, unknown escapes, "1."), which saved files never hold. Names
// that repeat within an object are refused too: saved files never have them,
// and Qt's parser leaks memory on some.
class Scanner {
public:
    explicit Scanner(const QString& text) : text(text) {}

    int position() const { return at; }
    bool atEnd() const { return at == text.size(); }

    void skipSpace()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++at;
    }

    // One value of any kind; the names of non-finite numbers only at the top.
    bool skipValue()
    {
        QVector<char> open;           // the brackets still to close
        QVector<QSet<QString>> names; // and the names each object has so far
        for (;;) {
            skipSpace();
            if (take('{') || take('[')) {
                const char close = text.at(at - 1) == QLatin1Char('{') ? '}' : ']';
                if (open.size() == kJsonDepthLimit)
                    return false;
                open.append(close);
                names.append(QSet<QString>());
                skipSpace();
                if (take(close)) {
                    open.removeLast();
                    names.removeLast();
                } else {
                    if (close == '}' && !skipName(names.last()))
                        return false;
                    continue;
                }
            } else if (!skipScalar(open.isEmpty())) {
                return false;
            }
            // After a value: a comma or the brackets it closes.
            for (;;) {
                if (open.isEmpty())
                    return true;
                skipSpace();
                if (take(',')) {
                    if (open.last() == '}' && !skipName(names.last()))
                        return false;
                    break;
                }
                if (!take(open.last()))
                    return false;
                open.removeLast();
                names.removeLast();
            }
        }
    }

private:
    ushort peek() const { return text.at(at).unicode(); }

    bool take(char c)
    {
        if (atEnd() || peek() != ushort(c))
            return false;
        ++at;
        return true;
    }

    bool takeWord(QLatin1String word)
    {
        if (!text.midRef(at, word.size()).startsWith(word))
            return false;
        at += word.size();
        return true;
    }

    bool skipName(QSet<QString>& seen)
    {
        skipSpace();
        QString name;
        if (!takeString(&name) || seen.contains(name))
            return false;
        seen.insert(name);
        skipSpace();
        return take(':');
    }

    bool skipScalar(bool topLevel)
    {
        if (atEnd())
            return false;
        if (peek() == '"')
            return takeString(nullptr);
        if (takeWord(QLatin1String("true")) || takeWord(QLatin1String("false")) ||
            takeWord(QLatin1String("null")))
            return true;
        if (topLevel && (takeWord(QLatin1String("NaN")) || takeWord(QLatin1String("Infinity")) ||
                         takeWord(QLatin1String("-Infinity"))))
            return true;
        return skipNumber();
    }

    // A string; its text goes to `out` when one is given.
    bool takeString(QString* out)
    {
        static const char escapes[] = "\"\"\\\\//b\bf\fn\nr\rt\t";
        if (!take('"'))
            return false;
        while (!atEnd()) {
            ushort c = peek();
            ++at;
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (atEnd())
                    return false;
                const ushort e = peek();
                ++at;
                if (e == 'u') {
                    c = 0;
                    for (int i = 0; i < 4; ++i, ++at) {
                        const int digit = atEnd() ? -1 : hexDigit(peek());
                        if (digit < 0)
                            return false;
                        c = ushort(c * 16 + digit);
                    }
                } else {
                    const char* found = e > 0 && e < 0x80 ? std::strchr(escapes, e) : nullptr;
                    if (!found || (found - escapes) % 2 != 0)
                        return false;
                    c = ushort(found[1]);
                }
            }
            if (out)
                out->append(QChar(c));
        }
        return false;
    }

    bool skipDigits()
    {
        const int from = at;
        while (!atEnd() && peek() >= '0' && peek() <= '9')
            ++at;
        return at > from;
    }

    bool skipNumber()
    {
        take('-');
        if (!take('0') && !(!atEnd() && peek() >= '1' && peek() <= '9' && skipDigits()))
            return false;
        if (take('.') && !skipDigits())
            return false;
        if (take('e') || take('E')) {
            if (!take('+'))
                take('-');
            return skipDigits();
        }
        return true;
    }

    static int hexDigit(ushort c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    }

    const QString& text;
    int at = 0;
};

} // namespace

std::optional<QJsonValue> readJsonText(const QString& text)
{
    Scanner scan(text);
    scan.skipSpace();
    const int from = scan.position();
    if (!scan.skipValue())
        return std::nullopt;
    const QString value = text.mid(from, scan.position() - from);
    scan.skipSpace();
    if (!scan.atEnd())
        return std::nullopt;

    const ushort first = value.at(0).unicode();
    if (first == 'N')
        return QJsonValue(std::nan(""));
    if (first == 'I' || value == QLatin1String("-Infinity"))
        return QJsonValue(first == 'I' ? HUGE_VAL : -HUGE_VAL);
    if (first == 't' || first == 'f')
        return QJsonValue(first == 't');
    if (first == 'n')
        return QJsonValue(QJsonValue::Null);
    // Only a document can stand alone in Qt's parser; a string or number
    // goes into an array.
    QJsonParseError error;
    const bool bare = first != '{' && first != '[';
    const QJsonDocument document =
        QJsonDocument::fromJson(bare ? "[" + value.toUtf8() + "]" : value.toUtf8(), &error);
    // Numbers beyond the range of a double are the only JSON left to fail here.
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    if (bare)
        return document.array().at(0);
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
}
