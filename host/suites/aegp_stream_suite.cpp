// "AEGP Stream Suite" version 7 (the table AEGP_StreamSuite2): the effect's parameters as
// streams and their values at a time, answered from the scene. Layer streams, masks,
// expressions and setting values are not served and are null.
#include "AE_GeneralPlug.h"
#include "suites/aegp_call.h"

#include <cmath>

namespace plurion::host {
namespace {

// A time in the composition's scale: layer times of the effect's layer start at its in point.
A_Time CompositionTime(const AegpScene& scene, AEGP_LTimeMode mode, const A_Time& time) {
    const A_u_long scale = scene.current_time().scale;
    double seconds = static_cast<double>(time.value) / static_cast<double>(time.scale);
    if (mode == AEGP_LTimeMode_LayerTime) {
        if (const auto effect_layer = scene.layer(scene.effect_layer_id())) {
            seconds += static_cast<double>(effect_layer->in_point.value) /
                       static_cast<double>(effect_layer->in_point.scale);
        }
    }
    return {static_cast<A_long>(std::llround(seconds * scale)), scale};
}

A_Err GetEffectNumParamStreams(AEGP_EffectRefH effect_refH, A_long* num_paramsPL) {
    return ServeAegp("AEGP_GetEffectNumParamStreams", [&](const AegpCall& call) {
        if (num_paramsPL == nullptr || !call.objects().is_effect(effect_refH)) {
            return A_Err_PARAMETER;
        }
        *num_paramsPL = call.scene().param_count();
        return A_Err_NONE;
    });
}

A_Err GetNewEffectStreamByIndex(AEGP_PluginID, AEGP_EffectRefH effect_refH,
                                PF_ParamIndex param_index, AEGP_StreamRefH* streamPH) {
    return ServeAegp("AEGP_GetNewEffectStreamByIndex", [&](const AegpCall& call) {
        if (streamPH == nullptr || !call.objects().is_effect(effect_refH) || param_index < 0 ||
            param_index >= call.scene().param_count()) {
            return A_Err_PARAMETER;
        }
        *streamPH = call.objects().new_stream(param_index);
        return A_Err_NONE;
    });
}

A_Err DisposeStream(AEGP_StreamRefH streamH) {
    return DisposeAegp("AEGP_DisposeStream",
                       [&](AegpObjects& objects) { return objects.dispose_stream(streamH); });
}

A_Err GetStreamType(AEGP_StreamRefH streamH, AEGP_StreamType* stream_typeP) {
    return ServeAegp("AEGP_GetStreamType", [&](const AegpCall& call) {
        const std::optional<PF_ParamIndex> index = call.objects().stream_param(streamH);
        const auto answer =
            index ? call.scene().param_value(*index, call.scene().current_time()) : std::nullopt;
        if (stream_typeP == nullptr || !answer) {
            return A_Err_PARAMETER;
        }
        *stream_typeP = answer->type;
        return A_Err_NONE;
    });
}

A_Err GetNewStreamValue(AEGP_PluginID, AEGP_StreamRefH streamH, AEGP_LTimeMode time_mode,
                        const A_Time* timePT, A_Boolean /*pre_expressionB*/,
                        AEGP_StreamValue* valueP) {
    return ServeAegp("AEGP_GetNewStreamValue", [&](const AegpCall& call) {
        const std::optional<PF_ParamIndex> index = call.objects().stream_param(streamH);
        if (valueP == nullptr || timePT == nullptr || timePT->scale == 0 || !index) {
            return A_Err_PARAMETER;
        }
        // Scenes have no expressions: the value before them is the value.
        const auto answer =
            call.scene().param_value(*index, CompositionTime(call.scene(), time_mode, *timePT));
        if (!answer) {
            return A_Err_PARAMETER;
        }
        valueP->streamH = streamH;
        valueP->val = answer->value;
        call.objects().new_stream_value(streamH);
        return A_Err_NONE;
    });
}

A_Err DisposeStreamValue(AEGP_StreamValue* valueP) {
    return DisposeAegp("AEGP_DisposeStreamValue", [&](AegpObjects& objects) {
        return valueP != nullptr && objects.dispose_stream_value(valueP->streamH);
    });
}

constexpr AEGP_StreamSuite2 MakeStreamSuite2() {
    AEGP_StreamSuite2 suite{};
    suite.AEGP_GetEffectNumParamStreams = GetEffectNumParamStreams;
    suite.AEGP_GetNewEffectStreamByIndex = GetNewEffectStreamByIndex;
    suite.AEGP_DisposeStream = DisposeStream;
    suite.AEGP_GetStreamType = GetStreamType;
    suite.AEGP_GetNewStreamValue = GetNewStreamValue;
    suite.AEGP_DisposeStreamValue = DisposeStreamValue;
    return suite;
}

constexpr AEGP_StreamSuite2 kStreamSuite2 = MakeStreamSuite2();

} // namespace

void RegisterAegpStreamSuite(SuiteRegistry& registry) {
    registry.add(kAEGPStreamSuite, kAEGPStreamSuiteVersion2, &kStreamSuite2);
}

} // namespace plurion::host
