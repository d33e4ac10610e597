#include "scene/param_edit.h"

#include <algorithm>

namespace plurion::host {

ParamValue ValueOfDef(const PF_ParamDef& def, const RegisteredParam& registered) {
    const PF_ParamDefUnion& range = registered.def.u;
    switch (def.param_type) {
    case PF_Param_POPUP:
        return {double(
            std::clamp<A_long>(def.u.pd.value, 1, std::max<A_long>(1, range.pd.num_choices)))};
    case PF_Param_SLIDER:
        return {double(std::clamp(def.u.sd.value, range.sd.valid_min, range.sd.valid_max))};
    case PF_Param_FLOAT_SLIDER:
        return {std::clamp(def.u.fs_d.value, double(range.fs_d.valid_min),
                           double(range.fs_d.valid_max))};
    case PF_Param_ANGLE:
        return {def.u.ad.value / 65536.0};
    case PF_Param_POINT:
        return {def.u.td.x_value / 65536.0, def.u.td.y_value / 65536.0};
    case PF_Param_CHECKBOX:
        return {def.u.bd.value != 0 ? 1.0 : 0.0};
    default:
        return {};
    }
}

void SetParamValue(Scene& scene, int index, double frame, ParamValue value) {
    ParamTrack& track = scene.effect[index];
    if (track.size() < 2) {
        track = {{0.0, value}};
        return;
    }
    SetParamKey(track, frame, value);
}

void SetParamKey(ParamTrack& track, double frame, ParamValue value) {
    const auto at = std::lower_bound(track.begin(), track.end(), frame,
                                     [](const ParamKey& key, double f) { return key.frame < f; });
    if (at != track.end() && at->frame == frame) {
        at->value = value;
    } else {
        track.insert(at, {frame, value});
    }
}

} // namespace plurion::host
