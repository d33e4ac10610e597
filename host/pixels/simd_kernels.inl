// The vector kernels, written once with the compiler's vector types and compiled once per
// instruction set: each including file defines PLURION_SIMD_LANES (pixels a step) and
// PLURION_SIMD_AVX2 or PLURION_SIMD_AVX512 where it targets those, includes what this file
// needs, and includes it inside a namespace of its own, so that the compilations never share a
// symbol.
//
// What they share with the scalar reference (sampling.h, compositing.h), exactly: where each
// pixel samples (the same places: in whole numbers, stepped from block to block, for nearest
// and 8-bit bilinear sampling, else from the same doubles), which taps count (those outside the
// source are transparent black), the exact whole-number blend of opaque 8-bit taps and the
// compositing formula. What they do differently: other taps are premultiplied and blended as
// whole numbers held in floats (8 and 16 bits) and scaled to unit values once, which is more
// exact than the reference, which rounds at every step; the two agree within one step of the
// depth (the tests hold them to it).
// clang-format off
constexpr int kLanes = PLURION_SIMD_LANES;
// clang-format on

using VF = float __attribute__((vector_size(4 * kLanes)));
using VI = std::int32_t __attribute__((vector_size(4 * kLanes)));
using VU = std::uint32_t __attribute__((vector_size(4 * kLanes)));

#define PLURION_SIMD_INLINE [[gnu::always_inline]] inline
// For lambdas, which the loops that take them must not call out of line.
#define PLURION_SIMD_LAMBDA __attribute__((always_inline))

PLURION_SIMD_INLINE VF ToFloat(VI v) {
    return __builtin_convertvector(v, VF);
}
PLURION_SIMD_INLINE VF ToFloat(VU v) {
    return __builtin_convertvector(reinterpret_cast<VI>(v), VF);
}
// Truncation toward zero, as static_cast does.
PLURION_SIMD_INLINE VI Truncate(VF v) {
    return __builtin_convertvector(v, VI);
}
// NaN becomes 0, as ClampUnit does.
PLURION_SIMD_INLINE VF Clamp01(VF v) {
    v = v > 0.0f ? v : 0.0f;
    return v < 1.0f ? v : 1.0f;
}
PLURION_SIMD_INLINE VI ClampInt(VI v, std::int32_t hi) {
    v = v > 0 ? v : 0;
    return v < hi ? v : hi;
}

PLURION_SIMD_INLINE bool AllLanes(VI mask) {
#if PLURION_SIMD_AVX512
    return _mm512_movepi32_mask(reinterpret_cast<__m512i>(mask)) == 0xFFFF;
#elif PLURION_SIMD_AVX2
    return _mm256_movemask_epi8(reinterpret_cast<__m256i>(mask)) == -1;
#else
    return _mm_movemask_epi8(reinterpret_cast<__m128i>(mask)) == 0xFFFF;
#endif
}
PLURION_SIMD_INLINE bool AnyLane(VI mask) {
#if PLURION_SIMD_AVX512
    return _mm512_movepi32_mask(reinterpret_cast<__m512i>(mask)) != 0;
#elif PLURION_SIMD_AVX2
    return _mm256_movemask_epi8(reinterpret_cast<__m256i>(mask)) != 0;
#else
    return _mm_movemask_epi8(reinterpret_cast<__m128i>(mask)) != 0;
#endif
}

// Loads of one piece per lane, 4, 8 or 16 bytes at base + offset[i] (+ shift), spread over
// vectors so that word j of every lane's piece lands in vector j. SSE2 and AVX2 use plain loads
// and shuffles, which beat AVX2's gathers by far on the processors at hand; AVX-512 uses its
// gathers, which beat the loads.
struct LaneOffsets {
    alignas(4 * kLanes) std::int32_t at[kLanes];
};
PLURION_SIMD_INLINE LaneOffsets OffsetsOf(VI offset) {
    LaneOffsets o;
    std::memcpy(o.at, &offset, sizeof o.at);
    return o;
}

PLURION_SIMD_INLINE VU Load4(const std::byte* base, const LaneOffsets& o, std::int32_t shift) {
#if PLURION_SIMD_AVX512
    const __m512i at = _mm512_add_epi32(_mm512_loadu_si512(o.at), _mm512_set1_epi32(shift));
    return reinterpret_cast<VU>(_mm512_i32gather_epi32(at, base, 1));
#else
    VU out;
    for (int i = 0; i < kLanes; ++i) {
        std::uint32_t word;
        std::memcpy(&word, base + o.at[i] + shift, sizeof word);
        out[i] = word;
    }
    return out;
#endif
}

PLURION_SIMD_INLINE __m128i Load64(const std::byte* p) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}
PLURION_SIMD_INLINE __m128i Load128(const std::byte* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

PLURION_SIMD_INLINE void Load8(const std::byte* base, const LaneOffsets& o, std::int32_t shift,
                               VU& d0, VU& d1) {
#if PLURION_SIMD_AVX512
    // Two gathers of eight pieces each, then the words of each piece to their own vector.
    const __m512i at = _mm512_add_epi32(_mm512_loadu_si512(o.at), _mm512_set1_epi32(shift));
    const __m512i g0 = _mm512_i32gather_epi64(_mm512_castsi512_si256(at), base, 1);
    const __m512i g1 = _mm512_i32gather_epi64(_mm512_extracti64x4_epi64(at, 1), base, 1);
    const __m512i first =
        _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i second =
        _mm512_setr_epi32(1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31);
    d0 = reinterpret_cast<VU>(_mm512_permutex2var_epi32(g0, first, g1));
    d1 = reinterpret_cast<VU>(_mm512_permutex2var_epi32(g0, second, g1));
#else
    auto two = [&](int i, int j) PLURION_SIMD_LAMBDA {
        return _mm_unpacklo_epi64(Load64(base + o.at[i] + shift), Load64(base + o.at[j] + shift));
    };
#if PLURION_SIMD_AVX2
    // Lanes 0 1 | 4 5 and 2 3 | 6 7, so that the shuffles come out in lane order.
    const __m256 lo = _mm256_castsi256_ps(_mm256_set_m128i(two(4, 5), two(0, 1)));
    const __m256 hi = _mm256_castsi256_ps(_mm256_set_m128i(two(6, 7), two(2, 3)));
    d0 = reinterpret_cast<VU>(_mm256_shuffle_ps(lo, hi, 0x88));
    d1 = reinterpret_cast<VU>(_mm256_shuffle_ps(lo, hi, 0xDD));
#else
    const __m128 lo = _mm_castsi128_ps(two(0, 1));
    const __m128 hi = _mm_castsi128_ps(two(2, 3));
    d0 = reinterpret_cast<VU>(_mm_shuffle_ps(lo, hi, 0x88));
    d1 = reinterpret_cast<VU>(_mm_shuffle_ps(lo, hi, 0xDD));
#endif
#endif
}

PLURION_SIMD_INLINE void Load16(const std::byte* base, const LaneOffsets& o, std::int32_t shift,
                                VU& d0, VU& d1, VU& d2, VU& d3) {
#if PLURION_SIMD_AVX512
    auto row = [&](int i) PLURION_SIMD_LAMBDA {
        const __m512i w = _mm512_castsi128_si512(Load128(base + o.at[i] + shift));
        const __m512i wx = _mm512_inserti32x4(w, Load128(base + o.at[i + 4] + shift), 1);
        const __m512i wxy = _mm512_inserti32x4(wx, Load128(base + o.at[i + 8] + shift), 2);
        return _mm512_castsi512_ps(
            _mm512_inserti32x4(wxy, Load128(base + o.at[i + 12] + shift), 3));
    };
    const __m512 r0 = row(0), r1 = row(1), r2 = row(2), r3 = row(3);
    const __m512 t0 = _mm512_unpacklo_ps(r0, r1);
    const __m512 t1 = _mm512_unpacklo_ps(r2, r3);
    const __m512 t2 = _mm512_unpackhi_ps(r0, r1);
    const __m512 t3 = _mm512_unpackhi_ps(r2, r3);
    d0 = reinterpret_cast<VU>(_mm512_shuffle_ps(t0, t1, 0x44));
    d1 = reinterpret_cast<VU>(_mm512_shuffle_ps(t0, t1, 0xEE));
    d2 = reinterpret_cast<VU>(_mm512_shuffle_ps(t2, t3, 0x44));
    d3 = reinterpret_cast<VU>(_mm512_shuffle_ps(t2, t3, 0xEE));
#elif PLURION_SIMD_AVX2
    auto row = [&](int i) PLURION_SIMD_LAMBDA {
        return _mm256_castsi256_ps(
            _mm256_set_m128i(Load128(base + o.at[i + 4] + shift), Load128(base + o.at[i] + shift)));
    };
    const __m256 r0 = row(0), r1 = row(1), r2 = row(2), r3 = row(3);
    const __m256 t0 = _mm256_unpacklo_ps(r0, r1);
    const __m256 t1 = _mm256_unpacklo_ps(r2, r3);
    const __m256 t2 = _mm256_unpackhi_ps(r0, r1);
    const __m256 t3 = _mm256_unpackhi_ps(r2, r3);
    d0 = reinterpret_cast<VU>(_mm256_shuffle_ps(t0, t1, 0x44));
    d1 = reinterpret_cast<VU>(_mm256_shuffle_ps(t0, t1, 0xEE));
    d2 = reinterpret_cast<VU>(_mm256_shuffle_ps(t2, t3, 0x44));
    d3 = reinterpret_cast<VU>(_mm256_shuffle_ps(t2, t3, 0xEE));
#else
    auto row = [&](int i) PLURION_SIMD_LAMBDA {
        return _mm_castsi128_ps(Load128(base + o.at[i] + shift));
    };
    const __m128 r0 = row(0), r1 = row(1), r2 = row(2), r3 = row(3);
    const __m128 t0 = _mm_unpacklo_ps(r0, r1);
    const __m128 t1 = _mm_unpacklo_ps(r2, r3);
    const __m128 t2 = _mm_unpackhi_ps(r0, r1);
    const __m128 t3 = _mm_unpackhi_ps(r2, r3);
    d0 = reinterpret_cast<VU>(_mm_movelh_ps(t0, t1));
    d1 = reinterpret_cast<VU>(_mm_movehl_ps(t1, t0));
    d2 = reinterpret_cast<VU>(_mm_movelh_ps(t2, t3));
    d3 = reinterpret_cast<VU>(_mm_movehl_ps(t3, t2));
#endif
}

// x0, x0 + 1, ...; lanes past `count` repeat the last pixel, so that they read only where the
// last one does.
template <std::size_t... I>
constexpr VI IotaOf(std::index_sequence<I...>) {
    return VI{static_cast<std::int32_t>(I)...};
}
constexpr VI Iota() {
    return IotaOf(std::make_index_sequence<kLanes>());
}
PLURION_SIMD_INLINE VI LaneXs(A_long x0, A_long count) {
    constexpr VI kIota = Iota();
    const VI last = VI{} + (count - 1);
    return (kIota < last ? kIota : last) + x0;
}

// Four channels of kLanes pixels.
struct Quad {
    VF a, r, g, b;
};

// Premultiplied samples (and float pixels, laid out alike) to and from lanes.
PLURION_SIMD_INLINE Quad LoadQuads(const float* p) {
    Quad q;
    for (int i = 0; i < kLanes; ++i) {
        q.a[i] = p[4 * i];
        q.r[i] = p[4 * i + 1];
        q.g[i] = p[4 * i + 2];
        q.b[i] = p[4 * i + 3];
    }
    return q;
}
PLURION_SIMD_INLINE void StoreQuads(const Quad& q, float* p) {
    for (int i = 0; i < kLanes; ++i) {
        p[4 * i] = q.a[i];
        p[4 * i + 1] = q.r[i];
        p[4 * i + 2] = q.g[i];
        p[4 * i + 3] = q.b[i];
    }
}

// ---- Depth-specific reading and writing -------------------------------------------------------

// Each depth reads a tap as whole channel values (the float depth as they are) and writes back
// channel values given in its own units (white = kWhite), rounding and clamping as FromUnit.
template <class Traits>
struct Depth;

template <>
struct Depth<Pixel8Traits> {
    static constexpr int kBytes = 4;
    static constexpr float kWhite = 255.0f;
    PLURION_SIMD_INLINE static Quad Channels(VU w) {
        return {ToFloat(w & 255u), ToFloat((w >> 8) & 255u), ToFloat((w >> 16) & 255u),
                ToFloat(w >> 24)};
    }
    // One tap per lane, words masked by `keep`.
    PLURION_SIMD_INLINE static Quad Fetch(const std::byte* base, const LaneOffsets& o,
                                          std::int32_t shift, VU keep) {
        return Channels(Load4(base, o, shift) & keep);
    }
    // A tap and its right-hand neighbour per lane, all inside the source.
    PLURION_SIMD_INLINE static void FetchPair(const std::byte* base, const LaneOffsets& o,
                                              std::int32_t shift, Quad& left, Quad& right) {
        VU w0, w1;
        Load8(base, o, shift, w0, w1);
        left = Channels(w0);
        right = Channels(w1);
    }
    struct Raw {
        VU w;
    };
    PLURION_SIMD_INLINE static Raw Load(const PF_Pixel* p) {
        Raw raw;
        std::memcpy(&raw.w, p, sizeof raw.w);
        return raw;
    }
    PLURION_SIMD_INLINE static Quad Unpack(const Raw& raw) { return Channels(raw.w); }
    // Rounded to nearest (ties to even, where FromUnit rounds them up) and clamped to 0..255 by
    // saturating packs; NaN becomes 0. The bytes come out in pixel order.
    PLURION_SIMD_INLINE static VU Pack(const Quad& v) {
#if PLURION_SIMD_AVX512
        const __m512i ag = _mm512_packs_epi32(_mm512_cvtps_epi32(reinterpret_cast<__m512>(v.a)),
                                              _mm512_cvtps_epi32(reinterpret_cast<__m512>(v.g)));
        const __m512i rb = _mm512_packs_epi32(_mm512_cvtps_epi32(reinterpret_cast<__m512>(v.r)),
                                              _mm512_cvtps_epi32(reinterpret_cast<__m512>(v.b)));
        // Per 128-bit quarter, as the AVX2 version does per half.
        const __m512i planes = _mm512_packus_epi16(ag, rb);
        const __m512i order = _mm512_broadcast_i32x4(
            _mm_setr_epi8(0, 8, 4, 12, 1, 9, 5, 13, 2, 10, 6, 14, 3, 11, 7, 15));
        return reinterpret_cast<VU>(_mm512_shuffle_epi8(planes, order));
#elif PLURION_SIMD_AVX2
        const __m256i ag = _mm256_packs_epi32(_mm256_cvtps_epi32(reinterpret_cast<__m256>(v.a)),
                                              _mm256_cvtps_epi32(reinterpret_cast<__m256>(v.g)));
        const __m256i rb = _mm256_packs_epi32(_mm256_cvtps_epi32(reinterpret_cast<__m256>(v.r)),
                                              _mm256_cvtps_epi32(reinterpret_cast<__m256>(v.b)));
        // Per 128-bit half: a0-3 g0-3 r0-3 b0-3 -> a0 r0 g0 b0 a1 ...
        const __m256i planes = _mm256_packus_epi16(ag, rb);
        const __m256i order =
            _mm256_setr_epi8(0, 8, 4, 12, 1, 9, 5, 13, 2, 10, 6, 14, 3, 11, 7, 15, 0, 8, 4, 12, 1,
                             9, 5, 13, 2, 10, 6, 14, 3, 11, 7, 15);
        return reinterpret_cast<VU>(_mm256_shuffle_epi8(planes, order));
#else
        const __m128i ag = _mm_packs_epi32(_mm_cvtps_epi32(reinterpret_cast<__m128>(v.a)),
                                           _mm_cvtps_epi32(reinterpret_cast<__m128>(v.g)));
        const __m128i rb = _mm_packs_epi32(_mm_cvtps_epi32(reinterpret_cast<__m128>(v.r)),
                                           _mm_cvtps_epi32(reinterpret_cast<__m128>(v.b)));
        // a0-3 g0-3 r0-3 b0-3 -> a0 r0 a1 r1 ... g0 b0 ... -> a0 r0 g0 b0 a1 ...
        const __m128i planes = _mm_packus_epi16(ag, rb);
        const __m128i pairs = _mm_unpacklo_epi8(planes, _mm_srli_si128(planes, 8));
        return reinterpret_cast<VU>(_mm_unpacklo_epi16(pairs, _mm_srli_si128(pairs, 8)));
#endif
    }
    PLURION_SIMD_INLINE static void Put(PF_Pixel* p, const Quad& v) {
        const VU w = Pack(v);
        std::memcpy(p, &w, sizeof w);
    }
    // Writes the channels where `live`; the alpha stays where `keep_alpha`.
    PLURION_SIMD_INLINE static void Store(PF_Pixel* p, const Raw& old, const Quad& v, VI live,
                                          bool keep_alpha) {
        VU w = Pack(v);
        if (keep_alpha) {
            w = (w & ~255u) | (old.w & 255u);
        }
        w = live ? w : old.w;
        std::memcpy(p, &w, sizeof w);
    }
};

template <>
struct Depth<Pixel16Traits> {
    static constexpr int kBytes = 8;
    static constexpr float kWhite = 32768.0f;
    // Words hold alpha | red << 16 and green | blue << 16.
    PLURION_SIMD_INLINE static Quad Channels(VU ar, VU gb) {
        return {ToFloat(ar & 0xFFFFu), ToFloat(ar >> 16), ToFloat(gb & 0xFFFFu), ToFloat(gb >> 16)};
    }
    PLURION_SIMD_INLINE static Quad Fetch(const std::byte* base, const LaneOffsets& o,
                                          std::int32_t shift, VU keep) {
        VU ar, gb;
        Load8(base, o, shift, ar, gb);
        return Channels(ar & keep, gb & keep);
    }
    PLURION_SIMD_INLINE static void FetchPair(const std::byte* base, const LaneOffsets& o,
                                              std::int32_t shift, Quad& left, Quad& right) {
        VU ar0, gb0, ar1, gb1;
        Load16(base, o, shift, ar0, gb0, ar1, gb1);
        left = Channels(ar0, gb0);
        right = Channels(ar1, gb1);
    }
    struct Raw {
        VU ar, gb;
    };
    PLURION_SIMD_INLINE static Raw Load(const PF_Pixel16* p) {
        std::uint32_t words[2 * kLanes];
        std::memcpy(words, p, sizeof words);
        Raw raw;
        for (int i = 0; i < kLanes; ++i) {
            raw.ar[i] = words[2 * i];
            raw.gb[i] = words[2 * i + 1];
        }
        return raw;
    }
    PLURION_SIMD_INLINE static Quad Unpack(const Raw& raw) { return Channels(raw.ar, raw.gb); }
    PLURION_SIMD_INLINE static VU Channel(VF v) {
        return reinterpret_cast<VU>(ClampInt(Truncate(v + 0.5f), 32768));
    }
    PLURION_SIMD_INLINE static void Put(PF_Pixel16* p, const Quad& v) {
        Store(p, Raw{}, v, VI{} - 1, false);
    }
    PLURION_SIMD_INLINE static void Store(PF_Pixel16* p, const Raw& old, const Quad& v, VI live,
                                          bool keep_alpha) {
        const VU alpha = keep_alpha ? (old.ar & 0xFFFFu) : Channel(v.a);
        VU ar = alpha | (Channel(v.r) << 16);
        VU gb = Channel(v.g) | (Channel(v.b) << 16);
        ar = live ? ar : old.ar;
        gb = live ? gb : old.gb;
        std::uint32_t words[2 * kLanes];
        for (int i = 0; i < kLanes; ++i) {
            words[2 * i] = ar[i];
            words[2 * i + 1] = gb[i];
        }
        std::memcpy(p, words, sizeof words);
    }
};

template <>
struct Depth<PixelFloatTraits> {
    static constexpr int kBytes = 16;
    static constexpr float kWhite = 1.0f;
    PLURION_SIMD_INLINE static VF Bits(VU w) { return reinterpret_cast<VF>(w); }
    PLURION_SIMD_INLINE static Quad Fetch(const std::byte* base, const LaneOffsets& o,
                                          std::int32_t shift, VU keep) {
        VU a, r, g, b;
        Load16(base, o, shift, a, r, g, b);
        return {Bits(a & keep), Bits(r & keep), Bits(g & keep), Bits(b & keep)};
    }
    PLURION_SIMD_INLINE static void FetchPair(const std::byte* base, const LaneOffsets& o,
                                              std::int32_t shift, Quad& left, Quad& right) {
        const VU all = VU{} + 0xFFFFFFFFu;
        left = Fetch(base, o, shift, all);
        right = Fetch(base, o, shift + kBytes, all);
    }
    struct Raw {
        Quad q;
    };
    PLURION_SIMD_INLINE static Raw Load(const PF_PixelFloat* p) {
        return {LoadQuads(reinterpret_cast<const float*>(p))};
    }
    PLURION_SIMD_INLINE static Quad Unpack(const Raw& raw) { return raw.q; }
    PLURION_SIMD_INLINE static void Put(PF_PixelFloat* p, const Quad& v) {
        StoreQuads(v, reinterpret_cast<float*>(p));
    }
    PLURION_SIMD_INLINE static void Store(PF_PixelFloat* p, const Raw& old, const Quad& v, VI live,
                                          bool keep_alpha) {
        const Quad q{live ? (keep_alpha ? old.q.a : v.a) : old.q.a, live ? v.r : old.q.r,
                     live ? v.g : old.q.g, live ? v.b : old.q.b};
        StoreQuads(q, reinterpret_cast<float*>(p));
    }
};

// ---- Sampling ---------------------------------------------------------------------------------

// A sample as sums over its taps in the depth's own units, weighted by the filter's weights:
// alpha, and colour premultiplied by alpha for a straight source (whole numbers up to
// white x white at 8 and 16 bits). Where every tap is opaque the colour is left unmultiplied
// (`opaque`), which saves the work and changes only the scale.
struct Sums {
    Quad q;
    bool opaque = false;
};

template <class Traits>
constexpr float FilterTotal(bool bilinear) {
    // 8-bit bilinear weights are whole 1/128 steps in each direction.
    return bilinear && std::is_same_v<Traits, Pixel8Traits> ? 16384.0f : 1.0f;
}

// The factors that turn Sums into unit premultiplied values.
template <class Traits, bool kBilinear, bool kStraight>
struct Scales {
    static constexpr float kWhite = Depth<Traits>::kWhite;
    static constexpr float kAlpha = 1.0f / (kWhite * FilterTotal<Traits>(kBilinear));
    static constexpr float kColour = kStraight ? kAlpha / kWhite : kAlpha;
    static float Colour(const Sums& s) { return s.opaque ? kAlpha : kColour; }
};

// Where the lanes sample: the top-left tap and the weights towards the next column and row
// (1/128 steps at 8 bits, unit fractions elsewhere); nearest uses ix, iy only.
struct LanePlaces {
    VI ix, iy;
    VF fx, fy;
    VI qx, qy; // at 8 bits, fx and fy as whole numbers
};

// The lanes' coordinates are worked in doubles, half the lanes at a time: a half fills one
// register, where a whole-width vector of doubles would be built through memory (its broadcasts
// as sixteen stores and a load that cannot forward them, on every run).
using VDHalf = double __attribute__((vector_size(4 * kLanes)));
using VIHalf = std::int32_t __attribute__((vector_size(2 * kLanes)));

template <std::size_t kFrom, std::size_t... I>
PLURION_SIMD_INLINE VDHalf HalfOf(VI v, std::index_sequence<I...>) {
    return __builtin_convertvector(__builtin_shufflevector(v, v, (kFrom + I)...), VDHalf);
}
using VFHalf = float __attribute__((vector_size(2 * kLanes)));
template <class Half, std::size_t... I>
PLURION_SIMD_INLINE auto Joined(Half lo, Half hi, std::index_sequence<I...>) {
    return __builtin_shufflevector(lo, hi, I...);
}

// PlaceOf's whole part, trunc(u + 1) - 1, for the lanes' u = (x + 0.5) * du + row_u; `fraction`
// gets each half of u and of trunc(u + 1), the lower lanes first.
template <class Fraction>
PLURION_SIMD_INLINE VI WholePartOf(VI x, double du, double row_u, Fraction&& fraction) {
    constexpr auto kHalf = std::make_index_sequence<kLanes / 2>();
    auto half = [&](VDHalf cx, int from) PLURION_SIMD_LAMBDA {
        const VDHalf u = cx * du + row_u;
        const auto shifted = __builtin_convertvector(u + 1.0, VIHalf);
        fraction(u, shifted, from);
        return shifted;
    };
    const VIHalf lo = half(HalfOf<0>(x, kHalf) + 0.5, 0);
    const VIHalf hi = half(HalfOf<kLanes / 2>(x, kHalf) + 0.5, kLanes / 2);
    return Joined(lo, hi, std::make_index_sequence<kLanes>()) - 1;
}

template <class Traits, bool kBilinear>
PLURION_SIMD_INLINE LanePlaces PlacesOf(const RowCoordinates& c, VI x) {
    // RowCoordinates: u = (x + 0.5) * du + row_u, in doubles.
    static_assert(kBilinear && !std::is_same_v<Traits, Pixel8Traits>, "FixedPlaces' work");
    // PlaceOf: the whole part through u + 1, the fraction u - that part.
    LanePlaces p{};
    VFHalf parts[2];
    auto fraction = [&parts](VDHalf u, VIHalf whole, int from) PLURION_SIMD_LAMBDA {
        parts[from == 0 ? 0 : 1] =
            __builtin_convertvector(u - __builtin_convertvector(whole - 1, VDHalf), VFHalf);
    };
    constexpr auto kAll = std::make_index_sequence<kLanes>();
    p.ix = WholePartOf(x, c.du, c.row_u, fraction);
    p.fx = Joined(parts[0], parts[1], kAll);
    p.iy = WholePartOf(x, c.dv, c.row_v, fraction);
    p.fy = Joined(parts[0], parts[1], kAll);
    return p;
}

// The places of a run's blocks in the whole numbers of FixedRow (8-bit bilinear and nearest):
// each lane's sum is stepped by kLanes columns from one block to the next, and the 1/128 step is
// its upper half.
using VQHalf = std::uint64_t __attribute__((vector_size(4 * kLanes))); // kLanes / 2 lanes

template <std::size_t... I>
constexpr VQHalf QuadIotaOf(std::uint64_t from, std::index_sequence<I...>) {
    return VQHalf{(from + I)...};
}

// The upper 32 bits of each lane, lowest lane first.
template <std::size_t... I>
PLURION_SIMD_INLINE VI UpperHalves(VQHalf lo, VQHalf hi, std::index_sequence<I...>) {
    return reinterpret_cast<VI>(__builtin_shufflevector(reinterpret_cast<VU>(lo),
                                                        reinterpret_cast<VU>(hi), (2 * I + 1)...));
}

class FixedPlaces {
  public:
    FixedPlaces() = default;
    FixedPlaces(const RowCoordinates& c, A_long x0, bool rounded)
        : row_(FixedRowOf(c.row_u, c.du, c.row_v, c.dv, rounded)),
          column_(static_cast<std::uint64_t>(static_cast<std::int64_t>(x0))) {
        constexpr auto kHalf = std::make_index_sequence<kLanes / 2>();
        const VQHalf lo = QuadIotaOf(0, kHalf) + column_;
        const VQHalf hi = QuadIotaOf(kLanes / 2, kHalf) + column_;
        u_lo_ = row_.u + lo * row_.du;
        u_hi_ = row_.u + hi * row_.du;
        v_lo_ = row_.v + lo * row_.dv;
        v_hi_ = row_.v + hi * row_.dv;
    }

    // The next block's places, of which the first n lanes are in the run; the others take the
    // place of the last one, so that they read only where it does.
    PLURION_SIMD_INLINE LanePlaces Next(A_long n) {
        VQHalf u_lo = u_lo_, u_hi = u_hi_, v_lo = v_lo_, v_hi = v_hi_;
        if (n < kLanes) {
            constexpr auto kHalf = std::make_index_sequence<kLanes / 2>();
            const auto count = static_cast<std::uint64_t>(n);
            const std::uint64_t last = column_ + count - 1;
            const std::uint64_t u = row_.u + last * row_.du, v = row_.v + last * row_.dv;
            const auto in_lo = QuadIotaOf(0, kHalf) < count;
            const auto in_hi = QuadIotaOf(kLanes / 2, kHalf) < count;
            u_lo = in_lo ? u_lo : u;
            u_hi = in_hi ? u_hi : u;
            v_lo = in_lo ? v_lo : v;
            v_hi = in_hi ? v_hi : v;
        }
        constexpr std::uint64_t kStep = kLanes;
        u_lo_ += kStep * row_.du;
        u_hi_ += kStep * row_.du;
        v_lo_ += kStep * row_.dv;
        v_hi_ += kStep * row_.dv;
        column_ += kStep;
        constexpr auto kAll = std::make_index_sequence<kLanes>();
        const VI ux = UpperHalves(u_lo, u_hi, kAll);
        const VI vy = UpperHalves(v_lo, v_hi, kAll);
        LanePlaces p;
        p.ix = ux >> 7;
        p.iy = vy >> 7;
        p.qx = ux & 127;
        p.qy = vy & 127;
        p.fx = ToFloat(p.qx);
        p.fy = ToFloat(p.qy);
        return p;
    }

  private:
    FixedRow row_{};
    std::uint64_t column_ = 0; // the next block's first
    VQHalf u_lo_{}, u_hi_{}, v_lo_{}, v_hi_{};
};

// The places of a run's blocks for bilinear sampling at 16 and 32 bits, from doubles.
template <class Traits, bool kBilinear>
class DoublePlaces {
  public:
    DoublePlaces() = default;
    DoublePlaces(const RowCoordinates& c, A_long x0, bool) : c_(c), x_(x0) {}
    PLURION_SIMD_INLINE LanePlaces Next(A_long n) {
        const LanePlaces p = PlacesOf<Traits, kBilinear>(c_, LaneXs(x_, n));
        x_ += kLanes;
        return p;
    }

  private:
    RowCoordinates c_{Affine{}, 0, 0.0};
    A_long x_ = 0;
};

template <class Traits, bool kBilinear>
using RunPlaces = std::conditional_t<!kBilinear || std::is_same_v<Traits, Pixel8Traits>,
                                     FixedPlaces, DoublePlaces<Traits, kBilinear>>;

template <class Traits>
PLURION_SIMD_INLINE Quad ClampAlpha(Quad t) {
    if constexpr (std::is_same_v<Traits, PixelFloatTraits>) {
        t.a = Clamp01(t.a);
    } else if constexpr (std::is_same_v<Traits, Pixel16Traits>) {
        t.a = t.a < 32768.0f ? t.a : 32768.0f; // alpha is a coverage: at most white
    }
    return t;
}

template <class Traits>
PLURION_SIMD_INLINE Quad FetchTap(const SourceImage<Traits>& src, VI offset, VU keep) {
    return ClampAlpha<Traits>(Depth<Traits>::Fetch(src.base, OffsetsOf(offset), 0, keep));
}

template <bool kStraight>
PLURION_SIMD_INLINE Quad Premultiplied(Quad t) {
    if constexpr (kStraight) {
        t.r = t.r * t.a;
        t.g = t.g * t.a;
        t.b = t.b * t.a;
    }
    return t;
}

PLURION_SIMD_INLINE Quad Lerp(const Quad& p, const Quad& q, VF w0, VF w1) {
    return {p.a * w0 + q.a * w1, p.r * w0 + q.r * w1, p.g * w0 + q.g * w1, p.b * w0 + q.b * w1};
}

// Byte offsets of pixels, in unsigned arithmetic: lanes outside the source may wrap, and are
// never read.
PLURION_SIMD_INLINE VI OffsetOf(VI ix, VI iy, std::int32_t row, std::int32_t bytes) {
    return reinterpret_cast<VI>(reinterpret_cast<VU>(iy) * static_cast<std::uint32_t>(row) +
                                reinterpret_cast<VU>(ix) * static_cast<std::uint32_t>(bytes));
}

#if PLURION_SIMD_AVX512
// The 8-bit bilinear taps of sixteen lanes whose taps all lie inside the source: each gather
// fetches eight lanes' pairs of neighbours in a row. The lanes go in the order 0 4 8 12 1 5 9 13
// ..., which the transposes of OpaqueBlend8 turn back into lane order.
struct Taps8 {
    __m512i top_first, top_second, bottom_first, bottom_second;
};

PLURION_SIMD_INLINE Taps8 GatherTaps8(const std::byte* base, VI offset, std::int32_t row) {
    const __m512i order = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m512i at = _mm512_permutexvar_epi32(order, reinterpret_cast<__m512i>(offset));
    const __m256i first = _mm512_castsi512_si256(at);
    const __m256i second = _mm512_extracti64x4_epi64(at, 1);
    const std::byte* below = base + row;
    return {_mm512_i32gather_epi64(first, base, 1), _mm512_i32gather_epi64(second, base, 1),
            _mm512_i32gather_epi64(first, below, 1), _mm512_i32gather_epi64(second, below, 1)};
}

// The same taps for lanes that may reach past the source's edges, for a source at least two
// pixels wide: a pair that straddles the left or the right edge is fetched from the two pixels
// inside and moved into place, taps outside come out zero and rows outside are not read. The
// words are those of the masked loads, so the sums are too.
PLURION_SIMD_INLINE Taps8 GatherEdgeTaps8(const SourceImage<Pixel8Traits>& src,
                                          const LanePlaces& p) {
    const __m512i order = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m512i ix = _mm512_permutexvar_epi32(order, reinterpret_cast<__m512i>(p.ix));
    const __m512i iy = _mm512_permutexvar_epi32(order, reinterpret_cast<__m512i>(p.iy));
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i width = _mm512_set1_epi32(src.width);
    const __m512i height = _mm512_set1_epi32(src.height);
    // 0 <= v < n as one unsigned comparison.
    const __mmask16 left = _mm512_cmplt_epu32_mask(ix, width);
    const __mmask16 right = _mm512_cmplt_epu32_mask(_mm512_add_epi32(ix, one), width);
    const __mmask16 top = _mm512_cmplt_epu32_mask(iy, height);
    const __mmask16 bottom = _mm512_cmplt_epu32_mask(_mm512_add_epi32(iy, one), height);
    const auto only_right = static_cast<__mmask16>(right & ~left); // x = -1: reads (0, 1)
    const auto only_left = static_cast<__mmask16>(left & ~right);  // x = width - 1: (w - 2, w - 1)
    __m512i x = _mm512_mask_add_epi32(ix, only_right, ix, one);
    x = _mm512_mask_sub_epi32(x, only_left, x, one);
    const __m512i at = _mm512_add_epi32(
        _mm512_mullo_epi32(iy, _mm512_set1_epi32(static_cast<std::int32_t>(src.rowbytes))),
        _mm512_slli_epi32(x, 2));
    const auto across = static_cast<__mmask16>(left | right);
    const std::byte* below = src.base + src.rowbytes;
    auto gather = [&](const std::byte* from, __mmask16 rows, int half) PLURION_SIMD_LAMBDA {
        const auto lanes = static_cast<__mmask8>((rows & across) >> (8 * half));
        const __m256i offsets =
            half == 0 ? _mm512_castsi512_si256(at) : _mm512_extracti64x4_epi64(at, 1);
        __m512i pair = _mm512_mask_i32gather_epi64(_mm512_setzero_si512(), lanes, offsets, from, 1);
        pair =
            _mm512_mask_slli_epi64(pair, static_cast<__mmask8>(only_right >> (8 * half)), pair, 32);
        return _mm512_mask_srli_epi64(pair, static_cast<__mmask8>(only_left >> (8 * half)), pair,
                                      32);
    };
    return {gather(src.base, top, 0), gather(src.base, top, 1), gather(below, bottom, 0),
            gather(below, bottom, 1)};
}

// Whether every tap of every lane is transparent: alpha is each pixel's first byte.
PLURION_SIMD_INLINE bool AllTransparent8(const Taps8& t) {
    const __m512i alphas = _mm512_set1_epi64(0x000000FF000000FF);
    const __m512i any = _mm512_or_si512(_mm512_or_si512(t.top_first, t.top_second),
                                        _mm512_or_si512(t.bottom_first, t.bottom_second));
    return _mm512_test_epi64_mask(any, alphas) == 0;
}

PLURION_SIMD_INLINE bool AllOpaque8(const Taps8& t) {
    const __m512i alphas =
        _mm512_set1_epi64(0x000000FF000000FF); // alpha is each pixel's first byte
    const __m512i both = _mm512_and_si512(_mm512_and_si512(t.top_first, t.top_second),
                                          _mm512_and_si512(t.bottom_first, t.bottom_second));
    return _mm512_cmpeq_epi64_mask(_mm512_and_si512(both, alphas), alphas) == 0xFF;
}

// The four taps' words in lane order, for the float path.
PLURION_SIMD_INLINE void TapWords8(const Taps8& t, VU& w00, VU& w10, VU& w01, VU& w11) {
    // Lane n sits in gathered place 4 * (n % 4) + n / 4; its left tap is that place's first word.
    const __m512i left =
        _mm512_setr_epi32(0, 8, 16, 24, 2, 10, 18, 26, 4, 12, 20, 28, 6, 14, 22, 30);
    const __m512i right = _mm512_add_epi32(left, _mm512_set1_epi32(1));
    w00 = reinterpret_cast<VU>(_mm512_permutex2var_epi32(t.top_first, left, t.top_second));
    w10 = reinterpret_cast<VU>(_mm512_permutex2var_epi32(t.top_first, right, t.top_second));
    w01 = reinterpret_cast<VU>(_mm512_permutex2var_epi32(t.bottom_first, left, t.bottom_second));
    w11 = reinterpret_cast<VU>(_mm512_permutex2var_epi32(t.bottom_first, right, t.bottom_second));
}

// Red, green and blue of opaque taps blended as whole numbers: sum of channel x weight, the
// weights being whole 1/128 steps in each direction. The sums are exact, as the float path's
// are (at most 255 x 16384), so both give the same numbers.
PLURION_SIMD_INLINE void OpaqueBlend8(const Taps8& t, const LanePlaces& p, VF& r, VF& g, VF& b) {
    // Weights of the left and right tap in the low and high half of each lane: products of
    // numbers up to 128 fit the halves, so 16-bit multiplies give them.
    const __m512i qx = reinterpret_cast<__m512i>(p.qx);
    const __m512i qy = reinterpret_cast<__m512i>(p.qy);
    const __m512i full = _mm512_set1_epi32(128);
    const __m512i across = _mm512_or_si512(_mm512_sub_epi32(full, qx), _mm512_slli_epi32(qx, 16));
    const __m512i qy0 = _mm512_sub_epi32(full, qy);
    const __m512i top =
        _mm512_mullo_epi16(across, _mm512_or_si512(qy0, _mm512_slli_epi32(qy0, 16)));
    const __m512i bottom =
        _mm512_mullo_epi16(across, _mm512_or_si512(qy, _mm512_slli_epi32(qy, 16)));
    // Each pixel pair a0 r0 g0 b0 a1 r1 g1 b1 to a0 a1 r0 r1 g0 g1 b0 b1.
    const __m512i pairs =
        _mm512_broadcast_i32x4(_mm_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15));
    const __m512i top_first = _mm512_shuffle_epi8(t.top_first, pairs);
    const __m512i top_second = _mm512_shuffle_epi8(t.top_second, pairs);
    const __m512i bottom_first = _mm512_shuffle_epi8(t.bottom_first, pairs);
    const __m512i bottom_second = _mm512_shuffle_epi8(t.bottom_second, pairs);
    // Four gathered places a step, one per 128-bit quarter, with each place's weights spread
    // over its channels: place 4m + k holds lane 4k + m.
    auto quarter = [&](__m256i top_bytes, __m256i bottom_bytes, int m) PLURION_SIMD_LAMBDA {
        const __m512i spread =
            _mm512_setr_epi32(m, m, m, m, 4 + m, 4 + m, 4 + m, 4 + m, 8 + m, 8 + m, 8 + m, 8 + m,
                              12 + m, 12 + m, 12 + m, 12 + m);
        return _mm512_add_epi32(_mm512_madd_epi16(_mm512_cvtepu8_epi16(top_bytes),
                                                  _mm512_permutexvar_epi32(spread, top)),
                                _mm512_madd_epi16(_mm512_cvtepu8_epi16(bottom_bytes),
                                                  _mm512_permutexvar_epi32(spread, bottom)));
    };
    const __m512i z0 =
        quarter(_mm512_castsi512_si256(top_first), _mm512_castsi512_si256(bottom_first), 0);
    const __m512i z1 = quarter(_mm512_extracti64x4_epi64(top_first, 1),
                               _mm512_extracti64x4_epi64(bottom_first, 1), 1);
    const __m512i z2 =
        quarter(_mm512_castsi512_si256(top_second), _mm512_castsi512_si256(bottom_second), 2);
    const __m512i z3 = quarter(_mm512_extracti64x4_epi64(top_second, 1),
                               _mm512_extracti64x4_epi64(bottom_second, 1), 3);
    // Per quarter k, channel by channel: z0 z1 z2 z3 hold lanes k, 4 + k, 8 + k, 12 + k... in
    // the order that makes each channel's vector come out in lane order.
    const __m512i ar01 = _mm512_unpacklo_epi32(z0, z1);
    const __m512i ar23 = _mm512_unpacklo_epi32(z2, z3);
    const __m512i gb01 = _mm512_unpackhi_epi32(z0, z1);
    const __m512i gb23 = _mm512_unpackhi_epi32(z2, z3);
    r = reinterpret_cast<VF>(_mm512_cvtepi32_ps(_mm512_unpackhi_epi64(ar01, ar23)));
    g = reinterpret_cast<VF>(_mm512_cvtepi32_ps(_mm512_unpacklo_epi64(gb01, gb23)));
    b = reinterpret_cast<VF>(_mm512_cvtepi32_ps(_mm512_unpackhi_epi64(gb01, gb23)));
}
#endif

// The lanes' sample. `inside`: every tap of every lane lies in the source. Otherwise taps
// outside read as transparent black: their offset moves to the first pixel and their word is
// masked to zero.
template <class Traits, bool kBilinear, bool kStraight>
PLURION_SIMD_INLINE Sums Sample(const SourceImage<Traits>& src, const LanePlaces& p, bool inside) {
    const auto row = static_cast<std::int32_t>(src.rowbytes);
    const std::int32_t bytes = Depth<Traits>::kBytes;
    const VU all = VU{} + 0xFFFFFFFFu;
    if constexpr (!kBilinear) {
        if (inside) {
            return {Premultiplied<kStraight>(
                FetchTap<Traits>(src, OffsetOf(p.ix, p.iy, row, bytes), all))};
        }
        // Every lane's centre lies in the source here; held to it, as the reference holds a centre
        // that rounds onto the edge.
        const VI ix = ClampInt(p.ix, src.width - 1);
        const VI iy = ClampInt(p.iy, src.height - 1);
        return {Premultiplied<kStraight>(FetchTap<Traits>(src, OffsetOf(ix, iy, row, bytes), all))};
    } else {
        const VI offset = OffsetOf(p.ix, p.iy, row, bytes);
        Quad t00, t10, t01, t11;
        bool opaque = false;
        bool fetched = false;
#if PLURION_SIMD_AVX512
        if constexpr (std::is_same_v<Traits, Pixel8Traits>) {
            if (inside || src.width >= 2) {
                const Taps8 taps =
                    inside ? GatherTaps8(src.base, offset, row) : GatherEdgeTaps8(src, p);
                if (kStraight && AllTransparent8(taps)) {
                    // Straight colour counts by its alpha: the sample is zero, as the sums would
                    // say. (A premultiplied source's colour counts as it stands.)
                    return Sums{};
                }
                // Only inside, as the other instruction sets take the shortcut: they give the
                // same bytes.
                if (inside && AllOpaque8(taps)) {
                    Quad q{VF{} + 255.0f * 128.0f * 128.0f, {}, {}, {}};
                    OpaqueBlend8(taps, p, q.r, q.g, q.b);
                    return {q, true};
                }
                VU w00, w10, w01, w11;
                TapWords8(taps, w00, w10, w01, w11);
                t00 = Depth<Pixel8Traits>::Channels(w00);
                t10 = Depth<Pixel8Traits>::Channels(w10);
                t01 = Depth<Pixel8Traits>::Channels(w01);
                t11 = Depth<Pixel8Traits>::Channels(w11);
                fetched = true;
            }
        }
#endif
        if (fetched) {
        } else if (inside) {
            const LaneOffsets o = OffsetsOf(offset);
            Depth<Traits>::FetchPair(src.base, o, 0, t00, t10);
            Depth<Traits>::FetchPair(src.base, o, row, t01, t11);
            if constexpr (std::is_same_v<Traits, Pixel8Traits>) {
                opaque = AllLanes((t00.a == 255.0f) & (t10.a == 255.0f) & (t01.a == 255.0f) &
                                  (t11.a == 255.0f));
            } else {
                t00 = ClampAlpha<Traits>(t00);
                t10 = ClampAlpha<Traits>(t10);
                t01 = ClampAlpha<Traits>(t01);
                t11 = ClampAlpha<Traits>(t11);
            }
        } else {
            const VI x0 = (p.ix >= 0) & (p.ix < src.width);
            const VI x1 = (p.ix >= -1) & (p.ix < src.width - 1);
            const VI y0 = (p.iy >= 0) & (p.iy < src.height);
            const VI y1 = (p.iy >= -1) & (p.iy < src.height - 1);
            auto tap = [&](VI in, std::int32_t shift) {
                return FetchTap<Traits>(src, in ? offset + shift : 0, reinterpret_cast<VU>(in));
            };
            t00 = tap(x0 & y0, 0);
            t10 = tap(x1 & y0, bytes);
            t01 = tap(x0 & y1, row);
            t11 = tap(x1 & y1, row + bytes);
        }
        const float total = FilterTotal<Traits>(true) == 1.0f ? 1.0f : 128.0f;
        const VF fy0 = total - p.fy;
        const VF fx0 = total - p.fx;
        // The taps' weights, as the reference weighs them (whole numbers at 8 bits).
        const VF w00 = fx0 * fy0, w10 = p.fx * fy0, w01 = fx0 * p.fy, w11 = p.fx * p.fy;
        auto blend = [&](const Quad& q00, const Quad& q10, const Quad& q01, const Quad& q11,
                         VF Quad::*c) PLURION_SIMD_LAMBDA {
            return q00.*c * w00 + q10.*c * w10 + q01.*c * w01 + q11.*c * w11;
        };
        if (opaque) {
            // Alpha is white in every tap: only colour needs blending.
            return {{VF{} + Depth<Traits>::kWhite * total * total,
                     blend(t00, t10, t01, t11, &Quad::r), blend(t00, t10, t01, t11, &Quad::g),
                     blend(t00, t10, t01, t11, &Quad::b)},
                    true};
        }
        if constexpr (kStraight) {
            // Each tap's colour weighs by its weight times its alpha: the premultiplication and
            // the weighting in one product per tap.
            const VF a00 = t00.a * w00, a10 = t10.a * w10, a01 = t01.a * w01, a11 = t11.a * w11;
            auto weigh = [&](VF Quad::*c) PLURION_SIMD_LAMBDA {
                return t00.*c * a00 + t10.*c * a10 + t01.*c * a01 + t11.*c * a11;
            };
            return {{a00 + a10 + a01 + a11, weigh(&Quad::r), weigh(&Quad::g), weigh(&Quad::b)}};
        } else {
            return {{blend(t00, t10, t01, t11, &Quad::a), blend(t00, t10, t01, t11, &Quad::r),
                     blend(t00, t10, t01, t11, &Quad::g), blend(t00, t10, t01, t11, &Quad::b)}};
        }
    }
}

// The sample as unit premultiplied values, as the reference samplers give them.
template <class Traits, bool kBilinear, bool kStraight>
PLURION_SIMD_INLINE Quad UnitSample(const Sums& s) {
    using S = Scales<Traits, kBilinear, kStraight>;
    const float colour = S::Colour(s);
    return {s.q.a * S::kAlpha, s.q.r * colour, s.q.g * colour, s.q.b * colour};
}

// ---- Compositing ------------------------------------------------------------------------------

// CompositeSourceOver on one block of destination pixels, for a sample given as unit
// premultiplied values times `scale_alpha` and `scale_colour` (which carry the opacity).
template <class Traits>
PLURION_SIMD_INLINE void InFrontLanes(const Quad& s, float scale_alpha, float scale_colour,
                                      typename Traits::Pixel* dst, bool rgb_only) {
    constexpr float kWhite = Depth<Traits>::kWhite;
    const VF sa = Clamp01(s.a * scale_alpha);
    const VI live = sa > 0.0f;
    if (!AnyLane(live)) {
        return;
    }
    // Colour in the destination's units.
    const float to_white = scale_colour * kWhite;
    const Quad sc{sa, s.r * to_white, s.g * to_white, s.b * to_white};
    if (!rgb_only && AllLanes(sa >= 1.0f)) {
        // An opaque sample hides the destination.
        Depth<Traits>::Put(dst, {VF{} + kWhite, sc.r, sc.g, sc.b});
        return;
    }
    const auto old = Depth<Traits>::Load(dst);
    const Quad d = Depth<Traits>::Unpack(old);
    const VF k = Clamp01(d.a * (1.0f / kWhite)) * (1.0f - sa);
    const VF ao = sa + k;
    const VF norm = 1.0f / ao;
    const Quad out{ao * kWhite, (sc.r + d.r * k) * norm, (sc.g + d.g * k) * norm,
                   (sc.b + d.b * k) * norm};
    Depth<Traits>::Store(dst, old, out, live, rgb_only);
}

// ---- Runs -------------------------------------------------------------------------------------

// The pixels of a run that TapsInsideFinder gives, as offsets from the run's start.
template <bool kBilinear>
RowRun InsideRun(const Affine& inv, A_long y, A_long x0, A_long count, A_long width,
                 A_long height) {
    const RowRun run = TapsInsideFinder(inv, kBilinear, width, height).Within(y, x0, x0 + count);
    return {run.begin - x0, run.end - x0};
}

// block(i, n, places, inside) for each block of up to kLanes pixels of the run; the last block's
// spare lanes repeat its last pixel. `inside` as InsideRun gives it.
template <class Traits, bool kBilinear, class Block>
PLURION_SIMD_INLINE void ForEachBlock(const RowCoordinates& c, A_long x0, A_long count,
                                      const RowRun& inside, Block&& block) {
    RunPlaces<Traits, kBilinear> places(c, x0, kBilinear);
    for (A_long i = 0; i < count; i += kLanes) {
        const A_long n = count - i < kLanes ? count - i : kLanes;
        block(i, n, places.Next(n), i >= inside.begin && i + n <= inside.end);
    }
}

// Copies the few bytes of a short block. With AVX-512, masked moves do it in place of a call to
// the library's copy, which costs more than the block's blend.
PLURION_SIMD_INLINE void CopyShort(void* to, const void* from, std::size_t bytes) {
#if PLURION_SIMD_AVX512
    auto* out = static_cast<char*>(to);
    const auto* in = static_cast<const char*>(from);
    for (std::size_t at = 0; at < bytes; at += 64) {
        const std::size_t left = bytes - at;
        const __mmask64 mask = left >= 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
        _mm512_mask_storeu_epi8(out + at, mask, _mm512_maskz_loadu_epi8(mask, in + at));
    }
#else
    std::memcpy(to, from, bytes);
#endif
}

// Runs fn on the n pixels at p as a whole block: through a block-sized copy when n is short.
template <class Pixel, class Fn>
PLURION_SIMD_INLINE void OnBlock(Pixel* p, A_long n, Fn&& fn) {
    if (n == kLanes) {
        fn(p);
        return;
    }
    Pixel held[kLanes] = {};
    CopyShort(held, p, sizeof(Pixel) * static_cast<std::size_t>(n));
    fn(held);
    CopyShort(p, held, sizeof(Pixel) * static_cast<std::size_t>(n));
}

template <class Traits, bool kBilinear, bool kStraight>
void InFrontRun(const SourceImage<Traits>& src, const Affine& inv, A_long y, A_long x0,
                A_long count, const RowRun& taps_inside, typename Traits::Pixel* dst,
                const CompositeParams& params) {
    using S = Scales<Traits, kBilinear, kStraight>;
    const RowCoordinates c(inv, y, kBilinear ? 0.5 : 0.0);
    const float alpha_scale = S::kAlpha * params.opacity;
    ForEachBlock<Traits, kBilinear>(
        c, x0, count, {taps_inside.begin - x0, taps_inside.end - x0},
        [&](A_long i, A_long n, const LanePlaces& p, bool inside) PLURION_SIMD_LAMBDA {
            const Sums s = Sample<Traits, kBilinear, kStraight>(src, p, inside);
            const float colour_scale = S::Colour(s) * params.opacity;
            OnBlock(dst + i, n, [&](typename Traits::Pixel* block) PLURION_SIMD_LAMBDA {
                InFrontLanes<Traits>(s.q, alpha_scale, colour_scale, block, params.rgb_only);
            });
        });
}

template <class Traits, bool kBilinear, bool kStraight>
void InFrontBlurredRun(const SourceImage<Traits>& src, const Affine* inv, const RowRun* reach,
                       const RowRun* taps_inside, int maps, A_long y, A_long x0, A_long count,
                       typename Traits::Pixel* dst, const CompositeParams& params) {
    RunPlaces<Traits, kBilinear> places[kMostBlurredMaps];
    for (int m = 0; m < maps; ++m) {
        places[m] = RunPlaces<Traits, kBilinear>(RowCoordinates(inv[m], y, kBilinear ? 0.5 : 0.0),
                                                 x0, kBilinear);
    }
    for (A_long i = 0; i < count; i += kLanes) {
        const A_long n = count - i < kLanes ? count - i : kLanes;
        const A_long first = x0 + i;
        // Summed in the order of the maps from zero, as the planes would sum them.
        Quad sum{};
        for (int m = 0; m < maps; ++m) {
            const LanePlaces p = places[m].Next(n);
            if (first >= reach[m].end || first + n <= reach[m].begin) {
                continue; // the map reaches none of the block
            }
            const bool inside = first >= taps_inside[m].begin && first + n <= taps_inside[m].end;
            Quad s = UnitSample<Traits, kBilinear, kStraight>(
                Sample<Traits, kBilinear, kStraight>(src, p, inside));
            if (first < reach[m].begin || first + n > reach[m].end) {
                // Pixels the map does not reach take nothing from it.
                const VI x = Iota() + first;
                const VI in = (x >= reach[m].begin) & (x < reach[m].end);
                s = {in ? s.a : 0.0f, in ? s.r : 0.0f, in ? s.g : 0.0f, in ? s.b : 0.0f};
            }
            sum = {sum.a + s.a, sum.r + s.r, sum.g + s.g, sum.b + s.b};
        }
        OnBlock(dst + i, n, [&](typename Traits::Pixel* block) PLURION_SIMD_LAMBDA {
            InFrontLanes<Traits>(sum, params.opacity, params.opacity, block, params.rgb_only);
        });
    }
}

template <class Traits, bool kBilinear, bool kStraight, bool kAccumulate>
void SampleRun(const SourceImage<Traits>& src, const Affine& inv, A_long y, A_long x0, A_long count,
               Premul* out) {
    const RowCoordinates c(inv, y, kBilinear ? 0.5 : 0.0);
    ForEachBlock<Traits, kBilinear>(
        c, x0, count, InsideRun<kBilinear>(inv, y, x0, count, src.width, src.height),
        [&](A_long i, A_long n, const LanePlaces& p, bool inside) PLURION_SIMD_LAMBDA {
            const Quad s = UnitSample<Traits, kBilinear, kStraight>(
                Sample<Traits, kBilinear, kStraight>(src, p, inside));
            OnBlock(out + i, n, [&](Premul* block) PLURION_SIMD_LAMBDA {
                auto* at = reinterpret_cast<float*>(block);
                if constexpr (kAccumulate) {
                    const Quad before = LoadQuads(at);
                    StoreQuads({before.a + s.a, before.r + s.r, before.g + s.g, before.b + s.b},
                               at);
                } else {
                    StoreQuads(s, at);
                }
            });
        });
}

template <class Traits>
void InFrontFrom(const Premul* src, typename Traits::Pixel* dst, A_long count,
                 const CompositeParams& params, A_long, A_long) {
    for (A_long i = 0; i < count; i += kLanes) {
        const A_long n = count - i < kLanes ? count - i : kLanes;
        Premul held[kLanes] = {};
        const Premul* from = src + i;
        if (n < kLanes) {
            CopyShort(held, from, sizeof(Premul) * static_cast<std::size_t>(n));
            from = held;
        }
        const Quad s = LoadQuads(reinterpret_cast<const float*>(from));
        OnBlock(dst + i, n, [&](typename Traits::Pixel* block) PLURION_SIMD_LAMBDA {
            InFrontLanes<Traits>(s, params.opacity, params.opacity, block, params.rgb_only);
        });
    }
}

// Loads and stores of kLanes floats of each plane from offset i; `n` of them where a run ends.
PLURION_SIMD_INLINE Quad LoadPlanes(const SamplePlanes& p, A_long i, A_long n) {
    Quad q{};
    if (n == kLanes) {
        std::memcpy(&q.a, p.a + i, sizeof q.a);
        std::memcpy(&q.r, p.r + i, sizeof q.r);
        std::memcpy(&q.g, p.g + i, sizeof q.g);
        std::memcpy(&q.b, p.b + i, sizeof q.b);
        return q;
    }
    const std::size_t bytes = sizeof(float) * static_cast<std::size_t>(n);
    CopyShort(&q.a, p.a + i, bytes);
    CopyShort(&q.r, p.r + i, bytes);
    CopyShort(&q.g, p.g + i, bytes);
    CopyShort(&q.b, p.b + i, bytes);
    return q;
}
PLURION_SIMD_INLINE void StorePlanes(const SamplePlanes& p, A_long i, A_long n, const Quad& q) {
    if (n == kLanes) {
        std::memcpy(p.a + i, &q.a, sizeof q.a);
        std::memcpy(p.r + i, &q.r, sizeof q.r);
        std::memcpy(p.g + i, &q.g, sizeof q.g);
        std::memcpy(p.b + i, &q.b, sizeof q.b);
        return;
    }
    const std::size_t bytes = sizeof(float) * static_cast<std::size_t>(n);
    CopyShort(p.a + i, &q.a, bytes);
    CopyShort(p.r + i, &q.r, bytes);
    CopyShort(p.g + i, &q.g, bytes);
    CopyShort(p.b + i, &q.b, bytes);
}

template <class Traits, bool kBilinear, bool kStraight>
void AccumulateRun(const SourceImage<Traits>& src, const Affine& inv, A_long y, A_long x0,
                   A_long count, const SamplePlanes& planes) {
    const RowCoordinates c(inv, y, kBilinear ? 0.5 : 0.0);
    ForEachBlock<Traits, kBilinear>(
        c, x0, count, InsideRun<kBilinear>(inv, y, x0, count, src.width, src.height),
        [&](A_long i, A_long n, const LanePlaces& p, bool inside) PLURION_SIMD_LAMBDA {
            const Quad s = UnitSample<Traits, kBilinear, kStraight>(
                Sample<Traits, kBilinear, kStraight>(src, p, inside));
            const Quad held = LoadPlanes(planes, i, n);
            StorePlanes(planes, i, n, {held.a + s.a, held.r + s.r, held.g + s.g, held.b + s.b});
        });
}

template <class Traits>
void InFrontPlanes(const SamplePlanes& planes, typename Traits::Pixel* dst, A_long count,
                   const CompositeParams& params) {
    for (A_long i = 0; i < count; i += kLanes) {
        const A_long n = count - i < kLanes ? count - i : kLanes;
        const Quad s = LoadPlanes(planes, i, n);
        OnBlock(dst + i, n, [&](typename Traits::Pixel* block) PLURION_SIMD_LAMBDA {
            InFrontLanes<Traits>(s, params.opacity, params.opacity, block, params.rgb_only);
        });
    }
}

template <class Traits>
constexpr SimdKernelSet<Traits> KernelSet() {
    return {
        {{&InFrontRun<Traits, false, false>, &InFrontRun<Traits, false, true>},
         {&InFrontRun<Traits, true, false>, &InFrontRun<Traits, true, true>}},
        {{{&SampleRun<Traits, false, false, false>, &SampleRun<Traits, false, false, true>},
          {&SampleRun<Traits, false, true, false>, &SampleRun<Traits, false, true, true>}},
         {{&SampleRun<Traits, true, false, false>, &SampleRun<Traits, true, false, true>},
          {&SampleRun<Traits, true, true, false>, &SampleRun<Traits, true, true, true>}}},
        &InFrontFrom<Traits>,
        {{&AccumulateRun<Traits, false, false>, &AccumulateRun<Traits, false, true>},
         {&AccumulateRun<Traits, true, false>, &AccumulateRun<Traits, true, true>}},
        &InFrontPlanes<Traits>,
        {{&InFrontBlurredRun<Traits, false, false>, &InFrontBlurredRun<Traits, false, true>},
         {&InFrontBlurredRun<Traits, true, false>, &InFrontBlurredRun<Traits, true, true>}},
    };
}

inline constexpr SimdKernels kKernels{KernelSet<Pixel8Traits>(), KernelSet<Pixel16Traits>(),
                                      KernelSet<PixelFloatTraits>()};

#undef PLURION_SIMD_INLINE
#undef PLURION_SIMD_LAMBDA
