#include "draw_surface.h"

#include <algorithm>
#include <cmath>

namespace plurion::host {
namespace {

// `first` then `second`, in the row-vector form: (x, y, 1) * first * second.
Affine Then(const Affine& first, const Affine& second) {
    return {first.xx * second.xx + first.xy * second.yx,
            first.xx * second.xy + first.xy * second.yy,
            first.yx * second.xx + first.yy * second.yx,
            first.yx * second.xy + first.yy * second.yy,
            first.tx * second.xx + first.ty * second.yx + second.tx,
            first.tx * second.xy + first.ty * second.yy + second.ty};
}

Polygon RectPolygon(double left, double top, double width, double height) {
    return {{left, top}, {left + width, top}, {left + width, top + height}, {left, top + height}};
}

} // namespace

DrawSurface::DrawSurface(RgbaImage& image) : image_(image) {
    stack_.push_back({Affine{}, PixelBox{0, 0, image.width, image.height}, true});
}

void DrawSurface::push_state() {
    stack_.push_back(stack_.back());
}

bool DrawSurface::pop_state() {
    if (stack_.size() < 2) {
        return false;
    }
    stack_.pop_back();
    return true;
}

void DrawSurface::concat(const Affine& m) {
    state().transform = Then(m, state().transform);
}

void DrawSurface::clip_to(double left, double top, double width, double height) {
    state().clip = Intersect(
        state().clip, MappedBounds(state().transform, left, top, left + width, top + height));
}

void DrawSurface::paint_rect(const ColorF& color, double left, double top, double width,
                             double height) {
    cover({RectPolygon(left, top, width, height)}, FillRule::NonZero, color);
}

void DrawSurface::fill(const ColorF& color, const std::vector<Subpath>& path, FillRule rule) {
    cover(FillPolygons(path), rule, color);
}

void DrawSurface::stroke(const ColorF& color, double width, const std::vector<Subpath>& path) {
    cover(StrokePolygons(path, width), FillRule::NonZero, color);
}

void DrawSurface::cover(std::vector<Polygon> polygons, FillRule rule, const ColorF& color) {
    for (Polygon& polygon : polygons) {
        for (Point& p : polygon) {
            p = Apply(transform(), p);
        }
    }
    const bool smooth = antialias();
    RasterizeCoverage(
        polygons, rule, clip(), [&](A_long y, A_long x, const float* coverage, A_long count) {
            for (A_long i = 0; i < count; ++i) {
                const float amount = smooth ? coverage[i] : (coverage[i] >= 0.5f ? 1.0f : 0.0f);
                blend(x + i, y, color, amount);
            }
        });
}

void DrawSurface::blend(A_long x, A_long y, const ColorF& color, float amount) {
    const float a = std::clamp(color[3], 0.0f, 1.0f) * amount;
    if (a <= 0) {
        return;
    }
    float* px = image_.rgba.data() + PixelOffset(image_, x, y);
    const float keep = px[3] * (1 - a);
    const float out_a = a + keep;
    for (int c = 0; c < 3; ++c) {
        px[c] = (color[static_cast<std::size_t>(c)] * a + px[c] * keep) / out_a;
    }
    px[3] = out_a;
}

void DrawSurface::draw_image(const RgbaImage& picture, Point origin, float alpha, bool bilinear) {
    const Affine place = Then(Affine{1, 0, 0, 1, origin.x, origin.y}, transform());
    const std::optional<Affine> inverse = Inverse(place);
    if (!inverse || picture.width <= 0 || picture.height <= 0) {
        return;
    }
    const PixelBox box =
        Intersect(clip(), MappedBounds(place, 0, 0, picture.width, picture.height));
    const auto texel = [&](A_long u, A_long v) {
        u = std::clamp<A_long>(u, 0, picture.width - 1);
        v = std::clamp<A_long>(v, 0, picture.height - 1);
        return picture.rgba.data() + PixelOffset(picture, u, v);
    };
    for (A_long y = box.top; y < box.bottom; ++y) {
        const RowRun run =
            ReachableRun(*inverse, y, box.left, box.right, 0, picture.width, 0, picture.height);
        for (A_long x = run.begin; x < run.end; ++x) {
            const Point at = SourceOfPixel(*inverse, x, y);
            // Premultiplied samples, so that transparent texels lend no colour.
            std::array<float, 4> sum{};
            const auto take = [&](A_long u, A_long v, double w) {
                const float* t = texel(u, v);
                for (int c = 0; c < 3; ++c) {
                    sum[static_cast<std::size_t>(c)] += static_cast<float>(t[c] * t[3] * w);
                }
                sum[3] += static_cast<float>(t[3] * w);
            };
            if (bilinear) {
                const double u = at.x - 0.5, v = at.y - 0.5;
                const auto u0 = static_cast<A_long>(std::floor(u));
                const auto v0 = static_cast<A_long>(std::floor(v));
                const double fu = u - u0, fv = v - v0;
                take(u0, v0, (1 - fu) * (1 - fv));
                take(u0 + 1, v0, fu * (1 - fv));
                take(u0, v0 + 1, (1 - fu) * fv);
                take(u0 + 1, v0 + 1, fu * fv);
            } else {
                take(static_cast<A_long>(std::floor(at.x)), static_cast<A_long>(std::floor(at.y)),
                     1);
            }
            if (sum[3] > 0) {
                blend(x, y, {sum[0] / sum[3], sum[1] / sum[3], sum[2] / sum[3], sum[3]}, alpha);
            }
        }
    }
}

} // namespace plurion::host
