#include "render/smart_render.h"

#include "entry/error_chain.h"
#include "entry/suite_handler.h"
#include "layout/checkout_id.h"
#include "render/grid_clone.h"
#include "render/path_clone.h"
#include "render/object_clone.h"
#include "render/radial_clone.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace plurion {
namespace {

// Keeps the plan's handle locked until unlocked or the call ends.
class PlanLock {
  public:
    PlanLock(const PF_HandleSuite1* suite, PF_Handle handle)
        : suite_(suite), handle_(handle),
          data_(handle != nullptr ? suite->host_lock_handle(handle) : nullptr) {}
    ~PlanLock() { unlock(); }
    PlanLock(const PlanLock&) = delete;
    PlanLock& operator=(const PlanLock&) = delete;

    ClonePlan* plan() const { return PlanOf(data_); }
    void unlock() {
        if (data_ != nullptr) {
            suite_->host_unlock_handle(handle_);
            data_ = nullptr;
        }
    }

  private:
    const PF_HandleSuite1* suite_;
    PF_Handle handle_;
    void* data_;
};

// The working copies of the source layers: slot k belongs to the plan's k-th layer.
struct SourceSlots {
    const PF_WorldSuite2* suite = nullptr;
    PF_ProgPtr effect_ref = nullptr;
    std::array<PF_EffectWorld, kMaxSourceLayers> worlds{};
    std::vector<PF_EffectWorld*> list; // the slots that were filled, in layer order

    SourceSlots(const PF_WorldSuite2* world_suite, PF_ProgPtr ref)
        : suite(world_suite), effect_ref(ref) {}
    ~SourceSlots() { dispose(); }
    SourceSlots(const SourceSlots&) = delete;
    SourceSlots& operator=(const SourceSlots&) = delete;

    PF_Err dispose() { return DisposeWorlds(suite, effect_ref, worlds.data(), worlds.size()); }
};

std::size_t SourceLayerCount(const ClonePlan& plan) {
    return std::min({static_cast<std::size_t>(std::max(plan.layer_count, 0)),
                     plan.layer_checkout_ids.size(), plan.layer_scales.size(), kMaxSourceLayers});
}

// Checks out each source layer and resamples it at its clone size into its slot. The copy's
// own result is not looked at: a failed resample only leaves the slot cleared.
void PrepareSources(ErrorChain& errors, const PF_InData& in, const PF_WorldSuite2* world_suite,
                    const ClonePlan& plan, LayerCheckouts& checkouts, SourceSlots& slots) {
    for (std::size_t k = 0; k < SourceLayerCount(plan) && errors.ok(); ++k) {
        PF_EffectWorld* pixels = nullptr;
        errors.then([&] { return checkouts.check_out(plan.layer_checkout_ids[k], &pixels); });
        if (!errors.ok() || pixels == nullptr) {
            continue;
        }
        const double factor =
            plan.mode_global_scale * plan.mode_local_scale * plan.layer_scales[k][1] / 1000000.0;
        const WorkingCopyResult made = MakeWorkingCopy(
            in, world_suite, *pixels, ScaledWorldSize(*pixels, factor), slots.worlds[k]);
        errors.keep(made.err);
        // Listed even after a failure: the error then keeps every compositor from running.
        slots.list.push_back(&slots.worlds[k]);
    }
}

bool GroupScalesDraw(const ClonePlan& plan) {
    return plan.mode_local_scale > 0 && plan.mode_global_scale > 0;
}

PF_Err RunCompositor(Compositor compositor, CompositeArgs args) {
    return compositor != nullptr ? compositor(args) : PF_Err_NONE;
}

CompositeArgs ArgsFor(ClonePlan& plan, const SourceSlots& slots, PF_InData* in_data,
                      PF_EffectWorld* output, PF_OutData* out_data, PF_SmartRenderExtra* extra) {
    CompositeArgs args;
    args.plan = &plan;
    args.layer_display = plan.layer_display;
    args.sources = slots.list;
    args.layer_rotations = plan.layer_rotations;
    args.layer_scales = plan.layer_scales;
    args.in_data = in_data;
    args.output = output;
    args.out_data = out_data;
    args.layer_count = static_cast<std::int32_t>(slots.list.size());
    args.extra = extra;
    return args;
}

// "Object" fetches its matte itself and gives it back before the abort check.
void DrawObject(ErrorChain& errors, const PF_InData& in, PF_SmartRenderExtra* extra,
                CompositeArgs args) {
    const ClonePlan& plan = *args.plan;
    if (plan.sources_ready != 1) {
        return;
    }
    LayerCheckouts matte_checkout(in.effect_ref, extra->cb);
    PF_EffectWorld* matte = nullptr;
    errors.keep(matte_checkout.check_out(kMatteCheckoutId, &matte));
    const bool time_mode = param::object::IsTimeMode(plan.params.get<param::object::kBasedOn>(0));
    if ((args.layer_count > 0 || time_mode) && matte != nullptr && GroupScalesDraw(plan)) {
        args.matte = matte;
        errors.then([&] { return RunCompositor(CompositorOf(param::kObject), std::move(args)); });
    }
    errors.keep(matte_checkout.check_in_all());
}

} // namespace

Compositor CompositorOf(std::int32_t clone_type) {
    switch (clone_type) {
    case param::kLinear:
        return CompositeLinear;
    case param::kRadial:
        return CompositeRadial;
    case param::kGrid:
        return CompositeGrid;
    case param::kPath:
        return CompositePath;
    case param::kObject:
        return CompositeObject;
    default:
        // Any other type draws nothing.
        return nullptr;
    }
}

PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra) {
    const PF_InData& in = *in_data;
    ErrorChain errors;
    WorldSuiteLease world_suite(in_data, out_data);
    errors.keep(world_suite.acquire_error());
    SourceSlots slots(world_suite.get(), in.effect_ref);

    SuiteHandler suites(in.pica_basicP);
    PlanLock lock(suites.HandleSuite(), static_cast<PF_Handle>(extra->input->pre_render_data));
    ClonePlan* plan = lock.plan();
    if (plan == nullptr) {
        errors.keep(PF_Err_BAD_CALLBACK_PARAM);
    }

    LayerCheckouts effect_layer(in.effect_ref, extra->cb);
    LayerCheckouts sources(in.effect_ref, extra->cb);
    if (plan != nullptr) {
        if (plan->sources_ready == 1) {
            PF_EffectWorld* unused = nullptr;
            errors.then([&] { return effect_layer.check_out(kEffectLayerCheckoutId, &unused); });
            PrepareSources(errors, in, world_suite.get(), *plan, sources, slots);
        }

        PF_EffectWorld* output = nullptr;
        errors.then([&] { return extra->cb->checkout_output(in.effect_ref, &output); });
        errors.then([&] { return in.utils->fill(in.effect_ref, nullptr, nullptr, output); });

        const std::int32_t clone_type = CloneTypeOf(*plan);
        const bool have_sources = !slots.list.empty() && GroupScalesDraw(*plan);
        switch (clone_type) {
        case param::kLinear:
        case param::kRadial:
        case param::kGrid:
            if (have_sources) {
                errors.then([&] {
                    return RunCompositor(CompositorOf(clone_type),
                                         ArgsFor(*plan, slots, in_data, output, out_data, extra));
                });
            }
            break;
        case param::kPath:
            if (have_sources && plan->path_count >= 1) {
                errors.then([&] {
                    return RunCompositor(CompositorOf(clone_type),
                                         ArgsFor(*plan, slots, in_data, output, out_data, extra));
                });
            }
            break;
        case param::kObject:
            DrawObject(errors, in, extra, ArgsFor(*plan, slots, in_data, output, out_data, extra));
            break;
        default:
            // An unknown type draws nothing; the output stays cleared.
            break;
        }
        errors.then([&] { return in.inter.abort(in.effect_ref); });
    }

    errors.keep(sources.check_in_all());
    errors.keep(effect_layer.check_in_all());
    lock.unlock();
    errors.keep(slots.dispose());
    errors.keep(world_suite.release());
    return errors.error();
}

} // namespace plurion
