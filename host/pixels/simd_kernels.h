// Vector versions of the transform kernel's hot loops: sampling (nearest and bilinear, straight
// and premultiplied sources, at every depth) and In Front compositing, several destination
// pixels per instruction. They are written once (simd_kernels.inl) and compiled three times, for
// SSE2 (four pixels a step), AVX2 (eight) and AVX-512 (sixteen, with gathers); the processor
// picks one when the program runs.
//
// The scalar kernels of sampling.h and compositing.h stay the reference. The vector kernels
// weigh the taps as the reference does, without fused multiply-adds, so every instruction set
// gives the same bytes; the promise against the reference, which the tests hold them to, is
// agreement within one step of the destination's depth (1/255 at 8 bits, 1/32768 at 16, float
// rounding at 32).
#pragma once

#include "compositing.h"
#include "geometry.h"
#include "sampling.h"

namespace plurion::host {

enum class SimdLevel { kNone, kSse2, kAvx2, kAvx512 };

// The best level that both this build and this processor run; kNone when the build leaves the
// vector kernels out (PLURION_PIXELS_SIMD=OFF) or the processor is not x86-64.
SimdLevel ProcessorSimdLevel();
const char* SimdLevelName(SimdLevel level);

// The destination pixels of a row whose every tap lies well inside the source, by a margin far
// beyond the rounding of the coordinates: there the vector kernels skip the per-tap tests.
inline RunFinder TapsInsideFinder(const Affine& inv, bool bilinear, A_long width, A_long height) {
    constexpr double kMargin = 1.0 / 64.0;
    const double reach = bilinear ? 0.5 : 0.0;
    return {inv, reach + kMargin, width - reach - kMargin, reach + kMargin,
            height - reach - kMargin};
}

// Samples a run of destination pixels and composites them In Front in one pass; `inside` is
// the part of the run that TapsInsideFinder gives (its Within run will do).
template <class Traits>
using DrawRunFn = void (*)(const SourceImage<Traits>& src, const Affine& inv, A_long y, A_long x0,
                           A_long count, const RowRun& inside, typename Traits::Pixel* dst,
                           const CompositeParams& params);

// Premultiplied samples of a run kept channel by channel (each pointer at the run's first pixel),
// so that motion samples add up without reordering: the blur accumulates in these.
struct SamplePlanes {
    float* a;
    float* r;
    float* g;
    float* b;
};

// Adds the samples of a run to the planes.
template <class Traits>
using AccumulateRunFn = void (*)(const SourceImage<Traits>& src, const Affine& inv, A_long y,
                                 A_long x0, A_long count, const SamplePlanes& planes);
// Composites summed samples In Front.
template <class Traits>
using PlanesRunFn = void (*)(const SamplePlanes& planes, typename Traits::Pixel* dst, A_long count,
                             const CompositeParams& params);

// Samples a run at each map of a motion-blurred draw, sums the samples and composites the sum In
// Front, without planes in memory; for at most kMostBlurredMaps maps. For each map, `reach`: the
// pixels it reaches (it adds nothing elsewhere); `inside`: as for DrawRunFn.
constexpr int kMostBlurredMaps = 32;
template <class Traits>
using BlurredRunFn = void (*)(const SourceImage<Traits>& src, const Affine* inv,
                              const RowRun* reach, const RowRun* inside, int maps, A_long y,
                              A_long x0, A_long count, typename Traits::Pixel* dst,
                              const CompositeParams& params);

template <class Traits>
struct SimdKernelSet {
    DrawRunFn<Traits> in_front[2][2];            // [bilinear][straight]
    SampleRunFn<Traits> sample[2][2][2];         // [bilinear][straight][accumulate]
    CompositeRunFn<Traits> in_front_from;        // In Front of premultiplied samples
    AccumulateRunFn<Traits> accumulate[2][2];    // [bilinear][straight], into planes
    PlanesRunFn<Traits> in_front_planes;         // In Front of summed planes
    BlurredRunFn<Traits> in_front_blurred[2][2]; // [bilinear][straight]
};

struct SimdKernels {
    SimdKernelSet<Pixel8Traits> p8;
    SimdKernelSet<Pixel16Traits> p16;
    SimdKernelSet<PixelFloatTraits> pf;

    template <class Traits>
    const SimdKernelSet<Traits>& of() const {
        if constexpr (std::is_same_v<Traits, Pixel8Traits>) {
            return p8;
        } else if constexpr (std::is_same_v<Traits, Pixel16Traits>) {
            return p16;
        } else {
            return pf;
        }
    }
};

// The kernels of a level, capped at what the processor runs; null for kNone.
const SimdKernels* SimdKernelsFor(SimdLevel level);

// Vector kernels read sources through 32-bit byte offsets; larger worlds use the reference.
bool FitsSimdOffsets(const PF_EffectWorld& world);

} // namespace plurion::host
