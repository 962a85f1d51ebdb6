#pragma once

#include <bitset>

// Key presses and click latches captured by the frame loop's polling, and
// what is held down between a press and its release. Fixed bitsets, so
// recording input never allocates.
class InputState {
public:
    void keyPressed(int code)
    {
        if (inRange(code)) {
            keys.set(bit(code));
            held.set(bit(code));
        }
    }
    void keyReleased(int code)
    {
        if (inRange(code) && held.test(bit(code))) {
            held.reset(bit(code));
            released.set(bit(code));
        }
    }
    bool isKeyDown(int code) const { return inRange(code) && keys.test(bit(code)); }
    bool isKeyHeld(int code) const { return inRange(code) && held.test(bit(code)); }
    bool isKeyReleased(int code) const { return inRange(code) && released.test(bit(code)); }
    // After each Frame(): presses, releases and wheel turns are per frame.
    void clearKeys()
    {
        keys.reset();
        released.reset();
        wheel = 0.0f;
        padPressed.reset();
    }

    // In the order of the window library's first three mouse buttons.
    enum Button { Left, Right, Middle };
    void buttonPressed(Button button)
    {
        clicked[button] = true;
        buttonHeld[button] = true;
    }
    void buttonReleased(Button button) { buttonHeld[button] = false; }
    void leftPressed() { buttonPressed(Left); }
    void rightPressed() { buttonPressed(Right); }
    // A latch reads true once, then stays clear until the next press.
    bool takeLeftClick() { return take(clicked[Left]); }
    bool takeRightClick() { return take(clicked[Right]); }
    bool takeClick(Button button) { return take(clicked[button]); }
    bool isButtonHeld(Button button) const { return buttonHeld[button]; }

    void wheelMoved(float notches) { wheel += notches; }
    float wheelDelta() const { return wheel; }

    void padButtonPressed(unsigned pad, unsigned button)
    {
        if (pad < pads && button < padButtons)
            padPressed.set(pad * padButtons + button);
    }
    bool isPadButtonPressed(int pad, int button) const
    {
        return pad >= 0 && button >= 0 && unsigned(pad) < pads && unsigned(button) < padButtons &&
               padPressed.test(unsigned(pad) * padButtons + unsigned(button));
    }

    // The window lost the focus: its releases go elsewhere, so nothing
    // counts as held any more.
    void focusLost()
    {
        for (std::size_t i = 0; i < held.size(); ++i)
            if (held.test(i))
                released.set(i);
        held.reset();
        buttonHeld[Left] = buttonHeld[Right] = buttonHeld[Middle] = false;
    }

    // The window library's limits.
    static constexpr unsigned pads = 8;
    static constexpr unsigned padButtons = 32;

private:
    // The window library's codes run from -1 (unknown key) upwards.
    static constexpr int offset = 1;
    static constexpr int capacity = 256;
    static bool inRange(int code) { return code >= -offset && code < capacity - offset; }
    static std::size_t bit(int code) { return std::size_t(code + offset); }
    static bool take(bool& latch)
    {
        const bool was = latch;
        latch = false;
        return was;
    }

    std::bitset<capacity> keys;
    std::bitset<capacity> held;
    std::bitset<capacity> released;
    std::bitset<pads * padButtons> padPressed;
    bool clicked[3] = {false, false, false};
    bool buttonHeld[3] = {false, false, false};
    float wheel = 0.0f;
};
