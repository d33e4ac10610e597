// The mask of a transform: a world laid over the destination with its top-left pixel at
// `offset`, whose alpha (or, with PF_MaskFlag_LUMINANCE, the luma of its colour) scales what
// is drawn; PF_MaskFlag_INVERTED turns it around. Beyond the mask world lies transparent black.
#pragma once

#include "AE_EffectCB.h"
#include "sampling.h"

namespace plurion::host {

struct MaskCoverage {
    using RowFn = void (*)(const PF_EffectWorld& mask, A_long x, A_long y, A_long count,
                           bool luminance, float* out);
    const PF_MaskWorld* mask = nullptr;
    RowFn row = nullptr;
};

// PF_Err_BAD_CALLBACK_PARAM for a mask world of an unknown format or without pixels.
PF_Err PrepareMask(const PF_MaskWorld& mask, MaskCoverage& coverage);

// Scales the premultiplied samples of destination pixels [x0, x0 + count) of row y.
// `scratch` holds at least `count` floats.
void ApplyMask(const MaskCoverage& coverage, A_long y, A_long x0, A_long count, Premul* samples,
               float* scratch);

} // namespace plurion::host
