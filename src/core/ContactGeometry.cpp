#include "core/ContactGeometry.h"

namespace contact {

bool inTriangle(Point a, Point b, Point c, Point p)
{
    const double ax = a.x, ay = a.y, bx = b.x, by = b.y, cx = c.x, cy = c.y;
    const double px = p.x, py = p.y;
    const double d1 = (ax - px) * (by - ay) - (bx - ax) * (ay - py);
    const double d2 = (bx - px) * (cy - by) - (cx - bx) * (by - py);
    const double d3 = (cx - px) * (ay - cy) - (ax - cx) * (cy - py);
    return (d1 < 0 && d2 < 0 && d3 < 0) || (d1 > 0 && d2 > 0 && d3 > 0);
}

bool inQuad(const Corners& q, Point p)
{
    return inTriangle(q[0], q[1], q[2], p) || inTriangle(q[2], q[3], q[0], p);
}

bool boxContact(const Corners& self, const Corners& other)
{
    for (const Point& p : other)
        if (inQuad(self, p))
            return true;
    return false;
}

bool circleContact(const Corners& self, int selfW, int selfH, const Corners& other, int otherW,
                   int otherH)
{
    // Unsigned arithmetic wraps like the 32-bit sum it stands for, without overflow UB.
    const auto s = static_cast<int>(static_cast<unsigned>(selfH) + static_cast<unsigned>(selfW) +
                                    static_cast<unsigned>(otherW) + static_cast<unsigned>(otherH));
    double dx = 0, dy = 0;
    for (int i = 0; i < 4; ++i) {
        dx += double(self[i].x) - double(other[i].x);
        dy += double(self[i].y) - double(other[i].y);
    }
    const double sd = s;
    return sd * sd > dx * dx + dy * dy;
}

} // namespace contact
