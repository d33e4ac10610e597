#include "coverage_raster.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace plurion::host {
namespace {

// An edge from top to bottom; `winding` is +1 for an edge the polygon runs down, -1 up.
struct Edge {
    double x0, y0, x1, y1;
    double slope; // dx / dy
    int winding;
    double x_at(double y) const { return x0 + (y - y0) * slope; }
};

constexpr double kThinBand = 1e-9;

std::vector<Edge> EdgesOf(const std::vector<Polygon>& polygons) {
    std::vector<Edge> edges;
    for (const Polygon& polygon : polygons) {
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const Point a = polygon[i];
            const Point b = polygon[(i + 1) % polygon.size()];
            if (a.y == b.y || !std::isfinite(a.x + a.y + b.x + b.y)) {
                continue; // horizontal edges bound no band
            }
            const bool down = b.y > a.y;
            const Point top = down ? a : b;
            const Point bottom = down ? b : a;
            edges.push_back({top.x, top.y, bottom.x, bottom.y,
                             (bottom.x - top.x) / (bottom.y - top.y), down ? 1 : -1});
        }
    }
    return edges;
}

bool Inside(int winding, FillRule rule) {
    return rule == FillRule::NonZero ? winding != 0 : (winding & 1) != 0;
}

// The heights inside (top, top + 1) where edges end or cross, with the row's own edges.
std::vector<double> BandBreaks(const std::vector<const Edge*>& active, double top) {
    const double bottom = top + 1;
    std::vector<double> breaks = {top, bottom};
    const auto add = [&](double y) {
        if (y > top && y < bottom) {
            breaks.push_back(y);
        }
    };
    for (std::size_t i = 0; i < active.size(); ++i) {
        const Edge& a = *active[i];
        add(a.y0);
        add(a.y1);
        for (std::size_t j = i + 1; j < active.size(); ++j) {
            const Edge& b = *active[j];
            const double converge = a.slope - b.slope;
            if (std::abs(converge) > 1e-12) {
                add((b.x0 - a.x0 + a.y0 * a.slope - b.y0 * b.slope) / converge);
            }
        }
    }
    std::sort(breaks.begin(), breaks.end());
    return breaks;
}

// Adds the area between edges `left` and `right` over the band [ya, yb] to each pixel column.
void AddTrapezoid(const Edge& left, const Edge& right, double ya, double yb, const PixelBox& bounds,
                  std::vector<double>& row) {
    const double h = yb - ya;
    const double la = left.x_at(ya), lb = left.x_at(yb);
    const double ra = right.x_at(ya), rb = right.x_at(yb);
    const double first = std::floor(std::min(la, lb));
    const double end = std::ceil(std::max(ra, rb));
    // Columns from left_done on lie wholly right of the left edge, columns before right_from
    // wholly left of the right edge: there the band covers its full height.
    const double left_done = std::ceil(std::max(la, lb));
    const double right_from = std::floor(std::min(ra, rb));
    const auto c_begin = static_cast<A_long>(std::max(first, double(bounds.left)));
    const auto c_end = static_cast<A_long>(std::min(end, double(bounds.right)));
    for (A_long c = c_begin; c < c_end; ++c) {
        double area;
        if (c >= left_done && c + 1 <= right_from) {
            area = h;
        } else {
            area = ClampedIntegral(ra - c, rb - c, h) - ClampedIntegral(la - c, lb - c, h);
        }
        row[static_cast<std::size_t>(c - bounds.left)] += area;
    }
}

} // namespace

double ClampedIntegral(double g0, double g1, double h) {
    if (h <= 0) {
        return 0;
    }
    // Cut [0, h] where g crosses 0 and 1; on each piece g is below 0, above 1 or in between.
    double t_zero = h;
    double t_one = h;
    if (g0 != g1) {
        t_zero = std::clamp(-g0 / (g1 - g0) * h, 0.0, h);
        t_one = std::clamp((1 - g0) / (g1 - g0) * h, 0.0, h);
    }
    const std::array<double, 4> cuts = {0, std::min(t_zero, t_one), std::max(t_zero, t_one), h};
    double area = 0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const double t0 = cuts[i];
        const double t1 = cuts[i + 1];
        if (t1 <= t0) {
            continue;
        }
        const double v0 = g0 + (g1 - g0) * (t0 / h);
        const double v1 = g0 + (g1 - g0) * (t1 / h);
        const double mid = (v0 + v1) / 2;
        if (mid >= 1) {
            area += t1 - t0;
        } else if (mid > 0) {
            area += (std::clamp(v0, 0.0, 1.0) + std::clamp(v1, 0.0, 1.0)) / 2 * (t1 - t0);
        }
    }
    return area;
}

void RasterizeCoverage(const std::vector<Polygon>& polygons, FillRule rule, const PixelBox& bounds,
                       const CoverageRowSink& sink) {
    if (bounds.empty()) {
        return;
    }
    std::vector<Edge> edges = EdgesOf(polygons);
    if (edges.empty()) {
        return;
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    double y_min = edges.front().y0;
    double y_max = edges.front().y1;
    for (const Edge& e : edges) {
        y_max = std::max(y_max, e.y1);
    }
    const auto row_begin = static_cast<A_long>(std::max(std::floor(y_min), double(bounds.top)));
    const auto row_end = static_cast<A_long>(std::min(std::ceil(y_max), double(bounds.bottom)));

    std::vector<double> row(static_cast<std::size_t>(bounds.right - bounds.left));
    std::vector<float> coverage(row.size());
    std::vector<const Edge*> active;
    std::vector<std::pair<double, const Edge*>> crossing;
    std::size_t next = 0;
    for (A_long y = row_begin; y < row_end; ++y) {
        const double top = y;
        // Edges come in by their top; those that ended above this row leave.
        while (next < edges.size() && edges[next].y0 < top + 1) {
            active.push_back(&edges[next++]);
        }
        std::erase_if(active, [&](const Edge* e) { return e->y1 <= top; });
        if (active.empty()) {
            continue;
        }
        std::fill(row.begin(), row.end(), 0.0);
        const std::vector<double> breaks = BandBreaks(active, top);
        for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
            const double ya = breaks[b];
            const double yb = breaks[b + 1];
            if (yb - ya < kThinBand) {
                continue;
            }
            const double mid = (ya + yb) / 2;
            crossing.clear();
            for (const Edge* e : active) {
                if (e->y0 < mid && e->y1 > mid) {
                    crossing.emplace_back(e->x_at(mid), e);
                }
            }
            std::sort(crossing.begin(), crossing.end(),
                      [](const auto& l, const auto& r) { return l.first < r.first; });
            int winding = 0;
            const Edge* span_left = nullptr;
            for (const auto& [x, e] : crossing) {
                const bool was_inside = Inside(winding, rule);
                winding += e->winding;
                const bool inside = Inside(winding, rule);
                if (!was_inside && inside) {
                    span_left = e;
                } else if (was_inside && !inside) {
                    AddTrapezoid(*span_left, *e, ya, yb, bounds, row);
                }
            }
        }
        std::size_t first = row.size();
        std::size_t last = 0;
        for (std::size_t i = 0; i < row.size(); ++i) {
            coverage[i] = static_cast<float>(std::clamp(row[i], 0.0, 1.0));
            if (coverage[i] > 0) {
                first = std::min(first, i);
                last = i;
            }
        }
        if (first <= last && first < row.size()) {
            sink(y, bounds.left + static_cast<A_long>(first), coverage.data() + first,
                 static_cast<A_long>(last - first + 1));
        }
    }
}

} // namespace plurion::host
