#pragma once

// The drawing area every script draws into, whatever the window's size.
constexpr unsigned drawingWidth = 800;
constexpr unsigned drawingHeight = 600;

// A part of the window, in fractions of its width and height.
struct ViewportFractions {
    float left, top, width, height;
};

// The largest part of a window of w x h pixels that shows the drawing area
// undistorted, centred, with bars on the two other sides.
inline ViewportFractions letterbox(unsigned w, unsigned h)
{
    if (w == 0 || h == 0)
        return {0.f, 0.f, 1.f, 1.f};
    // Compared as integers so the original size gives exactly the whole window.
    const unsigned long long wide = 1ULL * w * drawingHeight;
    const unsigned long long tall = 1ULL * h * drawingWidth;
    if (wide > tall) {
        const float part = float(tall) / float(wide);
        return {(1.f - part) / 2.f, 0.f, part, 1.f};
    }
    const float part = float(wide) / float(tall);
    return {0.f, (1.f - part) / 2.f, 1.f, part};
}
