#include "core/SheetFrames.h"

#include <climits>
#include <gtest/gtest.h>

TEST(SheetFrames, CutsRowByRowAndClipsToTheSheet)
{
    const FrameRect none{};
    struct Case {
        const char* name;
        unsigned sheetW, sheetH;
        int count, w, h;
        std::vector<FrameRect> frames;
    } cases[] = {
        {"strip", 256, 64, 4, -1, -1, {{0, 0, 64, 64}, {64, 0, 64, 64}, {128, 0, 64, 64},
                                       {192, 0, 64, 64}}},
        {"rows", 128, 128, 4, 64, 64, {{0, 0, 64, 64}, {64, 0, 64, 64}, {0, 64, 64, 64},
                                       {64, 64, 64, 64}}},
        // The derived width truncates: the last column is never shown.
        {"odd strip", 100, 50, 3, -1, 7, {{0, 0, 33, 50}, {33, 0, 33, 50}, {66, 0, 33, 50}}},
        {"more frames than columns", 3, 1, 4, -1, -1, {{0, 0, 3, 1}, {0, 0, 3, 1}, {0, 0, 3, 1},
                                                       {0, 0, 3, 1}}},
        {"zero width", 64, 16, 2, 0, 5, {{0, 0, 64, 16}, {0, 0, 64, 16}}},
        {"past the edge", 64, 16, 2, 40, 16, {{0, 0, 40, 16}, {40, 0, 24, 16}}},
        {"below the sheet", 64, 16, 3, 64, 16, {{0, 0, 64, 16}, none, none}},
        {"absurd sizes", 64, 16, 2, INT_MAX, INT_MAX, {{0, 0, 64, 16}, none}},
        {"empty sheet", 0, 0, 2, 8, 8, {none, none}},
    };
    for (const Case& c : cases) {
        const std::vector<FrameRect> got = sheetFrames(c.sheetW, c.sheetH, c.count, c.w, c.h);
        ASSERT_EQ(got.size(), c.frames.size()) << c.name;
        for (std::size_t i = 0; i < got.size(); ++i) {
            const FrameRect& g = got[i];
            EXPECT_EQ(g, c.frames[i]) << c.name << ", frame " << i << ": " << g.left << ','
                                      << g.top << ' ' << g.width << 'x' << g.height;
        }
    }
}
