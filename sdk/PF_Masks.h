/* PF_Masks.h - the effect-side mask suite: renders a mask path into a world.
 *
 * Conventions: the path comes from the path query suite (AE_EffectSuites.h) and stays checked out
 * by the caller; feathers are in pixels, opacity from 0 to 1. The vendor packs this table to
 * two bytes, which changes nothing for a table of one pointer.
 */
#ifndef PLURION_SDK_PF_MASKS_H
#define PLURION_SDK_PF_MASKS_H

#include "A.h"
#include "AE_Effect.h"
#include "AE_EffectSuites.h"
#include "SPBasic.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PF_MASKS_MAJOR_VERSION 1
#define PF_MASKS_MINOR_VERSION 0

#define kPF_MaskSuite "AEGP Mask Suite"
#define kPF_MaskSuiteVersion1 1

typedef struct PF_MaskSuite1 {
    /* Draws the path into worldP, optionally limited to bboxPR0. */
    SPAPI A_Err (*PF_MaskWorldWithPath)(PF_ProgPtr effect_ref, PF_PathOutlinePtr* mask,
                                        PF_FpLong feather_x, PF_FpLong feather_y, PF_Boolean invert,
                                        PF_FpLong opacity, PF_Quality quality,
                                        PF_EffectWorld* worldP, PF_Rect* bboxPR0);
} PF_MaskSuite1;

#ifdef __cplusplus
}
#endif

#endif /* PLURION_SDK_PF_MASKS_H */
