#include "core/SheetFrames.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace {

// "left,top widthxheight" for each frame, " | " between them.
std::string describe(const std::vector<FrameRect>& frames)
{
    std::string text;
    for (const FrameRect& f : frames) {
        text += (text.empty() ? "" : " | ") + std::to_string(f.left) + ',' + std::to_string(f.top) +
                ' ' + std::to_string(f.width) + 'x' + std::to_string(f.height);
    }
    return text;
}

} // namespace

TEST(SheetFrames, CutsRowByRowAndClipsToTheSheet)
{
    const struct {
        unsigned sheetW, sheetH;
        int count, w, h;
        const char* frames;
    } cases[] = {
        {256, 64, 4, -1, -1, "0,0 64x64 | 64,0 64x64 | 128,0 64x64 | 192,0 64x64"},
        {128, 128, 4, 64, 64, "0,0 64x64 | 64,0 64x64 | 0,64 64x64 | 64,64 64x64"},
        // A derived width truncates: the last column is never shown.
        {100, 50, 3, -1, 7, "0,0 33x50 | 33,0 33x50 | 66,0 33x50"},
        // More frames than columns, or a zero side: the whole sheet each time.
        {3, 1, 4, -1, -1, "0,0 3x1 | 0,0 3x1 | 0,0 3x1 | 0,0 3x1"},
        {64, 16, 2, 0, 5, "0,0 64x16 | 0,0 64x16"},
        // Cut at the edge; wholly outside, empty.
        {64, 16, 2, 40, 16, "0,0 40x16 | 40,0 24x16"},
        {64, 16, 3, 64, 16, "0,0 64x16 | 0,0 0x0 | 0,0 0x0"},
        {64, 16, 2, INT_MAX, INT_MAX, "0,0 64x16 | 0,0 0x0"},
        {0, 0, 2, 8, 8, "0,0 0x0 | 0,0 0x0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(describe(sheetFrames(c.sheetW, c.sheetH, c.count, c.w, c.h)), c.frames)
            << c.sheetW << 'x' << c.sheetH << ", " << c.count << " of " << c.w << 'x' << c.h;
    }
}
