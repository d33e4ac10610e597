#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace plurion::host {
namespace {

constexpr double kProjectiveTolerance = 1e-12;

// A double clamped into the range of pixel coordinates before it becomes an integer.
A_long ToPixel(double v) {
    constexpr double kLimit = 1 << 30;
    if (!(v > -kLimit)) {
        return -(1 << 30);
    }
    if (v > kLimit) {
        return 1 << 30;
    }
    return static_cast<A_long>(v);
}

bool Inside(const Affine& inv, A_long x, A_long y, double u_lo, double u_hi, double v_lo,
            double v_hi) {
    const Point p = SourceOfPixel(inv, x, y);
    return p.x > u_lo && p.x < u_hi && p.y > v_lo && p.y < v_hi;
}

// Narrows [lo, hi] to the x where lo_bound < (x + 0.5) * slope + offset < hi_bound, given
// per_slope = 1 / slope. The product may differ from the quotient in its last bit; the runs are
// widened by a pixel and trimmed by the exact test, so that never changes a run.
void NarrowByAxis(double slope, double per_slope, double offset, double lo_bound, double hi_bound,
                  double& lo, double& hi) {
    if (slope == 0.0) {
        if (!(offset > lo_bound && offset < hi_bound)) {
            hi = lo - 1.0;
        }
        return;
    }
    if (per_slope == 0.0) {
        return; // a slope too small to divide by: the exact trim alone finds the run
    }
    double a = (lo_bound - offset) * per_slope - 0.5;
    double b = (hi_bound - offset) * per_slope - 0.5;
    if (a > b) {
        std::swap(a, b);
    }
    lo = std::max(lo, a);
    hi = std::min(hi, b);
}

// 1 / slope where that is a finite number; else 0.
double PerSlope(double slope) {
    const double per = 1.0 / slope;
    return std::isfinite(per) ? per : 0.0;
}

} // namespace

std::optional<Affine> AffineFromMatrix(const PF_FloatMatrix& m) {
    if (std::fabs(m.mat[0][2]) > kProjectiveTolerance ||
        std::fabs(m.mat[1][2]) > kProjectiveTolerance ||
        std::fabs(m.mat[2][2] - 1.0) > kProjectiveTolerance) {
        return std::nullopt;
    }
    return Affine{m.mat[0][0], m.mat[0][1], m.mat[1][0], m.mat[1][1], m.mat[2][0], m.mat[2][1]};
}

Point Apply(const Affine& m, Point p) {
    return {p.x * m.xx + p.y * m.yx + m.tx, p.x * m.xy + p.y * m.yy + m.ty};
}

std::optional<Affine> Inverse(const Affine& m) {
    const double det = m.xx * m.yy - m.xy * m.yx;
    if (!std::isfinite(det) || std::fabs(det) < 1e-12) {
        return std::nullopt;
    }
    Affine inv;
    inv.xx = m.yy / det;
    inv.xy = -m.xy / det;
    inv.yx = -m.yx / det;
    inv.yy = m.xx / det;
    inv.tx = -(m.tx * inv.xx + m.ty * inv.yx);
    inv.ty = -(m.tx * inv.xy + m.ty * inv.yy);
    return inv;
}

Affine Lerp(const Affine& a, const Affine& b, double t) {
    auto mix = [t](double p, double q) { return p + (q - p) * t; };
    return {mix(a.xx, b.xx), mix(a.xy, b.xy), mix(a.yx, b.yx),
            mix(a.yy, b.yy), mix(a.tx, b.tx), mix(a.ty, b.ty)};
}

bool NearlyEqual(const Affine& a, const Affine& b) {
    constexpr double kLinear = 1e-9;
    constexpr double kOffset = 1e-6;
    return std::fabs(a.xx - b.xx) <= kLinear && std::fabs(a.xy - b.xy) <= kLinear &&
           std::fabs(a.yx - b.yx) <= kLinear && std::fabs(a.yy - b.yy) <= kLinear &&
           std::fabs(a.tx - b.tx) <= kOffset && std::fabs(a.ty - b.ty) <= kOffset;
}

std::vector<Affine> MotionSamples(const std::vector<Affine>& keys, int samples_per_step) {
    if (keys.empty()) {
        return {};
    }
    const bool still = std::all_of(keys.begin(), keys.end(),
                                   [&](const Affine& k) { return NearlyEqual(k, keys.front()); });
    if (keys.size() == 1 || still || samples_per_step < 2) {
        return {keys.front()};
    }
    std::vector<Affine> maps;
    const int steps = samples_per_step - 1;
    maps.reserve((keys.size() - 1) * static_cast<std::size_t>(steps) + 1);
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
        for (int s = 0; s < steps; ++s) {
            maps.push_back(Lerp(keys[k], keys[k + 1], static_cast<double>(s) / steps));
        }
    }
    maps.push_back(keys.back());
    return maps;
}

double LargestShift(const Affine& a, const Affine& b, double w, double h) {
    double largest = 0.0;
    for (const Point corner : {Point{0, 0}, Point{w, 0}, Point{0, h}, Point{w, h}}) {
        const Point p = Apply(a, corner);
        const Point q = Apply(b, corner);
        largest = std::max(largest, std::hypot(q.x - p.x, q.y - p.y));
    }
    return largest;
}

std::vector<Affine> MotionSamples(const std::vector<Affine>& keys,
                                  const MotionBlurSettings& settings, double w, double h) {
    if (settings.adaptive_limit <= 0) {
        return MotionSamples(keys, settings.samples_per_frame);
    }
    if (keys.empty()) {
        return {};
    }
    const bool still = std::all_of(keys.begin(), keys.end(),
                                   [&](const Affine& k) { return NearlyEqual(k, keys.front()); });
    if (still) {
        return {keys.front()};
    }
    const int limit = std::max(2, settings.adaptive_limit);
    std::vector<Affine> maps;
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
        // Rounding in the maps must not cost a whole sample: 3 pixels are 3, not 3.0000001.
        const double shift = LargestShift(keys[k], keys[k + 1], w, h) - 1e-6;
        // NaN and huge shifts take the limit.
        const int samples =
            shift < limit ? std::max(2, static_cast<int>(std::ceil(shift)) + 1) : limit;
        const int steps = std::min(samples, limit) - 1;
        for (int s = 0; s < steps; ++s) {
            maps.push_back(Lerp(keys[k], keys[k + 1], static_cast<double>(s) / steps));
        }
    }
    maps.push_back(keys.back());
    return maps;
}

PixelBox MappedBounds(const Affine& m, double x0, double y0, double x1, double y1) {
    const Point corners[4] = {Apply(m, {x0, y0}), Apply(m, {x1, y0}), Apply(m, {x0, y1}),
                              Apply(m, {x1, y1})};
    double left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (const Point& p : corners) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return {ToPixel(std::floor(left)), ToPixel(std::floor(top)), ToPixel(std::ceil(right)),
            ToPixel(std::ceil(bottom))};
}

PixelBox Intersect(const PixelBox& a, const PixelBox& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

RunFinder::RunFinder(const Affine& inv, double u_lo, double u_hi, double v_lo, double v_hi)
    : inv_(inv), u_lo_(u_lo), u_hi_(u_hi), v_lo_(v_lo), v_hi_(v_hi), per_u_(PerSlope(inv.xx)),
      per_v_(PerSlope(inv.xy)) {}

RowRun RunFinder::operator()(A_long y, A_long x_begin, A_long x_end) const {
    const double cy = y + 0.5;
    double lo = x_begin;
    double hi = x_end;
    NarrowByAxis(inv_.xx, per_u_, cy * inv_.yx + inv_.tx, u_lo_, u_hi_, lo, hi);
    NarrowByAxis(inv_.xy, per_v_, cy * inv_.yy + inv_.ty, v_lo_, v_hi_, lo, hi);
    if (!(lo <= hi)) {
        return {x_begin, x_begin};
    }
    // The bounds say where the run starts and ends but for rounding; the exact test the kernels
    // use settles each end, usually at the first pixel it looks at on either side.
    auto inside = [&](A_long x) { return Inside(inv_, x, y, u_lo_, u_hi_, v_lo_, v_hi_); };
    A_long begin = std::clamp(ToPixel(std::ceil(lo)), x_begin, x_end);
    A_long end = std::clamp(ToPixel(std::floor(hi)) + 1, begin, x_end);
    while (begin > x_begin && inside(begin - 1)) {
        --begin;
    }
    while (begin < end && !inside(begin)) {
        ++begin;
    }
    while (end < x_end && inside(end)) {
        ++end;
    }
    while (end > begin && !inside(end - 1)) {
        --end;
    }
    return {begin, end};
}

bool RunFinder::Bounds(A_long y, A_long x_begin, A_long x_end, double slack, RowRun& run) const {
    if ((inv_.xx != 0.0 && per_u_ == 0.0) || (inv_.xy != 0.0 && per_v_ == 0.0)) {
        return false;
    }
    // Open bounds, unlike [x_begin, x_end): far beyond any pixel until an axis narrows them.
    constexpr double kFar = 4.0 * (1 << 30);
    const double cy = y + 0.5;
    double lo = -kFar;
    double hi = kFar;
    NarrowByAxis(inv_.xx, per_u_, cy * inv_.yx + inv_.tx, u_lo_, u_hi_, lo, hi);
    NarrowByAxis(inv_.xy, per_v_, cy * inv_.yy + inv_.ty, v_lo_, v_hi_, lo, hi);
    if (!(lo <= hi)) {
        run = {x_begin, x_begin};
        return true;
    }
    // The pixels strictly between lo and hi, give or take the slack, within [x_begin, x_end).
    const A_long begin = std::clamp(ToPixel(std::floor(lo - slack)) + 1, x_begin, x_end);
    run = {begin, std::clamp(ToPixel(std::ceil(hi + slack)), begin, x_end)};
    return true;
}

// The bounds err by far less than a millionth of a pixel (they are quotients of doubles), so
// that much slack settles which way any error goes.
constexpr double kBoundsSlack = 1e-6;

RowRun RunFinder::Within(A_long y, A_long x_begin, A_long x_end) const {
    RowRun run;
    return Bounds(y, x_begin, x_end, -kBoundsSlack, run) ? run : (*this)(y, x_begin, x_end);
}

RowRun RunFinder::Around(A_long y, A_long x_begin, A_long x_end) const {
    RowRun run;
    return Bounds(y, x_begin, x_end, kBoundsSlack, run) ? run : (*this)(y, x_begin, x_end);
}

RowRun ReachableRun(const Affine& inv, A_long y, A_long x_begin, A_long x_end, double u_lo,
                    double u_hi, double v_lo, double v_hi) {
    return RunFinder(inv, u_lo, u_hi, v_lo, v_hi)(y, x_begin, x_end);
}

} // namespace plurion::host
