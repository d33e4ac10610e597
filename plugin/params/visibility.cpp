#include "params/visibility.h"

#include "params/param_index.h"

#include <array>

namespace plurion {
namespace {

using namespace param;

constexpr VisibilityCall Show(PF_ParamIndex index) {
    return {index, true};
}
constexpr VisibilityCall Hide(PF_ParamIndex index) {
    return {index, false};
}

// Each rule is a table of rows by popup value, 1 first; rows differ in length, so each row is
// an array of its own.
constexpr std::array kLinearShown = {Show(kLinearGroup), Hide(kRadialGroup), Hide(kGridGroup),
                                     Hide(kPathGroup), Hide(kObjectGroup)};
constexpr std::array kRadialShown = {Show(kRadialGroup), Hide(kLinearGroup), Hide(kGridGroup),
                                     Hide(kPathGroup), Hide(kObjectGroup)};
constexpr std::array kGridShown = {Show(kGridGroup), Hide(kLinearGroup), Hide(kRadialGroup),
                                   Hide(kPathGroup), Hide(kObjectGroup)};
constexpr std::array kPathShown = {Show(kPathGroup), Hide(kGridGroup), Hide(kLinearGroup),
                                   Hide(kRadialGroup), Hide(kObjectGroup)};
constexpr std::array kObjectShown = {Show(kObjectGroup), Hide(kLinearGroup), Hide(kRadialGroup),
                                     Hide(kGridGroup), Hide(kPathGroup)};
constexpr std::array<std::span<const VisibilityCall>, 5> kCloneTypeRows = {
    kLinearShown, kRadialShown, kGridShown, kPathShown, kObjectShown};

constexpr std::array kDistance = {Show(path::kCloneDistance), Hide(path::kCount),
                                  Show(path::kOffset),        Show(path::kStart),
                                  Show(path::kEnd),           Show(path::kPerSegment),
                                  Show(path::kAlignRotation), Show(path::kLoop)};
constexpr std::array kCount = {Show(path::kCount),      Show(path::kOffset),
                               Show(path::kStart),      Show(path::kEnd),
                               Show(path::kPerSegment), Show(path::kAlignRotation),
                               Show(path::kLoop),       Hide(path::kCloneDistance)};
constexpr std::array kVertex = {
    Hide(path::kCloneDistance), Hide(path::kCount),         Hide(path::kOffset), Hide(path::kStart),
    Hide(path::kEnd),           Hide(path::kAlignRotation), Hide(path::kLoop)};
constexpr std::array<std::span<const VisibilityCall>, 3> kDistributionRows = {kDistance, kCount,
                                                                              kVertex};

constexpr std::array kAlpha = {Show(object::kCloneOrder),      Show(object::kAlphaThreshold),
                               Show(object::kInvertAlpha),     Hide(kTimeLayer),
                               Hide(object::kLumaThreshold),   Hide(object::kInvertLuma),
                               Hide(object::kLumaBasedOpacity)};
constexpr std::array kLuma = {Show(object::kCloneOrder), Show(object::kLumaThreshold),
                              Show(object::kInvertLuma), Show(object::kLumaBasedOpacity),
                              Hide(kTimeLayer),          Hide(object::kAlphaThreshold),
                              Hide(object::kInvertAlpha)};
constexpr std::array kAlphaTime = {Show(kTimeLayer),
                                   Show(object::kInvertAlpha),
                                   Hide(object::kLumaBasedOpacity),
                                   Hide(object::kLumaThreshold),
                                   Hide(object::kCloneOrder),
                                   Hide(object::kAlphaThreshold),
                                   Hide(object::kInvertLuma)};
constexpr std::array kLumaTime = {Show(kTimeLayer),
                                  Show(object::kInvertLuma),
                                  Show(object::kLumaBasedOpacity),
                                  Hide(object::kLumaThreshold),
                                  Hide(object::kCloneOrder),
                                  Hide(object::kAlphaThreshold),
                                  Hide(object::kInvertAlpha)};
constexpr std::array<std::span<const VisibilityCall>, 4> kBasedOnRows = {kAlpha, kLuma, kAlphaTime,
                                                                         kLumaTime};

template <std::size_t N>
std::span<const VisibilityCall> RowFor(const std::array<std::span<const VisibilityCall>, N>& rows,
                                       A_long value) {
    if (value < 1 || value > static_cast<A_long>(N)) {
        return {};
    }
    return rows[static_cast<std::size_t>(value - 1)];
}

} // namespace

std::span<const VisibilityCall> CloneTypeVisibility(A_long clone_type) {
    return RowFor(kCloneTypeRows, clone_type);
}

std::span<const VisibilityCall> DistributionVisibility(A_long distribution) {
    return RowFor(kDistributionRows, distribution);
}

std::span<const VisibilityCall> BasedOnVisibility(A_long based_on) {
    return RowFor(kBasedOnRows, based_on);
}

} // namespace plurion
