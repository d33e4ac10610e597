#include "entry/aefx_suites.h"
#include "layout/path_layout.h"
#include "layout/truncate.h"
#include "render/clone_layer.h"
#include "render/path_clone.h"

#include "PF_Masks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace plurion {

const PathClone& PathPlaceEntry(const PathClone& open, const PathClone& close, int member,
                                bool per_segment, bool path_open) {
    if (member == 1) {
        return close;
    }
    const bool switches = per_segment ? path_open && open.pastHalf == 0 && close.beforeHalf == 0
                                      : open.path != close.path;
    return switches ? close : open;
}

CloneTransform PathCloneTransform(const ParamPairs& p, const CloneRandom& record,
                                  const PathClone& open, const PathClone& place,
                                  const PathCloneInput& in, int member) {
    namespace path = param::path;
    const double n = in.count;
    const double i = in.clone;
    const double j = p.get<path::kReverseOffset>(member) == 1 ? n - i : i;
    const double global_scale = p.get<path::kGlobalScale>(member);
    const PointValue random_position = p.get<path::kRandomPosition>(member);
    const PointValue position = p.get<path::kPosition>(member);
    const PointValue anchor = p.get<path::kAnchorPoint>(member);

    CloneTransform t;
    t.source_width = in.source_width;
    t.source_height = in.source_height;
    t.local_rotation = p.get<path::kLocalRotation>(member);
    if (p.get<path::kAlignRotation>(member) == 1) {
        // The path's direction at the shutter-open point, for both matrices.
        t.local_rotation += std::atan2(open.dy, open.dx) / kDegreesToRadians;
    }
    t.layer_rotation = in.layer_rotation;
    t.offset_rotation = p.get<path::kOffsetRotation>(member) * i / n;
    t.random_rotation = record.rotation * p.get<path::kRandomRotation>(member) / 360;
    t.offset_scale = 1 + j * p.get<path::kOffsetScale>(member) / (100 * n);
    t.random_scale = 1 - p.get<path::kRandomScale>(member) * record.scale / 10000;
    t.position_x = position.x;
    t.position_y = position.y;
    t.place_x =
        (place.x - in.output_width / 2) * global_scale / 100 + record.jitter_x * random_position.x;
    t.place_y =
        (place.y - in.output_height / 2) * global_scale / 100 + record.jitter_y * random_position.y;
    t.anchor_x = anchor.x;
    t.anchor_y = anchor.y;
    t.global_rotation = p.get<path::kGlobalRotation>(member);
    return t;
}

CloneOpacity PathCloneOpacity(const ParamPairs& p, const CloneRandom& record, std::int32_t i,
                              std::int32_t count, bool displayed) {
    namespace path = param::path;
    // Always spread over the group's N clones, as a step of offset / N each.
    CloneOpacity o;
    o.displayed = displayed;
    o.offset_opacity = p.get<path::kOffsetOpacity>(0) / count;
    o.step_mode = true;
    o.random_opacity = p.get<path::kRandomOpacity>(0);
    o.random_factor = record.opacity;
    o.clone = i;
    o.count = count;
    return o;
}

std::int32_t PathTimeShiftedIndex(std::int32_t i, std::int32_t count, std::size_t images,
                                  std::int32_t random_time, std::uint32_t time_a) {
    const auto n = static_cast<double>(images);
    return random_time >= 1 ? TruncateToInt32(time_a * n / 10000.0)
                            : TruncateToInt32(n / count * i);
}

namespace {

// One group's two lists (shutter open, shutter close).
struct CloneGroup {
    const std::vector<PathClone>* open = nullptr;
    const std::vector<PathClone>* close = nullptr;
    bool path_open = false;
    std::int32_t count() const {
        return open == nullptr || close == nullptr
                   ? 0
                   : static_cast<std::int32_t>(std::min(open->size(), close->size()));
    }
};

CloneGroup GroupOf(const ClonePlan& plan, bool per_segment, std::int32_t k) {
    if (!per_segment) {
        return {&plan.path_clones[0], &plan.path_clones[1], false};
    }
    const auto at = static_cast<std::size_t>(k);
    CloneGroup group;
    if (at < plan.path_clones_by_path[0].size() && at < plan.path_clones_by_path[1].size()) {
        group.open = &plan.path_clones_by_path[0][at];
        group.close = &plan.path_clones_by_path[1][at];
    }
    group.path_open = at < plan.path_open.size() && plan.path_open[at] == 1;
    return group;
}

} // namespace

PF_Err CompositePath(CompositeArgs& args) {
    namespace path = param::path;
    ClonePlan& plan = *args.plan;
    const ParamPairs& p = plan.params;
    const bool per_segment = p.get<path::kPerSegment>(0) == 1;
    const std::int32_t random_time = p.get<path::kRandomTime>(0);
    const bool time_offsets = p.get<path::kOffsetTime>(0) > 0 || random_time >= 1;
    // With "Per Segment" and "Distance" each path requested images of its own.
    const bool by_path = per_segment && p.get<path::kDistribution>(0) == kByDistance;
    const std::int32_t order = p.get<path::kCloneOrder>(0);

    // The mask suite is asked for as the host's masks need it; without it nothing is drawn.
    void* mask_suite = nullptr;
    const PF_Err mask_err =
        AEFX_AcquireSuite(args.in_data, args.out_data, kPF_MaskSuite, kPF_MaskSuiteVersion1,
                          kErrorLoadingSuite, &mask_suite);
    CompositorFrame frame(args, time_offsets && mask_err == PF_Err_NONE, by_path);
    frame.keep(mask_err);

    const std::int32_t groups = per_segment ? plan.path_count : 1;
    const auto table = static_cast<std::int64_t>(plan.randoms.size());
    std::int32_t layer = 0;
    for (std::int32_t k = 0; k < groups && frame.ok(); ++k) {
        const CloneGroup group = GroupOf(plan, per_segment, k);
        const std::int32_t count = group.count();
        for (std::int32_t i = 0; i < count && frame.ok(); ++i) {
            const std::int64_t number = (std::int64_t{k} + 1) * (std::int64_t{i} + 1);
            PickCloneLayer(static_cast<std::int32_t>(table > 0 ? number % table : number), i, 0,
                           count, 1, plan, order, args.layer_count, layer, false);
            const CloneRandom& record = PathRecord(plan.randoms, i);
            const std::uint32_t time_a = PathRecord(plan.randoms, std::int64_t{k} + i).time_a;
            PF_EffectWorld* source = frame.clone_source(
                layer, time_offsets,
                [&](std::size_t images) {
                    return PathTimeShiftedIndex(i, count, images, random_time, time_a);
                },
                by_path ? k : 0);

            const PathClone& open = (*group.open)[static_cast<std::size_t>(i)];
            const PathClone& close = (*group.close)[static_cast<std::size_t>(i)];
            PathCloneInput input;
            input.clone = i;
            input.count = count;
            input.source_width = source != nullptr ? source->width : 0;
            input.source_height = source != nullptr ? source->height : 0;
            input.output_width = args.output->width;
            input.output_height = args.output->height;
            std::array<PF_FloatMatrix, 2> matrices{};
            for (int member = 0; member < 2; ++member) {
                input.layer_rotation = LayerRotation(args, layer, member);
                const PathClone& place =
                    PathPlaceEntry(open, close, member, per_segment, group.path_open);
                matrices[static_cast<std::size_t>(member)] =
                    CloneMatrix(PathCloneTransform(p, record, open, place, input, member));
            }
            plan.composite_mode.opacity =
                OpacityByte(PathCloneOpacity(p, record, i, count, LayerDisplayed(args, layer)));
            frame.draw(source, matrices);
        }
    }
    PF_Err err = frame.finish();
    if (mask_suite != nullptr) {
        const PF_Err released = AEFX_ReleaseSuite(args.in_data, args.out_data, kPF_MaskSuite,
                                                  kPF_MaskSuiteVersion1, kCouldNotReleaseSuite);
        err = err != PF_Err_NONE ? err : released;
    }
    return err;
}

} // namespace plurion
