#include "render/clone_layer.h"
#include "render/composite_row.h"
#include "render/linear_clone.h"
#include "render/radial_clone.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace plurion {

double RadialCloneAngle(const ParamPairs& p, std::int32_t i, int member) {
    namespace radial = param::radial;
    const double start = p.get<radial::kStartAngle>(member);
    const double end = p.get<radial::kEndAngle>(member);
    if (p.get<radial::kCloneOffsetMode>(member) == 1) {
        return (start - 90) + i * end;
    }
    return (start - 90) + (end - start) * i / p.get<radial::kCount>(0);
}

CloneTransform RadialCloneTransform(const ParamPairs& p, const CloneRandom& record, std::int32_t i,
                                    int member, double source_width, double source_height,
                                    double layer_rotation, Downsample downsample) {
    namespace radial = param::radial;
    const double steps = RowSteps(p.get<radial::kCount>(0));
    const bool step_mode = p.get<radial::kCloneOffsetMode>(member) == 1;
    const double j = p.get<radial::kReverseOffset>(member) == 1 ? steps - i : i;
    const double radius =
        p.get<radial::kRadius>(member) * p.get<radial::kGlobalScale>(member) / 100;
    const double degrees = RadialCloneAngle(p, i, member);
    const double angle = degrees * kDegreesToRadians;

    // Offsets and jitter are percentages of the effective radius.
    const PointValue offset_position = p.get<radial::kOffsetPosition>(member);
    const PointValue random_position = p.get<radial::kRandomPosition>(member);
    const double offset_steps = step_mode ? j : j / steps;
    const double offset_x = offset_steps * offset_position.x * radius / 100;
    const double offset_y = offset_steps * offset_position.y * radius / 100;
    const double random_x = record.jitter_x * random_position.x * radius / 100;
    const double random_y = record.jitter_y * random_position.y * radius / 100;

    const double offset_scale = p.get<radial::kOffsetScale>(member);
    const double offset_rotation = p.get<radial::kOffsetRotation>(member);
    const PointValue position = p.get<radial::kPosition>(member);
    const PointValue anchor = p.get<radial::kAnchorPoint>(member);
    CloneTransform t;
    t.source_width = source_width;
    t.source_height = source_height;
    t.extra_rotation = p.get<radial::kLookAtCenter>(member) == 1 ? degrees : 0;
    t.local_rotation = p.get<radial::kLocalRotation>(member);
    t.layer_rotation = layer_rotation;
    t.offset_rotation = step_mode ? offset_rotation * i : offset_rotation / steps * i;
    t.random_rotation = record.rotation * p.get<radial::kRandomRotation>(member) / 360;
    t.offset_scale = 1 + j * (step_mode ? offset_scale / 100 : offset_scale / (100 * steps));
    t.random_scale = 1 - p.get<radial::kRandomScale>(member) * record.scale / 10000;
    t.position_x = position.x;
    t.position_y = position.y;
    t.place_x = std::cos(angle) * radius / downsample.x + offset_x + random_x;
    t.place_y = std::sin(angle) * radius / downsample.y + offset_y + random_y;
    t.anchor_x = anchor.x;
    t.anchor_y = anchor.y;
    t.global_rotation = p.get<radial::kGlobalRotation>(member);
    return t;
}

CloneOpacity RadialCloneOpacity(const ParamPairs& p, const CloneRandom& record, std::int32_t i,
                                bool displayed) {
    namespace radial = param::radial;
    return RowCloneOpacity<radial::kCount, radial::kCloneOffsetMode, radial::kOffsetOpacity,
                           radial::kRandomOpacity>(p, record, i, displayed);
}

PF_Err CompositeRadial(CompositeArgs& args) {
    namespace radial = param::radial;
    const ParamPairs& p = args.plan->params;
    const Downsample downsample = DownsampleOf(*args.in_data);
    return CompositeRow<radial::kCount, radial::kCloneOrder, radial::kOffsetTime,
                        radial::kRandomTime>(
        args,
        [&](const CloneRandom& record, std::int32_t i, int member, double width, double height,
            double layer_rotation) {
            return RadialCloneTransform(p, record, i, member, width, height, layer_rotation,
                                        downsample);
        },
        [&](const CloneRandom& record, std::int32_t i, bool displayed) {
            return RadialCloneOpacity(p, record, i, displayed);
        });
}

} // namespace plurion
