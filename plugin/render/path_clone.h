// The arrangement of "Path" clones: every placement that the path layout made becomes a clone at
// its point on the mask, optionally turned along the path, with the offsets spread over the N
// clones of its group (divided by N, not N - 1: "Path Mode" has no "End" mode). Clones are
// grouped per mask path with "Per Segment", else in one group. Pure functions of the plan, for
// the compositor and its tests.
#pragma once

#include "layout/clone_plan.h"
#include "params/param_index.h"
#include "render/compositor.h"
#include "render/matrices.h"

#include <cstddef>
#include <cstdint>

namespace plurion {

// The entry of the two shutter samples whose point matrix `member` puts the clone at: normally
// the member's own, but the shutter-close entry for both when the clone changes paths during
// the shutter (combined lists) or, per path on an open path, when it runs from the first half
// into the second.
const PathClone& PathPlaceEntry(const PathClone& open, const PathClone& close, int member,
                                bool per_segment, bool path_open);

// The transform of clone `i` of a group of `count` at shutter member `member`. `open` is the
// clone's shutter-open entry (its direction turns the clone with "Align Rotation to Path"),
// `place` the entry that gives its point; the point is measured from the output's top-left
// corner, so the output's centre is taken off before the position is added.
struct PathCloneInput {
    std::int32_t clone = 0; // i
    std::int32_t count = 1; // N
    double source_width = 0;
    double source_height = 0;
    double layer_rotation = 0;
    double output_width = 0;
    double output_height = 0;
};
CloneTransform PathCloneTransform(const ParamPairs& params, const CloneRandom& record,
                                  const PathClone& open, const PathClone& place,
                                  const PathCloneInput& input, int member);

// The opacity inputs of clone `i` of `count` (member 0 of every value).
CloneOpacity PathCloneOpacity(const ParamPairs& params, const CloneRandom& record, std::int32_t i,
                              std::int32_t count, bool displayed);

// Which of a layer's `images` time-shifted images clone `i` of `count` shows: by its random time
// factor when "Random Time" is at least 1, else spread evenly over the group.
std::int32_t PathTimeShiftedIndex(std::int32_t i, std::int32_t count, std::size_t images,
                                  std::int32_t random_time, std::uint32_t time_a);

PF_Err CompositePath(CompositeArgs& args);

} // namespace plurion
