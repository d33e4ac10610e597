// The arrangement of "Linear" clones: a row about "Position", each clone offset, turned, scaled
// and faded by its number. Pure functions of the plan, for the compositor and its tests.
#pragma once

#include "layout/clone_plan.h"
#include "render/compositor.h"
#include "render/matrices.h"

#include <cstdint>

namespace plurion {

// D: the number of steps along the row, 1 for a single clone.
double RowSteps(std::int32_t count);

// The opacity inputs of clone `i` of a row (member 0 of every value); the indices name the
// type's "Count", "Clone Offset Mode", "Offset Opacity" and "Random Opacity".
template <int Count, int CloneOffsetMode, int OffsetOpacity, int RandomOpacity>
CloneOpacity RowCloneOpacity(const ParamPairs& p, const CloneRandom& record, std::int32_t i,
                             bool displayed) {
    CloneOpacity o;
    o.displayed = displayed;
    o.offset_opacity = p.get<OffsetOpacity>(0);
    o.step_mode = p.get<CloneOffsetMode>(0) == 1;
    o.random_opacity = p.get<RandomOpacity>(0);
    o.random_factor = record.opacity;
    o.clone = i;
    o.count = p.get<Count>(0);
    o.steps = RowSteps(o.count);
    return o;
}

// The transform of clone `i` at shutter member `member` for a source of the given size, from
// the plan's "Linear Mode" pairs and the clone's random record.
CloneTransform LinearCloneTransform(const ParamPairs& params, const CloneRandom& record,
                                    std::int32_t i, int member, double source_width,
                                    double source_height, double layer_rotation);

// The opacity inputs of clone `i` (member 0 of every value).
CloneOpacity LinearCloneOpacity(const ParamPairs& params, const CloneRandom& record, std::int32_t i,
                                bool displayed);

// Which of a layer's `images` time-shifted images clone `i` of `count` shows: by its random
// time factor when "Random Time" is at least 1, else spread evenly along the row.
std::int32_t RowTimeShiftedIndex(std::int32_t i, std::int32_t count, std::size_t images,
                                 std::int32_t random_time, std::uint32_t time_a);

} // namespace plurion
