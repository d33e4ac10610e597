// What an effect_ref points to: the host side of one effect call (an instance's set-up or one
// frame). The C callbacks of the interface find their call through it; each callback the
// current call does not offer answers PF_Err_BAD_CALLBACK_PARAM.
#pragma once

#include "AE_Effect.h"
#include "path_shape.h"
#include "session/trace.h"
#include "suites/host_services.h"
#include "transform_world.h"

#include <cstdint>
#include <string>

namespace plurion::host {

class HostCallTarget {
  public:
    virtual ~HostCallTarget() = default;

    PF_ProgPtr effect_ref() { return reinterpret_cast<PF_ProgPtr>(this); }
    static HostCallTarget& From(PF_ProgPtr effect_ref) {
        return *reinterpret_cast<HostCallTarget*>(effect_ref);
    }

    virtual HostServices& services() = 0;
    virtual Trace* trace() { return nullptr; }
    // The command being served, for the trace.
    virtual const char* command() const { return ""; }
    // The composition's motion blur settings and the render threads, for transform_world.
    virtual DrawSettings draw_settings() const { return {}; }
    // Whether the user asked to stop: the abort callback then answers PF_Interrupt_CANCEL.
    virtual bool interrupted() const { return false; }
    // Counts what the effect drew into a world with transform_world, so that a render can tell
    // a frame where nothing was drawn.
    virtual void count_drawing() {}

    virtual PF_Err add_param(PF_ParamIndex, const PF_ParamDef&) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    virtual PF_Err register_ui(const PF_CustomUIInfo&) { return PF_Err_BAD_CALLBACK_PARAM; }
    virtual PF_Err checkout_param(PF_ParamIndex, A_long /*time*/, A_long /*time_step*/,
                                  A_u_long /*time_scale*/, PF_ParamDef&) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    virtual PF_Err checkin_param(PF_ParamDef&) { return PF_Err_BAD_CALLBACK_PARAM; }
    virtual PF_Err checkout_layer(PF_ParamIndex, A_long /*checkout_id*/, const PF_RenderRequest&,
                                  A_long /*time*/, A_long /*time_step*/, A_u_long /*time_scale*/,
                                  PF_CheckoutResult&) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    virtual PF_Err checkout_layer_pixels(A_long /*checkout_id*/, PF_EffectWorld**) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    virtual PF_Err checkin_layer_pixels(A_long /*checkout_id*/) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    virtual PF_Err checkout_output(PF_EffectWorld**) { return PF_Err_BAD_CALLBACK_PARAM; }

    // PF_UpdateParamUI: the parameter's presentation as `def` gives it. Only the commands of the
    // effect's panel take it.
    virtual PF_Err update_param_ui(PF_ParamIndex /*index*/, const PF_ParamDef& /*def*/) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }

    // The masks of the layer the effect is applied to, for the path suites: how many, each
    // one's name, and its outline at a time in this call's layer pixels. None outside a frame.
    virtual std::int32_t mask_count() const { return 0; }
    virtual std::string mask_name(std::int32_t /*index*/) const { return {}; }
    virtual paths::PathShape mask_shape(std::int32_t /*index*/, A_long /*time*/,
                                        A_u_long /*time_scale*/) const {
        return {};
    }

    // Where a world's pixels came from ("layer name, frame n"), tracked for the trace through
    // the copies the effect makes.
    virtual std::string source_of(const PF_EffectWorld&) const { return {}; }
    virtual void set_source(const PF_EffectWorld&, const std::string&) {}
};

// The callback tables the host hands the effect; every function finds its call by effect_ref.
void FillInteractCallbacks(PF_InteractCallbacks& callbacks);
void FillUtilCallbacks(PF_UtilCallbacks& callbacks);
PF_PreRenderCallbacks PreRenderCallbacks();
PF_SmartRenderCallbacks SmartRenderCallbacks();

} // namespace plurion::host
