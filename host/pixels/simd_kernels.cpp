#include "simd_kernels.h"

#include "world.h"

#if defined(PLURION_PIXELS_HAVE_SIMD)
#include "simd_kernels_isa.h"
#endif

#include <limits>

namespace plurion::host {

SimdLevel ProcessorSimdLevel() {
#if defined(PLURION_PIXELS_HAVE_SIMD)
    // Asked once: the answer never changes while the program runs.
    static const SimdLevel level = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
            __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl")) {
            return SimdLevel::kAvx512;
        }
        return __builtin_cpu_supports("avx2") ? SimdLevel::kAvx2 : SimdLevel::kSse2;
    }();
    return level;
#else
    return SimdLevel::kNone;
#endif
}

const char* SimdLevelName(SimdLevel level) {
    switch (level) {
    case SimdLevel::kAvx512:
        return "avx512";
    case SimdLevel::kAvx2:
        return "avx2";
    case SimdLevel::kSse2:
        return "sse2";
    case SimdLevel::kNone:
        break;
    }
    return "none";
}

const SimdKernels* SimdKernelsFor(SimdLevel level) {
#if defined(PLURION_PIXELS_HAVE_SIMD)
    const SimdLevel usable = static_cast<int>(level) < static_cast<int>(ProcessorSimdLevel())
                                 ? level
                                 : ProcessorSimdLevel();
    switch (usable) {
    case SimdLevel::kAvx512:
        return &Avx512Kernels();
    case SimdLevel::kAvx2:
        return &Avx2Kernels();
    case SimdLevel::kSse2:
        return &Sse2Kernels();
    case SimdLevel::kNone:
        break;
    }
#else
    (void)level;
#endif
    return nullptr;
}

bool FitsSimdOffsets(const PF_EffectWorld& world) {
    const auto bytes = static_cast<long long>(world.rowbytes) * (world.height + 1);
    return world.rowbytes > 0 && bytes < std::numeric_limits<std::int32_t>::max();
}

} // namespace plurion::host
