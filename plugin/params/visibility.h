// Which controls the panel shows for the current choices: the group of the chosen clone type,
// and inside "Path Mode" and "Object Mode" the controls of the chosen "Distribution" and "Based
// on". Each rule is a list of show and hide calls in the order they are made; a choice outside
// the popup's range makes none.
#pragma once

#include "AE_Effect.h"

#include <span>

namespace plurion {

struct VisibilityCall {
    PF_ParamIndex index;
    bool show;
};

// From "Clone Type": show the chosen type's group, hide the four others.
std::span<const VisibilityCall> CloneTypeVisibility(A_long clone_type);

// From "Distribution": "Clone Distance" or "Count" and the controls along the path; "Vertex"
// hides them all but "Per Segment", which it leaves as it is.
std::span<const VisibilityCall> DistributionVisibility(A_long distribution);

// From "Based on": the time-driven choices put "Time Layer" in the place of "Clone Order" and
// keep only the inversion of their channel (and for luma its opacity switch).
std::span<const VisibilityCall> BasedOnVisibility(A_long based_on);

} // namespace plurion
