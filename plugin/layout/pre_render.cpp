#include "layout/pre_render.h"

#include "entry/error_chain.h"
#include "entry/suite_handler.h"
#include "layout/checkout_id.h"
#include "layout/path_layout.h"
#include "layout/random_records.h"
#include "layout/time_layer_frames.h"
#include "layout/time_shift.h"
#include "params/blending_modes.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace plurion {
namespace {

// A parameter record checked out from the host; checked in only when the checkout succeeded.
struct ParamCheckout {
    PF_ParamDef def{};
    bool held = false;
};

void CheckOutParam(ErrorChain& errors, const PF_InData& in, int index, A_long time,
                   ParamCheckout& param) {
    errors.then([&] {
        const PF_Err err = in.inter.checkout_param(in.effect_ref, index, time, in.time_step,
                                                   in.time_scale, &param.def);
        param.held = err == PF_Err_NONE;
        if (!param.held) {
            // A failed checkout reads as not sampled.
            param.def = PF_ParamDef{};
        }
        return err;
    });
}

// Check-in is clean-up: it runs for every record that is out, and its failure counts only
// when nothing failed before.
void CheckInParam(ErrorChain& errors, const PF_InData& in, ParamCheckout& param) {
    if (param.held) {
        errors.keep(in.inter.checkin_param(in.effect_ref, &param.def));
        param.held = false;
    }
}

bool HasPixels(const ParamCheckout& layer) {
    return layer.def.u.ld.data != nullptr;
}

// Every parameter but the layers, at both shutter times, into a snapshot.
void SampleParams(ErrorChain& errors, const PF_InData& in, ShutterTimes times,
                  ParamPairs& snapshot) {
    for (int index = 1; index <= kEffectParamCount; ++index) {
        if (RowOf(index).kind == ParamKind::Layer) {
            continue;
        }
        ParamCheckout open;
        ParamCheckout close;
        CheckOutParam(errors, in, index, times.open, open);
        CheckOutParam(errors, in, index, times.close, close);
        CheckInParam(errors, in, open);
        CheckInParam(errors, in, close);
        snapshot.store(index, 0, open.def);
        snapshot.store(index, 1, close.def);
    }
}

// The "Matte Layer" and "Time Layer" at the shutter-close time: their extents widen the
// request. True when both carry pixels.
bool SampleObjectLayers(ErrorChain& errors, const PF_InData& in, ShutterTimes times,
                        PF_RenderRequest& request) {
    ParamCheckout matte;
    ParamCheckout time_layer;
    CheckOutParam(errors, in, param::kMatteLayer, times.close, matte);
    CheckOutParam(errors, in, param::kTimeLayer, times.close, time_layer);
    for (const ParamCheckout* layer : {&matte, &time_layer}) {
        if (HasPixels(*layer)) {
            MergeRect(request.rect, layer->def.u.ld.extent_hint);
        }
    }
    const bool both = HasPixels(matte) && HasPixels(time_layer);
    CheckInParam(errors, in, matte);
    CheckInParam(errors, in, time_layer);
    return both;
}

// The twenty source layers at the current time: which carry pixels; their extents widen the
// request.
SlotPixels SampleSourceLayers(ErrorChain& errors, const PF_InData& in, PF_RenderRequest& request) {
    SlotPixels has_pixels{};
    for (int n = 1; n <= param::kSourceSlotCount; ++n) {
        ParamCheckout layer;
        CheckOutParam(errors, in, param::SourceLayerParam(n), in.current_time, layer);
        has_pixels[static_cast<std::size_t>(n)] = HasPixels(layer);
        if (HasPixels(layer)) {
            MergeRect(request.rect, layer.def.u.ld.extent_hint);
        }
        CheckInParam(errors, in, layer);
    }
    return has_pixels;
}

// A fresh handle, disposed on scope exit unless handed over to the pre-render output.
class NewHandle {
  public:
    NewHandle(const PF_HandleSuite1* suite, A_HandleSize size)
        : suite_(suite), handle_(suite->host_new_handle(size)) {}
    ~NewHandle() {
        if (handle_ != nullptr) {
            suite_->host_dispose_handle(handle_);
        }
    }
    NewHandle(const NewHandle&) = delete;
    NewHandle& operator=(const NewHandle&) = delete;

    PF_Handle get() const { return handle_; }
    PF_Handle release() { return std::exchange(handle_, nullptr); }

  private:
    const PF_HandleSuite1* suite_;
    PF_Handle handle_;
};

// Keeps a handle locked for the rest of the call.
class HandleLock {
  public:
    HandleLock(const PF_HandleSuite1* suite, PF_Handle handle)
        : suite_(suite), handle_(handle), data_(suite->host_lock_handle(handle)) {}
    ~HandleLock() {
        if (data_ != nullptr) {
            suite_->host_unlock_handle(handle_);
        }
    }
    HandleLock(const HandleLock&) = delete;
    HandleLock& operator=(const HandleLock&) = delete;

    void* data() const { return data_; }

  private:
    const PF_HandleSuite1* suite_;
    PF_Handle handle_;
    void* data_;
};

void SetCompositeMode(ClonePlan& plan) {
    plan.composite_mode = PF_CompositeMode{};
    plan.composite_mode.xfer = TransferModeOf(plan.params.get<param::kBlendingMode>(0));
    plan.composite_mode.rand_seed = 0;
    plan.composite_mode.opacity = 255;
    plan.composite_mode.rgb_only = 0;
    plan.composite_mode.opacitySu = 0;
}

struct LayerRequests {
    PF_CheckoutResult effect_layer{};
    std::vector<PF_CheckoutResult> sources;
    PF_CheckoutResult matte{};
    bool effect_layer_requested = false;
};

// Requests the effect's own layer, each taking-part source layer and the matte, all at the
// current time under their fixed ids.
void RequestLayers(ErrorChain& errors, const PF_InData& in, const PF_PreRenderExtra& extra,
                   const ClonePlan& plan, const PF_RenderRequest& request,
                   LayerRequests& requests) {
    const auto checkout = [&](PF_ParamIndex index, A_long id, PF_CheckoutResult& result) {
        return extra.cb->checkout_layer(in.effect_ref, index, id, &request, in.current_time,
                                        in.time_step, in.time_scale, &result);
    };
    errors.then([&] {
        requests.effect_layer_requested = true;
        return checkout(param::kInputLayer, kEffectLayerCheckoutId, requests.effect_layer);
    });
    for (std::size_t k = 0; k < plan.layer_checkout_ids.size(); ++k) {
        requests.sources[k] = PF_CheckoutResult{};
        const std::int32_t id = plan.layer_checkout_ids[k];
        errors.then([&] { return checkout(id, id, requests.sources[k]); });
    }
    errors.then([&] { return checkout(param::kMatteLayer, kMatteCheckoutId, requests.matte); });
}

// The time-shift pass of the clone type, when its offsets ask for one. Its result does not
// change the call's.
void RunTimeShiftPass(const TimeShiftContext& context, ClonePlan& plan) {
    const ParamPairs& p = plan.params;
    switch (CloneTypeOf(plan)) {
    case param::kLinear:
        if (p.get<param::linear::kOffsetTime>(0) > 0 || p.get<param::linear::kRandomTime>(0) > 0) {
            TimeShiftLinear(context, plan);
        }
        break;
    case param::kRadial:
        if (p.get<param::radial::kOffsetTime>(0) > 0 || p.get<param::radial::kRandomTime>(0) > 0) {
            TimeShiftRadial(context, plan);
        }
        break;
    case param::kGrid:
        if (p.get<param::grid::kOffsetTimeY>(0) > 0 || p.get<param::grid::kOffsetTimeX>(0) > 0 ||
            p.get<param::grid::kRandomTime>(0) > 0) {
            TimeShiftGrid(context, plan);
        }
        break;
    case param::kPath:
        if (p.get<param::path::kOffsetTime>(0) > 0 || p.get<param::path::kRandomTime>(0) > 0) {
            TimeShiftPath(context, plan);
        }
        break;
    case param::kObject:
        // Every frame of the "Time Layer", whatever the mode.
        TimeShiftObject(context, plan);
        break;
    default:
        // Any other clone type asks for no time-shifted images.
        break;
    }
}

} // namespace

ShutterTimes ShutterTimesOf(const PF_InData& in_data) {
    const auto fraction_of_step = [&](PF_Fixed fraction) {
        // Integer division truncates toward zero, as the conversion must.
        return static_cast<A_long>(static_cast<std::int64_t>(in_data.local_time_step) * fraction /
                                   65536);
    };
    ShutterTimes times;
    times.open = in_data.current_time + fraction_of_step(in_data.shutter_phase);
    times.close = times.open + fraction_of_step(in_data.shutter_angle);
    return times;
}

bool IsEmptyRect(const PF_LRect& rect) {
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

void MergeRect(PF_LRect& into, const PF_LRect& rect) {
    if (IsEmptyRect(into)) {
        into = rect;
    } else if (!IsEmptyRect(rect)) {
        into.left = std::min(into.left, rect.left);
        into.top = std::min(into.top, rect.top);
        into.right = std::max(into.right, rect.right);
        into.bottom = std::max(into.bottom, rect.bottom);
    }
}

ModeGroupValues CurrentModeGroup(const ParamPairs& p) {
    switch (p.get<param::kCloneType>(0)) {
    case param::kRadial:
        return {p.get<param::radial::kRandomSeed>(0), p.get<param::radial::kLocalScale>(0),
                p.get<param::radial::kGlobalScale>(0)};
    case param::kGrid:
        return {p.get<param::grid::kRandomSeed>(0), p.get<param::grid::kLocalScale>(0),
                p.get<param::grid::kGlobalScale>(0)};
    case param::kPath:
        return {p.get<param::path::kRandomSeed>(0), p.get<param::path::kLocalScale>(0),
                p.get<param::path::kGlobalScale>(0)};
    case param::kObject:
        return {p.get<param::object::kRandomSeed>(0), p.get<param::object::kLocalScale>(0),
                p.get<param::object::kGlobalScale>(0)};
    default:
        return {p.get<param::linear::kRandomSeed>(0), p.get<param::linear::kLocalScale>(0),
                p.get<param::linear::kGlobalScale>(0)};
    }
}

// The source slots are read by index at run time; every one of them must be held as expected.
constexpr bool SourceSlotsHeldAsRead() {
    for (int n = 1; n <= param::kSourceSlotCount; ++n) {
        if (StorageOf(param::SourceScaleParam(n)) != PairStorage::Double ||
            StorageOf(param::SourceRotationParam(n)) != PairStorage::Double ||
            StorageOf(param::SourceDisplayParam(n)) != PairStorage::Byte) {
            return false;
        }
    }
    return true;
}
static_assert(SourceSlotsHeldAsRead());

void FillTakingPartLayers(ClonePlan& plan, const SlotPixels& has_pixels) {
    const ModeGroupValues group = CurrentModeGroup(plan.params);
    plan.mode_local_scale = group.local_scale;
    plan.mode_global_scale = group.global_scale;
    plan.layer_count = 0;
    if (!(group.local_scale > 0 && group.global_scale > 0)) {
        return;
    }
    const ParamPairs& p = plan.params;
    for (int n = 1; n <= param::kSourceSlotCount; ++n) {
        const int scale = param::SourceScaleParam(n);
        const int rotation = param::SourceRotationParam(n);
        if (!has_pixels[static_cast<std::size_t>(n)] ||
            !(p.double_at(scale, 0) > 0 && p.double_at(scale, 1) > 0)) {
            continue;
        }
        plan.layer_checkout_ids.push_back(param::SourceLayerParam(n));
        plan.layer_rotations.push_back({p.double_at(rotation, 0), p.double_at(rotation, 1)});
        plan.layer_scales.push_back({p.double_at(scale, 0), p.double_at(scale, 1)});
        plan.layer_display.push_back(p.byte_at(param::SourceDisplayParam(n), 0));
        plan.layer_slots.push_back(n - 1);
        ++plan.layer_count;
    }
}

std::uint8_t CheckoutGate(const ClonePlan& plan, bool object_layers_have_pixels) {
    const bool sources =
        plan.mode_local_scale > 0 && plan.mode_global_scale > 0 && plan.layer_count > 0;
    const bool object = CloneTypeOf(plan) == param::kObject && object_layers_have_pixels;
    return sources || object ? 1 : 0;
}

PF_Err PreRender(PF_InData* in_data, PF_OutData* /*out_data*/, PF_PreRenderExtra* extra) {
    const PF_InData& in = *in_data;
    SuiteHandler suites(in.pica_basicP);
    const PF_HandleSuite1* handles = suites.HandleSuite();
    NewHandle plan_handle(handles, sizeof(PlanBlock));
    extra->output->flags = PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS;

    ErrorChain errors;
    const ShutterTimes times = ShutterTimesOf(in);
    PF_RenderRequest request = extra->input->output_request;

    auto sampled = std::make_unique<ParamPairs>();
    SampleParams(errors, in, times, *sampled);
    const bool object_layers_have_pixels = SampleObjectLayers(errors, in, times, request);
    const SlotPixels has_pixels = SampleSourceLayers(errors, in, request);

    if (plan_handle.get() == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    HandleLock lock(handles, plan_handle.get());
    if (lock.data() == nullptr) {
        // No memory to build the plan in: nothing is attached and the handle goes back.
        return PF_Err_OUT_OF_MEMORY;
    }
    std::memset(lock.data(), 0, sizeof(PlanBlock));
    auto* block = new (lock.data()) PlanBlock{};
    block->dispose_handle = handles->host_dispose_handle;
    ClonePlan& plan = block->plan;
    plan.params = *sampled;
    SetCompositeMode(plan);
    // From here on the host owns the plan and frees it through the delete function.
    extra->output->pre_render_data = plan_handle.release();
    extra->output->delete_pre_render_data_func = DeleteClonePlan;

    // The table at its full size, built only as far as this frame reads it.
    RandomTableBuilder randoms(
        static_cast<std::uint32_t>(CurrentModeGroup(plan.params).random_seed), plan.randoms);
    FillTakingPartLayers(plan, has_pixels);

    request.field = PF_Field_FRAME;
    request.preserve_rgb_of_zero_alpha = true;

    LayerRequests requests;
    requests.sources.resize(plan.layer_checkout_ids.size());
    plan.sources_ready = CheckoutGate(plan, object_layers_have_pixels);
    if (plan.sources_ready == 1) {
        RequestLayers(errors, in, *extra, plan, request, requests);
    }

    // The clone points on the masks, at both shutter samples; their errors do not count here.
    if (CloneTypeOf(plan) == param::kPath) {
        SamplePaths(plan, in, 0, &randoms);
        SamplePaths(plan, in, 1, &randoms);
    }
    randoms.BuildThrough(LastRandomRecord(plan));

    const TimeShiftContext context{in_data, extra, &request, &requests.sources};
    RunTimeShiftPass(context, plan);

    if (errors.ok() && requests.effect_layer_requested) {
        request.rect = requests.effect_layer.result_rect;
        MergeRect(extra->output->result_rect, request.rect);
        MergeRect(extra->output->max_result_rect, request.rect);
    }
    return errors.error();
}

} // namespace plurion
