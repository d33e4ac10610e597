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

// The "Radial Mode" parameters the compositor reads besides those named for the pre-render.
namespace radial_param {
inline constexpr int kCloneOrder = param::FindParam("Radial Mode/Clone Order");
inline constexpr int kCount = param::radial::kCount;
inline constexpr int kRadius = param::FindParam("Radial Mode/Radius");
inline constexpr int kLookAtCenter = param::FindParam("Radial Mode/Look at Center");
inline constexpr int kStartAngle = param::FindParam("Radial Mode/Start Angle");
inline constexpr int kEndAngle = param::FindParam("Radial Mode/End Angle");
inline constexpr int kPosition = param::FindParam("Radial Mode/Transform/Local/Position");
inline constexpr int kLocalRotation = param::FindParam("Radial Mode/Transform/Local/Rotation");
inline constexpr int kGlobalScale = param::radial::kGlobalScale;
inline constexpr int kAnchorPoint = param::FindParam("Radial Mode/Transform/Global/Anchor Point");
inline constexpr int kGlobalRotation = param::FindParam("Radial Mode/Transform/Global/Rotation");
inline constexpr int kCloneOffsetMode = param::FindParam("Radial Mode/Offset/Clone Offset Mode");
inline constexpr int kOffsetPosition = param::FindParam("Radial Mode/Offset/Offset Position");
inline constexpr int kOffsetRotation = param::FindParam("Radial Mode/Offset/Offset Rotation");
inline constexpr int kOffsetScale = param::FindParam("Radial Mode/Offset/Offset Scale");
inline constexpr int kOffsetOpacity = param::FindParam("Radial Mode/Offset/Offset Opacity");
inline constexpr int kOffsetTime = param::radial::kOffsetTime;
inline constexpr int kReverseOffset = param::FindParam("Radial Mode/Offset/Reverse Offset");
inline constexpr int kRandomPosition = param::FindParam("Radial Mode/Random/Random Position");
inline constexpr int kRandomScale = param::FindParam("Radial Mode/Random/Random Scale");
inline constexpr int kRandomRotation = param::FindParam("Radial Mode/Random/Random Rotation");
inline constexpr int kRandomOpacity = param::FindParam("Radial Mode/Random/Random Opacity");
inline constexpr int kRandomTime = param::radial::kRandomTime;
} // namespace radial_param

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
