#include "stroke.h"

#include <algorithm>
#include <cmath>

namespace plurion::host {
namespace {

constexpr double kSamePoint = 1e-9;

Point Add(Point a, Point b, double k = 1) {
    return {a.x + b.x * k, a.y + b.y * k};
}

// Twice the signed area; positive for one way round, negative for the other.
double SignedArea(const Polygon& polygon) {
    double sum = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point a = polygon[i];
        const Point b = polygon[(i + 1) % polygon.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

void AddOriented(std::vector<Polygon>& out, Polygon polygon) {
    if (SignedArea(polygon) < 0) {
        std::reverse(polygon.begin(), polygon.end());
    }
    out.push_back(std::move(polygon));
}

// The subpath's points without repeats (a zero-length segment has no direction).
std::vector<Point> DistinctPoints(const Subpath& subpath) {
    std::vector<Point> points;
    for (const Point p : subpath.points) {
        if (points.empty() ||
            std::hypot(p.x - points.back().x, p.y - points.back().y) > kSamePoint) {
            points.push_back(p);
        }
    }
    if (subpath.closed && points.size() > 1 &&
        std::hypot(points.front().x - points.back().x, points.front().y - points.back().y) <=
            kSamePoint) {
        points.pop_back();
    }
    return points;
}

Point UnitNormal(Point from, Point to) {
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    return {-(to.y - from.y) / length, (to.x - from.x) / length};
}

// The wedge that fills the outside of the turn at `at` between segments with unit normals n0
// and n1 (`turn` is the cross product of their directions).
void AddJoin(std::vector<Polygon>& out, Point at, Point n0, Point n1, double turn, double half,
             double miter_limit) {
    if (std::abs(turn) < 1e-12) {
        return; // straight on, or straight back: nothing sticks out beyond the two segments
    }
    const double side = turn > 0 ? -1.0 : 1.0; // the outside of the turn
    const Point a = Add(at, n0, side * half);
    const Point b = Add(at, n1, side * half);
    const Point bisector = Add(n0, n1);
    const double length2 = bisector.x * bisector.x + bisector.y * bisector.y;
    // The miter sticks out half / cos(turn / 2) = 2 half / |n0 + n1|; its ratio to the width is
    // 2 / |n0 + n1|.
    if (length2 > 0 && 2 / std::sqrt(length2) <= miter_limit) {
        const Point miter = Add(at, bisector, side * half * 2 / length2);
        AddOriented(out, {at, a, miter, b});
    } else {
        AddOriented(out, {at, a, b});
    }
}

} // namespace

std::vector<Polygon> StrokePolygons(const std::vector<Subpath>& subpaths, double width,
                                    double miter_limit) {
    std::vector<Polygon> out;
    const double half = width / 2;
    if (!(half > 0)) {
        return out;
    }
    for (const Subpath& subpath : subpaths) {
        const std::vector<Point> p = DistinctPoints(subpath);
        const std::size_t n = p.size();
        if (n < 2) {
            continue;
        }
        const std::size_t segments = subpath.closed && n > 2 ? n : n - 1;
        for (std::size_t i = 0; i < segments; ++i) {
            const Point a = p[i];
            const Point b = p[(i + 1) % n];
            const Point normal = UnitNormal(a, b);
            AddOriented(out, {Add(a, normal, half), Add(b, normal, half), Add(b, normal, -half),
                              Add(a, normal, -half)});
        }
        // Joins at inner points, and at every point of a closed subpath.
        const std::size_t first_join = subpath.closed && n > 2 ? 0 : 1;
        const std::size_t joins = subpath.closed && n > 2 ? n : n - 1;
        for (std::size_t i = first_join; i < joins; ++i) {
            const Point before = p[(i + n - 1) % n];
            const Point at = p[i];
            const Point after = p[(i + 1) % n];
            const double turn =
                (at.x - before.x) * (after.y - at.y) - (at.y - before.y) * (after.x - at.x);
            AddJoin(out, at, UnitNormal(before, at), UnitNormal(at, after), turn, half,
                    miter_limit);
        }
    }
    return out;
}

std::vector<Polygon> FillPolygons(const std::vector<Subpath>& subpaths) {
    std::vector<Polygon> out;
    for (const Subpath& subpath : subpaths) {
        if (subpath.points.size() > 2) {
            out.push_back(subpath.points);
        }
    }
    return out;
}

} // namespace plurion::host
