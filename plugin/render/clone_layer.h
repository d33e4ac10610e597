// Which source layer a clone shows, by "Clone Order". The index persists from clone to clone
// within one compositor call and starts at 0.
#pragma once

#include "layout/clone_plan.h"

#include <cstdint>

namespace plurion {

enum CloneOrder : std::int32_t { kIterative = 1, kBlending = 2, kRandom = 3 };

// "Iterative" steps on (restarting at (0, 0)); "Blending" splits the clones into runs, by row-
// major position when two-dimensional; "Random" reads the record's pick for the layer count.
// Any other order leaves the index as it is.
void PickCloneLayer(std::int32_t clone_number, std::int32_t x, std::int32_t y, std::int32_t count_x,
                    std::int32_t count_y, const ClonePlan& plan, std::int32_t order,
                    std::int32_t layer_count, std::int32_t& index, bool two_dimensional);

} // namespace plurion
