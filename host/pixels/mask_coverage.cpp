#include "mask_coverage.h"

#include "world.h"

#include <algorithm>

namespace plurion::host {
namespace {

template <class Traits>
void MaskRow(const PF_EffectWorld& mask, A_long x, A_long y, A_long count, bool luminance,
             float* out) {
    const auto* in = WorldRow<Traits>(mask, y) + x;
    for (A_long i = 0; i < count; ++i) {
        out[i] = luminance ? ClampUnit(0.3f * Traits::ToUnit(in[i].red) +
                                       0.59f * Traits::ToUnit(in[i].green) +
                                       0.11f * Traits::ToUnit(in[i].blue))
                           : ClampUnit(Traits::ToUnit(in[i].alpha));
    }
}

} // namespace

PF_Err PrepareMask(const PF_MaskWorld& mask, MaskCoverage& coverage) {
    const PF_EffectWorld& w = mask.mask;
    if (w.data == nullptr && w.width > 0 && w.height > 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    coverage.mask = &mask;
    return DispatchByFormat(PixelFormatOf(w), [&](auto traits) {
        coverage.row = &MaskRow<decltype(traits)>;
        return PF_Err{PF_Err_NONE};
    });
}

void ApplyMask(const MaskCoverage& coverage, A_long y, A_long x0, A_long count, Premul* samples,
               float* scratch) {
    const PF_MaskWorld& m = *coverage.mask;
    const bool inverted = (m.what_is_mask & PF_MaskFlag_INVERTED) != 0;
    const bool luminance = (m.what_is_mask & PF_MaskFlag_LUMINANCE) != 0;
    const A_long my = y - m.offset.v;
    // The part of the run that lies over the mask world; the rest sees transparent black.
    A_long begin = x0 + count;
    A_long end = x0 + count;
    if (my >= 0 && my < m.mask.height && m.mask.data != nullptr) {
        begin = std::clamp(m.offset.h, x0, x0 + count);
        end = std::clamp(m.offset.h + m.mask.width, begin, x0 + count);
    }
    std::fill(scratch, scratch + count, 0.0f);
    if (end > begin) {
        coverage.row(m.mask, begin - m.offset.h, my, end - begin, luminance,
                     scratch + (begin - x0));
    }
    for (A_long i = 0; i < count; ++i) {
        const float k = inverted ? 1.0f - scratch[i] : scratch[i];
        samples[i] = {samples[i].a * k, samples[i].r * k, samples[i].g * k, samples[i].b * k};
    }
}

} // namespace plurion::host
