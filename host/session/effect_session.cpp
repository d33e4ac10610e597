#include "session/effect_session.h"

#include <cstring>

namespace plurion::host {
namespace {

constexpr A_long kApplicationId = 0x46585443; // 'FXTC', the id After Effects reports
constexpr A_u_long kTimeScale = 1000;         // time units per frame at the start time

PF_ParamDef InputLayerDef() {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.param_type = PF_Param_LAYER;
    return def;
}

} // namespace

EffectSession::EffectSession(const std::string& module_path, LayerFacts layer) : layer_(layer) {
    ActiveHostScope active(services_);
    module_ = EffectModule::Load(module_path, &services_.basic);
    FillUtilCallbacks(utils_);
}

EffectSession::~EffectSession() = default;

PF_InData EffectSession::make_in_data() {
    PF_InData in;
    std::memset(&in, 0, sizeof in);
    FillInteractCallbacks(in.inter);
    in.utils = &utils_;
    in.effect_ref = effect_ref();
    in.quality = PF_Quality_HI;
    in.version.major = kSpecVersionMajor;
    in.version.minor = kSpecVersionMinor;
    in.appl_id = kApplicationId;
    in.num_params = static_cast<A_long>(params_.size());
    in.time_step = static_cast<A_long>(kTimeScale);
    in.local_time_step = static_cast<A_long>(kTimeScale);
    in.time_scale = kTimeScale;
    in.width = layer_.width;
    in.height = layer_.height;
    in.extent_hint = {0, 0, layer_.width, layer_.height};
    in.downsample_x = {1, 1};
    in.downsample_y = {1, 1};
    in.pixel_aspect_ratio = {1, 1};
    in.pica_basicP = &services_.basic;
    return in;
}

PF_Err EffectSession::call(PF_Cmd cmd, PF_InData& in_data, PF_OutData& out_data,
                           PF_ParamDef* params[], PF_LayerDef* output, void* extra) {
    ActiveHostScope active(services_);
    return module_->main()(cmd, &in_data, &out_data, params, output, extra);
}

PF_Err EffectSession::send(PF_Cmd cmd) {
    PF_InData in = make_in_data();
    std::memset(&last_out_, 0, sizeof last_out_);
    last_out_.my_version = my_version_;
    last_out_.out_flags = out_flags_;
    last_out_.out_flags2 = out_flags2_;
    last_out_.width = layer_.width;
    last_out_.height = layer_.height;
    return call(cmd, in, last_out_, nullptr, nullptr, nullptr);
}

PF_Err EffectSession::about(std::string* text) {
    const PF_Err err = send(PF_Cmd_ABOUT);
    if (text != nullptr) {
        *text = std::string(last_out_.return_msg,
                            strnlen(last_out_.return_msg, sizeof last_out_.return_msg));
    }
    return err;
}

PF_Err EffectSession::global_setup() {
    const PF_Err err = send(PF_Cmd_GLOBAL_SETUP);
    if (err == PF_Err_NONE) {
        my_version_ = last_out_.my_version;
        out_flags_ = last_out_.out_flags;
        out_flags2_ = last_out_.out_flags2;
    }
    return err;
}

PF_Err EffectSession::params_setup() {
    params_.clear();
    params_.add(InputLayerDef());
    custom_ui_events_ = PF_CustomEFlag_NONE;
    adding_params_ = true;
    const PF_Err err = send(PF_Cmd_PARAMS_SETUP);
    adding_params_ = false;
    if (err == PF_Err_NONE && last_out_.num_params != static_cast<A_long>(params_.size())) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    return err;
}

PF_Err EffectSession::add_param(PF_ParamIndex index, const PF_ParamDef& def) {
    const auto next = static_cast<PF_ParamIndex>(params_.size());
    if (!adding_params_ || (index != -1 && index != next)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    params_.add(def);
    return PF_Err_NONE;
}

// The host takes custom UI registrations while the parameters are being set up.
PF_Err EffectSession::register_ui(const PF_CustomUIInfo& info) {
    if (!adding_params_) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    custom_ui_events_ = info.events;
    return PF_Err_NONE;
}

std::vector<std::string> EffectSession::leaks() const {
    return services_.leaks();
}

} // namespace plurion::host
