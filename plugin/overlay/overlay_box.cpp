#include "overlay/overlay_box.h"

#include "params/param_index.h"

#include <cmath>

namespace plurion::overlay {
namespace {

// Half the width in layer pixels: square pixels times den / num of the pixel aspect ratio.
double HalfWidth(const BoxParams& box) {
    const PF_RationalScale& par = box.pixel_aspect;
    const double layer_per_square = par.num != 0 ? double(par.den) / double(par.num) : 1.0;
    return box.size_x * 0.5 * layer_per_square;
}

PF_Fixed FixedRounded(double pixels) {
    return static_cast<PF_Fixed>(std::round(pixels * 65536.0));
}

// Truncated toward zero, then wrapped into 16 bits as a short rectangle holds it.
A_short ShortTruncated(double pixels) {
    return static_cast<A_short>(static_cast<A_long>(std::trunc(pixels)));
}

} // namespace

BoxParams ReadBoxParams(const PF_InData& in_data, PF_ParamDef* params[]) {
    BoxParams box;
    const PF_PointDef& position = params[param::grid::kPosition]->u.td;
    box.center = {position.x_value, position.y_value};
    box.size_x = params[param::grid::kSizeX]->u.fs_d.value;
    box.size_y = params[param::grid::kSizeY]->u.fs_d.value;
    box.pixel_aspect = in_data.pixel_aspect_ratio;
    return box;
}

DrawingBox MakeDrawingBox(const BoxParams& box) {
    const double cx = box.center.x / 65536.0;
    const double cy = box.center.y / 65536.0;
    const double hw = HalfWidth(box);
    const double hh = box.size_y * 0.5;
    return {FixedRounded(cx - hw), FixedRounded(cy - hh), FixedRounded(cx + hw),
            FixedRounded(cy + hh)};
}

HitBox MakeHitBox(const BoxParams& box) {
    // The integer parts of the fixed centre: its upper 16 bits.
    const double cx = box.center.x >> 16;
    const double cy = box.center.y >> 16;
    const double hw = HalfWidth(box);
    const double hh = box.size_y * 0.5;
    return {ShortTruncated(cx - hw), ShortTruncated(cy - hh), ShortTruncated(cx + hw),
            ShortTruncated(cy + hh)};
}

std::array<LayerPoint, kHandleCount> HandlePoints(const HitBox& box) {
    return {{{box.left, box.top},
             {box.right, box.top},
             {box.right, box.bottom},
             {box.left, box.bottom},
             {(box.left + box.right) / 2, (box.top + box.bottom) / 2}}};
}

} // namespace plurion::overlay
