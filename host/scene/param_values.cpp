#include "scene/param_values.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace plurion::host {
namespace {

bool Holds(const PF_ParamDef& def) {
    return def.param_type == PF_Param_POPUP || def.param_type == PF_Param_CHECKBOX ||
           def.param_type == PF_Param_LAYER || (def.flags & PF_ParamFlag_CANNOT_INTERP) != 0;
}

// The registered default in the same units as scene values.
ParamValue DefaultValue(const PF_ParamDef& def, const Layer& effect_layer) {
    switch (def.param_type) {
    case PF_Param_POPUP:
        return {double(def.u.pd.dephault)};
    case PF_Param_SLIDER:
        return {double(def.u.sd.dephault)};
    case PF_Param_FLOAT_SLIDER:
        return {double(def.u.fs_d.dephault)};
    case PF_Param_ANGLE:
        return {def.u.ad.dephault / 65536.0};
    case PF_Param_POINT:
        // Point defaults are percentages of the layer's size.
        return {def.u.td.x_dephault / 65536.0 / 100.0 * effect_layer.width,
                def.u.td.y_dephault / 65536.0 / 100.0 * effect_layer.height};
    case PF_Param_CHECKBOX:
        return {def.u.bd.dephault != 0 ? 1.0 : 0.0};
    case PF_Param_LAYER:
        return {def.u.ld.dephault == PF_LayerDefault_MYSELF ? double(kEffectLayerIndex)
                                                            : double(kNoLayer)};
    default:
        return {};
    }
}

A_long ToLong(double value) {
    return static_cast<A_long>(std::clamp(std::round(value),
                                          double(std::numeric_limits<A_long>::min()),
                                          double(std::numeric_limits<A_long>::max())));
}

} // namespace

ParamValue ValueAt(const Scene& scene, const RegisteredParam& param, double frame) {
    const auto track = scene.effect.find(param.index);
    if (track == scene.effect.end() || track->second.empty()) {
        return DefaultValue(param.def, scene.effect_layer);
    }
    return TrackValueAt(track->second, Holds(param.def), frame);
}

PF_Fixed ToFixed(double value) {
    return ToLong(value * 65536.0);
}

double EasedShare(double t, bool ease_out, bool ease_in) {
    // Handles at a third of the time keep the time axis linear, so the share is the Bezier's
    // value coordinate: control values 0, a, b, 1 with a = 0 (eased) or 1/3 (linear) and
    // b = 1 (eased) or 2/3 (linear).
    const double a = ease_out ? 0.0 : 1.0 / 3.0;
    const double b = ease_in ? 1.0 : 2.0 / 3.0;
    const double u = 1.0 - t;
    return 3.0 * u * u * t * a + 3.0 * u * t * t * b + t * t * t;
}

ParamValue TrackValueAt(const ParamTrack& track, bool holds, double frame) {
    if (frame <= track.front().frame) {
        return track.front().value;
    }
    if (frame >= track.back().frame) {
        return track.back().value;
    }
    const auto next = std::upper_bound(track.begin(), track.end(), frame,
                                       [](double t, const ParamKey& key) { return t < key.frame; });
    const ParamKey& before = *(next - 1);
    if (holds || before.ease == Ease::hold) {
        return before.value;
    }
    const double t = EasedShare((frame - before.frame) / (next->frame - before.frame),
                                before.ease == Ease::ease, next->ease == Ease::ease);
    return {before.value.x + (next->value.x - before.value.x) * t,
            before.value.y + (next->value.y - before.value.y) * t};
}

PF_ParamDef ParamAt(const Scene& scene, const ParamRegistry& registry, int index, double frame,
                    double point_scale) {
    const RegisteredParam& param = registry.at(index);
    PF_ParamDef def = param.def;
    const ParamValue value = ValueAt(scene, param, frame);
    switch (def.param_type) {
    case PF_Param_POPUP:
        def.u.pd.value = ToLong(value.x);
        break;
    case PF_Param_SLIDER:
        def.u.sd.value = ToLong(value.x);
        break;
    case PF_Param_FLOAT_SLIDER:
        def.u.fs_d.value = value.x;
        break;
    case PF_Param_ANGLE:
        def.u.ad.value = ToFixed(value.x);
        break;
    case PF_Param_POINT:
        def.u.td.x_value = ToFixed(value.x * point_scale);
        def.u.td.y_value = ToFixed(value.y * point_scale);
        break;
    case PF_Param_CHECKBOX:
        def.u.bd.value = ToLong(value.x);
        break;
    default:
        break; // layers: the caller fills the pixels; groups carry no value
    }
    return def;
}

std::optional<int> LayerAt(const Scene& scene, const ParamRegistry& registry, int index,
                           double frame) {
    const RegisteredParam& param = registry.at(index);
    if (index == 0 || param.def.param_type != PF_Param_LAYER) {
        throw std::invalid_argument("parameter " + std::to_string(index) +
                                    " is not a layer parameter of the effect");
    }
    const int layer = static_cast<int>(ValueAt(scene, param, frame).x);
    if (layer == kNoLayer) {
        return std::nullopt;
    }
    return layer;
}

} // namespace plurion::host
