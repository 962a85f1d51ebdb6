#pragma once

// Whether a window can be opened at all: the window library aborts the
// whole process when it finds no display, so the program asks first.
bool displayAvailable();
