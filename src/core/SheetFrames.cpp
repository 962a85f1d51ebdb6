#include "core/SheetFrames.h"

#include <algorithm>
#include <cstdint>

std::vector<FrameRect> sheetFrames(unsigned imageW, unsigned imageH, int count, int w, int h)
{
    const std::int64_t sheetW = imageW, sheetH = imageH;
    std::int64_t frameW = w, frameH = h;
    if (w < 0 || h < 0) {
        frameW = imageW / static_cast<unsigned>(count);
        frameH = imageH;
    }
    std::vector<FrameRect> rects;
    rects.reserve(static_cast<std::size_t>(count));
    std::int64_t left = 0, top = 0;
    for (int i = 0; i < count; ++i) {
        if (frameW == 0 || frameH == 0) {
            rects.push_back({0, 0, int(sheetW), int(sheetH)});
        } else {
            const std::int64_t width = std::min(frameW, sheetW - left);
            const std::int64_t height = std::min(frameH, sheetH - top);
            rects.push_back(width > 0 && height > 0
                                ? FrameRect{int(left), int(top), int(width), int(height)}
                                : FrameRect{});
        }
        left += frameW;
        if (left >= sheetW) {
            top += frameH;
            left = 0;
        }
    }
    return rects;
}
