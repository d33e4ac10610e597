#include "session/param_ui.h"

#include "AE_EffectSuites.h"
#include "session/call_target.h"

#include <cstring>

namespace plurion::host {
namespace {

constexpr PF_ParamUIFlags kChangeableUiFlags = PF_PUI_ECW_SEPARATOR | PF_PUI_DISABLED;
constexpr PF_ParamFlags kChangeableFlags = PF_ParamFlag_COLLAPSE_TWIRLY;

template <class Slider>
void CopyShownRange(const Slider& from, Slider& to) {
    to.slider_min = from.slider_min;
    to.slider_max = from.slider_max;
}

PF_Err UpdateParamUI(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const PF_ParamDef* defP) {
    if (effect_ref == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    HostCallTarget& target = HostCallTarget::From(effect_ref);
    if (const PF_Err err = target.services().faults.check("PF_UpdateParamUI")) {
        return err;
    }
    return defP == nullptr ? PF_Err_BAD_CALLBACK_PARAM : target.update_param_ui(param_index, *defP);
}

// The other functions (parameter states, keyframes) are not served and are null.
constexpr PF_ParamUtilsSuite3 MakeParamUtilsSuite3() {
    PF_ParamUtilsSuite3 suite{};
    suite.PF_UpdateParamUI = UpdateParamUI;
    return suite;
}

constexpr PF_ParamUtilsSuite3 kParamUtilsSuite3 = MakeParamUtilsSuite3();

} // namespace

void ApplyParamUi(const PF_ParamDef& from, PF_ParamDef& to) {
    std::memcpy(to.name, from.name, sizeof to.name);
    to.name[sizeof to.name - 1] = '\0';
    to.ui_flags = (to.ui_flags & ~kChangeableUiFlags) | (from.ui_flags & kChangeableUiFlags);
    to.ui_width = from.ui_width;
    to.ui_height = from.ui_height;
    to.flags = (to.flags & ~kChangeableFlags) | (from.flags & kChangeableFlags);
    switch (to.param_type) {
    case PF_Param_SLIDER:
        CopyShownRange(from.u.sd, to.u.sd);
        break;
    case PF_Param_FIX_SLIDER:
        CopyShownRange(from.u.fd, to.u.fd);
        to.u.fd.precision = from.u.fd.precision;
        to.u.fd.display_flags = from.u.fd.display_flags;
        break;
    case PF_Param_FLOAT_SLIDER:
        CopyShownRange(from.u.fs_d, to.u.fs_d);
        to.u.fs_d.precision = from.u.fs_d.precision;
        to.u.fs_d.display_flags = from.u.fs_d.display_flags;
        break;
    default:
        break;
    }
}

void RegisterParamUtilsSuite(SuiteRegistry& registry) {
    registry.add(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &kParamUtilsSuite3);
}

} // namespace plurion::host
