#include "core/InputState.h"
#include "core/Letterbox.h"

#include <gtest/gtest.h>
#include <map>

// Each step: k/K key 7 pressed/released, b/B middle button pressed/released,
// f focus lost, c the end of a frame.
TEST(InputState, HeldAndReleasedFollowTheEvents)
{
    struct Case {
        const char* steps;
        bool down, held, released, buttonHeld;
    } cases[] = {
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
    for (const Case& c : cases) {
        InputState s;
        for (const char* p = c.steps; *p; ++p)
            act.at (*p)(s);
        EXPECT_EQ(s.isKeyDown(7), c.down) << c.steps;
        EXPECT_EQ(s.isKeyHeld(7), c.held) << c.steps;
        EXPECT_EQ(s.isKeyReleased(7), c.released) << c.steps;
        EXPECT_EQ(s.isButtonHeld(InputState::Middle), c.buttonHeld) << c.steps;
        EXPECT_FALSE(s.isKeyHeld(8)) << c.steps;
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
    const struct {
        unsigned w, h;
        float left, top, width, height;
    } cases[] = {
        {800, 600, 0, 0, 1, 1},         {1600, 600, 0.25f, 0, 0.5f, 1},
        {800, 1200, 0, 0.25f, 1, 0.5f}, {4, 1, 1 / 3.f, 0, 1 / 3.f, 1},
        {0, 600, 0, 0, 1, 1},           {1000, 600, 0.1f, 0, 0.8f, 1},
    };
    for (const auto& c : cases) {
        const ViewportFractions f = letterbox(c.w, c.h);
        EXPECT_FLOAT_EQ(f.left, c.left) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(f.top, c.top) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(f.width, c.width) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(f.height, c.height) << c.w << "x" << c.h;
    }
}
