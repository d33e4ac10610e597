#include "bezier.h"

#include <array>
#include <cmath>

namespace plurion::host::paths {
namespace {

Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}

// Pixel coordinates are far from overflow, so the plain square root is enough (and much faster
// than hypot in the integration's inner loop).
double Norm(Point p) {
    return std::sqrt(p.x * p.x + p.y * p.y);
}

// The 8-point Gauss-Legendre rule on [-1, 1]: nodes +-x with weight w.
struct Node {
    double x;
    double w;
};
constexpr std::array<Node, 4> kGauss8 = {{
    {0.1834346424956498049394761, 0.3626837833783619829651504},
    {0.5255324099163289858177390, 0.3137066458778872873379622},
    {0.7966664774136267395915539, 0.2223810344533744705443560},
    {0.9602898564975362316835609, 0.1012285362903762591525314},
}};

double Gauss8(const CubicSegment& segment, double a, double b) {
    const double half = (b - a) / 2;
    const double mid = (a + b) / 2;
    double sum = 0;
    for (const Node& node : kGauss8) {
        sum += node.w *
               (SpeedAt(segment, mid - half * node.x) + SpeedAt(segment, mid + half * node.x));
    }
    return sum * half;
}

// Splits [a, b] until the two halves agree with the whole; the depth limit only stops a curve
// that the rule cannot resolve in double precision.
double Adaptive(const CubicSegment& segment, double a, double b, double whole, double tolerance,
                int depth) {
    const double mid = (a + b) / 2;
    const double left = Gauss8(segment, a, mid);
    const double right = Gauss8(segment, mid, b);
    const double halves = left + right;
    if (depth == 0 || std::abs(halves - whole) <= tolerance) {
        return halves;
    }
    return Adaptive(segment, a, mid, left, tolerance / 2, depth - 1) +
           Adaptive(segment, mid, b, right, tolerance / 2, depth - 1);
}

// Whether a derivative is too small to give a direction, against the size of the segment.
bool Vanishes(Point d, const CubicSegment& s) {
    const double size = Norm(s.p1 - s.p0) + Norm(s.p2 - s.p1) + Norm(s.p3 - s.p2);
    return Norm(d) <= 1e-12 * size;
}

Point Unit(Point d) {
    const double n = Norm(d);
    return {d.x / n, d.y / n};
}

} // namespace

Point PointAt(const CubicSegment& s, double t) {
    const double u = 1 - t;
    const double b0 = u * u * u;
    const double b1 = 3 * u * u * t;
    const double b2 = 3 * u * t * t;
    const double b3 = t * t * t;
    return {b0 * s.p0.x + b1 * s.p1.x + b2 * s.p2.x + b3 * s.p3.x,
            b0 * s.p0.y + b1 * s.p1.y + b2 * s.p2.y + b3 * s.p3.y};
}

Point DerivativeAt(const CubicSegment& s, double t) {
    const double u = 1 - t;
    const Point a = s.p1 - s.p0;
    const Point b = s.p2 - s.p1;
    const Point c = s.p3 - s.p2;
    return {3 * (u * u * a.x + 2 * u * t * b.x + t * t * c.x),
            3 * (u * u * a.y + 2 * u * t * b.y + t * t * c.y)};
}

Point SecondDerivativeAt(const CubicSegment& s, double t) {
    const double u = 1 - t;
    const Point a = {s.p2.x - 2 * s.p1.x + s.p0.x, s.p2.y - 2 * s.p1.y + s.p0.y};
    const Point b = {s.p3.x - 2 * s.p2.x + s.p1.x, s.p3.y - 2 * s.p2.y + s.p1.y};
    return {6 * (u * a.x + t * b.x), 6 * (u * a.y + t * b.y)};
}

double SpeedAt(const CubicSegment& segment, double t) {
    return Norm(DerivativeAt(segment, t));
}


double ArcLength(const CubicSegment& segment, double t0, double t1) {
    if (!(t1 > t0)) {
        return 0;
    }
    return Adaptive(segment, t0, t1, Gauss8(segment, t0, t1), kArcLengthTolerance, 40);
}

Point UnitTangentAt(const CubicSegment& s, double t) {
    const Point first = DerivativeAt(s, t);
    if (!Vanishes(first, s)) {
        return Unit(first);
    }
    // Near a stop dB/dt grows like B''(t) h, and only from below at the segment's end.
    const Point second = SecondDerivativeAt(s, t);
    if (!Vanishes(second, s)) {
        const Point d = Unit(second);
        return t >= 1 ? Point{-d.x, -d.y} : d;
    }
    // Then like B''' h^2 / 2 from either side.
    const Point third = {6 * (s.p3.x - 3 * s.p2.x + 3 * s.p1.x - s.p0.x),
                         6 * (s.p3.y - 3 * s.p2.y + 3 * s.p1.y - s.p0.y)};
    return Vanishes(third, s) ? Point{} : Unit(third);
}

} // namespace plurion::host::paths
