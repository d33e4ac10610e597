// "AEGP Layer Suite" versions 11 and 13 (the tables AEGP_LayerSuite5 and AEGP_LayerSuite7): the
// layers of the scene's composition by id, with their times. The scene's layers are not trimmed
// or stretched, so a layer's time is the composition time less its in point. Functions that
// change the composition or ask what this host does not model are not served and are null.
#include "AE_GeneralPlug.h"
#include "suites/aegp_call.h"

namespace plurion::host {
namespace {

// The times of a live layer handle; an error for a handle the call did not hand out.
A_Err LayerTimesOf(const AegpCall& call, AEGP_LayerH layerH, AegpScene::LayerTimes& times) {
    const std::optional<AEGP_LayerIDVal> id = call.objects().layer_id(layerH);
    const auto found = id ? call.scene().layer(*id) : std::nullopt;
    if (!found) {
        return A_Err_PARAMETER;
    }
    times = *found;
    return A_Err_NONE;
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
    const AegpCall call = BeginAegpCall("AEGP_GetLayerParentComp");
    if (call.err != A_Err_NONE) {
        return call.err;
    }
    if (compPH == nullptr || !call.objects().layer_id(layerH)) {
        return A_Err_PARAMETER;
    }
    *compPH = call.objects().comp();
    return A_Err_NONE;
}

A_Err GetLayerFromLayerID(AEGP_CompH parent_compH, AEGP_LayerIDVal id, AEGP_LayerH* layerPH) {
    const AegpCall call = BeginAegpCall("AEGP_GetLayerFromLayerID");
    if (call.err != A_Err_NONE) {
        return call.err;
    }
    if (layerPH == nullptr || !call.objects().is_comp(parent_compH)) {
        return A_Err_PARAMETER;
    }
    *layerPH = nullptr;
    if (!call.scene().layer(id)) {
        return A_Err_PARAMETER;
    }
    *layerPH = call.objects().layer(id);
    return A_Err_NONE;
}

A_Err GetLayerID(AEGP_LayerH layerH, AEGP_LayerIDVal* id_valP) {
    const AegpCall call = BeginAegpCall("AEGP_GetLayerID");
    if (call.err != A_Err_NONE) {
        return call.err;
    }
    const std::optional<AEGP_LayerIDVal> id = call.objects().layer_id(layerH);
    if (id_valP == nullptr || !id) {
        return A_Err_PARAMETER;
    }
    *id_valP = *id;
    return A_Err_NONE;
}

A_Err GetLayerCurrentTime(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* curr_timePT) {
    const AegpCall call = BeginAegpCall("AEGP_GetLayerCurrentTime");
    AegpScene::LayerTimes times{};
    if (call.err != A_Err_NONE) {
        return call.err;
    }
    if (curr_timePT == nullptr || LayerTimesOf(call, layerH, times) != A_Err_NONE) {
        return A_Err_PARAMETER;
    }
    *curr_timePT = InMode(time_mode, call.scene().current_time(), times.in_point);
    return A_Err_NONE;
}

A_Err GetLayerInPoint(AEGP_LayerH layerH, AEGP_LTimeMode time_mode, A_Time* in_pointPT) {
    const AegpCall call = BeginAegpCall("AEGP_GetLayerInPoint");
    AegpScene::LayerTimes times{};
    if (call.err != A_Err_NONE) {
        return call.err;
    }
    if (in_pointPT == nullptr || LayerTimesOf(call, layerH, times) != A_Err_NONE) {
        return A_Err_PARAMETER;
    }
    *in_pointPT = InMode(time_mode, times.in_point, times.in_point);
    return A_Err_NONE;
}

A_Err GetLayerDuration(AEGP_LayerH layerH, AEGP_LTimeMode, A_Time* durationPT) {
    const AegpCall call = BeginAegpCall("AEGP_GetLayerDuration");
    AegpScene::LayerTimes times{};
    if (call.err != A_Err_NONE) {
        return call.err;
    }
    if (durationPT == nullptr || LayerTimesOf(call, layerH, times) != A_Err_NONE) {
        return A_Err_PARAMETER;
    }
    // Without time stretch a duration is the same in layer and composition time.
    *durationPT = times.duration;
    return A_Err_NONE;
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
