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
