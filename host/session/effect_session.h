// Drives one effect instance the way the host does: fills PF_InData and PF_OutData, sends a
// command through the module's entry point and serves the callbacks the effect makes meanwhile.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectUI.h"
#include "scene/param_registry.h"
#include "session/call_target.h"
#include "session/effect_module.h"
#include "suites/host_services.h"

#include <memory>
#include <string>
#include <vector>

namespace plurion::host {

// What the host tells the effect about the layer it is applied to.
struct LayerFacts {
    A_long width = 1920;
    A_long height = 1080;
};

inline constexpr A_short kSpecVersionMajor = 13;
inline constexpr A_short kSpecVersionMinor = 28;

class EffectSession final : public HostCallTarget {
  public:
    explicit EffectSession(const std::string& module_path, LayerFacts layer = {});
    ~EffectSession() override;
    EffectSession(const EffectSession&) = delete;
    EffectSession& operator=(const EffectSession&) = delete;

    const Registration& registration() const { return module_->registration(); }
    const std::string& module_path() const { return module_->path(); }
    HostServices& services() override { return services_; }
    FaultInjector& faults() { return faults_; }
    const ParamRegistry& params() const { return params_; }
    const LayerFacts& layer() const { return layer_; }
    EffectMainFunc entry() const { return module_->main(); }
    const PF_UtilCallbacks& utils() const { return utils_; }

    // The commands of an instance's start. Each returns the effect's result; what the effect
    // wrote into PF_OutData is in last_out().
    PF_Err about(std::string* text);
    PF_Err global_setup();
    PF_Err params_setup();

    // An in_data as the host fills it for this instance at the start time.
    PF_InData make_in_data();
    // Sends one command with the given blocks, with this session's services active.
    PF_Err call(PF_Cmd cmd, PF_InData& in_data, PF_OutData& out_data, PF_ParamDef* params[],
                PF_LayerDef* output, void* extra);

    const PF_OutData& last_out() const { return last_out_; }
    // What global set-up stored, kept for later commands as the host does.
    A_u_long my_version() const { return my_version_; }
    PF_OutFlags out_flags() const { return out_flags_; }
    PF_OutFlags2 out_flags2() const { return out_flags2_; }
    // The windows whose custom UI events the effect asked for at parameter set-up.
    PF_CustomEventFlags custom_ui_events() const { return custom_ui_events_; }

    // Suites, handles and other host resources the effect still holds, one line each.
    std::vector<std::string> leaks() const;

  private:
    PF_Err add_param(PF_ParamIndex index, const PF_ParamDef& def) override;
    PF_Err register_ui(const PF_CustomUIInfo& info) override;
    PF_Err send(PF_Cmd cmd);

    FaultInjector faults_;
    HostServices services_{faults_};
    std::unique_ptr<EffectModule> module_;
    LayerFacts layer_;
    ParamRegistry params_;
    PF_UtilCallbacks utils_{};
    PF_OutData last_out_{};
    bool adding_params_ = false;
    A_u_long my_version_ = 0;
    PF_OutFlags out_flags_ = 0;
    PF_OutFlags2 out_flags2_ = 0;
    PF_CustomEventFlags custom_ui_events_ = PF_CustomEFlag_NONE;
};

} // namespace plurion::host
