// The host's downsample denominators: a frame drawn at 1/N of full size has N here. Clone
// places that are measured in layer pixels ("Radial"'s circle, "Grid"'s cell size) are divided
// by them; offsets typed in by the user are not.
#pragma once

#include "AE_Effect.h"

#include <cstdint>

namespace plurion {

struct Downsample {
    std::int32_t x = 1;
    std::int32_t y = 1;
};

// A zero denominator, which no host sends, counts as full size.
inline Downsample DownsampleOf(const PF_InData& in_data) {
    const auto denominator = [](const PF_RationalScale& scale) {
        return scale.den != 0 ? static_cast<std::int32_t>(scale.den) : 1;
    };
    return {denominator(in_data.downsample_x), denominator(in_data.downsample_y)};
}

} // namespace plurion
