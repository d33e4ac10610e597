// A surface to draw on: an image of the view in straight float RGBA, with the drawing state of
// the DRAWBOT surface suite (a transform, a clip rectangle and the anti-aliasing policy) on a
// stack. Paint is laid over what is there (source over) with its alpha times the coverage that
// the coverage rasteriser computes; without anti-aliasing a pixel is either covered (coverage of
// one half or more) or not.
#pragma once

#include "coverage_raster.h"
#include "imageio/rgba_image.h"
#include "stroke.h"

#include <array>
#include <vector>

namespace plurion::host {

using ColorF = std::array<float, 4>; // straight RGBA, 0 to 1

class DrawSurface {
  public:
    explicit DrawSurface(RgbaImage& image);

    const RgbaImage& image() const { return image_; }

    void push_state();
    // False when there is no pushed state to go back to.
    bool pop_state();
    int pushed_states() const { return static_cast<int>(stack_.size()) - 1; }

    // Geometry drawn from now on goes through `m` first, then through the current transform.
    void concat(const Affine& m);
    const Affine& transform() const { return state().transform; }
    // Narrows the clip to the pixels that the user-space rectangle reaches.
    void clip_to(double left, double top, double width, double height);
    const PixelBox& clip() const { return state().clip; }
    void set_antialias(bool on) { state().antialias = on; }
    bool antialias() const { return state().antialias; }

    void paint_rect(const ColorF& color, double left, double top, double width, double height);
    void fill(const ColorF& color, const std::vector<Subpath>& path, FillRule rule);
    void stroke(const ColorF& color, double width, const std::vector<Subpath>& path);
    // Draws a straight-RGBA image with its top-left corner at `origin` (user space), each pixel
    // sampled at its centre, nearest or bilinear, with `alpha` over its own.
    void draw_image(const RgbaImage& picture, Point origin, float alpha, bool bilinear);

  private:
    struct State {
        Affine transform;
        PixelBox clip;
        bool antialias = true;
    };
    State& state() { return stack_.back(); }
    const State& state() const { return stack_.back(); }
    // Covers the user-space polygons with the colour.
    void cover(std::vector<Polygon> polygons, FillRule rule, const ColorF& color);
    void blend(A_long x, A_long y, const ColorF& color, float amount);

    RgbaImage& image_;
    std::vector<State> stack_;
};

} // namespace plurion::host
