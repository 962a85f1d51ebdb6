#include "core/InputScript.h"
#include "core/InputState.h"
#include "core/Letterbox.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <map>

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
    const std::pair<const char*, const char*> cases[] = {
        {"120 key RIGHT\n  7  click  right \n\n# note\n3 mouse -5 700\r\n2 key F12",
         "2 key F12|3 mouse -5 700|7 click right|120 key RIGHT"},
        {"3-5 key A\n4 click left", "3 key A|4 key A|4 click left|5 key A"},
        {"2 key 100\n1 key -1\n1 dt 0.0166666675", "1 key -1|1 dt 0.0166666675|2 key 100"},
        {"1 key RIGHT\nx key A", "line 2: a line starts"},
        {"0 key A", "line 1: a line starts"},
        {"1-100000001 key A", "line 1: a line starts"}, // past the last frame
        {"1 key right", "line 1: a key is"},
        {"1 key 101", "line 1: a key is"},
        {"1 mouse 4", "line 1: a mouse move"},
        {"1 click middle", "line 1: a click"},
        {"1 dt -1", "line 1: a dt"},
        {"\n\n1 jump", "line 3: unknown event \"jump\""},
    };
    for (const auto& [text, readAs] : cases) {
        const QString read = readBack(QString::fromUtf8(text));
        const QString expected = QString::fromUtf8(readAs);
        // Errors are compared up to the explanation.
        EXPECT_EQ(expected.startsWith(QLatin1String("line ")) ? read.left(expected.size()) : read,
                  expected)
            << text << " read as " << read.toStdString();
    }

    const InputScript recorded = parseInputScript(QStringLiteral("seed 18446744073709551615\n"));
    EXPECT_TRUE(recorded.hasSeed && recorded.seed == 18446744073709551615ull);
    EXPECT_FALSE(parseInputScript(QStringLiteral("1 key A")).hasSeed);
}

// Each step: k/K key 7 pressed/released, b/B middle button pressed/released,
// f focus lost, c the end of a frame.
TEST(InputState, HeldAndReleasedFollowTheEvents)
{
    // Steps, then key 7 down, held, released, and the middle button held.
    const std::tuple<const char*, bool, bool, bool, bool> cases[] = {
        {"k", true, true, false, false},     {"kK", true, false, true, false},
        {"kKc", false, false, false, false}, {"kc", false, true, false, false},
        {"kcKk", true, true, true, false},   {"kcK", false, false, true, false},
        {"kcf", false, false, true, false},  {"kcfK", false, false, true, false},
        {"K", false, false, false, false},   {"bc", false, false, false, true},
        {"bB", false, false, false, false},  {"bkf", true, false, true, false},
    };
    const std::map<char, void (*)(InputState&)> act = {
        {'k', [](InputState& s) { s.keyPressed(7); }},
        {'K', [](InputState& s) { s.keyReleased(7); }},
        {'b', [](InputState& s) { s.buttonPressed(InputState::Middle); }},
        {'B', [](InputState& s) { s.buttonReleased(InputState::Middle); }},
        {'f', [](InputState& s) { s.focusLost(); }},
        {'c', [](InputState& s) { s.clearKeys(); }},
    };
    for (const auto& [steps, down, held, released, buttonHeld] : cases) {
        InputState s;
        for (const char* p = steps; *p; ++p)
            act.find(*p)->second(s);
        EXPECT_EQ(s.isKeyDown(7), down) << steps;
        EXPECT_EQ(s.isKeyHeld(7), held) << steps;
        EXPECT_EQ(s.isKeyReleased(7), released) << steps;
        EXPECT_EQ(s.isButtonHeld(InputState::Middle), buttonHeld) << steps;
        EXPECT_FALSE(s.isKeyHeld(8)) << steps;
    }
}

// Codes beyond the window library's are never down; the unknown key (-1) is
// a key like any other. Clicks and pad presses are kept apart from keys.
TEST(InputState, CodesLatchesAndPadPresses)
{
    InputState s;
    s.keyPressed(-1);
    s.keyPressed(100000);
    s.padButtonPressed(7, 31);
    s.padButtonPressed(8, 0);
    s.padButtonPressed(0, 32);
    s.leftPressed();
    s.leftPressed();
    s.clearKeys();
    EXPECT_TRUE(s.isKeyHeld(-1));
    EXPECT_FALSE(s.isKeyHeld(100000) || s.isKeyDown(-5) || s.isPadButtonPressed(7, 31));
    EXPECT_TRUE(s.takeLeftClick()) << "a click outlives frames until read";
    EXPECT_FALSE(s.takeLeftClick() || s.takeRightClick() || s.takeClick(InputState::Middle));
    s.padButtonPressed(7, 31);
    EXPECT_TRUE(s.isPadButtonPressed(7, 31));
    EXPECT_FALSE(s.isPadButtonPressed(8, 0) || s.isPadButtonPressed(0, 0) ||
                 s.isPadButtonPressed(-1, 31));
}

// The drawing area keeps its shape in any window: bars left and right or
// above and below, none at its own size or in a window of no size.
TEST(Letterbox, TheDrawingAreaIsCentredUndistorted)
{
    const std::tuple<unsigned, unsigned, const char*> cases[] = {
        {800, 600, "0 0 1 1"}, {1600, 600, "0.25 0 0.5 1"}, {800, 1200, "0 0.25 1 0.5"},
        {0, 600, "0 0 1 1"},   {1000, 600, "0.1 0 0.8 1"},  {4, 1, "0.333333 0 0.333333 1"},
    };
    for (const auto& [w, h, area] : cases) {
        const ViewportFractions f = letterbox(w, h);
        EXPECT_EQ(QString::asprintf("%g %g %g %g", f.left, f.top, f.width, f.height).toStdString(),
                  area)
            << w << "x" << h;
    }
}
