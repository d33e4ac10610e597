#include "layout/truncate.h"
#include "render/clone_layer.h"
#include "render/composite_row.h"
#include "render/compositor.h"
#include "render/linear_clone.h"

#include <algorithm>
#include <array>

namespace plurion {

double RowSteps(std::int32_t count) {
    return count == 1 ? 1.0 : count - 1.0;
}

CloneTransform LinearCloneTransform(const ParamPairs& p, const CloneRandom& record, std::int32_t i,
                                    int member, double source_width, double source_height,
                                    double layer_rotation) {
    namespace linear = param::linear;
    const double steps = RowSteps(p.get<linear::kCount>(0));
    const bool step_mode = p.get<linear::kCloneOffsetMode>(member) == 1;
    const double j = p.get<linear::kReverseOffset>(member) == 1 ? steps - i : i;
    const double centred = i - steps / 2;

    const double offset_scale = p.get<linear::kOffsetScale>(member);
    const double offset_rotation = p.get<linear::kOffsetRotation>(member);
    const PointValue offset_position = p.get<linear::kOffsetPosition>(member);
    const PointValue random_position = p.get<linear::kRandomPosition>(member);
    const double global_scale = p.get<linear::kGlobalScale>(member);

    double place_x = step_mode ? centred * offset_position.x : centred * offset_position.x / steps;
    double place_y = step_mode ? centred * offset_position.y : centred * offset_position.y / steps;
    place_x = (place_x + record.jitter_x * random_position.x) * global_scale / 100;
    place_y = (place_y + record.jitter_y * random_position.y) * global_scale / 100;

    const PointValue position = p.get<linear::kPosition>(member);
    const PointValue anchor = p.get<linear::kAnchorPoint>(member);
    CloneTransform t;
    t.source_width = source_width;
    t.source_height = source_height;
    t.local_rotation = p.get<linear::kLocalRotation>(member);
    t.layer_rotation = layer_rotation;
    t.offset_rotation = step_mode ? offset_rotation * i : offset_rotation / steps * i;
    t.random_rotation = record.rotation * p.get<linear::kRandomRotation>(member) / 360;
    t.offset_scale = 1 + j * (step_mode ? offset_scale / 100 : offset_scale / (100 * steps));
    t.random_scale = 1 - p.get<linear::kRandomScale>(member) * record.scale / 10000;
    t.position_x = position.x;
    t.position_y = position.y;
    t.place_x = place_x;
    t.place_y = place_y;
    t.anchor_x = anchor.x;
    t.anchor_y = anchor.y;
    t.global_rotation = p.get<linear::kGlobalRotation>(member);
    return t;
}

CloneOpacity LinearCloneOpacity(const ParamPairs& p, const CloneRandom& record, std::int32_t i,
                                bool displayed) {
    namespace linear = param::linear;
    return RowCloneOpacity<linear::kCount, linear::kCloneOffsetMode, linear::kOffsetOpacity,
                           linear::kRandomOpacity>(p, record, i, displayed);
}

std::int32_t RowTimeShiftedIndex(std::int32_t i, std::int32_t count, std::size_t images,
                                 std::int32_t random_time, std::uint32_t time_a) {
    const auto n = static_cast<double>(images);
    return random_time >= 1 ? TruncateToInt32(time_a * n / 10000.0)
                            : TruncateToInt32(i * n / count);
}

PF_Err CompositeLinear(CompositeArgs& args) {
    namespace linear = param::linear;
    const ParamPairs& p = args.plan->params;
    return CompositeRow<linear::kCount, linear::kCloneOrder, linear::kOffsetTime,
                        linear::kRandomTime>(
        args,
        [&](const CloneRandom& record, std::int32_t i, int member, double width, double height,
            double layer_rotation) {
            return LinearCloneTransform(p, record, i, member, width, height, layer_rotation);
        },
        [&](const CloneRandom& record, std::int32_t i, bool displayed) {
            return LinearCloneOpacity(p, record, i, displayed);
        });
}

} // namespace plurion
