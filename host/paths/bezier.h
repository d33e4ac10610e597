// Cubic Bezier segments in layer pixels: the point and derivatives at a parameter t in [0, 1],
// and arc length by adaptive Gauss-Legendre integration of the speed |B'(t)|.
//
// Precision: ArcLength is integrated until the halved and the whole 8-point rule agree within
// kArcLengthTolerance pixels on every piece, so a segment's length is exact to about that much
// (the accepted sum is the finer of the two estimates and is far better than the test).
#pragma once

namespace plurion::host::paths {

struct Point {
    double x = 0;
    double y = 0;
};

// From p0 to p3, leaving p0 towards p1 and arriving at p3 from p2.
struct CubicSegment {
    Point p0;
    Point p1;
    Point p2;
    Point p3;
};

inline constexpr double kArcLengthTolerance = 1e-10; // pixels, per integration

Point PointAt(const CubicSegment& segment, double t);
Point DerivativeAt(const CubicSegment& segment, double t);       // dB/dt
Point SecondDerivativeAt(const CubicSegment& segment, double t); // d2B/dt2
double SpeedAt(const CubicSegment& segment, double t);           // |dB/dt|

// The length of the curve between parameters t0 and t1 (t0 <= t1).
double ArcLength(const CubicSegment& segment, double t0, double t1);

// The direction of travel at t as a unit vector: dB/ds, the derivative with respect to arc
// length. Where the curve stops for an instant (a handle of zero length puts dB/dt = 0 at an
// end) it is the limit of the direction as the curve moves on; (0, 0) for a segment that is a
// single point.
Point UnitTangentAt(const CubicSegment& segment, double t);

} // namespace plurion::host::paths
