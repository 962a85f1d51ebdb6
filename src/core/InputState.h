#pragma once

#include <bitset>

// Key presses and click latches captured by the frame loop's polling.
// A fixed bitset, so recording input never allocates.
class InputState {
public:
    void keyPressed(int code)
    {
        if (inRange(code))
            keys.set(std::size_t(code + offset));
    }
    bool isKeyDown(int code) const
    {
        return inRange(code) && keys.test(std::size_t(code + offset));
    }
    void clearKeys() { keys.reset(); }

    void leftPressed() { leftClicked = true; }
    void rightPressed() { rightClicked = true; }
    // A latch reads true once, then stays clear until the next press.
    bool takeLeftClick() { return take(leftClicked); }
    bool takeRightClick() { return take(rightClicked); }

private:
    // The window library's codes run from -1 (unknown key) upwards.
    static constexpr int offset = 1;
    static constexpr int capacity = 256;
    static bool inRange(int code) { return code >= -offset && code < capacity - offset; }
    static bool take(bool& latch)
    {
        const bool was = latch;
        latch = false;
        return was;
    }

    std::bitset<capacity> keys;
    bool leftClicked = false;
    bool rightClicked = false;
};
