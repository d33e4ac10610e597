// The transfer modes the host composites with, in one table: for each mode its value, its name,
// how source and destination are combined, and, for the blending modes, the blend function
// B(Cb, Cs) of backdrop colour Cb and source colour Cs (straight, 1 = white). Every kernel is
// derived from this table; nothing else lists the modes.
//
// Blending follows the W3C Compositing and Blending Level 1 model: the source colour becomes
// Cs' = (1 - ab) Cs + ab B(Cb, Cs) and is then composited source-over. W3C gives the formulas of
// its modes; the others use their usual published definitions. The "Classic" modes are the older
// formulas, which know only the displayable range: they clamp both inputs to 0..1 first.
// Functions do not clamp their results: 8- and 16-bit kernels clamp B to 0..1, float keeps
// overbright results.
#pragma once

#include "AE_EffectCB.h"

#include <array>
#include <cmath>
#include <utility>

namespace plurion::host {

struct Rgb {
    float r, g, b;
};

using ChannelBlend = float (*)(float cb, float cs);
// `clip_to_white` keeps the result within the displayable range (8 and 16 bits).
using ColourBlend = Rgb (*)(Rgb cb, Rgb cs, bool clip_to_white);

namespace blend {

inline float Clamp01(float v) {
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}

inline float Normal(float, float cs) {
    return cs;
}
inline float Multiply(float cb, float cs) {
    return cb * cs;
}
inline float Screen(float cb, float cs) {
    return cb + cs - cb * cs;
}
inline float HardLight(float cb, float cs) {
    return cs <= 0.5f ? Multiply(cb, 2.0f * cs) : Screen(cb, 2.0f * cs - 1.0f);
}
inline float Overlay(float cb, float cs) {
    return HardLight(cs, cb);
}
inline float Darken(float cb, float cs) {
    return cs < cb ? cs : cb;
}
inline float Lighten(float cb, float cs) {
    return cs > cb ? cs : cb;
}
inline float ColorDodge(float cb, float cs) {
    if (cb <= 0.0f) {
        return 0.0f;
    }
    if (cs >= 1.0f) {
        return 1.0f;
    }
    const float q = cb / (1.0f - cs);
    return q < 1.0f ? q : 1.0f;
}
inline float ColorBurn(float cb, float cs) {
    if (cb >= 1.0f) {
        return 1.0f;
    }
    if (cs <= 0.0f) {
        return 0.0f;
    }
    const float q = (1.0f - cb) / cs;
    return 1.0f - (q < 1.0f ? q : 1.0f);
}
inline float SoftLight(float cb, float cs) {
    if (cs <= 0.5f) {
        return cb - (1.0f - 2.0f * cs) * cb * (1.0f - cb);
    }
    const float d = cb <= 0.25f ? ((16.0f * cb - 12.0f) * cb + 4.0f) * cb : std::sqrt(cb);
    return cb + (2.0f * cs - 1.0f) * (d - cb);
}
inline float Difference(float cb, float cs) {
    return std::fabs(cb - cs);
}
inline float Exclusion(float cb, float cs) {
    return cb + cs - 2.0f * cb * cs;
}
inline float Add(float cb, float cs) {
    return cb + cs;
}
inline float LinearBurn(float cb, float cs) {
    return cb + cs - 1.0f;
}
inline float LinearLight(float cb, float cs) {
    return cb + 2.0f * cs - 1.0f;
}
inline float VividLight(float cb, float cs) {
    return cs <= 0.5f ? ColorBurn(cb, 2.0f * cs) : ColorDodge(cb, 2.0f * cs - 1.0f);
}
inline float PinLight(float cb, float cs) {
    return cs <= 0.5f ? Darken(cb, 2.0f * cs) : Lighten(cb, 2.0f * cs - 1.0f);
}
inline float HardMix(float cb, float cs) {
    return cb + cs >= 1.0f ? 1.0f : 0.0f;
}
inline float Subtract(float cb, float cs) {
    return cb - cs;
}
// Dividing by black gives white, except for a black backdrop.
inline float Divide(float cb, float cs) {
    if (cs > 0.0f) {
        return cb / cs;
    }
    return cb > 0.0f ? 1.0f : 0.0f;
}
inline float ClassicColorDodge(float cb, float cs) {
    cb = Clamp01(cb);
    cs = Clamp01(cs);
    if (cs >= 1.0f) {
        return 1.0f;
    }
    const float q = cb / (1.0f - cs);
    return q < 1.0f ? q : 1.0f;
}
inline float ClassicColorBurn(float cb, float cs) {
    cb = Clamp01(cb);
    cs = Clamp01(cs);
    if (cs <= 0.0f) {
        return 0.0f;
    }
    const float v = 1.0f - (1.0f - cb) / cs;
    return v > 0.0f ? v : 0.0f;
}
inline float ClassicDifference(float cb, float cs) {
    return std::fabs(Clamp01(cb) - Clamp01(cs));
}

// Non-separable helpers of the W3C model (luma weights 0.3, 0.59, 0.11).
inline float Lum(Rgb c) {
    return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
}
inline float MinOf(Rgb c) {
    return std::fmin(c.r, std::fmin(c.g, c.b));
}
inline float MaxOf(Rgb c) {
    return std::fmax(c.r, std::fmax(c.g, c.b));
}
inline Rgb ClipColour(Rgb c, bool clip_to_white) {
    const float l = Lum(c);
    const float n = MinOf(c);
    const float x = MaxOf(c);
    if (n < 0.0f && l - n > 0.0f) {
        const float k = l / (l - n);
        c = {l + (c.r - l) * k, l + (c.g - l) * k, l + (c.b - l) * k};
    }
    if (clip_to_white && x > 1.0f && x - l > 0.0f) {
        const float k = (1.0f - l) / (x - l);
        c = {l + (c.r - l) * k, l + (c.g - l) * k, l + (c.b - l) * k};
    }
    return c;
}
inline Rgb SetLum(Rgb c, float l, bool clip_to_white) {
    const float d = l - Lum(c);
    return ClipColour({c.r + d, c.g + d, c.b + d}, clip_to_white);
}
inline float Sat(Rgb c) {
    return MaxOf(c) - MinOf(c);
}
inline Rgb SetSat(Rgb c, float s) {
    float* ch[3] = {&c.r, &c.g, &c.b};
    // Order the three channels by value: lo <= mid <= hi.
    if (*ch[0] > *ch[1]) {
        std::swap(ch[0], ch[1]);
    }
    if (*ch[1] > *ch[2]) {
        std::swap(ch[1], ch[2]);
    }
    if (*ch[0] > *ch[1]) {
        std::swap(ch[0], ch[1]);
    }
    const float range = *ch[2] - *ch[0];
    if (range > 0.0f) {
        *ch[1] = (*ch[1] - *ch[0]) * s / range;
        *ch[2] = s;
    } else {
        *ch[1] = 0.0f;
        *ch[2] = 0.0f;
    }
    *ch[0] = 0.0f;
    return c;
}

inline Rgb Hue(Rgb cb, Rgb cs, bool clip) {
    return SetLum(SetSat(cs, Sat(cb)), Lum(cb), clip);
}
inline Rgb Saturation(Rgb cb, Rgb cs, bool clip) {
    return SetLum(SetSat(cb, Sat(cs)), Lum(cb), clip);
}
inline Rgb Color(Rgb cb, Rgb cs, bool clip) {
    return SetLum(cs, Lum(cb), clip);
}
inline Rgb Luminosity(Rgb cb, Rgb cs, bool clip) {
    return SetLum(cb, Lum(cs), clip);
}
// The whole colour with the lower (higher) luma wins; on a tie the backdrop stays.
inline Rgb DarkerColor(Rgb cb, Rgb cs, bool) {
    return Lum(cs) < Lum(cb) ? cs : cb;
}
inline Rgb LighterColor(Rgb cb, Rgb cs, bool) {
    return Lum(cs) > Lum(cb) ? cs : cb;
}

} // namespace blend

// How a mode puts the source onto the destination.
enum class Compositing {
    kSourceOver,      // source over destination (In Front)
    kDestinationOver, // destination over source (Behind)
    kReplace,         // the source replaces the destination where it reaches (Copy)
    kDissolve,        // each pixel shows the source opaque with a chance of its alpha
    kSeparable,       // W3C blending channel by channel, then source over
    kNonSeparable,    // W3C blending of the whole colour, then source over
};

struct BlendMode {
    PF_TransferMode xfer;
    const char* name;
    Compositing compositing;
    ChannelBlend channel; // separable modes: B per colour channel
    ColourBlend colour;   // non-separable modes: B of the whole colour
};

// clang-format off
inline constexpr std::array<BlendMode, 33> kBlendModes{{
    {PF_Xfer_COPY,          "Copy",               Compositing::kReplace,          nullptr,                  nullptr},
    {PF_Xfer_IN_FRONT,      "In Front",           Compositing::kSourceOver,       nullptr,                  nullptr},
    {PF_Xfer_BEHIND,        "Behind",             Compositing::kDestinationOver,  nullptr,                  nullptr},
    {PF_Xfer_DISSOLVE,      "Dissolve",           Compositing::kDissolve,         nullptr,                  nullptr},
    {PF_Xfer_DARKEN,        "Darken",             Compositing::kSeparable,        blend::Darken,            nullptr},
    {PF_Xfer_MULTIPLY,      "Multiply",           Compositing::kSeparable,        blend::Multiply,          nullptr},
    {PF_Xfer_COLOR_BURN2,   "Color Burn",         Compositing::kSeparable,        blend::ColorBurn,         nullptr},
    {PF_Xfer_COLOR_BURN,    "Classic Color Burn", Compositing::kSeparable,        blend::ClassicColorBurn,  nullptr},
    {PF_Xfer_LINEAR_BURN,   "Linear Burn",        Compositing::kSeparable,        blend::LinearBurn,        nullptr},
    {PF_Xfer_DARKER_COLOR,  "Darker Color",       Compositing::kNonSeparable,     nullptr,                  blend::DarkerColor},
    {PF_Xfer_ADD,           "Add",                Compositing::kSeparable,        blend::Add,               nullptr},
    {PF_Xfer_LIGHTEN,       "Lighten",            Compositing::kSeparable,        blend::Lighten,           nullptr},
    {PF_Xfer_SCREEN,        "Screen",             Compositing::kSeparable,        blend::Screen,            nullptr},
    {PF_Xfer_COLOR_DODGE2,  "Color Dodge",        Compositing::kSeparable,        blend::ColorDodge,        nullptr},
    {PF_Xfer_COLOR_DODGE,   "Classic Color Dodge",Compositing::kSeparable,        blend::ClassicColorDodge, nullptr},
    {PF_Xfer_LINEAR_DODGE,  "Linear Dodge",       Compositing::kSeparable,        blend::Add,               nullptr},
    {PF_Xfer_LIGHTER_COLOR, "Lighter Color",      Compositing::kNonSeparable,     nullptr,                  blend::LighterColor},
    {PF_Xfer_OVERLAY,       "Overlay",            Compositing::kSeparable,        blend::Overlay,           nullptr},
    {PF_Xfer_SOFT_LIGHT,    "Soft Light",         Compositing::kSeparable,        blend::SoftLight,         nullptr},
    {PF_Xfer_HARD_LIGHT,    "Hard Light",         Compositing::kSeparable,        blend::HardLight,         nullptr},
    {PF_Xfer_LINEAR_LIGHT,  "Linear Light",       Compositing::kSeparable,        blend::LinearLight,       nullptr},
    {PF_Xfer_VIVID_LIGHT,   "Vivid Light",        Compositing::kSeparable,        blend::VividLight,        nullptr},
    {PF_Xfer_PIN_LIGHT,     "Pin Light",          Compositing::kSeparable,        blend::PinLight,          nullptr},
    {PF_Xfer_HARD_MIX,      "Hard Mix",           Compositing::kSeparable,        blend::HardMix,           nullptr},
    {PF_Xfer_DIFFERENCE2,   "Difference",         Compositing::kSeparable,        blend::Difference,        nullptr},
    {PF_Xfer_DIFFERENCE,    "Classic Difference", Compositing::kSeparable,        blend::ClassicDifference, nullptr},
    {PF_Xfer_EXCLUSION,     "Exclusion",          Compositing::kSeparable,        blend::Exclusion,         nullptr},
    {PF_Xfer_SUBTRACT,      "Subtract",           Compositing::kSeparable,        blend::Subtract,          nullptr},
    {PF_Xfer_DIVIDE,        "Divide",             Compositing::kSeparable,        blend::Divide,            nullptr},
    {PF_Xfer_HUE,           "Hue",                Compositing::kNonSeparable,     nullptr,                  blend::Hue},
    {PF_Xfer_SATURATION,    "Saturation",         Compositing::kNonSeparable,     nullptr,                  blend::Saturation},
    {PF_Xfer_COLOR,         "Color",              Compositing::kNonSeparable,     nullptr,                  blend::Color},
    {PF_Xfer_LUMINOSITY,    "Luminosity",         Compositing::kNonSeparable,     nullptr,                  blend::Luminosity},
}};
// clang-format on

constexpr bool IsSeparable(const BlendMode& mode) {
    return mode.colour == nullptr;
}

// The table row of a transfer mode, or null when the host does not composite with it.
constexpr const BlendMode* FindBlendMode(PF_TransferMode xfer) {
    for (const BlendMode& mode : kBlendModes) {
        if (mode.xfer == xfer) {
            return &mode;
        }
    }
    return nullptr;
}

} // namespace plurion::host
