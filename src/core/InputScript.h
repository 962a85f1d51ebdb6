#pragma once

#include <QString>
#include <vector>

// A run's input written as text, one event a line by frame number (frames
// count from 1, the first Frame() call):
//   120 key RIGHT          a key press by its KEY_ name (or its key code)
//   130-170 key RIGHT      the same press in every frame of a range (a held key)
//   200 mouse 400 300      the pointer moves to window pixels (x, y)
//   200 click left         a left or right button press
//   1 dt 0.016666668       the interval that frame's Frame() gets (recordings)
//   seed 42                the seed of Math.random (recordings)
// Blank lines and lines starting with '#' are skipped.
struct InputLine {
    enum Kind { Key, Mouse, Click, Dt };
    int frame = 0;
    Kind kind = Key;
    // Key: the code; Mouse: x, y; Click: 0 left, 1 right.
    int a = 0;
    int b = 0;
    float dt = 0.0f;
};

struct InputScript {
    // In frame order; lines of one frame keep their order in the text.
    std::vector<InputLine> lines;
    bool hasSeed = false;
    quint64 seed = 0;
    // Empty when every line was understood, else "line N: what is wrong".
    QString error;
};

InputScript parseInputScript(const QString& text);

// The text parseInputScript reads back as the same line.
QString inputLineText(const InputLine& line);
