// Geometry of the transform kernel, apart from pixels: affine maps in the row-vector form of
// PF_FloatMatrix (a point (x, y, 1) times the matrix, translation in the third row), motion
// samples between matrices, and the destination pixels a mapped source can reach.
// A pixel covers the unit square from its integer corner; it is sampled at its centre.
#pragma once

#include "AE_Effect.h"

#include <optional>
#include <vector>

namespace plurion::host {

// x' = x * xx + y * yx + tx, y' = x * xy + y * yy + ty.
struct Affine {
    double xx = 1, xy = 0;
    double yx = 0, yy = 1;
    double tx = 0, ty = 0;
};

struct Point {
    double x = 0, y = 0;
};

// Integer pixel rectangle, right and bottom exclusive.
struct PixelBox {
    A_long left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

// The matrix as an affine map; none when its third column is not (0, 0, 1), a projective map.
std::optional<Affine> AffineFromMatrix(const PF_FloatMatrix& m);
Point Apply(const Affine& m, Point p);
// None when the map is singular (it squashes the plane onto a line or a point).
std::optional<Affine> Inverse(const Affine& m);
Affine Lerp(const Affine& a, const Affine& b, double t);
bool NearlyEqual(const Affine& a, const Affine& b);

// The maps at which a motion-blurred source is drawn: `samples_per_step` evenly spaced maps from
// each matrix to the next, both ends included and shared ends counted once, so k matrices give
// (k - 1) x (samples_per_step - 1) + 1 maps. Each point of the source moves in a straight line
// between consecutive matrices. One map when the matrices all agree or samples_per_step < 2.
std::vector<Affine> MotionSamples(const std::vector<Affine>& keys, int samples_per_step);

// The composition's motion blur settings.
struct MotionBlurSettings {
    int samples_per_frame = 16; // every step's samples when adaptive sampling is off
    int adaptive_limit = 128;   // the most samples of a step; 0 turns adaptive sampling off
};

// The farthest any point of the rectangle [0, w] x [0, h] moves from map a to map b: the motion
// is affine in the point, so the farthest point is a corner.
double LargestShift(const Affine& a, const Affine& b, double w, double h);

// Adaptive sampling: a step that moves the source by d pixels takes ceil(d) + 1 samples, between
// 2 and the limit, so consecutive samples lie about a pixel apart; with the limit 0, every step
// takes samples_per_frame. Matrices that all agree give one map.
std::vector<Affine> MotionSamples(const std::vector<Affine>& keys,
                                  const MotionBlurSettings& settings, double w, double h);

// The pixels whose square meets the image of the rectangle [x0, x1] x [y0, y1] under m.
PixelBox MappedBounds(const Affine& m, double x0, double y0, double x1, double y1);
PixelBox Intersect(const PixelBox& a, const PixelBox& b);

// The destination pixels x in [x_begin, x_end) of row y whose centre maps, under the
// destination-to-source map `inv`, strictly inside (u_lo, u_hi) x (v_lo, v_hi). The region is
// convex, so they form one run; an empty run has begin == end.
struct RowRun {
    A_long begin = 0, end = 0;
};
RowRun ReachableRun(const Affine& inv, A_long y, A_long x_begin, A_long x_end, double u_lo,
                    double u_hi, double v_lo, double v_hi);

// ReachableRun for many rows of one map and region: the divisions by the map's slopes are done
// once, not on every row.
class RunFinder {
  public:
    RunFinder(const Affine& inv, double u_lo, double u_hi, double v_lo, double v_hi);
    RowRun operator()(A_long y, A_long x_begin, A_long x_end) const;

    // From the bounds alone, without the exact test at the ends, for callers that need no more:
    // Within gives only pixels of the run, perhaps without one at either end; Around gives
    // every pixel of the run, perhaps with one more at either end.
    RowRun Within(A_long y, A_long x_begin, A_long x_end) const;
    RowRun Around(A_long y, A_long x_begin, A_long x_end) const;

  private:
    // The run's ends from the bounds, each moved by `slack` pixels (out where positive); false
    // when a slope is too small to divide by, where only the exact test finds the run.
    bool Bounds(A_long y, A_long x_begin, A_long x_end, double slack, RowRun& run) const;

    Affine inv_;
    double u_lo_, u_hi_, v_lo_, v_hi_;
    double per_u_, per_v_; // 1 / slope of u and of v along a row; 0 where the slope is 0
};

// Source coordinates of the centre of destination pixel (x, y): the one formula the kernels and
// ReachableRun share, so that both agree to the last bit on which pixels are reached.
inline Point SourceOfPixel(const Affine& inv, A_long x, A_long y) {
    const double cx = x + 0.5;
    const double cy = y + 0.5;
    return {cx * inv.xx + (cy * inv.yx + inv.tx), cx * inv.xy + (cy * inv.yy + inv.ty)};
}

} // namespace plurion::host
