#include "render/compositor.h"

#include "layout/truncate.h"

#include <algorithm>

namespace plurion {

double LayerRotation(const CompositeArgs& args, std::int32_t layer, int member) {
    const auto l = static_cast<std::size_t>(layer);
    return l < args.layer_rotations.size() ? args.layer_rotations[l][member] : 0;
}

bool LayerDisplayed(const CompositeArgs& args, std::int32_t layer) {
    const auto l = static_cast<std::size_t>(layer);
    return l < args.layer_display.size() && args.layer_display[l] == 1;
}

CompositorFrame::CompositorFrame(CompositeArgs& args, bool time_shifted, bool by_path)
    : args_(args), world_suite_(args.in_data, args.out_data),
      checkouts_(args.in_data->effect_ref, args.extra->cb) {
    err_ = world_suite_.acquire_error();
    if (time_shifted) {
        prepare_time_shifted(by_path);
    }
}

CompositorFrame::~CompositorFrame() {
    finish();
}

void CompositorFrame::prepare_time_shifted(bool by_path) {
    const ClonePlan& plan = *args_.plan;
    const std::size_t entries =
        std::min(plan.time_checkout_ids.size(), plan.time_checkout_layers.size());
    for (std::size_t k = 0; k < entries && ok(); ++k) {
        const std::int32_t layer = plan.time_checkout_layers[k];
        const std::int32_t path =
            by_path && k < plan.time_checkout_paths.size() ? plan.time_checkout_paths[k] : 0;
        if (layer < 0 || static_cast<std::size_t>(layer) >= kMaxSourceLayers ||
            static_cast<std::size_t>(layer) >= args_.layer_scales.size() || path < 0 ||
            path >= std::max(plan.path_count, 1)) {
            continue;
        }
        PF_EffectWorld* pixels = nullptr;
        keep(checkouts_.check_out(plan.time_checkout_ids[k], &pixels));
        if (!ok() || pixels == nullptr) {
            continue;
        }
        const double factor = plan.mode_global_scale * plan.mode_local_scale *
                              args_.layer_scales[static_cast<std::size_t>(layer)][0] / 1000000.0;
        PF_EffectWorld copy{};
        if (working_copy(*pixels, ScaledWorldSize(*pixels, factor), copy)) {
            const std::size_t list =
                static_cast<std::size_t>(path) * kMaxSourceLayers + static_cast<std::size_t>(layer);
            if (list >= time_shifted_.size()) {
                time_shifted_.resize(list + 1);
            }
            time_shifted_[list].push_back(copy);
        }
    }
}

bool CompositorFrame::working_copy(PF_EffectWorld& pixels, WorldSize size, PF_EffectWorld& copy) {
    // Both checkouts are still held, so equal pixel addresses are the same picture.
    for (const MadeCopy& made : made_copies_) {
        if (made.from == pixels.data && made.from_width == pixels.width &&
            made.from_height == pixels.height && made.from_rowbytes == pixels.rowbytes &&
            made.size.width == size.width && made.size.height == size.height) {
            copy = made.world;
            return true;
        }
    }
    const WorkingCopyResult made =
        MakeWorkingCopy(*args_.in_data, world_suite_.get(), pixels, size, copy);
    if (made.made) {
        made_copies_.push_back(
            {pixels.data, pixels.width, pixels.height, pixels.rowbytes, size, copy});
    }
    keep(made.err);
    // Unlike the render's own copies, a failed copy here stops the frame.
    keep(made.copy_err);
    return made.made;
}

void CompositorFrame::prepare_time_frames() {
    const ClonePlan& plan = *args_.plan;
    const double factor = plan.mode_local_scale * plan.mode_global_scale / 10000.0;
    for (std::size_t k = 0; k < plan.time_checkout_ids.size() && ok(); ++k) {
        PF_EffectWorld* pixels = nullptr;
        keep(checkouts_.check_out(plan.time_checkout_ids[k], &pixels));
        if (!ok() || pixels == nullptr) {
            continue;
        }
        PF_EffectWorld copy{};
        if (working_copy(*pixels, ScaledWorldSize(*pixels, factor), copy)) {
            time_frames_.push_back(copy);
        }
    }
}

std::span<PF_EffectWorld> CompositorFrame::time_shifted(std::int32_t layer, std::int32_t path) {
    if (layer < 0 || static_cast<std::size_t>(layer) >= kMaxSourceLayers || path < 0) {
        return {};
    }
    const std::size_t list =
        static_cast<std::size_t>(path) * kMaxSourceLayers + static_cast<std::size_t>(layer);
    return list < time_shifted_.size() ? std::span<PF_EffectWorld>(time_shifted_[list])
                                       : std::span<PF_EffectWorld>();
}

PF_EffectWorld* CompositorFrame::source(std::int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < args_.sources.size()
               ? args_.sources[static_cast<std::size_t>(index)]
               : nullptr;
}

void CompositorFrame::draw(const PF_EffectWorld* source, std::span<const PF_FloatMatrix> matrices) {
    if (source == nullptr || !ok()) {
        return;
    }
    const PF_InData& in = *args_.in_data;
    keep(in.utils->transform_world(in.effect_ref, in.quality, PF_MF_Alpha_STRAIGHT, in.field,
                                   source, &args_.plan->composite_mode, nullptr, matrices.data(),
                                   static_cast<A_long>(matrices.size()), true,
                                   &args_.output->extent_hint, args_.output));
}

PF_Err CompositorFrame::finish() {
    if (finished_) {
        return err_;
    }
    finished_ = true;
    time_shifted_.clear();
    time_frames_.clear();
    for (MadeCopy& made : made_copies_) {
        keep(DisposeWorlds(world_suite_.get(), args_.in_data->effect_ref, &made.world, 1));
    }
    made_copies_.clear();
    keep(checkouts_.check_in_all());
    keep(world_suite_.release());
    return err_;
}

std::uint8_t OpacityByte(const CloneOpacity& o) {
    if (!o.displayed) {
        return 0;
    }
    if (o.offset_opacity == 0 && o.random_opacity == 0) {
        return 255;
    }
    const double per_step =
        o.step_mode ? o.offset_opacity / 100 : o.offset_opacity / (100 * o.steps);
    // A negative offset fades from the last clone backwards.
    const double offset_factor =
        o.offset_opacity >= 0 ? 1 - o.clone * per_step : 1 + (o.count - o.clone - 1) * per_step;
    const double random_factor =
        o.random_opacity > 0 ? 1 - o.random_opacity * o.random_factor / 10000 : 1;
    // Faded clones are scaled to 250, not 255. Products outside 0 to 1 (a large offset over
    // many clones) are held to the byte's range rather than wrapped.
    const std::int32_t value = TruncateToInt32(random_factor * offset_factor * 250.0);
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace plurion
