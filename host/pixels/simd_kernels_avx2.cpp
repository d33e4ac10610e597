// The vector kernels for AVX2: eight pixels a step, source taps fetched with plain loads. Only this
// file is compiled for AVX2, through the target pragma after the shared headers, so nothing
// another file may call picks up instructions an older processor lacks; the program calls it
// only where the processor reports AVX2.
#include "simd_kernels_isa.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#pragma GCC push_options
#pragma GCC target("avx2")
namespace plurion::host::avx2 {
#define PLURION_SIMD_LANES 8
#define PLURION_SIMD_AVX2 1
#include "simd_kernels.inl"
#undef PLURION_SIMD_LANES
#undef PLURION_SIMD_AVX2
} // namespace plurion::host::avx2
#pragma GCC pop_options

namespace plurion::host {

const SimdKernels& Avx2Kernels() {
    return avx2::kKernels;
}

} // namespace plurion::host
