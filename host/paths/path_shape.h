// A mask path as the path suites hand it out: vertices with in and out tangents relative to
// their vertex, open or closed. Segment s runs from vertex s to vertex s + 1 (on a closed path
// the last segment runs back to vertex 0), leaving along the out tangent and arriving along the
// in tangent, so a path without tangents is a polygon.
#pragma once

#include "bezier.h"

#include <cstdint>
#include <vector>

namespace plurion::host::paths {

struct PathVertex {
    Point position;
    Point in_tangent;  // relative to the position
    Point out_tangent; // relative to the position
};

struct PathShape {
    bool closed = true;
    std::vector<PathVertex> vertices;
};

// A closed path of V vertices has V segments (one vertex: a loop back to itself), an open one
// V - 1.
std::int32_t SegmentCount(const PathShape& shape);

// Segment `s`, 0 <= s < SegmentCount(shape).
CubicSegment SegmentOf(const PathShape& shape, std::int32_t s);

// Vertex `index`, 0 <= index <= SegmentCount(shape): a closed path's last index is vertex 0 again.
PathVertex VertexOf(const PathShape& shape, std::int32_t index);

// Every position and tangent multiplied by `factor` (a path in downsampled pixels).
PathShape ScaledShape(PathShape shape, double factor);

} // namespace plurion::host::paths
