// Named parameter indices, looked up in the parameter table at compile time by group path and
// name, so that a misspelt or moved parameter stops the build instead of reading the wrong value.
#pragma once

#include "params/param_table.h"

#include <string_view>

namespace plurion::param {

namespace detail {

inline constexpr int kMaxDepth = 8;

// Splits "a/b/c" into at most kMaxDepth segments; returns how many.
constexpr int SplitPath(std::string_view path, std::string_view (&out)[kMaxDepth + 1]) {
    int count = 0;
    while (!path.empty()) {
        const auto slash = path.find('/');
        if (count > kMaxDepth) {
            throw "parameter path too deep";
        }
        out[count++] = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
    }
    return count;
}

} // namespace detail

// The index of the parameter at "Group/Subgroup/Name" (a top-level name stands alone).
consteval int FindParam(std::string_view path) {
    std::string_view wanted[detail::kMaxDepth + 1];
    const int wanted_count = detail::SplitPath(path, wanted);
    std::string_view open[detail::kMaxDepth];
    int depth = 0;
    for (int index = 1; index <= kEffectParamCount; ++index) {
        const ParamRow& row = RowOf(index);
        if (row.kind == ParamKind::GroupEnd) {
            --depth;
            continue;
        }
        bool same = wanted_count == depth + 1 && wanted[depth] == row.name;
        for (int level = 0; same && level < depth; ++level) {
            same = wanted[level] == open[level];
        }
        if (same) {
            return index;
        }
        if (row.kind == ParamKind::GroupStart) {
            open[depth++] = row.name;
        }
    }
    throw "no parameter at this path";
}

inline constexpr int kInputLayer = 0;
inline constexpr int kCloneType = FindParam("Clone Type");
inline constexpr int kLinearGroup = FindParam("Linear Mode");
inline constexpr int kGridGroup = FindParam("Grid Mode");
inline constexpr int kRadialGroup = FindParam("Radial Mode");
inline constexpr int kPathGroup = FindParam("Path Mode");
inline constexpr int kObjectGroup = FindParam("Object Mode");
inline constexpr int kMatteLayer = FindParam("Object Mode/Matte Layer");
inline constexpr int kTimeLayer = FindParam("Object Mode/Time Layer");
inline constexpr int kBlendingMode = FindParam("Layers/Blending Mode");

// Source slot n (1 to 20): its layer, scale, rotation and display switch.
inline constexpr int kSourceSlotCount = 20;
constexpr int SourceLayerParam(int n) {
    return 184 + n;
}
constexpr int SourceScaleParam(int n) {
    return 205 + 2 * n;
}
constexpr int SourceRotationParam(int n) {
    return 206 + 2 * n;
}
constexpr int SourceDisplayParam(int n) {
    return 248 + n;
}

static_assert(SourceLayerParam(1) == FindParam("Layers/Selection/Layer 1"));
static_assert(SourceLayerParam(20) == FindParam("Layers/Selection/Layer 20"));
static_assert(SourceScaleParam(1) == FindParam("Layers/Transform/Layer 1 Scale"));
static_assert(SourceScaleParam(20) == FindParam("Layers/Transform/Layer 20 Scale"));
static_assert(SourceRotationParam(20) == FindParam("Layers/Transform/Layer 20 Rotation"));
static_assert(SourceDisplayParam(1) == FindParam("Layers/Visibility/Layer 1 Display"));
static_assert(SourceDisplayParam(20) == FindParam("Layers/Visibility/Layer 20 Display"));
static_assert(RowOf(kEffectParamCount).kind == ParamKind::GroupEnd);

// The clone-type popup's choices; "Linear" is 1.
enum CloneType : int { kLinear = 1, kRadial, kGrid, kPath, kObject };

// Parameters that the pre-render and render passes read from the clone plan, by group; the
// groups of the row types name the same controls alike.
namespace linear {
inline constexpr int kCloneOrder = FindParam("Linear Mode/Clone Order");
inline constexpr int kCount = FindParam("Linear Mode/Count");
inline constexpr int kLocalScale = FindParam("Linear Mode/Transform/Local/Scale");
inline constexpr int kPosition = FindParam("Linear Mode/Transform/Local/Position");
inline constexpr int kLocalRotation = FindParam("Linear Mode/Transform/Local/Rotation");
inline constexpr int kGlobalScale = FindParam("Linear Mode/Transform/Global/Scale");
inline constexpr int kAnchorPoint = FindParam("Linear Mode/Transform/Global/Anchor Point");
inline constexpr int kGlobalRotation = FindParam("Linear Mode/Transform/Global/Rotation");
inline constexpr int kCloneOffsetMode = FindParam("Linear Mode/Offset/Clone Offset Mode");
inline constexpr int kOffsetPosition = FindParam("Linear Mode/Offset/Offset Position");
inline constexpr int kOffsetRotation = FindParam("Linear Mode/Offset/Offset Rotation");
inline constexpr int kOffsetScale = FindParam("Linear Mode/Offset/Offset Scale");
inline constexpr int kOffsetOpacity = FindParam("Linear Mode/Offset/Offset Opacity");
inline constexpr int kOffsetTime = FindParam("Linear Mode/Offset/Offset Time");
inline constexpr int kReverseOffset = FindParam("Linear Mode/Offset/Reverse Offset");
inline constexpr int kRandomPosition = FindParam("Linear Mode/Random/Random Position");
inline constexpr int kRandomScale = FindParam("Linear Mode/Random/Random Scale");
inline constexpr int kRandomRotation = FindParam("Linear Mode/Random/Random Rotation");
inline constexpr int kRandomOpacity = FindParam("Linear Mode/Random/Random Opacity");
inline constexpr int kRandomTime = FindParam("Linear Mode/Random/Random Time");
inline constexpr int kRandomSeed = FindParam("Linear Mode/Random/Random Seed");
} // namespace linear

namespace radial {
inline constexpr int kCloneOrder = FindParam("Radial Mode/Clone Order");
inline constexpr int kCount = FindParam("Radial Mode/Count");
inline constexpr int kRadius = FindParam("Radial Mode/Radius");
inline constexpr int kLookAtCenter = FindParam("Radial Mode/Look at Center");
inline constexpr int kStartAngle = FindParam("Radial Mode/Start Angle");
inline constexpr int kEndAngle = FindParam("Radial Mode/End Angle");
inline constexpr int kLocalScale = FindParam("Radial Mode/Transform/Local/Scale");
inline constexpr int kPosition = FindParam("Radial Mode/Transform/Local/Position");
inline constexpr int kLocalRotation = FindParam("Radial Mode/Transform/Local/Rotation");
inline constexpr int kGlobalScale = FindParam("Radial Mode/Transform/Global/Scale");
inline constexpr int kAnchorPoint = FindParam("Radial Mode/Transform/Global/Anchor Point");
inline constexpr int kGlobalRotation = FindParam("Radial Mode/Transform/Global/Rotation");
inline constexpr int kCloneOffsetMode = FindParam("Radial Mode/Offset/Clone Offset Mode");
inline constexpr int kOffsetPosition = FindParam("Radial Mode/Offset/Offset Position");
inline constexpr int kOffsetRotation = FindParam("Radial Mode/Offset/Offset Rotation");
inline constexpr int kOffsetScale = FindParam("Radial Mode/Offset/Offset Scale");
inline constexpr int kOffsetOpacity = FindParam("Radial Mode/Offset/Offset Opacity");
inline constexpr int kOffsetTime = FindParam("Radial Mode/Offset/Offset Time");
inline constexpr int kReverseOffset = FindParam("Radial Mode/Offset/Reverse Offset");
inline constexpr int kRandomPosition = FindParam("Radial Mode/Random/Random Position");
inline constexpr int kRandomScale = FindParam("Radial Mode/Random/Random Scale");
inline constexpr int kRandomRotation = FindParam("Radial Mode/Random/Random Rotation");
inline constexpr int kRandomOpacity = FindParam("Radial Mode/Random/Random Opacity");
inline constexpr int kRandomTime = FindParam("Radial Mode/Random/Random Time");
inline constexpr int kRandomSeed = FindParam("Radial Mode/Random/Random Seed");
} // namespace radial

namespace grid {
inline constexpr int kCloneOrder = FindParam("Grid Mode/Clone Order");
inline constexpr int kCountX = FindParam("Grid Mode/Count X");
inline constexpr int kCountY = FindParam("Grid Mode/Count Y");
inline constexpr int kSizeX = FindParam("Grid Mode/Size X");
inline constexpr int kSizeY = FindParam("Grid Mode/Size Y");
inline constexpr int kLocalScale = FindParam("Grid Mode/Transform/Local/Scale");
inline constexpr int kPosition = FindParam("Grid Mode/Transform/Local/Position");
inline constexpr int kLocalRotation = FindParam("Grid Mode/Transform/Local/Rotation");
inline constexpr int kGlobalScale = FindParam("Grid Mode/Transform/Global/Scale");
inline constexpr int kAnchorPoint = FindParam("Grid Mode/Transform/Global/Anchor Point");
inline constexpr int kGlobalRotation = FindParam("Grid Mode/Transform/Global/Rotation");
inline constexpr int kCloneOffsetMode = FindParam("Grid Mode/Offset/Clone Offset Mode");
inline constexpr int kOffsetPosition = FindParam("Grid Mode/Offset/Offset Position");
inline constexpr int kOffsetRotation = FindParam("Grid Mode/Offset/Offset Rotation");
inline constexpr int kOffsetScaleX = FindParam("Grid Mode/Offset/Offset Scale X");
inline constexpr int kOffsetScaleY = FindParam("Grid Mode/Offset/Offset Scale Y");
inline constexpr int kOffsetOpacityX = FindParam("Grid Mode/Offset/Offset Opacity X");
inline constexpr int kOffsetOpacityY = FindParam("Grid Mode/Offset/Offset Opacity Y");
inline constexpr int kOffsetTimeX = FindParam("Grid Mode/Offset/Offset Time X");
inline constexpr int kOffsetTimeY = FindParam("Grid Mode/Offset/Offset Time Y");
inline constexpr int kReverseOffsetX = FindParam("Grid Mode/Offset/Reverse Offset X");
inline constexpr int kReverseOffsetY = FindParam("Grid Mode/Offset/Reverse Offset Y");
inline constexpr int kRandomPosition = FindParam("Grid Mode/Random/Random Position");
inline constexpr int kRandomScale = FindParam("Grid Mode/Random/Random Scale");
inline constexpr int kRandomRotation = FindParam("Grid Mode/Random/Random Rotation");
inline constexpr int kRandomOpacity = FindParam("Grid Mode/Random/Random Opacity");
inline constexpr int kRandomTime = FindParam("Grid Mode/Random/Random Time");
inline constexpr int kRandomSeed = FindParam("Grid Mode/Random/Random Seed");
} // namespace grid

namespace path {
inline constexpr int kDistribution = FindParam("Path Mode/Distribution");
inline constexpr int kCloneOrder = FindParam("Path Mode/Clone Order");
inline constexpr int kCloneDistance = FindParam("Path Mode/Clone Distance");
inline constexpr int kCount = FindParam("Path Mode/Count");
inline constexpr int kOffset = FindParam("Path Mode/Offset"); // the angle, not the group
inline constexpr int kStart = FindParam("Path Mode/Start");
inline constexpr int kEnd = FindParam("Path Mode/End");
inline constexpr int kPerSegment = FindParam("Path Mode/Per Segment");
inline constexpr int kAlignRotation = FindParam("Path Mode/Align Rotation to Path");
inline constexpr int kLoop = FindParam("Path Mode/Loop");
inline constexpr int kLocalScale = FindParam("Path Mode/Transform/Local/Scale");
inline constexpr int kPosition = FindParam("Path Mode/Transform/Local/Position");
inline constexpr int kLocalRotation = FindParam("Path Mode/Transform/Local/Rotation");
inline constexpr int kGlobalScale = FindParam("Path Mode/Transform/Global/Scale");
inline constexpr int kAnchorPoint = FindParam("Path Mode/Transform/Global/Anchor Point");
inline constexpr int kGlobalRotation = FindParam("Path Mode/Transform/Global/Rotation");
inline constexpr int kOffsetRotation = FindParam("Path Mode/Offset/Offset Rotation");
inline constexpr int kOffsetScale = FindParam("Path Mode/Offset/Offset Scale");
inline constexpr int kOffsetOpacity = FindParam("Path Mode/Offset/Offset Opacity");
inline constexpr int kOffsetTime = FindParam("Path Mode/Offset/Offset Time");
inline constexpr int kReverseOffset = FindParam("Path Mode/Offset/Reverse Offset");
inline constexpr int kRandomOffset = FindParam("Path Mode/Random/Random Offset");
inline constexpr int kRandomPosition = FindParam("Path Mode/Random/Random Position");
inline constexpr int kRandomScale = FindParam("Path Mode/Random/Random Scale");
inline constexpr int kRandomRotation = FindParam("Path Mode/Random/Random Rotation");
inline constexpr int kRandomOpacity = FindParam("Path Mode/Random/Random Opacity");
inline constexpr int kRandomTime = FindParam("Path Mode/Random/Random Time");
inline constexpr int kRandomSeed = FindParam("Path Mode/Random/Random Seed");
static_assert(kOffset == kDistribution + 4);
} // namespace path

namespace object {
inline constexpr int kBasedOn = FindParam("Object Mode/Based on");
inline constexpr int kCloneOrder = FindParam("Object Mode/Clone Order");
inline constexpr int kResolution = FindParam("Object Mode/Resolution");
inline constexpr int kAlphaThreshold = FindParam("Object Mode/Alpha Threshold");
inline constexpr int kInvertAlpha = FindParam("Object Mode/Invert Alpha");
inline constexpr int kLumaThreshold = FindParam("Object Mode/Luma Threshold");
inline constexpr int kInvertLuma = FindParam("Object Mode/Invert Luma");
inline constexpr int kLumaBasedOpacity = FindParam("Object Mode/Luma based Opacity");
inline constexpr int kLocalScale = FindParam("Object Mode/Transform/Local/Scale");
inline constexpr int kPosition = FindParam("Object Mode/Transform/Local/Position");
inline constexpr int kLocalRotation = FindParam("Object Mode/Transform/Local/Rotation");
inline constexpr int kGlobalScale = FindParam("Object Mode/Transform/Global/Scale");
inline constexpr int kAnchorPoint = FindParam("Object Mode/Transform/Global/Anchor Point");
inline constexpr int kGlobalRotation = FindParam("Object Mode/Transform/Global/Rotation");
inline constexpr int kRandomPosition = FindParam("Object Mode/Random/Random Position");
inline constexpr int kRandomScale = FindParam("Object Mode/Random/Random Scale");
inline constexpr int kRandomRotation = FindParam("Object Mode/Random/Random Rotation");
inline constexpr int kRandomOpacity = FindParam("Object Mode/Random/Random Opacity");
inline constexpr int kRandomSeed = FindParam("Object Mode/Random/Random Seed");

// "Based on": the two "- Time" modes choose a frame of the "Time Layer" for every cell.
enum BasedOn : int { kAlpha = 1, kLuma, kAlphaTime, kLumaTime };
constexpr bool IsTimeMode(int based_on) {
    return based_on == kAlphaTime || based_on == kLumaTime;
}
} // namespace object

} // namespace plurion::param
