// "AEGP PF Interface Suite" version 1: from an effect call to its AEGP effect reference and to
// the layer it is applied to. This host has no camera, so the camera queries are refused.
#include "AE_GeneralPlug.h"
#include "suites/aegp_call.h"

#include <cmath>

namespace plurion::host {
namespace {

A_Err GetEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH) {
    return ServeAegp("AEGP_GetEffectLayer", [&](const AegpCall& call) {
        if (layerPH == nullptr || !call.objects().is_attached_effect(effect_ref)) {
            return A_Err_PARAMETER;
        }
        *layerPH = call.objects().layer(call.scene().effect_layer_id());
        return A_Err_NONE;
    });
}

A_Err GetNewEffectForEffect(AEGP_PluginID, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect_refPH) {
    return ServeAegp("AEGP_GetNewEffectForEffect", [&](const AegpCall& call) {
        if (effect_refPH == nullptr || !call.objects().is_attached_effect(effect_ref)) {
            return A_Err_PARAMETER;
        }
        *effect_refPH = call.objects().new_effect();
        return A_Err_NONE;
    });
}

// The effect's layer starts with the composition in this host's scenes, so an effect time is
// the same instant in composition time, given in the composition's scale.
A_Err ConvertEffectToCompTime(PF_ProgPtr effect_ref, A_long what_timeL, A_u_long time_scaleLu,
                              A_Time* comp_timePT) {
    return ServeAegp("AEGP_ConvertEffectToCompTime", [&](const AegpCall& call) {
        if (comp_timePT == nullptr || time_scaleLu == 0 ||
            !call.objects().is_attached_effect(effect_ref)) {
            return A_Err_PARAMETER;
        }
        const A_u_long scale = call.scene().current_time().scale;
        const double seconds = static_cast<double>(what_timeL) / static_cast<double>(time_scaleLu);
        *comp_timePT = {static_cast<A_long>(std::llround(seconds * scale)), scale};
        return A_Err_NONE;
    });
}

A_Err GetEffectCamera(PF_ProgPtr, const A_Time*, AEGP_LayerH* camera_layerPH) {
    if (camera_layerPH != nullptr) {
        *camera_layerPH = nullptr;
    }
    return A_Err_PARAMETER;
}

A_Err GetEffectCameraMatrix(PF_ProgPtr, const A_Time*, A_Matrix4*, A_FpLong*, A_short*, A_short*) {
    return A_Err_PARAMETER;
}

const AEGP_PFInterfaceSuite1 kPFInterfaceSuite1 = {GetEffectLayer, GetNewEffectForEffect,
                                                   ConvertEffectToCompTime, GetEffectCamera,
                                                   GetEffectCameraMatrix};

} // namespace

void RegisterAegpPFInterfaceSuite(SuiteRegistry& registry) {
    registry.add(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &kPFInterfaceSuite1);
}

} // namespace plurion::host
