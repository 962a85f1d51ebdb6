#pragma once

#include <array>

// Contact tests over a sprite's four drawn corners, in window coordinates:
// c0 = image (0, 0), c1 = (0, h), c2 = (w, h), c3 = (w, 0) under its transform.
namespace contact {

struct Point {
    float x;
    float y;
};
using Corners = std::array<Point, 4>;

// Strictly inside: a point on an edge is outside, whatever the winding.
bool inTriangle(Point a, Point b, Point c, Point p);
// Inside triangle (c0, c1, c2) or (c2, c3, c0); the diagonal c0-c2 is outside.
bool inQuad(const Corners& q, Point p);
// Whether a corner of `other` lies inside `self`; not symmetric.
bool boxContact(const Corners& self, const Corners& other);
// Circles of radius (w + h) / 4 about each rectangle's centre, touching when
// the centres are closer than the sum of the radii.
bool circleContact(const Corners& self, int selfW, int selfH, const Corners& other, int otherW,
                   int otherH);

} // namespace contact
