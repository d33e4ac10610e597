// Anti-aliased coverage of filled polygons: for every pixel, the exact area of its unit square
// that the region enclosed by the polygons covers, under the non-zero or the even-odd rule.
//
// Each pixel row is cut into bands at every edge end and every crossing of two edges inside it;
// within a band the edges are straight and keep their left-to-right order, so the inside is a
// set of trapezoids whose area over each pixel column is integrated in closed form. Overlapping
// polygons are therefore covered once (a union under the non-zero rule), not added up.
// A pixel covers the unit square from its integer corner.
#pragma once

#include "geometry.h"

#include <functional>
#include <vector>

namespace plurion::host {

using Polygon = std::vector<Point>; // closed: the last point joins the first

enum class FillRule { NonZero, EvenOdd };

// Receives the coverage (0 to 1) of pixels [x, x + count) of row y; rows without coverage are
// left out.
using CoverageRowSink =
    std::function<void(A_long y, A_long x, const float* coverage, A_long count)>;

// Coverage of the region within `bounds` (the pixels to consider).
void RasterizeCoverage(const std::vector<Polygon>& polygons, FillRule rule, const PixelBox& bounds,
                       const CoverageRowSink& sink);

// The integral over t in [0, h] of clamp(g(t), 0, 1), g linear from g0 at t = 0 to g1 at t = h:
// how much of a band of height h lies left of an edge within one pixel column.
double ClampedIntegral(double g0, double g1, double h);

} // namespace plurion::host
