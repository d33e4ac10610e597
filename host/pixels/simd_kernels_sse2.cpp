// The vector kernels for SSE2, which every x86-64 processor has: four pixels a step.
#include "simd_kernels_isa.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

namespace plurion::host::sse2 {
#define PLURION_SIMD_LANES 4
#define PLURION_SIMD_AVX2 0
#include "simd_kernels.inl"
#undef PLURION_SIMD_LANES
#undef PLURION_SIMD_AVX2
} // namespace plurion::host::sse2

namespace plurion::host {

const SimdKernels& Sse2Kernels() {
    return sse2::kKernels;
}

} // namespace plurion::host
