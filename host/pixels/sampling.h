// Sampling of a source world along a run of destination pixels, inverse-mapped through an affine
// map. Samples come out premultiplied, in unit floats, so that filtering and motion-blur
// averaging weigh each tap by its coverage. Outside the source everything is transparent black,
// which gives bilinear edges their half-pixel fade.
#pragma once

#include "geometry.h"
#include "pixel_traits.h"
#include "world.h"

#if defined(__SSE2__) && !defined(PLURION_PIXELS_NO_SIMD)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// The per-pixel helpers below are small but many; compilers left to themselves do not inline
// them all into the run loops, which costs the 16-bit and float kernels about half their speed.
#if defined(__GNUC__)
#define PLURION_PIXEL_INLINE [[gnu::always_inline]] inline
#elif defined(_MSC_VER)
#define PLURION_PIXEL_INLINE __forceinline
#else
#define PLURION_PIXEL_INLINE inline
#endif

namespace plurion::host {

struct Premul {
    float a, r, g, b;
};

template <class Traits>
struct SourceImage {
    const std::byte* base = nullptr;
    std::ptrdiff_t rowbytes = 0;
    A_long width = 0, height = 0;

    explicit SourceImage(const PF_EffectWorld& w)
        : base(reinterpret_cast<const std::byte*>(w.data)), rowbytes(w.rowbytes), width(w.width),
          height(w.height) {}
    const typename Traits::Pixel* Row(A_long y) const {
        return reinterpret_cast<const typename Traits::Pixel*>(base + y * rowbytes);
    }
};

// A straight source is premultiplied here; a premultiplied one is taken as it is.
template <class Traits, bool kStraight>
PLURION_PIXEL_INLINE Premul TapOf(const typename Traits::Pixel& p) {
    const float a = ClampUnit(Traits::ToUnit(p.alpha));
    const float k = kStraight ? a : 1.0f;
    return {a, Traits::ToUnit(p.red) * k, Traits::ToUnit(p.green) * k, Traits::ToUnit(p.blue) * k};
}

template <bool kAccumulate>
PLURION_PIXEL_INLINE void Store(Premul& out, const Premul& s) {
    if constexpr (kAccumulate) {
        out.a += s.a;
        out.r += s.r;
        out.g += s.g;
        out.b += s.b;
    } else {
        out = s;
    }
}

// Nearest neighbour: the source pixel under the centre. The run must lie where the centre maps
// into (0, width) x (0, height), as ReachableRun gives it.
// The four source pixels around a sample point and the point's place between them.
struct BilinearPlace {
    A_long ix, iy;
    float fx, fy;
};

// u, v: source coordinates less half a pixel, above -1 within a reachable run, so that
// truncation after the shift is the floor.
PLURION_PIXEL_INLINE BilinearPlace PlaceOf(double u, double v) {
    BilinearPlace p;
    p.ix = static_cast<A_long>(u + 1.0) - 1;
    p.iy = static_cast<A_long>(v + 1.0) - 1;
    p.fx = static_cast<float>(u - p.ix);
    p.fy = static_cast<float>(v - p.iy);
    return p;
}

// For 8 bits the place is kept in 1/128 pixel steps (fx, fy in 0..127), so that interpolation
// runs in 16-bit integers.
struct BilinearPlace8 {
    A_long ix, iy;
    int fx, fy;
};

// Along a row, places are worked in whole numbers where the kernels can step them (8-bit
// bilinear and every nearest draw): the source point, in units of 2^-39 pixel (1/128 pixel steps
// and 32 bits below them), is u + x * du at destination column x, in 64-bit arithmetic that
// wraps. A point within reach of the source lies far inside 2^63 units, so the wrapped sum is the
// true one however far away column 0 maps; and a vector kernel that steps from block to block
// gets the numbers of the plain one. The sum's upper 32 bits are the 1/128 step, rounded for
// bilinear sampling (half a step is in u), floored for the nearest pixel. Rounding du costs at
// most half a unit a column: 1/512 pixel at column 2^31.
struct FixedRow {
    std::uint64_t u, v;   // at column 0
    std::uint64_t du, dv; // a column further
};

// Pixels in 2^-39 units, rounded, modulo 2^64.
inline std::uint64_t FixedUnits(double pixels) {
    const double units = pixels * 549755813888.0; // 2^39: exact
    constexpr double kTwo63 = 9223372036854775808.0;
    if (std::fabs(units) < kTwo63 / 2) {
        // Rounded through floor, which compilers keep inline (llround is a library call).
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(std::floor(units + 0.5)));
    }
    // So large a number is whole, and so is its remainder: both exact.
    double rest = std::fmod(units, 2 * kTwo63);
    if (rest >= kTwo63) {
        rest -= 2 * kTwo63;
    } else if (rest < -kTwo63) {
        rest += 2 * kTwo63;
    }
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(rest));
}

// The row of source coordinates `row_u` + (x + 0.5) * `du`, and the same in v; `rounded` puts
// half a step in, for bilinear places.
inline FixedRow FixedRowOf(double row_u, double du, double row_v, double dv, bool rounded) {
    const std::uint64_t half = rounded ? std::uint64_t{1} << 31 : 0;
    return {FixedUnits(0.5 * du + row_u) + half, FixedUnits(0.5 * dv + row_v) + half,
            FixedUnits(du), FixedUnits(dv)};
}

// The 1/128 steps of column x's place.
PLURION_PIXEL_INLINE void FixedSteps(const FixedRow& row, A_long x, std::int32_t& ux,
                                     std::int32_t& vy) {
    const auto column = static_cast<std::uint64_t>(static_cast<std::int64_t>(x));
    ux = static_cast<std::int32_t>((row.u + column * row.du) >> 32);
    vy = static_cast<std::int32_t>((row.v + column * row.dv) >> 32);
}

PLURION_PIXEL_INLINE BilinearPlace8 PlaceOf8(const FixedRow& row, A_long x) {
    std::int32_t ux = 0, vy = 0;
    FixedSteps(row, x, ux, vy);
    return {ux >> 7, vy >> 7, ux & 127, vy & 127};
}

template <class Traits, class Place>
PLURION_PIXEL_INLINE bool Interior(const SourceImage<Traits>& src, const Place& p) {
    return static_cast<unsigned>(p.ix) < static_cast<unsigned>(src.width - 1) &&
           static_cast<unsigned>(p.iy) < static_cast<unsigned>(src.height - 1);
}

// The taps t00, t10, t01, t11; those outside the source are transparent black.
template <class Traits, bool kStraight, class Place>
PLURION_PIXEL_INLINE void FetchTaps(const SourceImage<Traits>& src, const Place& p, Premul t[4]) {
    if (Interior(src, p)) {
        const auto* row0 = src.Row(p.iy) + p.ix;
        const auto* row1 = src.Row(p.iy + 1) + p.ix;
        t[0] = TapOf<Traits, kStraight>(row0[0]);
        t[1] = TapOf<Traits, kStraight>(row0[1]);
        t[2] = TapOf<Traits, kStraight>(row1[0]);
        t[3] = TapOf<Traits, kStraight>(row1[1]);
        return;
    }
    const bool in_x0 = p.ix >= 0 && p.ix < src.width;
    const bool in_x1 = p.ix + 1 >= 0 && p.ix + 1 < src.width;
    const bool in_y0 = p.iy >= 0 && p.iy < src.height;
    const bool in_y1 = p.iy + 1 >= 0 && p.iy + 1 < src.height;
    t[0] = in_y0 && in_x0 ? TapOf<Traits, kStraight>(src.Row(p.iy)[p.ix]) : Premul{};
    t[1] = in_y0 && in_x1 ? TapOf<Traits, kStraight>(src.Row(p.iy)[p.ix + 1]) : Premul{};
    t[2] = in_y1 && in_x0 ? TapOf<Traits, kStraight>(src.Row(p.iy + 1)[p.ix]) : Premul{};
    t[3] = in_y1 && in_x1 ? TapOf<Traits, kStraight>(src.Row(p.iy + 1)[p.ix + 1]) : Premul{};
}

PLURION_PIXEL_INLINE Premul Weigh(const Premul t[4], float fx, float fy) {
    const float w00 = (1.0f - fx) * (1.0f - fy);
    const float w10 = fx * (1.0f - fy);
    const float w01 = (1.0f - fx) * fy;
    const float w11 = fx * fy;
    return {t[0].a * w00 + t[1].a * w10 + t[2].a * w01 + t[3].a * w11,
            t[0].r * w00 + t[1].r * w10 + t[2].r * w01 + t[3].r * w11,
            t[0].g * w00 + t[1].g * w10 + t[2].g * w01 + t[3].g * w11,
            t[0].b * w00 + t[1].b * w10 + t[2].b * w01 + t[3].b * w11};
}

// Whether the four interior 8-bit taps of a place are all opaque.
inline bool OpaqueTaps8(const SourceImage<Pixel8Traits>& src, const BilinearPlace8& p) {
    const PF_Pixel* row0 = src.Row(p.iy) + p.ix;
    const PF_Pixel* row1 = src.Row(p.iy + 1) + p.ix;
    return (row0[0].alpha & row0[1].alpha & row1[0].alpha & row1[1].alpha) == 255;
}

// Opaque interior taps interpolated in whole numbers: each channel's sum of c * wx * wy with
// wx, wy in 1/128 steps (at most 255 x 16384), exact in any order of summing, so the vector and
// the plain version give the same sums, and so do the vector kernels' blends held in floats.
struct OpaqueSums8 {
    std::int32_t red, green, blue;
};

inline OpaqueSums8 OpaqueBilinear8Plain(const SourceImage<Pixel8Traits>& src,
                                        const BilinearPlace8& p) {
    const PF_Pixel* row0 = src.Row(p.iy) + p.ix;
    const PF_Pixel* row1 = src.Row(p.iy + 1) + p.ix;
    auto lerp = [&](A_u_char PF_Pixel::*c) {
        const std::int32_t left = row0[0].*c * (128 - p.fy) + row1[0].*c * p.fy;
        const std::int32_t right = row0[1].*c * (128 - p.fy) + row1[1].*c * p.fy;
        return left * (128 - p.fx) + right * p.fx;
    };
    return {lerp(&PF_Pixel::red), lerp(&PF_Pixel::green), lerp(&PF_Pixel::blue)};
}

#if defined(__SSE2__) && !defined(PLURION_PIXELS_NO_SIMD)
inline OpaqueSums8 OpaqueBilinear8(const SourceImage<Pixel8Traits>& src, const BilinearPlace8& p) {
    const __m128i zero = _mm_setzero_si128();
    // Two neighbouring pixels of each row, widened to 16 bits: a0 r0 g0 b0 a1 r1 g1 b1.
    const __m128i top = _mm_unpacklo_epi8(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src.Row(p.iy) + p.ix)), zero);
    const __m128i bottom = _mm_unpacklo_epi8(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src.Row(p.iy + 1) + p.ix)), zero);
    // Down first (at most 255 x 128, within a signed 16-bit lane), then across in 32 bits.
    const __m128i down =
        _mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(static_cast<short>(128 - p.fy))),
                      _mm_mullo_epi16(bottom, _mm_set1_epi16(static_cast<short>(p.fy))));
    const __m128i pairs = _mm_unpacklo_epi16(down, _mm_srli_si128(down, 8));
    const __m128i across = _mm_madd_epi16(pairs, _mm_set1_epi32((p.fx << 16) | (128 - p.fx)));
    alignas(16) std::int32_t sums[4]; // alpha, red, green, blue
    _mm_store_si128(reinterpret_cast<__m128i*>(sums), across);
    return {sums[1], sums[2], sums[3]};
}
#else
inline OpaqueSums8 OpaqueBilinear8(const SourceImage<Pixel8Traits>& src, const BilinearPlace8& p) {
    return OpaqueBilinear8Plain(src, p);
}
#endif

// The premultiplied sample at source point (u, v) less half a pixel: the one definition of
// bilinear sampling, which the fast paths share.
template <bool kStraight>
PLURION_PIXEL_INLINE Premul BilinearSample8(const SourceImage<Pixel8Traits>& src,
                                            const BilinearPlace8& p) {
    if (Interior(src, p) && OpaqueTaps8(src, p)) {
        const OpaqueSums8 o = OpaqueBilinear8(src, p);
        constexpr float kToUnit = 1.0f / (255.0f * 16384.0f);
        return {1.0f, static_cast<float>(o.red) * kToUnit, static_cast<float>(o.green) * kToUnit,
                static_cast<float>(o.blue) * kToUnit};
    }
    Premul t[4];
    FetchTaps<Pixel8Traits, kStraight>(src, p, t);
    return Weigh(t, static_cast<float>(p.fx) * (1.0f / 128.0f),
                 static_cast<float>(p.fy) * (1.0f / 128.0f));
}

template <class Traits, bool kStraight>
PLURION_PIXEL_INLINE Premul BilinearSample(const SourceImage<Traits>& src, double u, double v) {
    Premul t[4];
    const BilinearPlace p = PlaceOf(u, v);
    FetchTaps<Traits, kStraight>(src, p, t);
    return Weigh(t, p.fx, p.fy);
}

// Source coordinates (less half a pixel) along a row: u = row_u + (x + 0.5) * du.
struct RowCoordinates {
    double row_u, row_v, du, dv;
    RowCoordinates(const Affine& inv, A_long y, double shift)
        : row_u((y + 0.5) * inv.yx + inv.tx - shift), row_v((y + 0.5) * inv.yy + inv.ty - shift),
          du(inv.xx), dv(inv.xy) {}
    double U(A_long x) const { return (x + 0.5) * du + row_u; }
    double V(A_long x) const { return (x + 0.5) * dv + row_v; }
};

// Nearest neighbour: the source pixel under the centre. The run must lie where the centre maps
// into (0, width) x (0, height), as ReachableRun gives it.
template <class Traits, bool kStraight, bool kAccumulate>
void SampleNearestRun(const SourceImage<Traits>& src, const Affine& inv, A_long y, A_long x0,
                      A_long count, Premul* out) {
    const RowCoordinates c(inv, y, 0.0);
    const FixedRow row = FixedRowOf(c.row_u, c.du, c.row_v, c.dv, false);
    for (A_long i = 0; i < count; ++i) {
        std::int32_t ux = 0, vy = 0;
        FixedSteps(row, x0 + i, ux, vy);
        // Held to the source: a centre a hair inside its edge may round onto the edge.
        const A_long ix = std::clamp<A_long>(ux >> 7, 0, src.width - 1);
        const A_long iy = std::clamp<A_long>(vy >> 7, 0, src.height - 1);
        Store<kAccumulate>(out[i], TapOf<Traits, kStraight>(src.Row(iy)[ix]));
    }
}

// Bilinear: the four pixels around the centre, weighted by distance. The run must lie where the
// centre maps into (-0.5, width + 0.5) x (-0.5, height + 0.5).
template <class Traits, bool kStraight, bool kAccumulate>
void SampleBilinearRun(const SourceImage<Traits>& src, const Affine& inv, A_long y, A_long x0,
                       A_long count, Premul* out) {
    const RowCoordinates c(inv, y, 0.5);
    if constexpr (std::is_same_v<Traits, Pixel8Traits>) {
        const FixedRow row = FixedRowOf(c.row_u, c.du, c.row_v, c.dv, true);
        for (A_long i = 0; i < count; ++i) {
            Store<kAccumulate>(out[i], BilinearSample8<kStraight>(src, PlaceOf8(row, x0 + i)));
        }
    } else {
        for (A_long i = 0; i < count; ++i) {
            Store<kAccumulate>(out[i],
                               BilinearSample<Traits, kStraight>(src, c.U(x0 + i), c.V(x0 + i)));
        }
    }
}

template <class Traits>
using SampleRunFn = void (*)(const SourceImage<Traits>&, const Affine&, A_long y, A_long x0,
                             A_long count, Premul* out);

template <class Traits>
SampleRunFn<Traits> ChooseSampler(bool bilinear, bool straight, bool accumulate) {
    constexpr SampleRunFn<Traits> kTable[2][2][2] = {
        {{&SampleNearestRun<Traits, false, false>, &SampleNearestRun<Traits, false, true>},
         {&SampleNearestRun<Traits, true, false>, &SampleNearestRun<Traits, true, true>}},
        {{&SampleBilinearRun<Traits, false, false>, &SampleBilinearRun<Traits, false, true>},
         {&SampleBilinearRun<Traits, true, false>, &SampleBilinearRun<Traits, true, true>}},
    };
    return kTable[bilinear][straight][accumulate];
}

} // namespace plurion::host
