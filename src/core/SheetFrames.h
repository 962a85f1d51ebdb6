#pragma once

#include <vector>

// A frame's rectangle in its sheet, in pixels; 0 x 0 shows nothing.
struct FrameRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The `count` (at least 1) frames of an imageW x imageH sheet in row-major
// order, as the rectangles the graphics library would copy. A w or h below 0
// cuts a strip of count frames; a zero width or height means the whole
// image; a frame reaching past the image is cut to it, one wholly outside is
// empty. Worked out in 64 bits so that absurd sizes cannot overflow.
std::vector<FrameRect> sheetFrames(unsigned imageW, unsigned imageH, int count, int w, int h);
