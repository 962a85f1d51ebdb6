#include "core/ContactGeometry.h"
#include "core/SheetFrames.h"

#include <QStringList>
#include <climits>
#include <gtest/gtest.h>
#include <string>

using contact::Corners;
using contact::Point;

namespace {

// An unrotated w x h sprite with its hot spot at the centre, drawn at (x, y)
// with the given scale: the corners c0 (0, 0), c1 (0, h), c2 (w, h), c3 (w, 0).
struct Sprite {
    int w, h;
    float x, y, scale = 1.0f;

    Corners corners() const
    {
        const auto map = [&](int ix, int iy) {
            return Point{x + float(ix - w / 2) * scale, y + float(iy - h / 2) * scale};
        };
        return {map(0, 0), map(0, h), map(w, h), map(w, 0)};
    }
};

// "left,top widthxheight" for each frame, " | " between them.
std::string describe(const std::vector<FrameRect>& frames)
{
    QStringList text;
    for (const FrameRect& f : frames)
        text << QString::asprintf("%d,%d %dx%d", f.left, f.top, f.width, f.height);
    return text.join(QLatin1String(" | ")).toStdString();
}

} // namespace

TEST(ContactGeometry, PointInQuadExcludesOutlineAndDiagonal)
{
    // 32 x 32 at (100, 100) covers 84..116 on both axes; c0-c2 is the main diagonal.
    const Corners q = Sprite{32, 32, 100, 100}.corners();
    // A square turned 45 degrees: its axis-aligned bounding box corners are outside.
    const Corners diamond = {Point{0, -10}, Point{-10, 0}, Point{0, 10}, Point{10, 0}};
    const Corners empty = Sprite{0, 0, 50, 50}.corners();
    // The same turned the other way round, as a sprite mirrored on one axis is.
    const Corners flipped = {Point{0, -10}, Point{10, 0}, Point{0, 10}, Point{-10, 0}};
    const std::tuple<Corners, float, float, bool> cases[] = {
        {q, 100, 100, false},     {q, 101, 100, true},       {q, 100, 101, true},
        {q, 85, 86, true},        {q, 84, 100, false},       {q, 116, 100, false},
        {q, 100, 84, false},      {q, 100, 116, false},      {diamond, 3, 3, true},
        {diamond, 8, 8, false},   {diamond, 0, 0, false},    {diamond, 5, 5, false}, // c2-c3 edge
        {empty, 50, 50, false},   {empty, 50.5f, 50, false}, {flipped, 0, 0, false},
        {flipped, 5, 5, false},   {flipped, -5, 5, false},   {flipped, 5, -5, false},
        {flipped, -5, -5, false}, {flipped, 3, -2, true},
    };
    for (const auto& [quad, x, y, inside] : cases)
        EXPECT_EQ(contact::inQuad(quad, {x, y}), inside) << x << "," << y;
}

// A box contact tests only the other sprite's corners against this one's
// quad; a circle contact compares drawn centres with the unscaled sizes.
TEST(ContactGeometry, BoxAndCircleContacts)
{
    const std::tuple<const char*, Sprite, Sprite, bool, bool> cases[] = {
        {"overlap", {32, 32, 100, 100}, {32, 32, 120, 110}, true, true},
        {"touching edges", {32, 32, 100, 100}, {32, 32, 132, 100}, false, false},
        {"31 apart", {32, 32, 100, 100}, {32, 32, 131, 100}, false, true},
        // 22 * sqrt(2) = 31.1 < 32; the near corner lies on the diagonal.
        {"diagonal inside", {32, 32, 100, 100}, {32, 32, 122, 122}, false, true},
        {"diagonal outside", {32, 32, 100, 100}, {32, 32, 123, 123}, false, false},
        {"big sees small", {100, 100, 200, 200}, {16, 16, 200, 200}, true, true},
        {"small misses big", {16, 16, 200, 200}, {100, 100, 200, 200}, false, true},
        // A tall thin and a wide flat rectangle share only their middle.
        {"cross", {10, 100, 50, 50}, {100, 10, 50, 50}, false, true},
        {"itself", {32, 32, 100, 100}, {32, 32, 100, 100}, false, true},
        {"empty self", {0, 0, 100, 100}, {32, 32, 100, 100}, false, true},
        {"empty itself", {0, 0, 100, 100}, {0, 0, 100, 100}, false, false},
        {"scaled up", {32, 32, 100, 100, 2.0f}, {32, 32, 132, 100}, true, false},
        {"mirrored winding", {32, 32, 100, 100, -1.0f}, {32, 32, 120, 110}, true, true},
        {"uneven sizes", {40, 8, 0, 0}, {8, 8, 15, 0}, false, true}, // r 12 + 4
    };
    for (const auto& [name, s, o, box, circle] : cases) {
        EXPECT_EQ(contact::boxContact(s.corners(), o.corners()), box) << name;
        EXPECT_EQ(contact::circleContact(s.corners(), s.w, s.h, o.corners(), o.w, o.h), circle)
            << name;
    }
}

TEST(SheetFrames, CutsRowByRowAndClipsToTheSheet)
{
    const std::tuple<unsigned, unsigned, int, int, int, const char*> cases[] = {
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
    for (const auto& [sheetW, sheetH, count, w, h, frames] : cases) {
        EXPECT_EQ(describe(sheetFrames(sheetW, sheetH, count, w, h)), frames)
            << sheetW << 'x' << sheetH << ", " << count << " of " << w << 'x' << h;
    }
}
