#include "layout/time_layer_frames.h"

#include "entry/error_chain.h"
#include "entry/suite_handler.h"
#include "layout/checkout_id.h"
#include "layout/truncate.h"
#include "params/param_index.h"

#include <functional>

namespace plurion {
namespace {

// The effect is not registered as an AEGP plug-in of its own; the AEGP calls take id 0.
constexpr AEGP_PluginID kPluginId = 0;

// An AEGP object of the measure, disposed when its holder goes out of scope, also when a suite
// error is thrown on the way. Declared in the order made, they go back the other way round.
template <class Object>
class AegpObject {
  public:
    template <class Dispose>
    explicit AegpObject(Dispose dispose) : dispose_(dispose) {}
    ~AegpObject() {
        if (held) {
            dispose_(object);
        }
    }
    AegpObject(const AegpObject&) = delete;
    AegpObject& operator=(const AegpObject&) = delete;

    // Records the result of the call that made the object: it is held when that succeeded.
    A_Err make(A_Err result) {
        held = result == A_Err_NONE;
        return result;
    }

    Object object{};
    bool held = false;

  private:
    std::function<void(Object&)> dispose_;
};

// The layer's time for the measure's kind, in the time mode the kind names.
A_Err LayerTime(const AEGP_LayerSuite5& layers, AEGP_LayerH layer, TimeLayerMeasure kind,
                A_Time& time) {
    switch (kind) {
    case TimeLayerMeasure::Duration:
        return layers.AEGP_GetLayerDuration(layer, AEGP_LTimeMode_LayerTime, &time);
    case TimeLayerMeasure::InPoint:
        return layers.AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &time);
    case TimeLayerMeasure::CurrentTime:
        return layers.AEGP_GetLayerCurrentTime(layer, AEGP_LTimeMode_LayerTime, &time);
    }
    return A_Err_PARAMETER;
}

} // namespace

std::int32_t FramesOfTime(const A_Time& time, const PF_InData& in_data) {
    if (time.scale == 0 || in_data.time_step == 0) {
        return 0;
    }
    // Single precision throughout, as the measure is defined.
    const float seconds = static_cast<float>(time.value) / static_cast<float>(time.scale);
    const float frames =
        seconds * static_cast<float>(in_data.time_scale) / static_cast<float>(in_data.time_step);
    return TruncateToInt32(frames);
}

std::int32_t MeasureTimeLayer(const PF_InData& in_data, PF_ParamIndex index,
                              TimeLayerMeasure kind) {
    SuiteHandler suites(in_data.pica_basicP);
    // Every table is had before any object is made, so a missing suite cannot strand one.
    const AEGP_PFInterfaceSuite1* effects_of_layers = suites.PFInterfaceSuite1();
    const AEGP_StreamSuite2* streams = suites.StreamSuite7();
    const AEGP_LayerSuite5* layers = suites.LayerSuite11();
    const AEGP_LayerSuite7* layers_by_id = suites.LayerSuite13();
    const AEGP_EffectSuite2* effects = suites.EffectSuite2();
    AegpObject<AEGP_EffectRefH> effect(
        [effects](AEGP_EffectRefH& e) { effects->AEGP_DisposeEffect(e); });
    AegpObject<AEGP_StreamRefH> stream(
        [streams](AEGP_StreamRefH& s) { streams->AEGP_DisposeStream(s); });
    AegpObject<AEGP_StreamValue> value(
        [streams](AEGP_StreamValue& v) { streams->AEGP_DisposeStreamValue(&v); });

    ErrorChain errors;
    errors.then([&] {
        return effect.make(effects_of_layers->AEGP_GetNewEffectForEffect(
            kPluginId, in_data.effect_ref, &effect.object));
    });
    errors.then([&] {
        return stream.make(streams->AEGP_GetNewEffectStreamByIndex(kPluginId, effect.object, index,
                                                                   &stream.object));
    });
    errors.then([&] {
        // The layer the parameter holds at the start of the effect's layer, before expressions.
        const A_Time start{0, 1};
        return value.make(streams->AEGP_GetNewStreamValue(
            kPluginId, stream.object, AEGP_LTimeMode_LayerTime, &start, TRUE, &value.object));
    });
    const AEGP_LayerIDVal layer_id = errors.ok() ? value.object.val.layer_id : 0;
    if (layer_id == 0) {
        return 0;
    }

    AEGP_LayerH effect_layer = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    A_Time time{0, 1};
    errors.then(
        [&] { return effects_of_layers->AEGP_GetEffectLayer(in_data.effect_ref, &effect_layer); });
    errors.then([&] { return layers->AEGP_GetLayerParentComp(effect_layer, &comp); });
    errors.then([&] { return layers_by_id->AEGP_GetLayerFromLayerID(comp, layer_id, &layer); });
    if (!errors.ok() || layer == nullptr) {
        return 0;
    }
    errors.then([&] { return LayerTime(*layers, layer, kind, time); });
    return errors.ok() ? FramesOfTime(time, in_data) : 0;
}

std::vector<std::int32_t> TimeLayerFrameIds(std::int32_t frames) {
    // Each id is "198" and the frame number plus one, so no two frames share one.
    std::vector<std::int32_t> ids;
    for (std::int32_t f = 0; f < frames; ++f) {
        ids.push_back(MakeCheckoutId(f, 0, 0, CheckoutIdForm::Plain));
    }
    return ids;
}

PF_Err TimeShiftObject(const TimeShiftContext& context, ClonePlan& plan) {
    const PF_InData& in = *context.in_data;
    const std::int32_t frames = MeasureTimeLayer(in, param::kTimeLayer, TimeLayerMeasure::Duration);
    const std::int32_t in_point =
        MeasureTimeLayer(in, param::kTimeLayer, TimeLayerMeasure::InPoint);
    // Taken like the others, though nothing reads it.
    MeasureTimeLayer(in, param::kTimeLayer, TimeLayerMeasure::CurrentTime);
    if (frames <= 0) {
        return PF_Err_NONE;
    }
    ErrorChain errors;
    PF_CheckoutResult result{};
    std::vector<std::int32_t> ids = TimeLayerFrameIds(frames);
    for (std::size_t f = 0; f < ids.size(); ++f) {
        const std::int64_t frame = std::int64_t{in_point} + static_cast<std::int64_t>(f);
        const auto time = static_cast<A_long>(frame * in.time_step);
        errors.then([&] {
            return context.extra->cb->checkout_layer(in.effect_ref, param::kTimeLayer, ids[f],
                                                     context.request, time, in.time_step,
                                                     in.time_scale, &result);
        });
    }
    plan.time_checkout_ids = std::move(ids);
    return errors.error();
}

} // namespace plurion
