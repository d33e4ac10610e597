#include "segment_lengths.h"

#include <algorithm>
#include <cmath>

namespace plurion::host::paths {

SegmentLengths::SegmentLengths(const CubicSegment& segment, int samples) : segment_(segment) {
    const int n = std::max(samples, 1);
    lengths_.resize(static_cast<std::size_t>(n) + 1);
    lengths_[0] = 0;
    for (int j = 1; j <= n; ++j) {
        lengths_[static_cast<std::size_t>(j)] =
            lengths_[static_cast<std::size_t>(j) - 1] +
            ArcLength(segment_, static_cast<double>(j - 1) / n, static_cast<double>(j) / n);
    }
}

double SegmentLengths::ParameterAt(double s) const {
    if (!(s > 0)) {
        return 0;
    }
    if (s >= length()) {
        return 1;
    }
    // The last table entry at or below s.
    const auto above = std::upper_bound(lengths_.begin(), lengths_.end(), s);
    const auto j = static_cast<std::size_t>(above - lengths_.begin()) - 1;
    const double n = samples();
    const double start = static_cast<double>(j) / n;
    double lo = start;
    double hi = static_cast<double>(j + 1) / n;
    const double base = lengths_[j];
    const double span = lengths_[j + 1] - base;
    // Start where the length would be if the speed were even across the interval.
    double t = span > 0 ? lo + (hi - lo) * (s - base) / span : lo;
    for (int iteration = 0; iteration < 100; ++iteration) {
        const double error = base + ArcLength(segment_, start, t) - s;
        if (std::abs(error) <= kLengthMatch) {
            break;
        }
        if (error > 0) {
            hi = t;
        } else {
            lo = t;
        }
        const double speed = SpeedAt(segment_, t);
        double next = speed > 0 ? t - error / speed : lo;
        if (!(next > lo && next < hi)) {
            next = (lo + hi) / 2;
        }
        if (next == t || hi - lo <= 1e-15) {
            break;
        }
        t = next;
    }
    return t;
}

PointOnPath PointAtLength(const SegmentLengths& lengths, double s) {
    const double t = lengths.ParameterAt(s);
    return {PointAt(lengths.segment(), t), UnitTangentAt(lengths.segment(), t)};
}

} // namespace plurion::host::paths
