// Traits of the three pixel depths the host renders, so that one kernel template serves all of
// them: 8 bits (white 255), 16 bits (white PF_MAX_CHAN16 = 32768) and 32-bit float (white 1.0).
// Pixels are alpha first; worlds hold straight (unmatted) colour. Kernels do their arithmetic on
// "unit" floats, where 1 is white at every depth; only the 8- and 16-bit conversions back from
// unit values clamp, and they round to nearest so that a value survives a round trip exactly.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectPixelFormat.h"

namespace plurion::host {

struct Pixel8Traits {
    using Channel = A_u_char;
    using Pixel = PF_Pixel;
    static constexpr PF_PixelFormat kFormat = PF_PixelFormat_ARGB32;
    static constexpr float kWhite = 255.0f;
    static constexpr bool kClampsColour = true;

    static float ToUnit(Channel c) { return static_cast<float>(c) * (1.0f / kWhite); }
    // NaN fails both comparisons and becomes 0.
    static Channel FromUnit(float v) {
        if (!(v > 0.0f)) {
            return 0;
        }
        if (v >= 1.0f) {
            return 255;
        }
        return static_cast<Channel>(v * kWhite + 0.5f);
    }
};

struct Pixel16Traits {
    using Channel = A_u_short;
    using Pixel = PF_Pixel16;
    static constexpr PF_PixelFormat kFormat = PF_PixelFormat_ARGB64;
    static constexpr float kWhite = static_cast<float>(PF_MAX_CHAN16);
    static constexpr bool kClampsColour = true;

    static float ToUnit(Channel c) { return static_cast<float>(c) * (1.0f / kWhite); }
    static Channel FromUnit(float v) {
        if (!(v > 0.0f)) {
            return 0;
        }
        if (v >= 1.0f) {
            return PF_MAX_CHAN16;
        }
        return static_cast<Channel>(v * kWhite + 0.5f);
    }
};

// Float worlds keep overbright and negative colour: nothing clamps on the way through.
struct PixelFloatTraits {
    using Channel = PF_FpShort;
    using Pixel = PF_PixelFloat;
    static constexpr PF_PixelFormat kFormat = PF_PixelFormat_ARGB128;
    static constexpr float kWhite = 1.0f;
    static constexpr bool kClampsColour = false;

    static float ToUnit(Channel c) { return c; }
    static Channel FromUnit(float v) { return v; }
};

// Alpha is a coverage and stays within 0..1 at every depth, also in float worlds. Written as two
// selections so that compilers make min/max instructions of it, not branches; NaN becomes 0.
inline float ClampUnit(float v) {
    v = v > 0.0f ? v : 0.0f;
    return v < 1.0f ? v : 1.0f;
}

} // namespace plurion::host
