// The interface's C callbacks: each counts the call for failure injection, writes its trace
// line and hands the work to the call its effect_ref names, or to the pixel engine.
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "copy_world.h"
#include "session/call_target.h"
#include "suites/ansi_suite.h"
#include "suites/host_guard.h"
#include "transform_world.h"

#include <cstdint>
#include <optional>

namespace plurion::host {
namespace {

using nlohmann::json;

// Counts the call; a planned failure is returned before any work is done.
PF_Err Injected(HostCallTarget& target, const char* function) {
    return target.services().faults.check(function);
}

// Calls that give something back still take it back when a failure is injected into them, so
// that the failure reaches the effect without looking like a leak of the effect's.
PF_Err GiveBack(PF_Err injected, PF_Err result) {
    return injected != PF_Err_NONE ? injected : result;
}

// The line is made only when the call is traced: most renders are not.
template <class MakeLine>
void Record(HostCallTarget& target, MakeLine&& make_line, PF_Err result) {
    if (Trace* trace = target.trace()) {
        json line = make_line();
        line["command"] = target.command();
        line["result"] = result;
        trace->write(line);
    }
}

json RectJson(const PF_Rect* rect) {
    return rect == nullptr ? json(nullptr) : json{rect->left, rect->top, rect->right, rect->bottom};
}

json LRectJson(const PF_LRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

json WorldJson(const HostCallTarget& target, const PF_EffectWorld* world) {
    if (world == nullptr) {
        return nullptr;
    }
    return {{"width", world->width}, {"height", world->height}, {"from", target.source_of(*world)}};
}

// The value a checked-out parameter holds, as the effect reads it: popups, sliders and
// checkboxes as numbers, float sliders in their unit, angles in degrees, points [x, y] in layer
// pixels, layers as [width, height] of their pixels (null without any).
json ParamValueJson(const PF_ParamDef& def) {
    switch (def.param_type) {
    case PF_Param_POPUP:
        return def.u.pd.value;
    case PF_Param_SLIDER:
        return def.u.sd.value;
    case PF_Param_CHECKBOX:
        return def.u.bd.value;
    case PF_Param_FLOAT_SLIDER:
        return def.u.fs_d.value;
    case PF_Param_ANGLE:
        return def.u.ad.value / 65536.0;
    case PF_Param_POINT:
        return {def.u.td.x_value / 65536.0, def.u.td.y_value / 65536.0};
    case PF_Param_LAYER:
        return def.u.ld.data == nullptr ? json(nullptr) : json{def.u.ld.width, def.u.ld.height};
    default:
        return nullptr;
    }
}

PF_Err CheckoutParam(PF_ProgPtr ref, PF_ParamIndex index, A_long time, A_long time_step,
                     A_u_long time_scale, PF_ParamDef* param) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "checkout_param");
    if (err == PF_Err_NONE) {
        err = param == nullptr ? PF_Err_BAD_CALLBACK_PARAM
                               : target.checkout_param(index, time, time_step, time_scale, *param);
    }
    Record(
        target,
        [&] {
            json line = {{"function", "checkout_param"}, {"index", index}, {"time", time}};
            if (err == PF_Err_NONE) {
                line["value"] = ParamValueJson(*param);
            }
            return line;
        },
        err);
    return err;
}

PF_Err CheckinParam(PF_ProgPtr ref, PF_ParamDef* param) {
    HostCallTarget& target = HostCallTarget::From(ref);
    const PF_Err injected = Injected(target, "checkin_param");
    return GiveBack(injected,
                    param == nullptr ? PF_Err_BAD_CALLBACK_PARAM : target.checkin_param(*param));
}

PF_Err AddParam(PF_ProgPtr ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    HostCallTarget& target = HostCallTarget::From(ref);
    if (const PF_Err err = Injected(target, "add_param")) {
        return err;
    }
    return def == nullptr ? PF_Err_BAD_CALLBACK_PARAM : target.add_param(index, *def);
}

// A user interrupt: the render was asked to stop, or a failure injected into abort.
PF_Err Abort(PF_ProgPtr ref) {
    HostCallTarget& target = HostCallTarget::From(ref);
    const PF_Err injected = Injected(target, "abort");
    return injected != PF_Err_NONE ? injected
           : target.interrupted()  ? PF_Interrupt_CANCEL
                                   : PF_Err_NONE;
}

PF_Err Progress(PF_ProgPtr ref, A_long, A_long) {
    return Injected(HostCallTarget::From(ref), "progress");
}

PF_Err RegisterUi(PF_ProgPtr ref, PF_CustomUIInfo* info) {
    HostCallTarget& target = HostCallTarget::From(ref);
    if (const PF_Err err = Injected(target, "register_ui")) {
        return err;
    }
    return info == nullptr ? PF_Err_BAD_CALLBACK_PARAM : target.register_ui(*info);
}

PF_Err Copy(PF_ProgPtr ref, PF_EffectWorld* src, PF_EffectWorld* dst, PF_Rect* src_rect,
            PF_Rect* dst_rect) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "copy");
    if (err == PF_Err_NONE) {
        err = CopyWorld(src, dst, src_rect, dst_rect);
    }
    if (err == PF_Err_NONE) {
        target.set_source(*dst, target.source_of(*src));
    }
    Record(
        target,
        [&] {
            return json{{"function", "copy"},
                        {"src", WorldJson(target, src)},
                        {"dst", dst == nullptr
                                    ? json(nullptr)
                                    : json{{"width", dst->width}, {"height", dst->height}}},
                        {"src_rect", RectJson(src_rect)},
                        {"dst_rect", RectJson(dst_rect)}};
        },
        err);
    return err;
}

PF_Err Fill(PF_ProgPtr ref, const PF_Pixel* color, const PF_Rect* rect, PF_EffectWorld* world) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "fill");
    if (err == PF_Err_NONE) {
        err = FillWorld(color, rect, world);
    }
    Record(
        target,
        [&] {
            return json{{"function", "fill"}, {"rect", RectJson(rect)}};
        },
        err);
    return err;
}

PF_Err Fill16(PF_ProgPtr ref, const PF_Pixel16* color, const PF_Rect* rect, PF_EffectWorld* world) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "fill16");
    if (err == PF_Err_NONE) {
        err = FillWorld16(color, rect, world);
    }
    Record(
        target,
        [&] {
            return json{{"function", "fill16"}, {"rect", RectJson(rect)}};
        },
        err);
    return err;
}

// The callback form of making a world: 8 bits, or 16 with PF_NewWorldFlag_DEEP_PIXELS; cleared
// only with PF_NewWorldFlag_CLEAR_PIXELS.
PF_Err NewWorldCallback(PF_ProgPtr ref, A_long width, A_long height, PF_NewWorldFlags flags,
                        PF_EffectWorld* world) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "new_world");
    const bool clear = (flags & PF_NewWorldFlag_CLEAR_PIXELS) != 0;
    if (err == PF_Err_NONE) {
        const PF_PixelFormat format = (flags & PF_NewWorldFlag_DEEP_PIXELS) != 0
                                          ? PF_PixelFormat_ARGB64
                                          : PF_PixelFormat_ARGB32;
        err = world == nullptr
                  ? PF_Err_BAD_CALLBACK_PARAM
                  : target.services().worlds.create(width, height, format, clear, *world);
    }
    Record(
        target,
        [&] {
            return json{
                {"function", "new_world"}, {"width", width}, {"height", height}, {"clear", clear}};
        },
        err);
    return err;
}

PF_Err DisposeWorldCallback(PF_ProgPtr ref, PF_EffectWorld* world) {
    HostCallTarget& target = HostCallTarget::From(ref);
    const PF_Err injected = Injected(target, "dispose_world");
    return GiveBack(injected, world == nullptr ? PF_Err_BAD_CALLBACK_PARAM
                                               : target.services().worlds.dispose(*world));
}

// Runs the iterations one after the other on the calling thread, as thread 0; the first error
// ends the loop.
PF_Err IterateGeneric(A_long iterations, void* refcon,
                      PF_Err (*fn)(void* refcon, A_long thread_index, A_long i,
                                   A_long iterations)) {
    if (fn == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    for (A_long i = 0; i < iterations; ++i) {
        if (const PF_Err err = fn(refcon, 0, i, iterations)) {
            return err;
        }
    }
    return PF_Err_NONE;
}

json MaskJson(const HostCallTarget& target, const PF_MaskWorld& mask) {
    return {{"what", mask.what_is_mask},
            {"offset", {mask.offset.h, mask.offset.v}},
            {"world", WorldJson(target, &mask.mask)}};
}

json MatricesJson(const PF_FloatMatrix* matrices, A_long count) {
    json out = json::array();
    for (A_long i = 0; matrices != nullptr && i < count; ++i) {
        json numbers = json::array();
        for (const auto& row : matrices[i].mat) {
            for (const double value : row) {
                numbers.push_back(value);
            }
        }
        out.push_back(numbers);
    }
    return out;
}

PF_Err Transform(PF_ProgPtr ref, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                 const PF_EffectWorld* src, const PF_CompositeMode* comp_mode,
                 const PF_MaskWorld* mask_world, const PF_FloatMatrix* matrices,
                 A_long num_matrices, PF_Boolean src2dst_matrix, const PF_Rect* dest_rect,
                 PF_EffectWorld* dst) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "transform_world");
    if (err == PF_Err_NONE) {
        err = TransformWorld(quality, m_flags, field, src, comp_mode, mask_world, matrices,
                             num_matrices, src2dst_matrix, dest_rect, dst, target.draw_settings());
    }
    if (err == PF_Err_NONE) {
        target.count_drawing();
    }
    Record(
        target,
        [&] {
            json line = {
                {"function", "transform_world"},
                {"matrices", MatricesJson(matrices, num_matrices)},
                {"num_matrices", num_matrices},
                {"src2dst", src2dst_matrix != 0},
                {"quality", quality},
                {"field", field},
                {"mode_flags", m_flags},
                {"mask", mask_world == nullptr ? json(nullptr) : MaskJson(target, *mask_world)},
                {"dest_rect", RectJson(dest_rect)},
                {"src", WorldJson(target, src)}};
            if (comp_mode != nullptr) {
                line["xfer"] = comp_mode->xfer;
                line["opacity"] = comp_mode->opacity;
                line["opacity16"] = comp_mode->opacitySu;
                line["rgb_only"] = comp_mode->rgb_only;
                line["rand_seed"] = comp_mode->rand_seed;
            }
            return line;
        },
        err);
    return err;
}

PF_Err CheckoutLayer(PF_ProgPtr ref, PF_ParamIndex index, A_long checkout_id,
                     const PF_RenderRequest* request, A_long time, A_long time_step,
                     A_u_long time_scale, PF_CheckoutResult* result) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "checkout_layer");
    if (err == PF_Err_NONE) {
        err = request == nullptr || result == nullptr
                  ? PF_Err_BAD_CALLBACK_PARAM
                  : target.checkout_layer(index, checkout_id, *request, time, time_step, time_scale,
                                          *result);
    }
    Record(
        target,
        [&] {
            json line = {
                {"function", "checkout_layer"},
                {"index", index},
                {"checkout_id", checkout_id},
                {"time", time},
                {"time_step", time_step},
                {"time_scale", time_scale},
                {"request_rect", request == nullptr ? json(nullptr) : LRectJson(request->rect)}};
            if (err == PF_Err_NONE) {
                line["result_rect"] = LRectJson(result->result_rect);
            }
            return line;
        },
        err);
    return err;
}

PF_Err GuidMixIn(PF_ProgPtr ref, A_u_long, const void*) {
    return Injected(HostCallTarget::From(ref), "GuidMixInPtr");
}

// A planned answer of 0 makes a successful checkout come without pixels (a layer with nothing to
// show at that time); it still has to be checked in.
PF_Err CheckoutLayerPixels(PF_ProgPtr ref, A_long checkout_id, PF_EffectWorld** pixels) {
    HostCallTarget& target = HostCallTarget::From(ref);
    std::optional<std::int64_t> answer;
    PF_Err err = target.services().faults.check("checkout_layer_pixels", answer);
    if (err == PF_Err_NONE) {
        err = pixels == nullptr ? PF_Err_BAD_CALLBACK_PARAM
                                : target.checkout_layer_pixels(checkout_id, pixels);
    }
    if (err == PF_Err_NONE && answer == 0) {
        *pixels = nullptr;
    }
    Record(
        target,
        [&] {
            return json{{"function", "checkout_layer_pixels"}, {"checkout_id", checkout_id}};
        },
        err);
    return err;
}

PF_Err CheckinLayerPixels(PF_ProgPtr ref, A_long checkout_id) {
    HostCallTarget& target = HostCallTarget::From(ref);
    const PF_Err injected = Injected(target, "checkin_layer_pixels");
    const PF_Err err = GiveBack(injected, target.checkin_layer_pixels(checkout_id));
    Record(
        target,
        [&] {
            return json{{"function", "checkin_layer_pixels"}, {"checkout_id", checkout_id}};
        },
        err);
    return err;
}

PF_Err CheckoutOutput(PF_ProgPtr ref, PF_EffectWorld** output) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "checkout_output");
    if (err == PF_Err_NONE) {
        err = output == nullptr ? PF_Err_BAD_CALLBACK_PARAM : target.checkout_output(output);
    }
    Record(
        target,
        [&] {
            return json{{"function", "checkout_output"}};
        },
        err);
    return err;
}

PF_Err NewWorld(PF_ProgPtr ref, A_long width, A_long height, PF_Boolean clear,
                PF_PixelFormat format, PF_EffectWorld* world) {
    HostCallTarget& target = HostCallTarget::From(ref);
    PF_Err err = Injected(target, "PF_NewWorld");
    if (err == PF_Err_NONE) {
        err = world == nullptr
                  ? PF_Err_BAD_CALLBACK_PARAM
                  : target.services().worlds.create(width, height, format, clear != 0, *world);
    }
    Record(
        target,
        [&] {
            return json{{"function", "PF_NewWorld"},
                        {"width", width},
                        {"height", height},
                        {"format", format},
                        {"clear", clear != 0}};
        },
        err);
    return err;
}

PF_Err DisposeWorldCall(PF_ProgPtr ref, PF_EffectWorld* world) {
    HostCallTarget& target = HostCallTarget::From(ref);
    const PF_Err injected = Injected(target, "PF_DisposeWorld");
    return GiveBack(injected, world == nullptr ? PF_Err_BAD_CALLBACK_PARAM
                                               : target.services().worlds.dispose(*world));
}

// The suite's function has no effect_ref: its call is counted on the active host. A test can make
// it fail, or answer a format the effect must refuse.
PF_Err GetPixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format) {
    std::optional<std::int64_t> answer;
    if (HostServices* host = ActiveHost()) {
        if (const PF_Err err = host->faults.check("PF_GetPixelFormat", answer)) {
            return err;
        }
    }
    if (world == nullptr || format == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *format = answer ? static_cast<PF_PixelFormat>(*answer) : PixelFormatOf(*world);
    return PF_Err_NONE;
}

const PF_WorldSuite2 kWorldSuite2 = {kGuardedCallback<NewWorld>, kGuardedCallback<DisposeWorldCall>,
                                     kGuardedCallback<GetPixelFormat>};

} // namespace

void FillInteractCallbacks(PF_InteractCallbacks& callbacks) {
    callbacks.checkout_param = kGuardedCallback<CheckoutParam>;
    callbacks.checkin_param = kGuardedCallback<CheckinParam>;
    callbacks.add_param = kGuardedCallback<AddParam>;
    callbacks.abort = kGuardedCallback<Abort>;
    callbacks.progress = kGuardedCallback<Progress>;
    callbacks.register_ui = kGuardedCallback<RegisterUi>;
}

void FillUtilCallbacks(PF_UtilCallbacks& callbacks) {
    callbacks.copy = kGuardedCallback<Copy>;
    callbacks.fill = kGuardedCallback<Fill>;
    callbacks.transform_world = kGuardedCallback<Transform>;
    callbacks.fill16 = kGuardedCallback<Fill16>;
    callbacks.new_world = kGuardedCallback<NewWorldCallback>;
    callbacks.dispose_world = kGuardedCallback<DisposeWorldCallback>;
    callbacks.iterate_generic = kGuardedCallback<IterateGeneric>;
    const PF_HandleSuite1& handles = HandleSuiteTable();
    callbacks.host_new_handle = handles.host_new_handle;
    callbacks.host_lock_handle = handles.host_lock_handle;
    callbacks.host_unlock_handle = handles.host_unlock_handle;
    callbacks.host_dispose_handle = handles.host_dispose_handle;
    callbacks.host_get_handle_size = handles.host_get_handle_size;
    callbacks.host_resize_handle = handles.host_resize_handle;
    callbacks.ansi = AnsiCallbacks();
}

PF_PreRenderCallbacks PreRenderCallbacks() {
    return {kGuardedCallback<CheckoutLayer>, kGuardedCallback<GuidMixIn>};
}

PF_SmartRenderCallbacks SmartRenderCallbacks() {
    return {kGuardedCallback<CheckoutLayerPixels>, kGuardedCallback<CheckinLayerPixels>,
            kGuardedCallback<CheckoutOutput>};
}

void RegisterWorldSuite(SuiteRegistry& registry) {
    registry.add(kPFWorldSuite, kPFWorldSuiteVersion2, &kWorldSuite2);
}

} // namespace plurion::host
