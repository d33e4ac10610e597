// The outline of a stroked path as polygons for the coverage rasteriser: a quadrilateral along
// every segment, a wedge at every join (mitred up to the miter limit, bevelled beyond it) and
// butt ends on open subpaths. All polygons run the same way round, so that where they overlap
// the non-zero rule covers them once.
#pragma once

#include "coverage_raster.h"

#include <vector>

namespace plurion::host {

struct Subpath {
    std::vector<Point> points;
    bool closed = false;
};

// The miter limit of the common 2D libraries: a join is mitred while its miter is at most ten
// times the stroke width.
inline constexpr double kDefaultMiterLimit = 10.0;

std::vector<Polygon> StrokePolygons(const std::vector<Subpath>& subpaths, double width,
                                    double miter_limit = kDefaultMiterLimit);

// The points of each subpath as one polygon, for filling.
std::vector<Polygon> FillPolygons(const std::vector<Subpath>& subpaths);

} // namespace plurion::host
