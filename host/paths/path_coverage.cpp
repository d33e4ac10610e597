#include "path_coverage.h"

#include <algorithm>
#include <cmath>

namespace plurion::host::paths {
namespace {

struct Edge {
    Point from;
    Point to;
};

double Distance(Point a, Point b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

std::vector<Edge> Flatten(const PathShape& shape) {
    std::vector<Edge> edges;
    const std::int32_t count = SegmentCount(shape);
    for (std::int32_t s = 0; s < count; ++s) {
        const CubicSegment c = SegmentOf(shape, s);
        const double hull = Distance(c.p0, c.p1) + Distance(c.p1, c.p2) + Distance(c.p2, c.p3);
        const int pieces = std::clamp(static_cast<int>(std::ceil(hull / 2)), 1, 1024);
        Point previous = c.p0;
        for (int i = 1; i <= pieces; ++i) {
            const Point next = PointAt(c, static_cast<double>(i) / pieces);
            edges.push_back({previous, next});
            previous = next;
        }
    }
    // An open path is filled as if closed by a straight line, as masks are.
    if (!shape.closed && count > 0) {
        edges.push_back({shape.vertices.back().position, shape.vertices.front().position});
    }
    return edges;
}

struct Crossing {
    double x;
    int winding;
};

// Adds `weight` times the overlap of [a, b) with each pixel of the row.
void AddSpan(float* row, int left, int width, double a, double b, double weight) {
    a = std::max(a, static_cast<double>(left));
    b = std::min(b, static_cast<double>(left + width));
    if (!(b > a)) {
        return;
    }
    const int first = static_cast<int>(std::floor(a));
    const int last = static_cast<int>(std::ceil(b)) - 1;
    for (int x = first; x <= last; ++x) {
        const double overlap = std::min(b, x + 1.0) - std::max(a, static_cast<double>(x));
        row[x - left] += static_cast<float>(overlap * weight);
    }
}

std::vector<float> GaussianKernel(double feather) {
    const double sigma = feather / 2;
    if (!(sigma > 0.1)) {
        return {1.0f};
    }
    const int radius = static_cast<int>(std::ceil(3 * sigma));
    std::vector<float> kernel(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        const double w = std::exp(-0.5 * i * i / (sigma * sigma));
        kernel[static_cast<std::size_t>(i + radius)] = static_cast<float>(w);
        sum += w;
    }
    for (float& w : kernel) {
        w = static_cast<float>(w / sum);
    }
    return kernel;
}

// One pass of a kernel along rows (step 1) or columns (step width); outside the grid is 0.
std::vector<float> Blur(const std::vector<float>& in, int width, int height,
                        const std::vector<float>& kernel, bool along_rows) {
    const int radius = static_cast<int>(kernel.size() / 2);
    std::vector<float> out(in.size(), 0.0f);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                const int sx = along_rows ? x + k : x;
                const int sy = along_rows ? y : y + k;
                if (sx >= 0 && sx < width && sy >= 0 && sy < height) {
                    sum += kernel[static_cast<std::size_t>(k + radius)] *
                           in[static_cast<std::size_t>(sy) * static_cast<std::size_t>(width) +
                              static_cast<std::size_t>(sx)];
                }
            }
            out[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)] = sum;
        }
    }
    return out;
}

} // namespace

CoverageGrid PathCoverage(const PathShape& shape, int left, int top, int width, int height,
                          int subsamples) {
    CoverageGrid grid{left, top, std::max(width, 0), std::max(height, 0), {}};
    grid.values.assign(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height),
                       0.0f);
    const std::vector<Edge> edges = Flatten(shape);
    const int lines = std::max(subsamples, 1);
    std::vector<Crossing> crossings;
    for (int y = 0; y < grid.height; ++y) {
        float* row = grid.values.data() + static_cast<std::size_t>(y) * grid.width;
        for (int line = 0; line < lines; ++line) {
            const double sy = top + y + (line + 0.5) / lines;
            crossings.clear();
            for (const Edge& e : edges) {
                // Half-open in y, so a vertex on the scanline counts once.
                const bool down = e.from.y <= sy && sy < e.to.y;
                const bool up = e.to.y <= sy && sy < e.from.y;
                if (down || up) {
                    const double f = (sy - e.from.y) / (e.to.y - e.from.y);
                    crossings.push_back({e.from.x + f * (e.to.x - e.from.x), down ? 1 : -1});
                }
            }
            std::sort(crossings.begin(), crossings.end(),
                      [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
            int winding = 0;
            for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].winding;
                if (winding != 0) {
                    AddSpan(row, left, grid.width, crossings[i].x, crossings[i + 1].x, 1.0 / lines);
                }
            }
        }
    }
    for (float& v : grid.values) {
        v = std::clamp(v, 0.0f, 1.0f);
    }
    return grid;
}

CoverageGrid FeatheredPathCoverage(const PathShape& shape, int left, int top, int width, int height,
                                   double feather_x, double feather_y, int subsamples) {
    const std::vector<float> kx = GaussianKernel(feather_x);
    const std::vector<float> ky = GaussianKernel(feather_y);
    const int pad_x = static_cast<int>(kx.size() / 2);
    const int pad_y = static_cast<int>(ky.size() / 2);
    if (pad_x == 0 && pad_y == 0) {
        return PathCoverage(shape, left, top, width, height, subsamples);
    }
    // The path beyond the grid feathers into it: measure a border as wide as the kernels.
    CoverageGrid wide = PathCoverage(shape, left - pad_x, top - pad_y, width + 2 * pad_x,
                                     height + 2 * pad_y, subsamples);
    std::vector<float> soft = Blur(wide.values, wide.width, wide.height, kx, true);
    soft = Blur(soft, wide.width, wide.height, ky, false);
    CoverageGrid grid{left, top, std::max(width, 0), std::max(height, 0), {}};
    grid.values.reserve(static_cast<std::size_t>(grid.width) *
                        static_cast<std::size_t>(grid.height));
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            grid.values.push_back(soft[static_cast<std::size_t>(y + pad_y) * wide.width +
                                       static_cast<std::size_t>(x + pad_x)]);
        }
    }
    return grid;
}

} // namespace plurion::host::paths
