// How much of each pixel lies inside a path, for drawing masks: the path is flattened into
// straight pieces of at most about two pixels, each pixel row is crossed by `subsamples`
// scanlines and each scanline's inside spans (non-zero winding) count with their exact
// horizontal overlap. A feather softens the edge with a Gaussian of standard deviation
// feather / 2 along each axis, so the edge rises over about `feather` pixels.
#pragma once

#include "path_shape.h"

#include <vector>

namespace plurion::host::paths {

// Coverage from 0 to 1 of the pixels [left, left + width) x [top, top + height), row by row.
struct CoverageGrid {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<float> values;

    float at(int x, int y) const {
        return values[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x - left)];
    }
};

CoverageGrid PathCoverage(const PathShape& shape, int left, int top, int width, int height,
                          int subsamples);

// The same, feathered; the path just outside the grid feathers into it.
CoverageGrid FeatheredPathCoverage(const PathShape& shape, int left, int top, int width, int height,
                                   double feather_x, double feather_y, int subsamples);

} // namespace plurion::host::paths
