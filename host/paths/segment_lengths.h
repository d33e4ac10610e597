// A segment's length table, as the path data suite prepares it: the arc length from the start
// at `samples` + 1 evenly spaced parameters, each interval integrated with ArcLength. The table
// only makes finding a length faster; the lengths themselves are as exact as ArcLength.
//
// ParameterAt inverts the arc length: the table brackets the interval, then Newton steps on the
// integrated length (its derivative is the speed), kept inside the bracket by bisection, until
// the length at the parameter is within kLengthMatch pixels of the one asked for.
#pragma once

#include "bezier.h"

#include <vector>

namespace plurion::host::paths {

inline constexpr double kLengthMatch = 1e-9; // pixels

class SegmentLengths {
  public:
    SegmentLengths(const CubicSegment& segment, int samples);

    const CubicSegment& segment() const { return segment_; }
    int samples() const { return static_cast<int>(lengths_.size()) - 1; }
    double length() const { return lengths_.back(); }

    // The parameter at arc length `s` from the start; lengths outside [0, length()] are held
    // at the ends.
    double ParameterAt(double s) const;

  private:
    CubicSegment segment_;
    std::vector<double> lengths_; // at t = j / samples
};

// The point and the unit direction of travel at an arc length along a segment.
struct PointOnPath {
    Point point;
    Point direction;
};
PointOnPath PointAtLength(const SegmentLengths& lengths, double s);

} // namespace plurion::host::paths
