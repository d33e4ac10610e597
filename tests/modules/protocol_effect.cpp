// A small effect that walks the whole smart-render protocol, so that the host is tested apart
// from Plurion: it samples its parameters, requests its source layer at this frame and the next
// under two checkout ids, and draws the first through transform_world with one matrix per
// shutter time, via a working world from "PF World Suite". Its "Misuse" slider makes it break one
// rule of the protocol (see Misuse below), so that tests can see the host catch it.
#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_PluginData.h"
#include "SPBasic.h"

#include <cstring>
#include <new>

namespace {

constexpr A_long kThisFrame = 7;
constexpr A_long kNextFrame = 8;
enum { kSource = 1, kOpacity, kShift, kMisuse, kParamCount };

// What the effect does wrong, by the value of "Misuse".
enum class Misuse {
    none = 0,
    checkin_twice = 1,          // checks the source in twice
    checkin_unknown = 2,        // checks in an id it never requested
    keep_checkout = 3,          // leaves the next frame's pixels checked out
    no_clear = 4,               // draws without clearing the output
    dispose_locked_handle = 5,  // disposes a handle it still has locked
    keep_locked_handle = 6,     // keeps a locked handle past the frame
    unlock_unlocked_handle = 7, // unlocks a handle it never locked
    shifted_extent = 8,         // not a misuse: reports an output extent at (-2, -1), 6 x 4
};

struct Plan {
    double opacity = 100;
    double shift_x[2] = {};
    double shift_y[2] = {};
    Misuse misuse = Misuse::none;
};

PF_Err AddParams(PF_InData* in_data, PF_OutData* out_data) {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.param_type = PF_Param_LAYER;
    def.uu.id = 1;
    std::strcpy(def.name, "Source");
    PF_Err err = in_data->inter.add_param(in_data->effect_ref, -1, &def);

    std::memset(&def, 0, sizeof def);
    def.param_type = PF_Param_FLOAT_SLIDER;
    def.uu.id = 2;
    std::strcpy(def.name, "Opacity");
    def.u.fs_d.valid_max = def.u.fs_d.slider_max = 100;
    def.u.fs_d.value = def.u.fs_d.dephault = 100;
    if (!err) {
        err = in_data->inter.add_param(in_data->effect_ref, -1, &def);
    }

    std::memset(&def, 0, sizeof def);
    def.param_type = PF_Param_POINT;
    def.uu.id = 3;
    std::strcpy(def.name, "Shift");
    if (!err) {
        err = in_data->inter.add_param(in_data->effect_ref, -1, &def);
    }

    std::memset(&def, 0, sizeof def);
    def.param_type = PF_Param_SLIDER;
    def.uu.id = 4;
    std::strcpy(def.name, "Misuse");
    def.u.sd.valid_max = def.u.sd.slider_max = 8;
    if (!err) {
        err = in_data->inter.add_param(in_data->effect_ref, -1, &def);
    }
    if (!err) {
        out_data->num_params = kParamCount;
    }
    return err;
}

PF_Err Sample(PF_InData* in_data, PF_ParamIndex index, A_long time, PF_ParamDef& def) {
    std::memset(&def, 0, sizeof def);
    PF_Err err = in_data->inter.checkout_param(in_data->effect_ref, index, time, in_data->time_step,
                                               in_data->time_scale, &def);
    if (!err) {
        err = in_data->inter.checkin_param(in_data->effect_ref, &def);
    }
    return err;
}

void DeletePlan(void* data) {
    delete static_cast<Plan*>(data);
}

PF_Err PreRender(PF_InData* in_data, PF_PreRenderExtra* extra) {
    const A_long open = in_data->current_time +
                        static_cast<A_long>(static_cast<long long>(in_data->local_time_step) *
                                            in_data->shutter_phase / 65536);
    const A_long close =
        open + static_cast<A_long>(static_cast<long long>(in_data->local_time_step) *
                                   in_data->shutter_angle / 65536);
    auto* plan = new Plan;
    extra->output->pre_render_data = plan;
    extra->output->delete_pre_render_data_func = DeletePlan;
    PF_ParamDef def;
    PF_Err err = Sample(in_data, kOpacity, open, def);
    plan->opacity = def.u.fs_d.value;
    const A_long times[2] = {open, close};
    for (int i = 0; i < 2 && !err; ++i) {
        err = Sample(in_data, kShift, times[i], def);
        plan->shift_x[i] = def.u.td.x_value / 65536.0;
        plan->shift_y[i] = def.u.td.y_value / 65536.0;
    }
    if (!err) {
        err = Sample(in_data, kMisuse, in_data->current_time, def);
        plan->misuse = static_cast<Misuse>(def.u.sd.value);
    }
    PF_CheckoutResult result;
    const A_long ids[2] = {kThisFrame, kNextFrame};
    for (int i = 0; i < 2 && !err; ++i) {
        err = extra->cb->checkout_layer(in_data->effect_ref, kSource, ids[i],
                                        &extra->input->output_request,
                                        in_data->current_time + i * in_data->time_step,
                                        in_data->time_step, in_data->time_scale, &result);
    }
    if (!err) {
        extra->output->result_rect = extra->input->output_request.rect;
        if (plan->misuse == Misuse::shifted_extent) {
            extra->output->result_rect = {-2, -1, 4, 3};
        }
        extra->output->max_result_rect = extra->output->result_rect;
    }
    return err;
}

PF_Err Draw(PF_InData* in_data, const Plan& plan, const PF_WorldSuite2& worlds,
            PF_EffectWorld* source, PF_EffectWorld* output) {
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    PF_Err err = worlds.PF_GetPixelFormat(output, &format);
    PF_EffectWorld copy{};
    if (!err) {
        err = worlds.PF_NewWorld(in_data->effect_ref, source->width, source->height, 1, format,
                                 &copy);
    }
    if (!err) {
        err = in_data->utils->copy(in_data->effect_ref, source, &copy, nullptr, nullptr);
    }
    if (!err && plan.misuse != Misuse::no_clear) {
        err = in_data->utils->fill(in_data->effect_ref, nullptr, nullptr, output);
    }
    PF_FloatMatrix matrices[2];
    for (int i = 0; i < 2; ++i) {
        matrices[i] = {{{1, 0, 0}, {0, 1, 0}, {plan.shift_x[i], plan.shift_y[i], 1}}};
    }
    PF_CompositeMode mode{};
    mode.xfer = PF_Xfer_IN_FRONT;
    mode.opacity = static_cast<A_u_char>(plan.opacity * 255 / 100 + 0.5);
    mode.opacitySu = static_cast<A_u_short>(plan.opacity * 32768 / 100 + 0.5);
    const A_long count = in_data->shutter_angle > 0 ? 2 : 1;
    if (!err) {
        err = in_data->utils->transform_world(in_data->effect_ref, PF_Quality_HI,
                                              PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, &copy, &mode,
                                              nullptr, matrices, count, 1, nullptr, output);
    }
    if (copy.data != nullptr) {
        const PF_Err disposed = worlds.PF_DisposeWorld(in_data->effect_ref, &copy);
        err = err ? err : disposed;
    }
    return err;
}

// The handle misuses, through the handle suite of the utility callbacks' host.
PF_Err MisuseHandles(PF_InData* in_data, Misuse misuse) {
    const PF_UtilCallbacks& utils = *in_data->utils;
    if (misuse != Misuse::dispose_locked_handle && misuse != Misuse::keep_locked_handle &&
        misuse != Misuse::unlock_unlocked_handle) {
        return PF_Err_NONE;
    }
    PF_Handle handle = utils.host_new_handle(16);
    if (handle == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    if (misuse == Misuse::unlock_unlocked_handle) {
        utils.host_unlock_handle(handle);
    } else {
        utils.host_lock_handle(handle);
    }
    if (misuse != Misuse::keep_locked_handle) {
        utils.host_dispose_handle(handle);
    }
    return PF_Err_NONE;
}

PF_Err Render(PF_InData* in_data, PF_SmartRenderExtra* extra) {
    const auto& plan = *static_cast<const Plan*>(extra->input->pre_render_data);
    const void* table = nullptr;
    PF_Err err = in_data->pica_basicP->AcquireSuite(kPFWorldSuite, kPFWorldSuiteVersion2, &table);
    if (!err && table == nullptr) {
        err = PF_Err_BAD_CALLBACK_PARAM;
    }
    const bool have_suite = !err;
    PF_EffectWorld* source = nullptr;
    PF_EffectWorld* next = nullptr;
    PF_EffectWorld* output = nullptr;
    bool held[2] = {false, false};
    if (!err) {
        err = extra->cb->checkout_layer_pixels(in_data->effect_ref, kThisFrame, &source);
        held[0] = !err;
    }
    if (!err) {
        err = extra->cb->checkout_layer_pixels(in_data->effect_ref, kNextFrame, &next);
        held[1] = !err;
    }
    if (!err) {
        err = extra->cb->checkout_output(in_data->effect_ref, &output);
    }
    if (!err && source != nullptr) {
        err = Draw(in_data, plan, *static_cast<const PF_WorldSuite2*>(table), source, output);
    }
    if (!err) {
        err = MisuseHandles(in_data, plan.misuse);
    }
    const A_long ids[2] = {kThisFrame, kNextFrame};
    for (int i = 0; i < 2; ++i) {
        if (held[i] && !(i == 1 && plan.misuse == Misuse::keep_checkout)) {
            const PF_Err checked_in = extra->cb->checkin_layer_pixels(in_data->effect_ref, ids[i]);
            err = err ? err : checked_in;
        }
    }
    // Misused check-ins answer an error, which the effect does not look at.
    if (held[0] && plan.misuse == Misuse::checkin_twice) {
        extra->cb->checkin_layer_pixels(in_data->effect_ref, kThisFrame);
    }
    if (plan.misuse == Misuse::checkin_unknown) {
        extra->cb->checkin_layer_pixels(in_data->effect_ref, 99);
    }
    if (have_suite) {
        in_data->pica_basicP->ReleaseSuite(kPFWorldSuite, kPFWorldSuiteVersion2);
    }
    return err;
}

PF_Err Dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, void* extra) {
    switch (cmd) {
    case PF_Cmd_GLOBAL_SETUP:
        out_data->out_flags2 |=
            PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_SUPPORTS_THREADED_RENDERING;
        return PF_Err_NONE;
    case PF_Cmd_PARAMS_SETUP:
        return AddParams(in_data, out_data);
    case PF_Cmd_SMART_PRE_RENDER:
        return PreRender(in_data, static_cast<PF_PreRenderExtra*>(extra));
    case PF_Cmd_SMART_RENDER:
        return Render(in_data, static_cast<PF_SmartRenderExtra*>(extra));
    default:
        return PF_Err_NONE;
    }
}

const A_u_char* Text(const char* text) {
    return reinterpret_cast<const A_u_char*>(text);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) PF_Err PluginDataEntryFunction2(PF_PluginDataPtr in_ptr,
                                                                       PF_PluginDataCB2 callback,
                                                                       SPBasicSuite*, const char*,
                                                                       const char*) {
    return callback(in_ptr, Text("Protocol Test"), Text("TEST Protocol"), Text("Tests"),
                    Text("ProtocolMain"), 0x65464B54, 13, 28, 0, Text(""));
}

__attribute__((visibility("default"))) PF_Err ProtocolMain(PF_Cmd cmd, PF_InData* in_data,
                                                           PF_OutData* out_data, PF_ParamDef*[],
                                                           PF_LayerDef*, void* extra) {
    try {
        return Dispatch(cmd, in_data, out_data, extra);
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    }
}

} // extern "C"
