// Rescaling of a group's offsets when its "Clone Offset Mode" switches: to "End" a value per step
// becomes the value over the whole run (multiplied by the number of steps), to "Step" the other
// way round. Points and angles are 16.16 integers and are scaled as 32-bit integers; float
// sliders as doubles.
#pragma once

#include "AE_Effect.h"

#include <span>

namespace plurion {

// The number of steps along `count` clones; a single clone counts as one step, so that the
// factor is never 0.
A_long CountFactor(A_long count);

// A 16.16 value times or over a factor as 32-bit integers: the product wraps as a 32-bit
// multiply does, the quotient truncates toward zero.
A_long MultiplyFixed(A_long value, A_long factor);
A_long DivideFixed(A_long value, A_long factor);

// When `changed` is the "Clone Offset Mode" of "Linear Mode", "Radial Mode" or "Grid Mode",
// converts that group's offsets in `params` for the mode's new value, marks every converted
// parameter with PF_ChangeFlag_CHANGED_VALUE and PF_ParamFlag_COLLAPSE_TWIRLY, and returns
// their indices in the order their definitions go back to the host. For any other index
// nothing is converted and the list is empty.
std::span<const PF_ParamIndex> ConvertOffsets(PF_ParamDef* params[], PF_ParamIndex changed);

} // namespace plurion
