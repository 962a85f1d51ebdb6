#include "core/ContactGeometry.h"

#include <gtest/gtest.h>

using contact::Corners;
using contact::Point;

namespace {

// An unrotated w x h sprite with its hot spot at the centre, drawn at (x, y)
// with the given scale: the corners c0 (0, 0), c1 (0, h), c2 (w, h), c3 (w, 0).
Corners drawn(int w, int h, float x, float y, float scale = 1.0f)
{
    const float ox = float(w / 2), oy = float(h / 2);
    auto map = [&](float ix, float iy) {
        return Point{x + (ix - ox) * scale, y + (iy - oy) * scale};
    };
    return {map(0, 0), map(0, float(h)), map(float(w), float(h)), map(float(w), 0)};
}

} // namespace

TEST(ContactGeometry, PointInSpriteExcludesOutlineAndDiagonal)
{
    // 32 x 32 at (100, 100) covers 84..116 on both axes; c0-c2 is the main diagonal.
    const Corners q = drawn(32, 32, 100, 100);
    struct Case {
        float x, y;
        bool inside;
    };
    const Case cases[] = {
        {100, 100, false}, // centre, on the diagonal
        {101, 100, true},  {100, 101, true},  {85, 85, false},   {85, 86, true},
        {84, 100, false},  {116, 100, false}, {100, 84, false},  {100, 116, false},
        {115, 100, true},  {83, 100, false},  {117, 117, false},
    };
    for (const Case& k : cases)
        EXPECT_EQ(contact::inQuad(q, {k.x, k.y}), k.inside) << k.x << "," << k.y;

    const Corners empty = drawn(0, 0, 50, 50);
    for (const Point p : {Point{50, 50}, Point{50.5f, 50}, Point{0, 0}})
        EXPECT_FALSE(contact::inQuad(empty, p));
}

TEST(ContactGeometry, RotatedQuadUsesItsOwnCorners)
{
    // A square turned 45 degrees: its axis-aligned bounding box corners are outside.
    const Corners diamond = {Point{0, -10}, Point{-10, 0}, Point{0, 10}, Point{10, 0}};
    EXPECT_TRUE(contact::inQuad(diamond, {3, 3}));
    EXPECT_TRUE(contact::inQuad(diamond, {-3, -2}));
    EXPECT_FALSE(contact::inQuad(diamond, {8, 8}));
    EXPECT_FALSE(contact::inQuad(diamond, {0, 0})); // on the c0-c2 diagonal
    EXPECT_FALSE(contact::inQuad(diamond, {5, 5})); // on the edge c2-c3
}

TEST(ContactGeometry, BoxTestsOnlyTheOtherSpritesCorners)
{
    struct Case {
        const char* name;
        Corners self, other;
        bool expected;
    };
    const Corners big = drawn(100, 100, 200, 200);
    const Corners small = drawn(16, 16, 200, 200);
    const Case cases[] = {
        {"overlap", drawn(32, 32, 100, 100), drawn(32, 32, 120, 110), true},
        {"overlap reversed", drawn(32, 32, 120, 110), drawn(32, 32, 100, 100), true},
        {"touching edges", drawn(32, 32, 100, 100), drawn(32, 32, 132, 100), false},
        {"touching reversed", drawn(32, 32, 132, 100), drawn(32, 32, 100, 100), false},
        {"big sees small", big, small, true},
        {"small misses big", small, big, false},
        // A cross: a tall thin and a wide flat rectangle share only their middle.
        {"cross", drawn(10, 100, 50, 50), drawn(100, 10, 50, 50), false},
        {"itself", drawn(32, 32, 100, 100), drawn(32, 32, 100, 100), false},
        {"empty self", drawn(0, 0, 100, 100), drawn(32, 32, 100, 100), false},
        {"scaled up reaches", drawn(32, 32, 100, 100, 2.0f), drawn(32, 32, 132, 100), true},
        {"mirrored winding", drawn(32, 32, 100, 100, -1.0f), drawn(32, 32, 120, 110), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(contact::boxContact(c.self, c.other), c.expected) << c.name;
}

TEST(ContactGeometry, CircleUsesUnscaledRadiiAndDrawnCentres)
{
    struct Case {
        const char* name;
        Corners self;
        int sw, sh;
        Corners other;
        int ow, oh;
        bool expected;
    };
    const Case cases[] = {
        {"31 apart", drawn(32, 32, 100, 100), 32, 32, drawn(32, 32, 131, 100), 32, 32, true},
        {"32 apart is not contact", drawn(32, 32, 100, 100), 32, 32, drawn(32, 32, 132, 100), 32,
         32, false},
        {"diagonal inside", drawn(32, 32, 100, 100), 32, 32, drawn(32, 32, 122, 122), 32, 32,
         true}, // 22*sqrt(2) = 31.1 < 32
        {"diagonal outside", drawn(32, 32, 100, 100), 32, 32, drawn(32, 32, 123, 123), 32, 32,
         false},
        {"scale ignored", drawn(32, 32, 100, 100, 2.0f), 32, 32, drawn(32, 32, 132, 100), 32, 32,
         false},
        {"itself", drawn(32, 32, 100, 100), 32, 32, drawn(32, 32, 100, 100), 32, 32, true},
        {"empty itself", drawn(0, 0, 100, 100), 0, 0, drawn(0, 0, 100, 100), 0, 0, false},
        {"uneven sizes", drawn(40, 8, 0, 0), 40, 8, drawn(8, 8, 15, 0), 8, 8, true}, // r 12 + 4
    };
    for (const Case& c : cases)
        EXPECT_EQ(contact::circleContact(c.self, c.sw, c.sh, c.other, c.ow, c.oh), c.expected)
            << c.name;
}
