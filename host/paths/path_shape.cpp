#include "path_shape.h"

namespace plurion::host::paths {
namespace {

Point Plus(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}

Point Times(Point p, double factor) {
    return {p.x * factor, p.y * factor};
}

} // namespace

std::int32_t SegmentCount(const PathShape& shape) {
    const auto count = static_cast<std::int32_t>(shape.vertices.size());
    if (count == 0) {
        return 0;
    }
    return shape.closed ? count : count - 1;
}

PathVertex VertexOf(const PathShape& shape, std::int32_t index) {
    const auto count = static_cast<std::int32_t>(shape.vertices.size());
    return shape.vertices[static_cast<std::size_t>(index % count)];
}

CubicSegment SegmentOf(const PathShape& shape, std::int32_t s) {
    const PathVertex from = VertexOf(shape, s);
    const PathVertex to = VertexOf(shape, s + 1);
    return {from.position, Plus(from.position, from.out_tangent), Plus(to.position, to.in_tangent),
            to.position};
}

PathShape ScaledShape(PathShape shape, double factor) {
    for (PathVertex& v : shape.vertices) {
        v.position = Times(v.position, factor);
        v.in_tangent = Times(v.in_tangent, factor);
        v.out_tangent = Times(v.out_tangent, factor);
    }
    return shape;
}

} // namespace plurion::host::paths
