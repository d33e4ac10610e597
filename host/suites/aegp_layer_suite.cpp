// "AEGP Layer Suite" versions 11 and 13 (the tables AEGP_LayerSuite5 and AEGP_LayerSuite7): the
// layers of the scene's composition by id, with their times. The scene's layers are not trimmed
// or stretched, so a layer's time is the composition time less its in point. Functions that
// change the composition or ask what this host does not model are not served and are null.
#include "AE_GeneralPlug.h"
#include "suites/aegp_call.h"

namespace plurion::host {
namespace {

using LayerTimes = AegpScene::LayerTimes;

// Answers a time of a layer the call handed out with `pick(scene, times)`.
template <class Pick>
A_Err AnswerLayerTime(const char* function, AEGP_LayerH layerH, A_Time* timePT, Pick&& pick) {
    return ServeAegp(function, [&](const AegpCall& call) {
        const std::optional<AEGP_LayerIDVal> id = call.objects().layer_id(layerH);
        const std::optional<LayerTimes> times = id ? call.scene().layer(*id) : std::nullopt;
        if (timePT == nullptr || !times) {
            return A_Err_PARAMETER;
        }
        *timePT = pick(call.scene(), *times);
        return A_Err_NONE;
    });
}

// A composition time as the mode asks: in layer time it counts from the layer's in point (both
// times in the composition's scale).
A_Time InMode(AEGP_LTimeMode mode, A_Time time, const A_Time& in_point) {
    if (mode == AEGP_LTimeMode_LayerTime) {
        time.value -= in_point.value;
    }
    return time;
}

A_Err GetLayerParentComp(AEGP_LayerH layerH, AEGP_CompH* compPH) {
    return ServeAegp("AEGP_GetLayerParentComp", [&](const AegpCall& call) {
        if (compPH == nullptr || !call.objects().layer_id(layerH)) {
            return A_Err_PARAMETER;
        }
        *compPH = call.objects().comp();
        return A_Err_NONE;
    });
}

A_Err GetLayerFromLayerID(AEGP_CompH parent_compH, AEGP_LayerIDVal id, AEGP_LayerH* layerPH) {
    return ServeAegp("AEGP_GetLayerFromLayerID", [&](const AegpCall& call) {
        if (layerPH == nullptr || !call.objects().is_comp(parent_compH)) {
            return A_Err_PARAMETER;
        }
        *layerPH = call.scene().layer(id) ? call.objects().layer(id) : nullptr;
        return *layerPH != nullptr ? A_Err_NONE : A_Err_PARAMETER;
    });
}

A_Err GetLayerID(AEGP_LayerH layerH, AEGP_LayerIDVal* id_valP) {
    return ServeAegp("AEGP_GetLayerID", [&](const AegpCall& call) {
        const std::optional<AEGP_LayerIDVal> id = call.objects().layer_id(layerH);
        if (id_valP == nullptr || !id) {
            return A_Err_PARAMETER;
        }
        *id_valP = *id;
        return A_Err_NONE;
    });
}

A_Err GetLayerCurrentTime(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* curr_timePT) {
    return AnswerLayerTime("AEGP_GetLayerCurrentTime", layerH, curr_timePT,
                           [&](const AegpScene& scene, const LayerTimes& times) {
                               return InMode(time_mode, scene.current_time(), times.in_point);
                           });
}

A_Err GetLayerInPoint(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* in_pointPT) {
    return AnswerLayerTime("AEGP_GetLayerInPoint", layerH, in_pointPT,
                           [&](const AegpScene&, const LayerTimes& times) {
                               return InMode(time_mode, times.in_point, times.in_point);
                           });
}

// Without time stretch a duration is the same in layer and composition time.
A_Err GetLayerDuration(AEGP_LayerH layerH, AEGP_LTimeMode, A_Time* durationPT) {
    return AnswerLayerTime(
        "AEGP_GetLayerDuration", layerH, durationPT,
        [](const AegpScene&, const LayerTimes& times) { return times.duration; });
}

// Versions 11 and 13 differ only in functions this host does not serve.
template <class Table>
constexpr Table MakeLayerSuite() {
    Table suite{};
    suite.AEGP_GetLayerParentComp = GetLayerParentComp;
    suite.AEGP_GetLayerCurrentTime = GetLayerCurrentTime;
    suite.AEGP_GetLayerInPoint = GetLayerInPoint;
    suite.AEGP_GetLayerDuration = GetLayerDuration;
    suite.AEGP_GetLayerID = GetLayerID;
    suite.AEGP_GetLayerFromLayerID = GetLayerFromLayerID;
    return suite;
}

constexpr AEGP_LayerSuite5 kLayerSuite5 = MakeLayerSuite<AEGP_LayerSuite5>();
constexpr AEGP_LayerSuite7 kLayerSuite7 = MakeLayerSuite<AEGP_LayerSuite7>();

} // namespace

void RegisterAegpLayerSuite(SuiteRegistry& registry) {
    registry.add(kAEGPLayerSuite, kAEGPLayerSuiteVersion5, &kLayerSuite5);
    registry.add(kAEGPLayerSuite, kAEGPLayerSuiteVersion7, &kLayerSuite7);
}

} // namespace plurion::host
