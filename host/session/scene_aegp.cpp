#include "session/scene_aegp.h"

#include "scene/param_values.h"
#include "session/time_units.h"

namespace plurion::host {

SceneAegp::SceneAegp(const Scene& scene, const ParamRegistry& params, double current_frame)
    : scene_(scene), params_(params), current_frame_(current_frame) {}

A_Time SceneAegp::at_frame(double frame) const {
    return {FrameTime(frame), TimeScaleFor(scene_.composition.fps)};
}

AEGP_LayerIDVal SceneAegp::id_of(int layer) const {
    return layer == kEffectLayerIndex ? effect_layer_id() : static_cast<AEGP_LayerIDVal>(layer) + 1;
}

AEGP_LayerIDVal SceneAegp::effect_layer_id() const {
    return static_cast<AEGP_LayerIDVal>(scene_.layers.size()) + 1;
}

std::optional<AegpScene::LayerTimes> SceneAegp::layer(AEGP_LayerIDVal id) const {
    if (id == effect_layer_id()) {
        return LayerTimes{at_frame(0), at_frame(scene_.composition.frames)};
    }
    if (id < 1 || static_cast<std::size_t>(id) > scene_.layers.size()) {
        return std::nullopt;
    }
    const Layer& layer = scene_.layers[static_cast<std::size_t>(id) - 1];
    return LayerTimes{at_frame(layer.in_point), at_frame(layer.duration)};
}

A_Time SceneAegp::current_time() const {
    return at_frame(current_frame_);
}

A_long SceneAegp::param_count() const {
    return static_cast<A_long>(params_.size());
}

std::optional<AegpScene::StreamAnswer> SceneAegp::param_value(PF_ParamIndex index,
                                                              const A_Time& time) const {
    if (index < 0 || static_cast<std::size_t>(index) >= params_.size() || time.scale == 0) {
        return std::nullopt;
    }
    const double frame =
        static_cast<double>(time.value) / static_cast<double>(time.scale) * scene_.composition.fps;
    StreamAnswer answer;
    if (index == 0) {
        answer.type = AEGP_StreamType_LAYER_ID;
        answer.value.layer_id = effect_layer_id();
        return answer;
    }
    const PF_ParamDef def = ParamAt(scene_, params_, index, frame);
    const auto one = [&](double value) {
        answer.type = AEGP_StreamType_OneD;
        answer.value.one_d = value;
    };
    switch (def.param_type) {
    case PF_Param_LAYER: {
        const std::optional<int> layer = LayerAt(scene_, params_, index, frame);
        answer.type = AEGP_StreamType_LAYER_ID;
        answer.value.layer_id = layer ? id_of(*layer) : 0;
        break;
    }
    case PF_Param_POPUP:
        one(def.u.pd.value);
        break;
    case PF_Param_SLIDER:
        one(def.u.sd.value);
        break;
    case PF_Param_FLOAT_SLIDER:
        one(def.u.fs_d.value);
        break;
    case PF_Param_CHECKBOX:
        one(def.u.bd.value);
        break;
    case PF_Param_ANGLE:
        one(def.u.ad.value / 65536.0);
        break;
    case PF_Param_POINT:
        answer.type = AEGP_StreamType_TwoD_SPATIAL;
        answer.value.two_d = {def.u.td.x_value / 65536.0, def.u.td.y_value / 65536.0};
        break;
    default:
        break; // groups carry no value
    }
    return answer;
}

} // namespace plurion::host
