/* AE_EffectCB.h - the utility callbacks that the host hands to every effect (PF_InData.utils):
 * sampling, blitting, filling, compositing, worlds, handles, maths and colour conversions.
 *
 * Conventions:
 * - Arguments come in the order inputs, then buffers that are changed, then outputs.
 * - Rectangles may be null, meaning the whole world.
 * - Worlds made with new_world are disposed with dispose_world by the effect; handles made with
 *   host_new_handle are disposed with host_dispose_handle.
 * - Angles passed to the maths functions are radians (PF_RAD_PER_DEGREE converts degrees).
 * - Layouts are those of the 64-bit Windows build.
 */
#ifndef PLURION_SDK_AE_EFFECTCB_H
#define PLURION_SDK_AE_EFFECTCB_H

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PF_PI 3.14159265358979323846
#define PF_2PI 6.28318530717958647692
#define PF_HALF_PI 1.57079632679489661923
#define PF_E 2.7182818284590452354
#define PF_SQRT2 1.41421356237309504880
#define PF_RAD_PER_DEGREE 0.01745329251994329576

/* ---- Kernel flags: for each pair the first value (0) is the default ------------------------- */

#define PF_KernelFlag_2D 0
#define PF_KernelFlag_1D (1 << 0)
#define PF_KernelFlag_UNNORMALIZED 0
#define PF_KernelFlag_NORMALIZED (1 << 1)
#define PF_KernelFlag_CLAMP 0
#define PF_KernelFlag_NO_CLAMP (1 << 2)
#define PF_KernelFlag_USE_LONG 0
#define PF_KernelFlag_USE_CHAR (1 << 3)
#define PF_KernelFlag_USE_FIXED (1 << 4)
#define PF_KernelFlag_USE_UNDEFINED ((1 << 4) | (1 << 3))
#define PF_KernelFlag_HORIZONTAL 0
#define PF_KernelFlag_VERTICAL (1 << 5)
#define PF_KernelFlag_TRANSPARENT_BORDERS 0
#define PF_KernelFlag_REPLICATE_BORDERS (1 << 6)
#define PF_KernelFlag_STRAIGHT_CONVOLVE 0
#define PF_KernelFlag_ALPHA_WEIGHT_CONVOLVE (1 << 7)

typedef A_u_long PF_KernelFlags;

/* Outside the image, samples read as transparent. */
enum { PF_SampleEdgeBehav_ZERO = 0 };
typedef A_u_long PF_SampleEdgeBehav;

/* ---- Transfer modes (PF_TransferMode) ---------------------------------------------------------
 */

enum {
    PF_Xfer_NONE = -1,
    PF_Xfer_COPY = 0,
    PF_Xfer_BEHIND = 1,
    PF_Xfer_IN_FRONT = 2,
    PF_Xfer_DISSOLVE = 3,
    PF_Xfer_ADD = 4,
    PF_Xfer_MULTIPLY = 5,
    PF_Xfer_SCREEN = 6,
    PF_Xfer_OVERLAY = 7,
    PF_Xfer_SOFT_LIGHT = 8,
    PF_Xfer_HARD_LIGHT = 9,
    PF_Xfer_DARKEN = 10,
    PF_Xfer_LIGHTEN = 11,
    PF_Xfer_DIFFERENCE = 12, /* the classic difference */
    PF_Xfer_HUE = 13,
    PF_Xfer_SATURATION = 14,
    PF_Xfer_COLOR = 15,
    PF_Xfer_LUMINOSITY = 16,
    PF_Xfer_MULTIPLY_ALPHA = 17,
    PF_Xfer_MULTIPLY_ALPHA_LUMA = 18,
    PF_Xfer_MULTIPLY_NOT_ALPHA = 19,
    PF_Xfer_MULTIPLY_NOT_ALPHA_LUMA = 20,
    PF_Xfer_ADDITIVE_PREMUL = 21,
    PF_Xfer_ALPHA_ADD = 22,
    PF_Xfer_COLOR_DODGE = 23, /* the classic colour dodge */
    PF_Xfer_COLOR_BURN = 24,  /* the classic colour burn */
    PF_Xfer_EXCLUSION = 25,
    PF_Xfer_DIFFERENCE2 = 26,
    PF_Xfer_COLOR_DODGE2 = 27,
    PF_Xfer_COLOR_BURN2 = 28,
    PF_Xfer_LINEAR_DODGE = 29,
    PF_Xfer_LINEAR_BURN = 30,
    PF_Xfer_LINEAR_LIGHT = 31,
    PF_Xfer_VIVID_LIGHT = 32,
    PF_Xfer_PIN_LIGHT = 33,
    PF_Xfer_HARD_MIX = 34,
    PF_Xfer_LIGHTER_COLOR = 35,
    PF_Xfer_DARKER_COLOR = 36,
    PF_Xfer_SUBTRACT = 37,
    PF_Xfer_DIVIDE = 38,
    PF_Xfer_RESERVED0 = 39,
    PF_Xfer_RESERVED1 = 40,
    PF_Xfer_NUM_MODES = 41
};

/* Older names of three modes. */
enum {
    PF_Xfer_TINT = PF_Xfer_LINEAR_DODGE,
    PF_Xfer_SHADE = PF_Xfer_LINEAR_BURN,
    PF_Xfer_INTENSE_LIGHT = PF_Xfer_VIVID_LIGHT
};

#define PF_TransferMode_ZERO_SRC_ALPHA_CLEARS_DST_ALPHA(TMODE)                                     \
    ((TMODE) == PF_Xfer_MULTIPLY_ALPHA || (TMODE) == PF_Xfer_MULTIPLY_ALPHA_LUMA)

/* Kept as published: it also answers true for PF_Xfer_COPY. */
#define PF_TransferMode_ZERO_SRC_ALPHA_LEAVES_DST_UNCHANGED(TMODE)                                 \
    (((TMODE) == PF_Xfer_MULTIPLY_ALPHA || (TMODE) == PF_Xfer_MULTIPLY_ALPHA_LUMA ||               \
      (TMODE) == PF_Xfer_ADDITIVE_PREMUL) == 0)

/* ---- Masks ------------------------------------------------------------------------------------
 */

enum {
    PF_MaskFlag_NONE = 0,          /* the mask's alpha */
    PF_MaskFlag_INVERTED = 1 << 0, /* inverted */
    PF_MaskFlag_LUMINANCE = 1 << 1 /* the mask's luminance instead of its alpha */
};
typedef A_long PF_MaskFlags;

typedef struct {
    PF_EffectWorld mask;
    PF_Point offset;
    PF_MaskFlags what_is_mask;
} PF_MaskWorld;

/* ---- Sampling ---------------------------------------------------------------------------------
 */

typedef struct {
    PF_Fixed x_radius; /* 0 for a point sample */
    PF_Fixed y_radius;
    PF_Fixed area;
    PF_EffectWorld* src;
    PF_SampleEdgeBehav samp_behave;
    A_long allow_asynch;
    A_long motion_blur;
    PF_CompositeMode comp_mode;
    PF_PixelPtr mask0;
    A_u_char* fcm_table;
    A_u_char* fcd_table;
    A_long reserved[8]; /* zero before begin_sampling */
} PF_SampPB;

/* Selectors for get_callback_addr. */
enum {
    PF_Callback_NONE = 0,
    PF_Callback_BEGIN_SAMPLING,
    PF_Callback_SUBPIXEL_SAMPLE,
    PF_Callback_AREA_SAMPLE,
    PF_Callback_OBSOLETE0,
    PF_Callback_END_SAMPLING,
    PF_Callback_COMPOSITE_RECT,
    PF_Callback_BLEND,
    PF_Callback_CONVOLVE,
    PF_Callback_COPY,
    PF_Callback_FILL,
    PF_Callback_GAUSSIAN,
    PF_Callback_ITERATE,
    PF_Callback_PREMUL,
    PF_Callback_PREMUL_COLOR,
    PF_Callback_RGB_TO_HLS,
    PF_Callback_HLS_TO_RGB,
    PF_Callback_RGB_TO_YIQ,
    PF_Callback_YIQ_TO_RGB,
    PF_Callback_LUMINANCE,
    PF_Callback_HUE,
    PF_Callback_LIGHTNESS,
    PF_Callback_SATURATION,
    PF_Callback_NEW_WORLD,
    PF_Callback_DISPOSE_WORLD,
    PF_Callback_ITERATE_ORIGIN,
    PF_Callback_ITERATE_LUT,
    PF_Callback_TRANSFER_RECT,
    PF_Callback_TRANSFORM_WORLD,
    PF_Callback_ITERATE_ORIGIN_NON_CLIP_SRC,
    PF_Callback_ITERATE_GENERIC,
    PF_Callback_SUBPIXEL_SAMPLE16,
    PF_Callback_AREA_SAMPLE16,
    PF_Callback_FILL16,
    PF_Callback_PREMUL_COLOR16,
    PF_Callback_ITERATE16,
    PF_Callback_ITERATE_ORIGIN16,
    PF_Callback_ITERATE_ORIGIN_NON_CLIP_SRC16
};
typedef A_long PF_CallbackID;

typedef PF_Err (*PF_CallbackFunc)(PF_ProgPtr, ...);

#define AEFX_MAX_PATH 260

/* Selectors for get_platform_data. The path selectors fill A_UTF16Char[AEFX_MAX_PATH]. */
enum {
    PF_PlatData_MAIN_WND = 0, /* Windows: the main window handle */
    PF_PlatData_EXE_FILE_PATH_DEPRECATED = 1,
    PF_PlatData_RES_FILE_PATH_DEPRECATED = 2,
    PF_PlatData_RES_REFNUM = 3,      /* macOS only */
    PF_PlatData_RES_DLLINSTANCE = 4, /* Windows: the module instance handle */
    PF_PlatData_SP_PLUG_REF = 5,
    PF_PlatData_BUNDLE_REF = 6, /* macOS only */
    PF_PlatData_EXE_FILE_PATH_W = 7,
    PF_PlatData_RES_FILE_PATH_W = 8
};
typedef A_long PF_PlatDataID;

enum { PF_Plane_ALPHA = 1, PF_Plane_RED = 2, PF_Plane_GREEN = 4, PF_Plane_BLUE = 8 };
typedef A_u_long PF_Plane;

/* ---- C library functions ----------------------------------------------------------------------
 */

typedef struct {
    A_FpLong (*atan)(A_FpLong);
    A_FpLong (*atan2)(A_FpLong y, A_FpLong x);
    A_FpLong (*ceil)(A_FpLong);
    A_FpLong (*cos)(A_FpLong);
    A_FpLong (*exp)(A_FpLong);
    A_FpLong (*fabs)(A_FpLong);
    A_FpLong (*floor)(A_FpLong);
    A_FpLong (*fmod)(A_FpLong x, A_FpLong y);
    A_FpLong (*hypot)(A_FpLong x, A_FpLong y);
    A_FpLong (*log)(A_FpLong);
    A_FpLong (*log10)(A_FpLong);
    A_FpLong (*pow)(A_FpLong x, A_FpLong y);
    A_FpLong (*sin)(A_FpLong);
    A_FpLong (*sqrt)(A_FpLong);
    A_FpLong (*tan)(A_FpLong);
    int (*sprintf)(A_char*, const A_char*, ...);
    A_char* (*strcpy)(A_char*, const A_char*);
    A_FpLong (*asin)(A_FpLong);
    A_FpLong (*acos)(A_FpLong);
    A_long ansi_procs[1];
} PF_ANSICallbacks;

/* ---- 8-bit colour-space conversions ------------------------------------------------------------
 */

typedef struct {
    PF_Err (*RGBtoHLS)(PF_ProgPtr effect_ref, PF_Pixel* rgb, PF_HLS_Pixel hls);
    PF_Err (*HLStoRGB)(PF_ProgPtr effect_ref, PF_HLS_Pixel hls, PF_Pixel* rgb);
    PF_Err (*RGBtoYIQ)(PF_ProgPtr effect_ref, PF_Pixel* rgb, PF_YIQ_Pixel yiq);
    PF_Err (*YIQtoRGB)(PF_ProgPtr effect_ref, PF_YIQ_Pixel yiq, PF_Pixel* rgb);
    PF_Err (*Luminance)(PF_ProgPtr effect_ref, PF_Pixel* rgb, A_long* lum100); /* 100 x luma */
    PF_Err (*Hue)(PF_ProgPtr effect_ref, PF_Pixel* rgb, A_long* hue);          /* 0-255 */
    PF_Err (*Lightness)(PF_ProgPtr effect_ref, PF_Pixel* rgb, A_long* lightness);
    PF_Err (*Saturation)(PF_ProgPtr effect_ref, PF_Pixel* rgb, A_long* saturation);
} PF_ColorCallbacks;

/* Batch sampling is no longer offered; the types stay for source compatibility. */
typedef void* PF_BatchSampleFunc;
typedef void* PF_BatchSample16Func;

#define PF_Iterations_ONCE_PER_PROCESSOR (-1)
#define PF_Iteratations_ONCE_PER_PROCESSOR PF_Iterations_ONCE_PER_PROCESSOR

enum {
    PF_NewWorldFlag_NONE = 0,
    PF_NewWorldFlag_CLEAR_PIXELS = 1 << 0,
    PF_NewWorldFlag_DEEP_PIXELS = 1 << 1,
    PF_NewWorldFlag_RESERVED0 = 1 << 2,
    PF_NewWorldFlag_RESERVED1 = 1 << 3
};
typedef A_long PF_NewWorldFlags;

/* Per-pixel functions of the iterate callbacks. The host may run them on several threads at
 * once, so whatever refconP points to must be read-only or synchronised. */
typedef PF_Err (*PF_IteratePixel8Func)(void* refconP, A_long xL, A_long yL, PF_Pixel* inP,
                                       PF_Pixel* outP);
typedef PF_Err (*PF_IteratePixel16Func)(void* refconP, A_long xL, A_long yL, PF_Pixel16* inP,
                                        PF_Pixel16* outP);
typedef PF_Err (*PF_IteratePixelFloatFunc)(void* refconP, A_long xL, A_long yL, PF_PixelFloat* inP,
                                           PF_PixelFloat* outP);

/* ---- The utility callback table ---------------------------------------------------------------
 */

typedef struct _PF_UtilCallbacks {
    PF_Err (*begin_sampling)(PF_ProgPtr effect_ref, PF_Quality qual, PF_ModeFlags mf,
                             PF_SampPB* params);
    PF_Err (*subpixel_sample)(PF_ProgPtr effect_ref, PF_Fixed x, PF_Fixed y,
                              const PF_SampPB* params, PF_Pixel* dst_pixel);
    PF_Err (*area_sample)(PF_ProgPtr effect_ref, PF_Fixed x, PF_Fixed y, const PF_SampPB* params,
                          PF_Pixel* dst_pixel);
    void* get_batch_func_is_deprecated;
    PF_Err (*end_sampling)(PF_ProgPtr effect_ref, PF_Quality qual, PF_ModeFlags mf,
                           PF_SampPB* params);
    PF_Err (*composite_rect)(PF_ProgPtr effect_ref, PF_Rect* src_rect, A_long src_opacity,
                             PF_EffectWorld* source_wld, A_long dest_x, A_long dest_y,
                             PF_Field field_rdr, PF_XferMode xfer_mode, PF_EffectWorld* dest_wld);
    /* ratio 0 gives src1, 0x10000 gives src2. */
    PF_Err (*blend)(PF_ProgPtr effect_ref, const PF_EffectWorld* src1, const PF_EffectWorld* src2,
                    PF_Fixed ratio, PF_EffectWorld* dst);
    PF_Err (*convolve)(PF_ProgPtr effect_ref, PF_EffectWorld* src, const PF_Rect* area,
                       PF_KernelFlags flags, A_long kernel_size, void* a_kernel, void* r_kernel,
                       void* g_kernel, void* b_kernel, PF_EffectWorld* dst);
    /* Scales the source rectangle onto the destination rectangle. */
    PF_Err (*copy)(PF_ProgPtr effect_ref, PF_EffectWorld* src, PF_EffectWorld* dst, PF_Rect* src_r,
                   PF_Rect* dst_r);
    /* A null colour fills with transparent black. */
    PF_Err (*fill)(PF_ProgPtr effect_ref, const PF_Pixel* color, const PF_Rect* dst_rect,
                   PF_EffectWorld* world);
    PF_Err (*gaussian_kernel)(PF_ProgPtr effect_ref, A_FpLong kRadius, PF_KernelFlags flags,
                              A_FpLong multiplier, A_long* diameter, void* kernel);
    PF_Err (*iterate)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                      PF_EffectWorld* src, const PF_Rect* area, void* refcon,
                      PF_IteratePixel8Func pix_fn, PF_EffectWorld* dst);
    PF_Err (*premultiply)(PF_ProgPtr effect_ref, A_long forward, PF_EffectWorld* dst);
    PF_Err (*premultiply_color)(PF_ProgPtr effect_ref, PF_EffectWorld* src, const PF_Pixel* color,
                                A_long forward, PF_EffectWorld* dst);
    PF_Err (*new_world)(PF_ProgPtr effect_ref, A_long width, A_long height, PF_NewWorldFlags flags,
                        PF_EffectWorld* world);
    PF_Err (*dispose_world)(PF_ProgPtr effect_ref, PF_EffectWorld* world);
    PF_Err (*iterate_origin)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                             PF_EffectWorld* src, const PF_Rect* area, const PF_Point* origin,
                             void* refcon, PF_IteratePixel8Func pix_fn, PF_EffectWorld* dst);
    PF_Err (*iterate_lut)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                          PF_EffectWorld* src, const PF_Rect* area, A_u_char* a_lut0,
                          A_u_char* r_lut0, A_u_char* g_lut0, A_u_char* b_lut0,
                          PF_EffectWorld* dst);
    PF_Err (*transfer_rect)(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags,
                            PF_Field field, const PF_Rect* src_rec, const PF_EffectWorld* src_world,
                            const PF_CompositeMode* comp_mode, const PF_MaskWorld* mask_world0,
                            A_long dest_x, A_long dest_y, PF_EffectWorld* dst_world);
    /* Resamples src_world through each matrix (several matrices give motion blur) and
     * composites the result into dst_world inside dest_rect. */
    PF_Err (*transform_world)(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags,
                              PF_Field field, const PF_EffectWorld* src_world,
                              const PF_CompositeMode* comp_mode, const PF_MaskWorld* mask_world0,
                              const PF_FloatMatrix* matrices, A_long num_matrices,
                              PF_Boolean src2dst_matrix, const PF_Rect* dest_rect,
                              PF_EffectWorld* dst_world);
    PF_Handle (*host_new_handle)(A_u_longlong size);
    void* (*host_lock_handle)(PF_Handle pf_handle);
    void (*host_unlock_handle)(PF_Handle pf_handle);
    void (*host_dispose_handle)(PF_Handle pf_handle);
    PF_Err (*get_callback_addr)(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags mode_flags,
                                PF_CallbackID which_callback, PF_CallbackFunc* fn_ptr);
    PF_Err (*app)(PF_ProgPtr, A_long, ...);
    PF_ANSICallbacks ansi;
    PF_ColorCallbacks colorCB;
    PF_Err (*get_platform_data)(PF_ProgPtr effect_ref, PF_PlatDataID which, void* data);
    A_u_longlong (*host_get_handle_size)(PF_Handle pf_handle);
    PF_Err (*iterate_origin_non_clip_src)(PF_InData* in_data, A_long progress_base,
                                          A_long progress_final, PF_EffectWorld* src,
                                          const PF_Rect* area, const PF_Point* origin, void* refcon,
                                          PF_IteratePixel8Func pix_fn, PF_EffectWorld* dst);
    PF_Err (*iterate_generic)(A_long iterationsL, void* refconPV,
                              PF_Err (*fn_func)(void* refconPV, A_long thread_indexL, A_long i,
                                                A_long iterationsL));
    /* The handle's value may change. */
    PF_Err (*host_resize_handle)(A_u_longlong new_sizeL, PF_Handle* handlePH);
    PF_Err (*subpixel_sample16)(PF_ProgPtr effect_ref, PF_Fixed x, PF_Fixed y,
                                const PF_SampPB* params, PF_Pixel16* dst_pixel);
    PF_Err (*area_sample16)(PF_ProgPtr effect_ref, PF_Fixed x, PF_Fixed y, const PF_SampPB* params,
                            PF_Pixel16* dst_pixel);
    PF_Err (*fill16)(PF_ProgPtr effect_ref, const PF_Pixel16* color, const PF_Rect* dst_rect,
                     PF_EffectWorld* world);
    PF_Err (*premultiply_color16)(PF_ProgPtr effect_ref, PF_EffectWorld* src,
                                  const PF_Pixel16* color, A_long forward, PF_EffectWorld* dst);
    PF_Err (*iterate16)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                        PF_EffectWorld* src, const PF_Rect* area, void* refcon,
                        PF_IteratePixel16Func pix_fn, PF_EffectWorld* dst);
    PF_Err (*iterate_origin16)(PF_InData* in_data, A_long progress_base, A_long progress_final,
                               PF_EffectWorld* src, const PF_Rect* area, const PF_Point* origin,
                               void* refcon, PF_IteratePixel16Func pix_fn, PF_EffectWorld* dst);
    PF_Err (*iterate_origin_non_clip_src16)(PF_InData* in_data, A_long progress_base,
                                            A_long progress_final, PF_EffectWorld* src,
                                            const PF_Rect* area, const PF_Point* origin,
                                            void* refcon, PF_IteratePixel16Func pix_fn,
                                            PF_EffectWorld* dst);
    /* A null result means the world has another depth. */
    PF_Err (*get_pixel_data8)(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0, PF_Pixel8** pixPP);
    PF_Err (*get_pixel_data16)(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0, PF_Pixel16** pixPP);
    A_long reserved[1];
} PF_UtilCallbacks;

/* ---- Call macros; they expect the PF_InData pointer to be named in_data -------------------------
 */

#define PF_BEGIN_SAMPLING(QUALITY, PARAMS)                                                         \
    (*in_data->utils->begin_sampling)(in_data->effect_ref, (QUALITY), PF_MF_Alpha_STRAIGHT,        \
                                      (PARAMS))
#define PF_SUBPIXEL_SAMPLE(X, Y, PARAMS, DST_PXL)                                                  \
    (*in_data->utils->subpixel_sample)(in_data->effect_ref, (X), (Y), (PARAMS), (DST_PXL))
#define PF_AREA_SAMPLE(X, Y, PARAMS, DST_PXL)                                                      \
    (*in_data->utils->area_sample)(in_data->effect_ref, (X), (Y), (PARAMS), (DST_PXL))
#define PF_END_SAMPLING(QUALITY, PARAMS)                                                           \
    (*in_data->utils->end_sampling)(in_data->effect_ref, (QUALITY), PF_MF_Alpha_STRAIGHT, (PARAMS))
#define PF_BLEND(SRC1, SRC2, RATIO, DST)                                                           \
    (*in_data->utils->blend)(in_data->effect_ref, (SRC1), (SRC2), (RATIO), (DST))
#define PF_CONVOLVE(SRC, RCT_P, FLAGS, KRNL_SZ, AK, RK, GK, BK, DST)                               \
    (*in_data->utils->convolve)(in_data->effect_ref, (SRC), (RCT_P), (FLAGS), (KRNL_SZ), (AK),     \
                                (RK), (GK), (BK), (DST))
#define PF_COPY(SRC, DST, SRC_RECT, DST_RECT)                                                      \
    (*in_data->utils->copy)(in_data->effect_ref, (SRC), (DST), (SRC_RECT), (DST_RECT))
#define PF_FILL(COLOR, DST_RECT, DST)                                                              \
    (*in_data->utils->fill)(in_data->effect_ref, (COLOR), (DST_RECT), (DST))
#define PF_GAUSSIAN_KERNEL(K_RAD, FLAGS, MULT, DIAM, KERNEL)                                       \
    (*in_data->utils->gaussian_kernel)(in_data->effect_ref, (K_RAD), (FLAGS), (MULT), (DIAM),      \
                                       (KERNEL))
#define PF_ITERATE(PROG_BASE, PROG_FINAL, SRC, RCT_P, REFCON, PIX_FUNC, DST)                       \
    (*in_data->utils->iterate)(in_data, (PROG_BASE), (PROG_FINAL), (SRC), (RCT_P), (REFCON),       \
                               (PIX_FUNC), (DST))
#define PF_ITERATE16(PROG_BASE, PROG_FINAL, SRC, RCT_P, REFCON, PIX_FUNC, DST)                     \
    (*in_data->utils->iterate16)(in_data, (PROG_BASE), (PROG_FINAL), (SRC), (RCT_P), (REFCON),     \
                                 (PIX_FUNC), (DST))
#define PF_PREMUL(FORWARD, DST)                                                                    \
    (*in_data->utils->premultiply)(in_data->effect_ref, (FORWARD), (DST))
#define PF_PREMUL_COLOR(SRC, COLOR, FORWARD, DST)                                                  \
    (*in_data->utils->premultiply_color)(in_data->effect_ref, (SRC), (COLOR), (FORWARD), (DST))
#define PF_NEW_WORLD(WIDTH, HEIGHT, FLAGS, WORLD)                                                  \
    (*in_data->utils->new_world)(in_data->effect_ref, (WIDTH), (HEIGHT), (FLAGS), (WORLD))
#define PF_DISPOSE_WORLD(WORLD) (*in_data->utils->dispose_world)(in_data->effect_ref, (WORLD))
#define PF_ITERATE_ORIGIN(PROG_BASE, PROG_FINAL, SRC, RCT_P, OR, REFCON, PIX_FUNC, DST)            \
    (*in_data->utils->iterate_origin)(in_data, (PROG_BASE), (PROG_FINAL), (SRC), (RCT_P), (OR),    \
                                      (REFCON), (PIX_FUNC), (DST))
#define PF_ITERATE_ORIGIN16(PROG_BASE, PROG_FINAL, SRC, RCT_P, OR, REFCON, PIX_FUNC, DST)          \
    (*in_data->utils->iterate_origin16)(in_data, (PROG_BASE), (PROG_FINAL), (SRC), (RCT_P), (OR),  \
                                        (REFCON), (PIX_FUNC), (DST))
#define PF_ITERATE_LUT(PROG_BASE, PROG_FINAL, SRC, RCT_P, A_LUT, R_LUT, G_LUT, B_LUT, DST)         \
    (*in_data->utils->iterate_lut)(in_data, (PROG_BASE), (PROG_FINAL), (SRC), (RCT_P), (A_LUT),    \
                                   (R_LUT), (G_LUT), (B_LUT), (DST))
#define PF_TRANSFER_RECT(QUALITY, M_FLAGS, FIELD, SRC_REC, SRC_WORLD, COMP_MODE, MASK_WORLD_0,     \
                         DST_X, DST_Y, DST)                                                        \
    (*in_data->utils->transfer_rect)(in_data->effect_ref, (QUALITY), (M_FLAGS), (FIELD),           \
                                     (SRC_REC), (SRC_WORLD), (COMP_MODE), (MASK_WORLD_0), (DST_X), \
                                     (DST_Y), (DST))
#define PF_TRANSFORM_WORLD(QUALITY, M_FLAGS, FIELD, SRC_WORLD, COMP_MODE, MASK_WORLD_0, MATRICES,  \
                           NUM_MATRICES, SRC2DST_MATRIX, DST_RECT, DST)                            \
    (*in_data->utils->transform_world)(in_data->effect_ref, (QUALITY), (M_FLAGS), (FIELD),         \
                                       (SRC_WORLD), (COMP_MODE), (MASK_WORLD_0), (MATRICES),       \
                                       (NUM_MATRICES), (SRC2DST_MATRIX), (DST_RECT), (DST))
#define PF_ITERATE_ORIGIN_NON_SRC_CLIP(PROG_BASE, PROG_FINAL, SRC, RCT_P, OR, REFCON, PIX_FUNC,    \
                                       DST)                                                        \
    (*in_data->utils->iterate_origin_non_clip_src)(in_data, (PROG_BASE), (PROG_FINAL), (SRC),      \
                                                   (RCT_P), (OR), (REFCON), (PIX_FUNC), (DST))

#define PF_NEW_HANDLE(SIZE) (*in_data->utils->host_new_handle)((SIZE))
#define PF_DISPOSE_HANDLE(PF_HANDLE) (*in_data->utils->host_dispose_handle)((PF_Handle)(PF_HANDLE))
#define PF_LOCK_HANDLE(PF_HANDLE) (*in_data->utils->host_lock_handle)((PF_Handle)(PF_HANDLE))
#define PF_UNLOCK_HANDLE(PF_HANDLE) (*in_data->utils->host_unlock_handle)((PF_Handle)(PF_HANDLE))
#define PF_GET_HANDLE_SIZE(PF_HANDLE)                                                              \
    (*in_data->utils->host_get_handle_size)((PF_Handle)(PF_HANDLE))
#define PF_RESIZE_HANDLE(NEW_SIZE, PF_HANDLE_P)                                                    \
    (*in_data->utils->host_resize_handle)((NEW_SIZE), (PF_Handle*)(PF_HANDLE_P))

#define PF_GET_PLATFORM_DATA(ID, DATA)                                                             \
    (*in_data->utils->get_platform_data)(in_data->effect_ref, (ID), (DATA))
#define PF_GET_PIXEL_DATA8(WORLDP, PIXELPTR0, PIXEL8PP)                                            \
    (*in_data->utils->get_pixel_data8)((WORLDP), (PIXELPTR0), (PIXEL8PP))
#define PF_GET_PIXEL_DATA16(WORLDP, PIXELPTR0, PIXEL16PP)                                          \
    (*in_data->utils->get_pixel_data16)((WORLDP), (PIXELPTR0), (PIXEL16PP))

#define PF_ACOS(X) (*in_data->utils->ansi.acos)(X)
#define PF_ASIN(X) (*in_data->utils->ansi.asin)(X)
#define PF_ATAN(X) (*in_data->utils->ansi.atan)(X)
#define PF_ATAN2(Y, X) (*in_data->utils->ansi.atan2)((Y), (X))
#define PF_CEIL(X) (*in_data->utils->ansi.ceil)(X)
#define PF_COS(X) (*in_data->utils->ansi.cos)(X)
#define PF_EXP(X) (*in_data->utils->ansi.exp)(X)
#define PF_FABS(X) (*in_data->utils->ansi.fabs)(X)
#define PF_FLOOR(X) (*in_data->utils->ansi.floor)(X)
#define PF_FMOD(X, Y) (*in_data->utils->ansi.fmod)((X), (Y))
#define PF_HYPOT(X, Y) (*in_data->utils->ansi.hypot)((X), (Y))
#define PF_LOG(X) (*in_data->utils->ansi.log)(X)
#define PF_LOG10(X) (*in_data->utils->ansi.log10)(X)
#define PF_POW(X, Y) (*in_data->utils->ansi.pow)((X), (Y))
#define PF_SIN(X) (*in_data->utils->ansi.sin)(X)
#define PF_SQRT(X) (*in_data->utils->ansi.sqrt)(X)
#define PF_TAN(X) (*in_data->utils->ansi.tan)(X)
/* Used as PF_SPRINTF(buffer, format, ...). */
#define PF_SPRINTF (*in_data->utils->ansi.sprintf)
#define PF_STRCPY(DST, SRC) (*in_data->utils->ansi.strcpy)((DST), (SRC))

#define PF_RGB_TO_HLS(RGB, HLS)                                                                    \
    (*in_data->utils->colorCB.RGBtoHLS)(in_data->effect_ref, (RGB), (HLS))
#define PF_HLS_TO_RGB(HLS, RGB)                                                                    \
    (*in_data->utils->colorCB.HLStoRGB)(in_data->effect_ref, (HLS), (RGB))
#define PF_RGB_TO_YIQ(RGB, YIQ)                                                                    \
    (*in_data->utils->colorCB.RGBtoYIQ)(in_data->effect_ref, (RGB), (YIQ))
#define PF_YIQ_TO_RGB(YIQ, RGB)                                                                    \
    (*in_data->utils->colorCB.YIQtoRGB)(in_data->effect_ref, (YIQ), (RGB))
#define PF_LUMINANCE(RGB, LUM100)                                                                  \
    (*in_data->utils->colorCB.Luminance)(in_data->effect_ref, (RGB), (LUM100))
#define PF_HUE(RGB, HUE) (*in_data->utils->colorCB.Hue)(in_data->effect_ref, (RGB), (HUE))
#define PF_LIGHTNESS(RGB, LIGHTNESS)                                                               \
    (*in_data->utils->colorCB.Lightness)(in_data->effect_ref, (RGB), (LIGHTNESS))
#define PF_SATURATION(RGB, SATURATION)                                                             \
    (*in_data->utils->colorCB.Saturation)(in_data->effect_ref, (RGB), (SATURATION))

#ifdef __cplusplus
}
#endif

#endif /* PLURION_SDK_AE_EFFECTCB_H */
