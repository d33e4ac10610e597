// The host's transform-and-composite operation: draws a source world into a destination world
// through one or more 3 x 3 matrices (row-vector form), filtered by the render quality, with a
// transfer mode and an opacity, and with motion blur when it gets two or more matrices.
//
// - Quality: PF_Quality_HI samples bilinearly, anything else takes the nearest pixel.
// - m_flags: PF_MF_Alpha_STRAIGHT says the source holds straight colour, PF_MF_Alpha_PREMUL
//   that its colour is premultiplied by its alpha. The destination always holds straight colour.
// - Opacity: comp_mode->opacity / 255 at every depth. A 16-bit world takes the finer
//   opacitySu / 32768 instead where opacity is opacitySu rounded to 8 bits; so a caller that
//   fills only the byte (opacitySu 0) gets the same opacity at 8, 16 and 32 bits.
// - rgb_only keeps the destination's alpha; rand_seed chooses the pattern of PF_Xfer_DISSOLVE.
// - Motion blur: maps between each matrix and the next, as many as the motion needs up to the
//   composition's limit (adaptive sampling, geometry.h), accumulated premultiplied, averaged,
//   then composited once.
// - mask_world (may be null) scales what is drawn by its alpha or luma (mask_coverage.h).
// - dest_rect (null = the whole world) clips; field PF_Field_UPPER or PF_Field_LOWER draws only
//   the even or the odd rows. Only pixels the mapped source can reach are visited.
// - Errors: PF_Err_BAD_CALLBACK_PARAM for a missing world, composite mode or matrix, fewer than
//   one matrix, worlds of different or unknown formats, a transfer mode the host does not
//   composite with, a projective matrix, or a mask world of an unknown format.
//   PF_Err_OUT_OF_MEMORY when the working rows cannot be had. Nothing throws.
// - Speed: the vector kernels (simd_kernels.h) draw where the processor has them, within one
//   step of the scalar reference; large draws share their rows out over the render threads.
#pragma once

#include "AE_EffectCB.h"
#include "AE_EffectPixelFormat.h"
#include "geometry.h"
#include "simd_kernels.h"

namespace plurion::host {

class ThreadPool;

// What the host's composition and render settings add to every draw.
struct DrawSettings {
    MotionBlurSettings motion_blur;
    ThreadPool* pool = nullptr; // rows of large draws are shared out over it; null: one thread
};

struct TransformRequest {
    PF_Quality quality = PF_Quality_HI;
    PF_ModeFlags m_flags = PF_MF_Alpha_STRAIGHT;
    PF_Field field = PF_Field_FRAME;
    const PF_EffectWorld* src = nullptr;
    const PF_CompositeMode* comp_mode = nullptr;
    const PF_MaskWorld* mask_world = nullptr;
    const PF_FloatMatrix* matrices = nullptr;
    A_long num_matrices = 0;
    PF_Boolean src2dst_matrix = 1; // 0: the matrices map destination to source
    const PF_Rect* dest_rect = nullptr;
    PF_EffectWorld* dst = nullptr;
    DrawSettings settings;
    // Off: every pixel goes through the scalar reference kernels, so tests can compare them.
    bool allow_fast_paths = true;
    // The vector kernels to use, capped at what the processor runs.
    SimdLevel simd = SimdLevel::kAvx512;
};

PF_Err TransformWorld(const TransformRequest& request);

// The same with the arguments in the order of the interface's callback.
PF_Err TransformWorld(PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                      const PF_EffectWorld* src, const PF_CompositeMode* comp_mode,
                      const PF_MaskWorld* mask_world, const PF_FloatMatrix* matrices,
                      A_long num_matrices, PF_Boolean src2dst_matrix, const PF_Rect* dest_rect,
                      PF_EffectWorld* dst, const DrawSettings& settings = {});

// The opacity, 0..1, that TransformWorld applies to a world of the format.
float EffectiveOpacity(const PF_CompositeMode& mode, PF_PixelFormat format);

} // namespace plurion::host
