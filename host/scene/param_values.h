// The effect's parameter values at a time, as the host hands them to the effect: a full copy of
// the registered definition with its value fields set. Popups, sliders and checkboxes are A_long,
// float sliders PF_FpLong in their displayed unit, angles degrees in 16.16, points effect-layer
// pixels in 16.16. Keyed values interpolate linearly between keys (points per axis, integer
// sliders rounded to the nearest integer) and hold before the first and after the last key;
// popups, checkboxes, layers and parameters flagged PF_ParamFlag_CANNOT_INTERP hold each key
// until the next.
#pragma once

#include "scene/param_registry.h"
#include "scene/scene.h"

#include <optional>

namespace plurion::host {

// The value of a track (at least one key) at a composition frame (any sub-frame time). Between
// two keys the value follows a cubic Bezier in time with handles a third of the way along, as
// the host's keyframes do: a handle of speed 0 at an eased end, the straight line's speed at a
// linear one. Both ends linear is a straight line, both eased 3t^2 - 2t^3.
ParamValue TrackValueAt(const ParamTrack& track, bool holds, double frame);

// The share of the way from one key to the next at a fraction t of the time between them.
double EasedShare(double t, bool ease_out, bool ease_in);

// Points are multiplied by `point_scale` before they become 16.16: a frame rendered at 1/N hands
// them in the pixels of the downsampled layer (scale 1/N), rounded to the nearest 1/65536 pixel.
PF_ParamDef ParamAt(const Scene& scene, const ParamRegistry& registry, int index, double frame,
                    double point_scale = 1.0);

// A parameter's value at a frame in scene units: its track's, or the registered default.
ParamValue ValueAt(const Scene& scene, const RegisteredParam& param, double frame);

// The layer a layer parameter refers to at a frame: an index into scene.layers,
// kEffectLayerIndex for the effect layer, or nothing ("None"). The caller fills the
// PF_LayerDef with that layer's pixels. Throws std::invalid_argument for index 0 (the effect's
// input, which is always the effect layer) and for parameters that are not layers.
std::optional<int> LayerAt(const Scene& scene, const ParamRegistry& registry, int index,
                           double frame);

// 16.16 fixed point, rounded to the nearest step.
PF_Fixed ToFixed(double value);

} // namespace plurion::host
