// The vector kernels for AVX-512 (the F, BW, DQ and VL parts): sixteen pixels a step. Compiled
// for those instructions through the target pragma, like the AVX2 file, and called only where
// the processor reports all four parts.
#include "simd_kernels_isa.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#pragma GCC push_options
// GCC 12 takes the intrinsics' deliberately undefined vectors (_mm512_undefined_*) for
// uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC target("avx512f,avx512bw,avx512dq,avx512vl")
namespace plurion::host::avx512 {
#define PLURION_SIMD_LANES 16
#define PLURION_SIMD_AVX512 1
#include "simd_kernels.inl"
#undef PLURION_SIMD_LANES
#undef PLURION_SIMD_AVX512
} // namespace plurion::host::avx512
#pragma GCC diagnostic pop
#pragma GCC pop_options

namespace plurion::host {

const SimdKernels& Avx512Kernels() {
    return avx512::kKernels;
}

} // namespace plurion::host
