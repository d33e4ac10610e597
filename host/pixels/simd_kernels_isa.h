// The kernel tables of the instruction sets this build compiles (simd_kernels_*.cpp).
#pragma once

#include "simd_kernels.h"

namespace plurion::host {

const SimdKernels& Sse2Kernels();
const SimdKernels& Avx2Kernels();
const SimdKernels& Avx512Kernels();

} // namespace plurion::host
