// The arrangement of "Radial" clones: a circle or an arc about "Position", each clone placed by
// its angle at the effective radius ("Radius" x global scale), offset and jittered by
// percentages of that radius, and optionally turned to face the centre. Pure functions of the
// plan, for the compositor and its tests; everything else follows the "Linear" row.
#pragma once

#include "layout/clone_plan.h"
#include "params/param_index.h"
#include "render/compositor.h"
#include "render/downsample.h"
#include "render/matrices.h"

#include <cstdint>

namespace plurion {

// The angle of clone `i` in degrees, at shutter member `member`. "Step" adds "End Angle" per
// clone; "End" spreads the arc over the count itself, so a full turn does not put the last
// clone on the first. The -90 puts angle 0 straight above the centre.
double RadialCloneAngle(const ParamPairs& params, std::int32_t i, int member);

// The transform of clone `i` at shutter member `member` for a source of the given size.
CloneTransform RadialCloneTransform(const ParamPairs& params, const CloneRandom& record,
                                    std::int32_t i, int member, double source_width,
                                    double source_height, double layer_rotation,
                                    Downsample downsample);

// The opacity inputs of clone `i` (member 0 of every value).
CloneOpacity RadialCloneOpacity(const ParamPairs& params, const CloneRandom& record, std::int32_t i,
                                bool displayed);

PF_Err CompositeRadial(CompositeArgs& args);

} // namespace plurion
