// Composites a run of premultiplied samples onto a run of destination pixels (straight colour)
// with a transfer mode and an opacity. One kernel per way of combining (blend_modes.h); the
// blending kernel is shared by all blend modes and varies only in the blend function. The kernel
// of each mode is derived from kBlendModes at compile time.
#pragma once

#include "blend_modes.h"
#include "pixel_traits.h"
#include "sampling.h"

#include <cstdint>
#include <utility>

namespace plurion::host {

struct CompositeParams {
    float opacity = 1.0f;  // multiplies the samples, also their alpha
    bool rgb_only = false; // keep the destination's alpha
    A_long seed = 0;       // Dissolve's pattern
};

template <class Traits>
using CompositeRunFn = void (*)(const Premul* src, typename Traits::Pixel* dst, A_long count,
                                const CompositeParams& params, A_long x, A_long y);

namespace detail {

template <class Traits>
inline void WriteStraight(typename Traits::Pixel& d, float alpha, float r, float g, float b,
                          bool rgb_only) {
    if (!rgb_only) {
        d.alpha = Traits::FromUnit(alpha);
    }
    d.red = Traits::FromUnit(r);
    d.green = Traits::FromUnit(g);
    d.blue = Traits::FromUnit(b);
}

template <class Traits>
inline Premul Scaled(const Premul& s, float k) {
    return {ClampUnit(s.a * k), s.r * k, s.g * k, s.b * k};
}

// A uniform value in [0, 1) for each destination pixel and seed, the same on every run.
inline float DissolveChance(A_long seed, A_long x, A_long y) {
    std::uint32_t h = static_cast<std::uint32_t>(seed) * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h = (h ^ (h >> 13)) * 0x297A2D39u;
    h ^= h >> 16;
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

template <ChannelBlend F>
struct PerChannel {
    static Rgb Apply(Rgb cb, Rgb cs, bool) { return {F(cb.r, cs.r), F(cb.g, cs.g), F(cb.b, cs.b)}; }
};

template <ColourBlend G>
struct WholeColour {
    static Rgb Apply(Rgb cb, Rgb cs, bool clip_to_white) { return G(cb, cs, clip_to_white); }
};

} // namespace detail

// In Front: the source over the destination.
template <class Traits>
void CompositeSourceOver(const Premul* src, typename Traits::Pixel* dst, A_long count,
                         const CompositeParams& params, A_long, A_long) {
    for (A_long i = 0; i < count; ++i) {
        const Premul s = detail::Scaled<Traits>(src[i], params.opacity);
        if (s.a <= 0.0f) {
            continue;
        }
        auto& d = dst[i];
        const float k = ClampUnit(Traits::ToUnit(d.alpha)) * (1.0f - s.a);
        const float ao = s.a + k;
        const float norm = 1.0f / ao;
        detail::WriteStraight<Traits>(d, ao, (s.r + Traits::ToUnit(d.red) * k) * norm,
                                      (s.g + Traits::ToUnit(d.green) * k) * norm,
                                      (s.b + Traits::ToUnit(d.blue) * k) * norm, params.rgb_only);
    }
}

// Behind: the destination over the source.
template <class Traits>
void CompositeDestinationOver(const Premul* src, typename Traits::Pixel* dst, A_long count,
                              const CompositeParams& params, A_long, A_long) {
    for (A_long i = 0; i < count; ++i) {
        const Premul s = detail::Scaled<Traits>(src[i], params.opacity);
        if (s.a <= 0.0f) {
            continue;
        }
        auto& d = dst[i];
        const float ab = ClampUnit(Traits::ToUnit(d.alpha));
        const float k = 1.0f - ab;
        const float ao = ab + s.a * k;
        const float norm = 1.0f / ao;
        detail::WriteStraight<Traits>(d, ao, (Traits::ToUnit(d.red) * ab + s.r * k) * norm,
                                      (Traits::ToUnit(d.green) * ab + s.g * k) * norm,
                                      (Traits::ToUnit(d.blue) * ab + s.b * k) * norm,
                                      params.rgb_only);
    }
}

// Copy: the source replaces the destination everywhere it reaches, transparent parts included.
template <class Traits>
void CompositeReplace(const Premul* src, typename Traits::Pixel* dst, A_long count,
                      const CompositeParams& params, A_long, A_long) {
    for (A_long i = 0; i < count; ++i) {
        const Premul s = detail::Scaled<Traits>(src[i], params.opacity);
        const float norm = s.a > 0.0f ? 1.0f / s.a : 0.0f;
        detail::WriteStraight<Traits>(dst[i], s.a, s.r * norm, s.g * norm, s.b * norm,
                                      params.rgb_only);
    }
}

// Dissolve: a pixel shows the source colour, opaque, when its chance falls below the source's
// alpha; elsewhere the destination stays.
template <class Traits>
void CompositeDissolve(const Premul* src, typename Traits::Pixel* dst, A_long count,
                       const CompositeParams& params, A_long x, A_long y) {
    for (A_long i = 0; i < count; ++i) {
        const Premul s = detail::Scaled<Traits>(src[i], params.opacity);
        if (s.a <= 0.0f || detail::DissolveChance(params.seed, x + i, y) >= s.a) {
            continue;
        }
        const float norm = 1.0f / s.a;
        detail::WriteStraight<Traits>(dst[i], 1.0f, s.r * norm, s.g * norm, s.b * norm,
                                      params.rgb_only);
    }
}

// The blending modes: Cs' = (1 - ab) Cs + ab B(Cb, Cs), then Cs' source over the destination.
template <class Traits, class Blend>
void CompositeBlend(const Premul* src, typename Traits::Pixel* dst, A_long count,
                    const CompositeParams& params, A_long, A_long) {
    for (A_long i = 0; i < count; ++i) {
        const Premul s = detail::Scaled<Traits>(src[i], params.opacity);
        if (s.a <= 0.0f) {
            continue;
        }
        auto& d = dst[i];
        const float ab = ClampUnit(Traits::ToUnit(d.alpha));
        const Rgb cb{Traits::ToUnit(d.red), Traits::ToUnit(d.green), Traits::ToUnit(d.blue)};
        const float inv_as = 1.0f / s.a;
        const Rgb cs{s.r * inv_as, s.g * inv_as, s.b * inv_as};
        Rgb b = Blend::Apply(cb, cs, Traits::kClampsColour);
        if constexpr (Traits::kClampsColour) {
            b = {blend::Clamp01(b.r), blend::Clamp01(b.g), blend::Clamp01(b.b)};
        }
        const float k = ab * (1.0f - s.a);
        const float ao = s.a + k;
        const float norm = 1.0f / ao;
        auto mix = [&](float cbc, float csc, float bc) {
            return (s.a * (csc + ab * (bc - csc)) + cbc * k) * norm;
        };
        detail::WriteStraight<Traits>(d, ao, mix(cb.r, cs.r, b.r), mix(cb.g, cs.g, b.g),
                                      mix(cb.b, cs.b, b.b), params.rgb_only);
    }
}

namespace detail {

template <class Traits, std::size_t I>
constexpr CompositeRunFn<Traits> KernelOfRow() {
    constexpr BlendMode mode = kBlendModes[I];
    if constexpr (mode.compositing == Compositing::kSourceOver) {
        return &CompositeSourceOver<Traits>;
    } else if constexpr (mode.compositing == Compositing::kDestinationOver) {
        return &CompositeDestinationOver<Traits>;
    } else if constexpr (mode.compositing == Compositing::kReplace) {
        return &CompositeReplace<Traits>;
    } else if constexpr (mode.compositing == Compositing::kDissolve) {
        return &CompositeDissolve<Traits>;
    } else if constexpr (mode.compositing == Compositing::kSeparable) {
        return &CompositeBlend<Traits, PerChannel<mode.channel>>;
    } else {
        return &CompositeBlend<Traits, WholeColour<mode.colour>>;
    }
}

template <class Traits, std::size_t... I>
constexpr std::array<CompositeRunFn<Traits>, sizeof...(I)> KernelTable(std::index_sequence<I...>) {
    return {KernelOfRow<Traits, I>()...};
}

} // namespace detail

// The kernel of a transfer mode at a depth, or null when the host does not composite with it.
template <class Traits>
CompositeRunFn<Traits> CompositeKernelFor(PF_TransferMode xfer) {
    static constexpr auto kKernels =
        detail::KernelTable<Traits>(std::make_index_sequence<kBlendModes.size()>());
    for (std::size_t i = 0; i < kBlendModes.size(); ++i) {
        if (kBlendModes[i].xfer == xfer) {
            return kKernels[i];
        }
    }
    return nullptr;
}

} // namespace plurion::host
