#include "core/InputScript.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The lines read back as text, one string, to compare whole scripts at once.
QString readBack(const QString& text)
{
    const InputScript script = parseInputScript(text);
    QStringList lines;
    for (const InputLine& line : script.lines)
        lines << inputLineText(line);
    return script.error.isEmpty() ? lines.join(QLatin1Char('|')) : script.error;
}

} // namespace

TEST(InputScript, ReadsEventsInFrameOrderAndPointsAtTheFirstBadLine)
{
    const struct {
        const char* text;
        const char* read;
    } cases[] = {
        {"120 key RIGHT\n  7  click  right \n\n# note\n3 mouse -5 700\r\n2 key F12",
         "2 key F12|3 mouse -5 700|7 click right|120 key RIGHT"},
        {"3-5 key A\n4 click left", "3 key A|4 key A|4 click left|5 key A"},
        {"2 key 100\n1 key -1\n1 dt 0.0166666675", "1 key -1|1 dt 0.0166666675|2 key 100"},
        {"1 key RIGHT\nx key A", "line 2: a line starts"},
        {"0 key A", "line 1: a line starts"},
        {"1 key right", "line 1: a key is"},
        {"1 key 101", "line 1: a key is"},
        {"1 mouse 4", "line 1: a mouse move"},
        {"1 click middle", "line 1: a click"},
        {"1 dt -1", "line 1: a dt"},
        {"\n\n1 jump", "line 3: unknown event \"jump\""},
    };
    for (const auto& c : cases) {
        const QString read = readBack(QString::fromUtf8(c.text));
        const QString expected = QString::fromUtf8(c.read);
        // Errors are compared up to the explanation.
        EXPECT_EQ(expected.startsWith(QLatin1String("line ")) ? read.left(expected.size()) : read,
                  expected)
            << c.text << " read as " << read.toStdString();
    }

    const InputScript recorded = parseInputScript(QStringLiteral("seed 18446744073709551615\n"));
    EXPECT_TRUE(recorded.hasSeed);
    EXPECT_EQ(recorded.seed, 18446744073709551615ull);
    EXPECT_FALSE(parseInputScript(QStringLiteral("1 key A")).hasSeed);
}
