// The clone loop that "Linear" and "Radial" share: N clones in a row, each with its layer by the
// clone order, its image by the time offsets, two matrices (shutter open and close) and an
// opacity byte. The type supplies only the transform and the opacity of a clone.
#pragma once

#include "layout/clone_plan.h"
#include "render/clone_layer.h"
#include "render/compositor.h"
#include "render/linear_clone.h"
#include "render/matrices.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace plurion {

// The indices name the type's "Count", "Clone Order", "Offset Time" and "Random Time".
// transform(record, i, member, source width, source height, layer rotation) -> CloneTransform
// opacity(record, i, displayed) -> CloneOpacity
template <int Count, int CloneOrder, int OffsetTime, int RandomTime, class Transform, class Opacity>
PF_Err CompositeRow(CompositeArgs& args, Transform transform, Opacity opacity) {
    ClonePlan& plan = *args.plan;
    const ParamPairs& p = plan.params;
    const std::int32_t count = p.get<Count>(0);
    const std::int32_t random_time = p.get<RandomTime>(0);
    const bool time_offsets = p.get<OffsetTime>(0) > 0 || random_time > 0;
    const std::int32_t order = p.get<CloneOrder>(0);

    CompositorFrame frame(args, time_offsets);
    // Record i + 1 exists for every count the parameter allows; a larger count stops there.
    const std::int32_t clones =
        std::min<std::int32_t>(count, static_cast<std::int32_t>(plan.randoms.size()) - 1);
    std::int32_t layer = 0;
    for (std::int32_t i = 0; i < clones && frame.ok(); ++i) {
        PickCloneLayer(i + 1, i, 1, count, 1, plan, order, args.layer_count, layer, false);
        const CloneRandom& record = plan.randoms[static_cast<std::size_t>(i)];
        PF_EffectWorld* source = frame.clone_source(layer, time_offsets, [&](std::size_t images) {
            return RowTimeShiftedIndex(i, count, images, random_time, record.time_a);
        });
        const double width = source != nullptr ? source->width : 0;
        const double height = source != nullptr ? source->height : 0;
        std::array<PF_FloatMatrix, 2> matrices{};
        for (int member = 0; member < 2; ++member) {
            matrices[static_cast<std::size_t>(member)] = CloneMatrix(
                transform(record, i, member, width, height, LayerRotation(args, layer, member)));
        }
        plan.composite_mode.opacity = OpacityByte(opacity(record, i, LayerDisplayed(args, layer)));
        frame.draw(source, matrices);
    }
    return frame.finish();
}

} // namespace plurion
