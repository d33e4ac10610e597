/* AE_Effect.h - the effect protocol: commands, flags, parameter records, the blocks handed to
 * the effect on every call, and the smart-render records.
 *
 * Conventions:
 * - The host calls the effect's entry (PF_FilterProc) with one PF_Cmd at a time. PF_InData is
 *   read-only for the effect; PF_OutData is where it answers. Results are PF_Err codes, 0 meaning
 *   success.
 * - Times are integers in units of time_scale per second. PF_Fixed values are signed 16.16 fixed
 *   point; angles are degrees in PF_Fixed.
 * - Worlds (PF_EffectWorld) handed in by the host, and layers checked out through the host's
 *   callbacks, belong to the host: the effect checks in what it checked out and disposes only the
 *   worlds it created itself.
 * - Handles (PF_Handle) come from the host's handle functions and are freed through them.
 * - Layouts are those of the 64-bit Windows build: natural alignment, 32-bit "long" types.
 */
#ifndef PLURION_SDK_AE_EFFECT_H
#define PLURION_SDK_AE_EFFECT_H

#include "A.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Builds a four-character code as the Windows and macOS compilers evaluate 'abcd'. */
#define PLURION_SDK_FOURCC(a, b, c, d)                                                             \
    ((A_long)(((A_u_long)(a) << 24) | ((A_u_long)(b) << 16) | ((A_u_long)(c) << 8) | (A_u_long)(d)))

/* ---- Plug-in version word --------------------------------------------------------------------
 * Bits 0-8 build, 9-10 stage, 11-14 bug-fix, 15-18 minor, 19-21 major (low three bits) and
 * 26-29 the major version's high bits. */

#define PF_Vers_BUILD_BITS 0x1ffU
#define PF_Vers_BUILD_SHIFT 0
#define PF_Vers_STAGE_BITS 0x3U
#define PF_Vers_STAGE_SHIFT 9
#define PF_Vers_BUGFIX_BITS 0xfU
#define PF_Vers_BUGFIX_SHIFT 11
#define PF_Vers_SUBVERS_BITS 0xfU
#define PF_Vers_SUBVERS_SHIFT 15
#define PF_Vers_VERS_BITS 0x7U
#define PF_Vers_VERS_SHIFT 19
#define PF_Vers_VERS_HIGH_BITS 0xfU
#define PF_Vers_VERS_HIGH_SHIFT 26
#define PF_Vers_VERS_LOW_SHIFT 3
#define PF_Vers_VERS_HIGH(vers) ((vers) >> PF_Vers_VERS_LOW_SHIFT)

#define PF_VERSION(vers, subvers, bugvers, stage, build)                                           \
    ((A_u_long)(((((A_u_long)PF_Vers_VERS_HIGH(vers)) & PF_Vers_VERS_HIGH_BITS)                    \
                 << PF_Vers_VERS_HIGH_SHIFT) |                                                     \
                ((((A_u_long)(vers)) & PF_Vers_VERS_BITS) << PF_Vers_VERS_SHIFT) |                 \
                ((((A_u_long)(subvers)) & PF_Vers_SUBVERS_BITS) << PF_Vers_SUBVERS_SHIFT) |        \
                ((((A_u_long)(bugvers)) & PF_Vers_BUGFIX_BITS) << PF_Vers_BUGFIX_SHIFT) |          \
                ((((A_u_long)(stage)) & PF_Vers_STAGE_BITS) << PF_Vers_STAGE_SHIFT) |              \
                ((((A_u_long)(build)) & PF_Vers_BUILD_BITS) << PF_Vers_BUILD_SHIFT)))

#define PF_Version_VERS(vers)                                                                      \
    (((((A_u_long)(vers)) >> PF_Vers_VERS_SHIFT) & PF_Vers_VERS_BITS) +                            \
     (((((A_u_long)(vers)) >> PF_Vers_VERS_HIGH_SHIFT) & PF_Vers_VERS_HIGH_BITS)                   \
      << PF_Vers_VERS_LOW_SHIFT))
#define PF_Version_SUBVERS(vers)                                                                   \
    ((((A_u_long)(vers)) >> PF_Vers_SUBVERS_SHIFT) & PF_Vers_SUBVERS_BITS)
#define PF_Version_BUGFIX(vers) ((((A_u_long)(vers)) >> PF_Vers_BUGFIX_SHIFT) & PF_Vers_BUGFIX_BITS)
#define PF_Version_STAGE(vers) ((((A_u_long)(vers)) >> PF_Vers_STAGE_SHIFT) & PF_Vers_STAGE_BITS)
#define PF_Version_BUILD(vers) ((((A_u_long)(vers)) >> PF_Vers_BUILD_SHIFT) & PF_Vers_BUILD_BITS)

enum { PF_Stage_DEVELOP = 0, PF_Stage_ALPHA = 1, PF_Stage_BETA = 2, PF_Stage_RELEASE = 3 };
typedef A_long PF_Stage;

/* ---- Interface versions (major, minor) by host release ------------------------------------ */

#define PF_AE234_PLUG_IN_VERSION 13
#define PF_AE234_PLUG_IN_SUBVERS 28
#define PF_AE220_PLUG_IN_VERSION 13
#define PF_AE220_PLUG_IN_SUBVERS 27
#define PF_AE184_PLUG_IN_VERSION 13
#define PF_AE184_PLUG_IN_SUBVERS 26
#define PF_AE182_PLUG_IN_VERSION 13
#define PF_AE182_PLUG_IN_SUBVERS 25
#define PF_AE180_PLUG_IN_VERSION 13
#define PF_AE180_PLUG_IN_SUBVERS 24
#define PF_AE177_PLUG_IN_VERSION 13
#define PF_AE177_PLUG_IN_SUBVERS 23
#define PF_AE176_PLUG_IN_VERSION 13
#define PF_AE176_PLUG_IN_SUBVERS 22
#define PF_AE175_PLUG_IN_VERSION 13
#define PF_AE175_PLUG_IN_SUBVERS 21
#define PF_AE171_PLUG_IN_VERSION 13
#define PF_AE171_PLUG_IN_SUBVERS 20
#define PF_AE170_PLUG_IN_VERSION 13
#define PF_AE170_PLUG_IN_SUBVERS 18
#define PF_AE161_PLUG_IN_VERSION 13
#define PF_AE161_PLUG_IN_SUBVERS 17
#define PF_AE160_PLUG_IN_VERSION 13
#define PF_AE160_PLUG_IN_SUBVERS 16
#define PF_AE151_PLUG_IN_VERSION 13
#define PF_AE151_PLUG_IN_SUBVERS 15
#define PF_AE150_PLUG_IN_VERSION 13
#define PF_AE150_PLUG_IN_SUBVERS 15
#define PF_AE142_PLUG_IN_VERSION 13
#define PF_AE142_PLUG_IN_SUBVERS 14
#define PF_AE140_PLUG_IN_VERSION 13
#define PF_AE140_PLUG_IN_SUBVERS 13
#define PF_AE138_PLUG_IN_VERSION 13
#define PF_AE138_PLUG_IN_SUBVERS 11
#define PF_AE136_PLUG_IN_VERSION 13
#define PF_AE136_PLUG_IN_SUBVERS 10
#define PF_AE135_PLUG_IN_VERSION 13
#define PF_AE135_PLUG_IN_SUBVERS 9
#define PF_AE130_PLUG_IN_VERSION 13
#define PF_AE130_PLUG_IN_SUBVERS 7
#define PF_AE122_PLUG_IN_VERSION 13
#define PF_AE122_PLUG_IN_SUBVERS 6
#define PF_AE121_PLUG_IN_VERSION 13
#define PF_AE121_PLUG_IN_SUBVERS 5
#define PF_AE120_PLUG_IN_VERSION 13
#define PF_AE120_PLUG_IN_SUBVERS 4
#define PF_AE1101_PLUG_IN_VERSION 13
#define PF_AE1101_PLUG_IN_SUBVERS 3
#define PF_AE110_PLUG_IN_VERSION 13
#define PF_AE110_PLUG_IN_SUBVERS 2
#define PF_AE105_PLUG_IN_VERSION 13
#define PF_AE105_PLUG_IN_SUBVERS 1
#define PF_AE100_PLUG_IN_VERSION 13
#define PF_AE100_PLUG_IN_SUBVERS 0
#define PF_AE90_PLUG_IN_VERSION 12
#define PF_AE90_PLUG_IN_SUBVERS 14
#define PF_AE80_PLUG_IN_VERSION 12
#define PF_AE80_PLUG_IN_SUBVERS 13
#define PF_AE70_PLUG_IN_VERSION 12
#define PF_AE70_PLUG_IN_SUBVERS 12
#define PF_AE65_PLUG_IN_VERSION 12
#define PF_AE65_PLUG_IN_SUBVERS 11
#define PF_AE41_PLUG_IN_VERSION 12
#define PF_AE41_PLUG_IN_SUBVERS 2
#define PF_AE40_PLUG_IN_VERSION 12
#define PF_AE40_PLUG_IN_SUBVERS 1
#define PF_AE31_PLUG_IN_VERSION 11
#define PF_AE31_PLUG_IN_SUBVERS 6
#define PF_AE31_PLUG_IN_SUBVERS_STRICTIFY 8

/* The interface version these declarations describe. */
#define PF_AE_PLUG_IN_VERSION PF_AE234_PLUG_IN_VERSION
#define PF_AE_PLUG_IN_SUBVERS PF_AE234_PLUG_IN_SUBVERS

/* ---- Limits ---------------------------------------------------------------------------------
 * Lengths exclude the terminating NUL; the buffers are one byte longer. */

#define PF_MAX_EFFECT_NAME_LEN 31
#define PF_MAX_EFFECT_CATEGORY_NAME_LEN 31
#define PF_MAX_EFFECT_PARAM_NAME_LEN 31
#define PF_MAX_PARAM_DESCRIPTION_LEN 31
#define PF_MAX_PARAM_VALUE_LEN 31
#define PF_MAX_EFFECT_MSG_LEN 255
#define PF_AE65_AND_EARLIER_MAX_NUM_EFFECT_PARAMS 127
#define PF_MAX_WORLD_WIDTH 30000
#define PF_MAX_WORLD_HEIGHT 30000
#define PF_FIRST_ERR 512

/* Standard Effect-menu categories. */
#define PF_Category_BLUR_AND_SHARPEN "Blur & Sharpen"
#define PF_Category_CHANNEL "Channel"
#define PF_Category_DISTORT "Distort"
#define PF_Category_IMAGE_CONTROL "Image Control"
#define PF_Category_KEYING "Keying"
#define PF_Category_PERSPECTIVE "Perspective"
#define PF_Category_STYLIZE "Stylize"
#define PF_Category_TEXT "Text"
#define PF_Category_VIDEO "Video"
#define PF_Category_TRANSITION "Transition"
#define PF_Category_AUDIO "Audio"
#define PF_Category_OTHER "Other"

/* ---- Small enumerations ---------------------------------------------------------------------- */

enum { PF_Quality_DRAWING_AUDIO = -1, PF_Quality_LO = 0, PF_Quality_HI = 1 };
typedef A_long PF_Quality;

enum { PF_MF_Alpha_PREMUL = 0, PF_MF_Alpha_STRAIGHT = 1 << 0 };
typedef A_long PF_ModeFlags;

#define PF_ALPHA_PREMUL(F) (((F)&0x00000001) == 0)
#define PF_ALPHA_STRAIGHT(F) (((F)&0x00000001))

enum { PF_Field_FRAME = 0, PF_Field_UPPER = 1, PF_Field_LOWER = 2 };
typedef A_long PF_Field;

enum {
    PF_Param_RESERVED = -1,
    PF_Param_LAYER = 0,
    PF_Param_SLIDER = 1,     /* integer slider, superseded by the float slider */
    PF_Param_FIX_SLIDER = 2, /* fixed-point slider, superseded by the float slider */
    PF_Param_ANGLE = 3,
    PF_Param_CHECKBOX = 4,
    PF_Param_COLOR = 5,
    PF_Param_POINT = 6,
    PF_Param_POPUP = 7,
    PF_Param_CUSTOM = 8,
    PF_Param_NO_DATA = 9,
    PF_Param_FLOAT_SLIDER = 10,
    PF_Param_ARBITRARY_DATA = 11,
    PF_Param_PATH = 12,
    PF_Param_GROUP_START = 13,
    PF_Param_GROUP_END = 14,
    PF_Param_BUTTON = 15,
    PF_Param_RESERVED2 = 16,
    PF_Param_RESERVED3 = 17,
    PF_Param_POINT_3D = 18
};
typedef A_long PF_ParamType;

enum {
    PF_ParamFlag_RESERVED1 = 1 << 0,
    PF_ParamFlag_CANNOT_TIME_VARY = 1 << 1, /* no keyframes */
    PF_ParamFlag_CANNOT_INTERP = 1 << 2,    /* values change only in steps */
    PF_ParamFlag_RESERVED2 = 1 << 3,
    PF_ParamFlag_RESERVED3 = 1 << 4,
    PF_ParamFlag_COLLAPSE_TWIRLY = 1 << 5, /* twirled up in the effect controls */
    PF_ParamFlag_SUPERVISE = 1 << 6,       /* changes send PF_Cmd_USER_CHANGED_PARAM */
    PF_ParamFlag_START_COLLAPSED = PF_ParamFlag_COLLAPSE_TWIRLY,
    PF_ParamFlag_USE_VALUE_FOR_OLD_PROJECTS = 1 << 7,
    PF_ParamFlag_LAYER_PARAM_IS_TRACKMATTE = 1 << 7, /* layer parameters only; same bit */
    PF_ParamFlag_EXCLUDE_FROM_HAVE_INPUTS_CHANGED = 1 << 8,
    PF_ParamFlag_SKIP_REVEAL_WHEN_UNHIDDEN = 1 << 9
};
typedef A_long PF_ParamFlags;

enum {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    PF_Err_INTERNAL_STRUCT_DAMAGED = PF_FIRST_ERR, /* 512 */
    PF_Err_INVALID_INDEX = PF_FIRST_ERR + 1,
    PF_Err_UNRECOGNIZED_PARAM_TYPE = PF_FIRST_ERR + 2,
    PF_Err_INVALID_CALLBACK = PF_FIRST_ERR + 3,
    PF_Err_BAD_CALLBACK_PARAM = PF_FIRST_ERR + 4,
    PF_Interrupt_CANCEL = PF_FIRST_ERR + 5, /* the user stopped the render */
    PF_Err_CANNOT_PARSE_KEYFRAME_TEXT = PF_FIRST_ERR + 6
};
typedef A_long PF_Err;

enum {
    PF_WorldFlag_DEEP = 1 << 0, /* 16 bits per channel */
    PF_WorldFlag_WRITEABLE = 1 << 1,
    PF_WorldFlag_RESERVED0 = 1 << 24,
    PF_WorldFlag_RESERVED1 = 1 << 25,
    PF_WorldFlag_RESERVED2 = 1 << 26,
    PF_WorldFlag_RESERVED3 = 1 << 27,
    PF_WorldFlag_RESERVED4 = 1 << 28,
    PF_WorldFlag_RESERVED5 = 1 << 29,
    PF_WorldFlag_RESERVED6 = 1 << 30,
    PF_WorldFlag_RESERVED = INT32_MIN /* bit 31 */
};
typedef A_long PF_WorldFlags;

#define PF_WORLD_IS_DEEP(W) (((W)->world_flags & PF_WorldFlag_DEEP) != 0)

#define PF_MAX_CHAN8 255
#define PF_HALF_CHAN8 128
#define PF_MAX_CHAN16 32768
#define PF_HALF_CHAN16 16384

/* ---- Output flags (PF_OutData.out_flags) ------------------------------------------------------
 */

enum {
    PF_OutFlag_NONE = 0,
    PF_OutFlag_KEEP_RESOURCE_OPEN = 1 << 0,
    PF_OutFlag_WIDE_TIME_INPUT = 1 << 1,
    PF_OutFlag_NON_PARAM_VARY = 1 << 2,
    PF_OutFlag_RESERVED6 = 1 << 3,
    PF_OutFlag_SEQUENCE_DATA_NEEDS_FLATTENING = 1 << 4,
    PF_OutFlag_I_DO_DIALOG = 1 << 5,
    PF_OutFlag_USE_OUTPUT_EXTENT = 1 << 6,
    PF_OutFlag_SEND_DO_DIALOG = 1 << 7,
    PF_OutFlag_DISPLAY_ERROR_MESSAGE = 1 << 8, /* show return_msg as an error */
    PF_OutFlag_I_EXPAND_BUFFER = 1 << 9,
    PF_OutFlag_PIX_INDEPENDENT = 1 << 10,
    PF_OutFlag_I_WRITE_INPUT_BUFFER = 1 << 11,
    PF_OutFlag_I_SHRINK_BUFFER = 1 << 12,
    PF_OutFlag_WORKS_IN_PLACE = 1 << 13,
    PF_OutFlag_RESERVED8 = 1 << 14,
    PF_OutFlag_CUSTOM_UI = 1 << 15,
    PF_OutFlag_RESERVED7 = 1 << 16,
    PF_OutFlag_REFRESH_UI = 1 << 17,
    PF_OutFlag_NOP_RENDER = 1 << 18,
    PF_OutFlag_I_USE_SHUTTER_ANGLE = 1 << 19,
    PF_OutFlag_I_USE_AUDIO = 1 << 20,
    PF_OutFlag_I_AM_OBSOLETE = 1 << 21,
    PF_OutFlag_FORCE_RERENDER = 1 << 22,
    PF_OutFlag_PiPL_OVERRIDES_OUTDATA_OUTFLAGS = 1 << 23,
    PF_OutFlag_I_HAVE_EXTERNAL_DEPENDENCIES = 1 << 24,
    PF_OutFlag_DEEP_COLOR_AWARE = 1 << 25,
    PF_OutFlag_SEND_UPDATE_PARAMS_UI = 1 << 26,
    PF_OutFlag_AUDIO_FLOAT_ONLY = 1 << 27,
    PF_OutFlag_AUDIO_IIR = 1 << 28,
    PF_OutFlag_I_SYNTHESIZE_AUDIO = 1 << 29,
    PF_OutFlag_AUDIO_EFFECT_TOO = 1 << 30,
    PF_OutFlag_AUDIO_EFFECT_ONLY = INT32_MIN /* bit 31 */
};
typedef A_long PF_OutFlags;

/* ---- Second output flags word (PF_OutData.out_flags2) -----------------------------------------
 */

enum {
    PF_OutFlag2_NONE = 0,
    PF_OutFlag2_SUPPORTS_QUERY_DYNAMIC_FLAGS = 1 << 0,
    PF_OutFlag2_I_USE_3D_CAMERA = 1 << 1,
    PF_OutFlag2_I_USE_3D_LIGHTS = 1 << 2,
    PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG = 1 << 3,
    PF_OutFlag2_I_AM_THREADSAFE = 1 << 4,
    PF_OutFlag2_CAN_COMBINE_WITH_DESTINATION = 1 << 5,
    PF_OutFlag2_DOESNT_NEED_EMPTY_PIXELS = 1 << 6,
    PF_OutFlag2_REVEALS_ZERO_ALPHA = 1 << 7,
    PF_OutFlag2_PRESERVES_FULLY_OPAQUE_PIXELS = 1 << 8,
    PF_OutFlag2_SUPPORTS_SMART_RENDER = 1 << 10,
    PF_OutFlag2_RESERVED9 = 1 << 11,
    PF_OutFlag2_FLOAT_COLOR_AWARE = 1 << 12,
    PF_OutFlag2_I_USE_COLORSPACE_ENUMERATION = 1 << 13,
    PF_OutFlag2_I_AM_DEPRECATED = 1 << 14,
    PF_OutFlag2_PPRO_DO_NOT_CLONE_SEQUENCE_DATA_FOR_RENDER = 1 << 15,
    PF_OutFlag2_RESERVED10 = 1 << 16,
    PF_OutFlag2_AUTOMATIC_WIDE_TIME_INPUT = 1 << 17,
    PF_OutFlag2_I_USE_TIMECODE = 1 << 18,
    PF_OutFlag2_DEPENDS_ON_UNREFERENCED_MASKS = 1 << 19,
    PF_OutFlag2_OUTPUT_IS_WATERMARKED = 1 << 20,
    PF_OutFlag2_I_MIX_GUID_DEPENDENCIES = 1 << 21,
    PF_OutFlag2_AE13_5_THREADSAFE = 1 << 22,
    PF_OutFlag2_SUPPORTS_GET_FLATTENED_SEQUENCE_DATA = 1 << 23,
    PF_OutFlag2_CUSTOM_UI_ASYNC_MANAGER = 1 << 24,
    PF_OutFlag2_SUPPORTS_GPU_RENDER_F32 = 1 << 25,
    PF_OutFlag2_RESERVED12 = 1 << 26,
    PF_OutFlag2_SUPPORTS_THREADED_RENDERING = 1 << 27,
    PF_OutFlag2_MUTABLE_RENDER_SEQUENCE_DATA_SLOWER = 1 << 28
};
typedef A_long PF_OutFlags2;

enum { PF_InFlag_NONE = 0, PF_InFlag_PROJECT_IS_RENDER_ONLY = 1 << 0 };
typedef A_long PF_InFlags;

/* ---- Command selectors (the order is part of the protocol) ----------------------------------- */

enum {
    PF_Cmd_ABOUT = 0,
    PF_Cmd_GLOBAL_SETUP = 1,
    PF_Cmd_UNUSED_0 = 2,
    PF_Cmd_GLOBAL_SETDOWN = 3,
    PF_Cmd_PARAMS_SETUP = 4,
    PF_Cmd_SEQUENCE_SETUP = 5,
    PF_Cmd_SEQUENCE_RESETUP = 6,
    PF_Cmd_SEQUENCE_FLATTEN = 7,
    PF_Cmd_SEQUENCE_SETDOWN = 8,
    PF_Cmd_DO_DIALOG = 9,
    PF_Cmd_FRAME_SETUP = 10,
    PF_Cmd_RENDER = 11,
    PF_Cmd_FRAME_SETDOWN = 12,
    PF_Cmd_USER_CHANGED_PARAM = 13, /* extra: PF_UserChangedParamExtra* */
    PF_Cmd_UPDATE_PARAMS_UI = 14,
    PF_Cmd_EVENT = 15, /* extra: PF_EventExtra* */
    PF_Cmd_GET_EXTERNAL_DEPENDENCIES = 16,
    PF_Cmd_COMPLETELY_GENERAL = 17,
    PF_Cmd_QUERY_DYNAMIC_FLAGS = 18,
    PF_Cmd_AUDIO_RENDER = 19,
    PF_Cmd_AUDIO_SETUP = 20,
    PF_Cmd_AUDIO_SETDOWN = 21,
    PF_Cmd_ARBITRARY_CALLBACK = 22, /* extra: PF_ArbParamsExtra* */
    PF_Cmd_SMART_PRE_RENDER = 23,   /* extra: PF_PreRenderExtra* */
    PF_Cmd_SMART_RENDER = 24,       /* extra: PF_SmartRenderExtra* */
    PF_Cmd_RESERVED1 = 25,
    PF_Cmd_RESERVED2 = 26,
    PF_Cmd_RESERVED3 = 27,
    PF_Cmd_GET_FLATTENED_SEQUENCE_DATA = 28,
    PF_Cmd_TRANSLATE_PARAMS_TO_PREFS = 29,
    PF_Cmd_RESERVED4 = 30,
    PF_Cmd_SMART_RENDER_GPU = 31,
    PF_Cmd_GPU_DEVICE_SETUP = 32,
    PF_Cmd_GPU_DEVICE_SETDOWN = 33,
    PF_Cmd_NUM_CMDS = 34
};
typedef A_long PF_Cmd;

/* ---- Simple types -----------------------------------------------------------------------------
 */

typedef struct _PF_LayerAudio* PF_LayerAudio;
typedef void* PF_SndSamplePtr;

/* Opaque reference to the effect instance; passed back to the host's callbacks. */
struct PF_ProgressInfo;
typedef struct PF_ProgressInfo* PF_ProgPtr;

typedef A_long PF_ParamValue;

typedef struct {
    A_short major;
    A_short minor;
} PF_SpecVersion;

typedef A_long PF_ParamIndex;
typedef A_u_long PF_UFixed;
typedef A_long PF_Fixed; /* signed 16.16 */
typedef A_char PF_Boolean;
typedef void** PF_Handle;

typedef struct {
    A_short v;
    A_short h;
} PF_LegacyPoint;

typedef struct {
    A_short top;
    A_short left;
    A_short bottom;
    A_short right;
} PF_LegacyRect;

typedef struct {
#ifdef LPOINT_RENAME_COMPONENTS
    A_long x;
    A_long y;
#else
    A_long h;
    A_long v;
#endif
} PF_Point;

typedef struct {
    A_long left;
    A_long top;
    A_long right;
    A_long bottom;
} PF_LRect;

typedef PF_LRect PF_Rect;
typedef PF_Rect PF_UnionableRect;

typedef struct {
    A_long num;
    A_u_long den;
} PF_RationalScale;

#define PF_Fixed_MINVAL ((PF_Fixed)0x80000000)
#define PF_Fixed_MAXVAL ((PF_Fixed)0x7fffffff)

typedef struct {
    PF_Fixed x;
    PF_Fixed y;
} PF_FixedPoint;

typedef struct {
    PF_Fixed left;
    PF_Fixed top;
    PF_Fixed right;
    PF_Fixed bottom;
} PF_FixedRect;

typedef struct {
    PF_Fixed mat[3][3];
} PF_Matrix;

/* Transfer (blending) mode; the PF_Xfer_* values are in AE_EffectCB.h. */
typedef A_long PF_TransferMode;
typedef PF_TransferMode PF_XferMode;

/* Pixels: channels in the order alpha, red, green, blue. 8-bit channels run 0 to 255, 16-bit
 * channels 0 to 32768, float channels 0 to 1 (and beyond). */
typedef struct {
    A_u_char alpha;
    A_u_char red;
    A_u_char green;
    A_u_char blue;
} PF_Pixel;

typedef PF_Pixel PF_Pixel8;
typedef PF_Pixel PF_UnionablePixel;

typedef struct {
    A_u_short alpha;
    A_u_short red;
    A_u_short green;
    A_u_short blue;
} PF_Pixel16;

typedef A_FpShort PF_FpShort;
typedef A_FpLong PF_FpLong;

typedef struct {
    PF_FpShort alpha;
    PF_FpShort red;
    PF_FpShort green;
    PF_FpShort blue;
} PF_PixelFloat, PF_Pixel32;

/* 3 x 3 transformation in row-vector form: a point (x, y, 1) multiplies from the left. */
typedef struct {
    PF_FpLong mat[3][3];
} PF_FloatMatrix;

/* How a transfer draws its source onto the destination. */
typedef struct {
    PF_TransferMode xfer;
    A_long rand_seed;    /* for the dissolve modes */
    A_u_char opacity;    /* 0 to 255 */
    PF_Boolean rgb_only; /* ignored by the alpha-multiplying modes */
    A_u_short opacitySu; /* 0 to 32768, used for deep worlds */
} PF_CompositeMode;

typedef A_u_long PF_PixLong;

typedef struct _PF_PixelOpaque* PF_PixelOpaquePtr;

/* Effects that handle more than 8 bits define PF_DEEP_COLOR_AWARE so that pixel pointers are
 * opaque and must be cast to the world's real pixel type. */
#ifdef PF_DEEP_COLOR_AWARE
typedef PF_PixelOpaquePtr PF_PixelPtr;
#else
typedef PF_Pixel* PF_PixelPtr;
#endif

#define PF_HUE_UNDEFINED 0x80000000

typedef PF_Fixed PF_RGB_Pixel[3];
typedef PF_Fixed PF_YIQ_Pixel[3];
typedef PF_Fixed PF_HLS_Pixel[3];

#define PF_PixLong_ALPHA(pl) ((A_u_char)(0xff & ((pl) >> 24)))
#define PF_PixLong_RED(pl) ((A_u_char)(0xff & ((pl) >> 16)))
#define PF_PixLong_GREEN(pl) ((A_u_char)(0xff & ((pl) >> 8)))
#define PF_PixLong_BLUE(pl) ((A_u_char)(0xff & (pl)))
#define PF_SET_PixLong_ALPHA(pl, v) (pl) &= 0x00ffffff, (pl) |= ((A_long)(v) << 24)
#define PF_SET_PixLong_RED(pl, v) (pl) &= 0xff00ffff, (pl) |= ((A_long)(v) << 16)
#define PF_SET_PixLong_GREEN(pl, v) (pl) &= 0xffff00ff, (pl) |= ((A_long)(v) << 8)
#define PF_SET_PixLong_BLUE(pl, v) (pl) &= 0xffffff00, (pl) |= (0xff & (v))
#define PF_MAKE_PixLong(a, r, g, b)                                                                \
    ((PF_PixLong)(((A_long)(a) << 24) | ((A_long)(r) << 16) | ((A_long)(g) << 8) | (b)))

/* ---- Auxiliary channels ------------------------------------------------------------------------
 */

#define PF_ChannelType_DEPTH PLURION_SDK_FOURCC('D', 'P', 'T', 'H')
#define PF_ChannelType_DEPTHAA PLURION_SDK_FOURCC('D', 'P', 'A', 'A')
#define PF_ChannelType_NORMALS PLURION_SDK_FOURCC('N', 'R', 'M', 'L')
#define PF_ChannelType_OBJECTID PLURION_SDK_FOURCC('O', 'B', 'I', 'D')
#define PF_ChannelType_MOTIONVECTOR PLURION_SDK_FOURCC('M', 'T', 'V', 'R')
#define PF_ChannelType_BK_COLOR PLURION_SDK_FOURCC('B', 'K', 'C', 'R')
#define PF_ChannelType_TEXTURE PLURION_SDK_FOURCC('T', 'E', 'X', 'R')
#define PF_ChannelType_COVERAGE PLURION_SDK_FOURCC('C', 'O', 'V', 'R')
#define PF_ChannelType_NODE PLURION_SDK_FOURCC('N', 'O', 'D', 'E')
#define PF_ChannelType_MATERIAL PLURION_SDK_FOURCC('M', 'A', 'T', 'R')
#define PF_ChannelType_UNCLAMPED PLURION_SDK_FOURCC('U', 'N', 'C', 'P')
#define PF_ChannelType_UNKNOWN PLURION_SDK_FOURCC('U', 'N', 'K', 'N')
typedef A_long PF_ChannelType;

/* Element types; the trailing digit is the size of one element in bytes. */
#define PF_DataType_FLOAT PLURION_SDK_FOURCC('F', 'L', 'T', '4')
#define PF_DataType_DOUBLE PLURION_SDK_FOURCC('D', 'B', 'L', '8')
#define PF_DataType_LONG PLURION_SDK_FOURCC('L', 'O', 'N', '4')
#define PF_DataType_SHORT PLURION_SDK_FOURCC('S', 'H', 'T', '2')
#define PF_DataType_FIXED_16_16 PLURION_SDK_FOURCC('F', 'I', 'X', '4')
#define PF_DataType_CHAR PLURION_SDK_FOURCC('C', 'H', 'R', '1')
#define PF_DataType_U_BYTE PLURION_SDK_FOURCC('U', 'B', 'T', '1')
#define PF_DataType_U_SHORT PLURION_SDK_FOURCC('U', 'S', 'T', '2')
#define PF_DataType_U_FIXED_16_16 PLURION_SDK_FOURCC('U', 'F', 'X', '4')
#define PF_DataType_RGB PLURION_SDK_FOURCC('R', 'B', 'G', ' ')
typedef A_long PF_DataType;

typedef A_long PF_ChannelIndex;

#define PF_CHANNEL_NAME_LEN 63

typedef struct {
    PF_ChannelType channel_type;
    A_char name[PF_CHANNEL_NAME_LEN + 1];
    PF_DataType data_type;
    A_long dimension; /* values per pixel */
} PF_ChannelDesc;

typedef struct {
    A_intptr_t opaque[8];
} PF_ChannelRef, *PF_ChannelRefPtr;

typedef struct {
    PF_ChannelRef channel_ref;
    A_long widthL;
    A_long heightL;
    A_long dimensionL;
    A_long row_bytesL;
    PF_DataType data_type;
    PF_Handle dataH;
    void* dataPV; /* locked data of dataH */
} PF_ChannelChunk;

/* ---- Layer parameter and pixel buffers --------------------------------------------------------
 */

enum {
    PF_LayerDefault_MYSELF = -1, /* the layer the effect is applied to */
    PF_LayerDefault_NONE = 0
};

/* A pixel buffer ("world"). Rows are rowbytes apart and may be padded; data is null for a layer
 * parameter that is set to none. */
typedef struct PF_LayerDef {
    void* reserved0;
    void* reserved1;
    PF_WorldFlags world_flags;
    PF_PixelPtr data;
    A_long rowbytes;
    A_long width;
    A_long height;
    PF_UnionableRect extent_hint; /* the part of the buffer that holds or needs pixels */
    void* platform_ref;
    A_long reserved_long1;
    void* reserved_long4;
    PF_RationalScale pix_aspect_ratio;
    void* reserved_long2;
    A_long origin_x; /* buffer origin in layer coordinates (smart checkouts) */
    A_long origin_y;
    A_long reserved_long3;
    A_long dephault; /* layer parameters: a PF_LayerDefault value */
} PF_LayerDef;

typedef PF_LayerDef PF_EffectWorld;

#ifdef PF_USE_OLD_WORLD
typedef PF_EffectWorld PF_World;
#endif

/* ---- Audio ------------------------------------------------------------------------------------
 */

enum { PF_UNSIGNED_PCM = 0, PF_SIGNED_PCM = 1, PF_SIGNED_FLOAT = 2 };
typedef A_short PF_SoundFormat;

enum { PF_SSS_1 = 1, PF_SSS_2 = 2, PF_SSS_4 = 4 };
typedef A_short PF_SoundSampleSize; /* bytes per sample */

enum { PF_Channels_MONO = 1, PF_Channels_STEREO = 2 };
typedef A_short PF_SoundChannels;

typedef struct {
    PF_FpLong rateF;
    PF_SoundChannels num_channels;
    PF_SoundFormat format;
    PF_SoundSampleSize sample_size;
} PF_SoundFormatInfo;

typedef struct {
    PF_SoundFormatInfo fi;
    A_long num_samples;
    void* dataP;
} PF_SoundWorld;

/* ---- Value parameters -------------------------------------------------------------------------
 */

enum {
    PF_ValueDisplayFlag_NONE = 0,
    PF_ValueDisplayFlag_PERCENT = 1 << 0, /* shown with a percent sign */
    PF_ValueDisplayFlag_PIXEL = 1 << 1,   /* 0..1 shown as a pixel value of the depth */
    PF_ValueDisplayFlag_RESERVED1 = 1 << 2,
    PF_ValueDisplayFlag_REVERSE = 1 << 3 /* shown negated */
};
typedef A_short PF_ValueDisplayFlags;

#define PF_VALUEFLAG_IS_PERCENT(A) (((A)&PF_ValueDisplayFlag_PERCENT) != 0)
#define PF_VALUEFLAG_IS_PIXEL(A) (((A)&PF_ValueDisplayFlag_PIXEL) != 0)
#define PF_VALUEFLAG_IS_REVERSED(A) (((A)&PF_ValueDisplayFlag_REVERSE) != 0)

/* Each parameter record holds the current value first, then the description that is set once
 * when the parameter is added. */

typedef struct { /* PF_Param_SLIDER */
    PF_ParamValue value;
    A_char value_str[PF_MAX_PARAM_VALUE_LEN + 1];
    A_char value_desc[PF_MAX_PARAM_DESCRIPTION_LEN + 1];
    PF_ParamValue valid_min;
    PF_ParamValue valid_max;
    PF_ParamValue slider_min;
    PF_ParamValue slider_max;
    PF_ParamValue dephault;
} PF_SliderDef;

typedef struct { /* PF_Param_FIX_SLIDER */
    PF_Fixed value;
    A_char value_str[PF_MAX_PARAM_VALUE_LEN + 1];
    A_char value_desc[PF_MAX_PARAM_DESCRIPTION_LEN + 1];
    PF_Fixed valid_min;
    PF_Fixed valid_max;
    PF_Fixed slider_min;
    PF_Fixed slider_max;
    PF_Fixed dephault;
    A_short precision; /* decimal places shown */
    PF_ValueDisplayFlags display_flags;
} PF_FixedSliderDef;

#define AEFX_AUDIO_DEFAULT_CURVE_TOLERANCE 0.05f

enum { PF_FSliderFlag_NONE = 0, PF_FSliderFlag_WANT_PHASE = 1 << 0 };
typedef A_u_long PF_FSliderFlags;

typedef struct { /* PF_Param_FLOAT_SLIDER */
    PF_FpLong value;
    PF_FpLong phase;
    A_char value_desc[PF_MAX_PARAM_DESCRIPTION_LEN + 1];
    PF_FpShort valid_min;
    PF_FpShort valid_max;
    PF_FpShort slider_min;
    PF_FpShort slider_max;
    PF_FpShort dephault;
    A_short precision; /* decimal places shown */
    PF_ValueDisplayFlags display_flags;
    PF_FSliderFlags fs_flags;
    PF_FpShort curve_tolerance; /* audio subdivision; 0 for the default */
    PF_Boolean useExponent;
    PF_FpShort exponent;
} PF_FloatSliderDef;

typedef struct { /* PF_Param_ANGLE: degrees, not limited to one turn */
    PF_Fixed value;
    PF_Fixed dephault;
    PF_Fixed valid_min; /* not honoured for effects */
    PF_Fixed valid_max;
} PF_AngleDef;

typedef struct { /* PF_Param_CHECKBOX */
    PF_ParamValue value;
    PF_Boolean dephault;
    A_char reserved;
    A_short reserved1;
    union {
        const A_char* nameptr; /* text beside the box */
    } u;
} PF_CheckBoxDef;

typedef struct { /* PF_Param_COLOR */
    PF_UnionablePixel value;
    PF_UnionablePixel dephault;
} PF_ColorDef;

/* PF_Param_POINT: values are layer pixels in 16.16; defaults are percentages of the layer's width
 * and height in 16.16 (50, 50 is the centre). */
typedef struct {
    PF_Fixed x_value;
    PF_Fixed y_value;
    A_char reserved[3];
    PF_Boolean restrict_bounds; /* keep the point inside the layer */
    PF_Fixed x_dephault;
    PF_Fixed y_dephault;
} PF_PointDef;

/* PF_Param_POINT_3D: defaults are percentages (z of the layer's height). */
typedef struct {
    PF_FpLong x_value;
    PF_FpLong y_value;
    PF_FpLong z_value;
    PF_FpLong x_dephault;
    PF_FpLong y_dephault;
    PF_FpLong z_dephault;
    char reserved[16];
} PF_Point3DDef;

typedef struct { /* PF_Param_POPUP: values are 1-based choice numbers */
    PF_ParamValue value;
    A_short num_choices;
    A_short dephault;
    union {
        const A_char* namesptr; /* choices separated by '|'; "(-" is a separator line */
    } u;
} PF_PopupDef;

typedef struct { /* PF_Param_BUTTON */
    PF_ParamValue value;
    union {
        const A_char* namesptr;
    } u;
} PF_ButtonDef;

enum { PF_PathID_NONE = 0 };
typedef A_u_long PF_PathID;

enum {
    PF_MaskMode_NONE = 0,
    PF_MaskMode_ADD = 1,
    PF_MaskMode_SUBTRACT = 2,
    PF_MaskMode_INTERSECT = 3,
    PF_MaskMode_LIGHTEN = 4,
    PF_MaskMode_DARKEN = 5,
    PF_MaskMode_DIFFERENCE = 6,
    PF_MaskMode_ACCUM = 7,
    PF_NUM_MASKMODES = 8
};
#define PF_NUM_USER_MASKMODES (PF_NUM_MASKMODES - 1)
typedef A_long PF_MaskMode;

typedef struct PF_PathDef { /* PF_Param_PATH */
    PF_PathID path_id;
    A_long reserved0;
    A_long dephault; /* 0 for none, else the 1-based index of the path */
} PF_PathDef;

/* ---- Arbitrary data parameters -----------------------------------------------------------------
 */

typedef PF_Handle PF_ArbitraryH;

typedef struct { /* PF_Param_ARBITRARY_DATA */
    A_short id;
    A_short pad;
    PF_ArbitraryH dephault; /* owned by the host once added */
    PF_ArbitraryH value;
    void* refconPV;
} PF_ArbitraryDef;

enum {
    PF_Arbitrary_NEW_FUNC = 0,
    PF_Arbitrary_DISPOSE_FUNC = 1,
    PF_Arbitrary_COPY_FUNC = 2,
    PF_Arbitrary_FLAT_SIZE_FUNC = 3,
    PF_Arbitrary_FLATTEN_FUNC = 4,
    PF_Arbitrary_UNFLATTEN_FUNC = 5,
    PF_Arbitrary_INTERP_FUNC = 6,
    PF_Arbitrary_COMPARE_FUNC = 7,
    PF_Arbitrary_PRINT_SIZE_FUNC = 8,
    PF_Arbitrary_PRINT_FUNC = 9,
    PF_Arbitrary_SCAN_FUNC = 10
};
typedef A_long PF_FunctionSelector;

enum {
    PF_ArbCompare_EQUAL = 0,
    PF_ArbCompare_LESS = 1,
    PF_ArbCompare_MORE = 2,
    PF_ArbCompare_NOT_EQUAL = 3
};
typedef A_long PF_ArbCompareResult;

enum { PF_ArbPrint_NONE = 0, PF_ArbPrint_ABBREVIATED = 1 << 0 };
typedef A_long PF_ArbPrintFlags;

/* Extra block of PF_Cmd_ARBITRARY_CALLBACK; which_function picks the union member. */
typedef struct {
    PF_FunctionSelector which_function;
    A_short id;
    A_short padding;
    union {
        struct {
            void* refconPV;
            PF_ArbitraryH* arbPH;
        } new_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH arbH;
        } dispose_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH src_arbH;
            PF_ArbitraryH* dst_arbPH;
        } copy_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH arbH;
            A_u_long* flat_data_sizePLu;
        } flat_size_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH arbH;
            A_u_long buf_sizeLu;
            void* flat_dataPV;
        } flatten_func_params;
        struct {
            void* refconPV;
            A_u_long buf_sizeLu;
            const void* flat_dataPV;
            PF_ArbitraryH* arbPH;
        } unflatten_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH left_arbH;
            PF_ArbitraryH right_arbH;
            PF_FpLong tF; /* 0 at the left keyframe, 1 at the right one */
            PF_ArbitraryH* interpPH;
        } interp_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH a_arbH;
            PF_ArbitraryH b_arbH;
            PF_ArbCompareResult* compareP;
        } compare_func_params;
        struct {
            void* refconPV;
            PF_ArbitraryH arbH;
            A_u_long* print_sizePLu;
        } print_size_func_params;
        struct {
            void* refconPV;
            PF_ArbPrintFlags print_flags;
            PF_ArbitraryH arbH;
            A_u_long print_sizeLu;
            A_char* print_bufferPC;
        } print_func_params;
        struct {
            void* refconPV;
            const A_char* bufPC;
            A_u_long bytes_to_scanLu;
            PF_ArbitraryH* arbPH;
        } scan_func_params;
    } u;
} PF_ArbParamsExtra;

/* Extra block of PF_Cmd_USER_CHANGED_PARAM. */
typedef struct {
    PF_ParamIndex param_index;
} PF_UserChangedParamExtra;

typedef struct PF_ImporterPrefsData* PF_ImporterPrefsDataPtr;

typedef struct {
    PF_ImporterPrefsDataPtr prefsPC;
    A_u_long prefs_sizeLu;
} PF_TranslateParamsToPrefsExtra;

enum {
    PF_DepCheckType_NONE = 0,
    PF_DepCheckType_ALL_DEPENDENCIES = 1,
    PF_DepCheckType_MISSING_DEPENDENCIES = 2
};
typedef A_long PF_DepCheckType;

typedef struct {
    PF_DepCheckType check_type;
    PF_Handle dependencies_strH; /* NUL-terminated text; the host disposes it */
} PF_ExtDependenciesExtra;

typedef union {
    PF_LayerDef ld;
    PF_SliderDef sd;
    PF_FixedSliderDef fd;
    PF_AngleDef ad;
    PF_CheckBoxDef bd;
    PF_ColorDef cd;
    PF_PointDef td;
    PF_PopupDef pd;
    PF_FloatSliderDef fs_d;
    PF_ArbitraryDef arb_d;
    PF_PathDef path_d;
    PF_ButtonDef button_d;
    PF_Point3DDef point3d_d;
} PF_ParamDefUnion;

/* Parameter user-interface flags (PF_ParamDef.ui_flags). */
enum {
    PF_PUI_NONE = 0,
    PF_PUI_TOPIC = 1 << 0,
    PF_PUI_CONTROL = 1 << 1,
    PF_PUI_STD_CONTROL_ONLY = 1 << 2,
    PF_PUI_NO_ECW_UI = 1 << 3,
    PF_PUI_ECW_SEPARATOR = 1 << 4,
    PF_PUI_DISABLED = 1 << 5,
    PF_PUI_DONT_ERASE_TOPIC = 1 << 6,
    PF_PUI_DONT_ERASE_CONTROL = 1 << 7,
    PF_PUI_RADIO_BUTTON = 1 << 8,
    PF_PUI_INVISIBLE = 1 << 9
};
typedef A_long PF_ParamUIFlags;

enum {
    PF_ChangeFlag_NONE = 0,
    PF_ChangeFlag_CHANGED_VALUE = 1 << 0,
    PF_ChangeFlag_RESERVED = 1 << 1,
    PF_ChangeFlag_SET_TO_VARY = 1 << 2,
    PF_ChangeFlag_SET_TO_CONSTANT = 1 << 3
};
typedef A_long PF_ChangeFlags;

typedef struct {
    union {
        A_long id;                   /* disk id, given when the parameter is added */
        PF_ChangeFlags change_flags; /* set by the effect to report a changed value */
    } uu;
    PF_ParamUIFlags ui_flags;
    A_short ui_width;
    A_short ui_height;
    PF_ParamType param_type;
    A_char name[PF_MAX_EFFECT_PARAM_NAME_LEN + 1];
    PF_ParamFlags flags;
    A_long unused;
    PF_ParamDefUnion u;
} PF_ParamDef, *PF_ParamDefPtr, **PF_ParamDefH;

/* The host's parameter array; entry 0 is the input layer. */
typedef PF_ParamDef** PF_ParamList;

#define PF_ParamDef_IS_PUI_FLAG_SET(_defP, _puiFlag) (((_defP)->ui_flags & (_puiFlag)) != 0)
#define PF_ParamDef_IS_PARAM_FLAG_SET(_defP, _paramFlag) (((_defP)->flags & (_paramFlag)) != 0)

/* ---- Smart render ------------------------------------------------------------------------------
 * PF_Cmd_SMART_PRE_RENDER receives a PF_PreRenderExtra and must fill its output; the layers the
 * render will need are requested there with checkout_layer. PF_Cmd_SMART_RENDER receives a
 * PF_SmartRenderExtra and fetches those layers' pixels by checkout id. */

enum {
    PF_ChannelMask_ALPHA = 0x1,
    PF_ChannelMask_RED = 0x2,
    PF_ChannelMask_GREEN = 0x4,
    PF_ChannelMask_BLUE = 0x8,
    PF_ChannelMask_ARGB = 0xF
};
typedef A_long PF_ChannelMask;

enum {
    PF_GPU_Framework_NONE = 0,
    PF_GPU_Framework_OPENCL = 1,
    PF_GPU_Framework_METAL = 2,
    PF_GPU_Framework_CUDA = 3
};
typedef A_long PF_GPU_Framework;

typedef struct {
    PF_LRect rect;
    PF_Field field;
    PF_ChannelMask channel_mask;
    PF_Boolean preserve_rgb_of_zero_alpha;
    char unused[3];     /* zero */
    A_long reserved[4]; /* zero */
} PF_RenderRequest;

typedef struct {
    PF_RenderRequest output_request;
    short bitdepth; /* bits per channel the effect is driven in */
    const void* gpu_data;
    PF_GPU_Framework what_gpu;
    A_u_long device_index;
} PF_PreRenderInput;

typedef void (*PF_DeletePreRenderDataFunc)(void* pre_render_data);

enum {
    PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS = 0x1,
    PF_RenderOutputFlag_GPU_RENDER_POSSIBLE = 0x2,
    PF_RenderOutputFlag_RESERVED1 = 0x4
};
typedef short PF_RenderOutputFlags;

typedef struct {
    PF_LRect result_rect;     /* what this request will produce */
    PF_LRect max_result_rect; /* what a request for everything would produce */
    PF_Boolean solid;         /* every pixel of result_rect is opaque */
    PF_Boolean reserved;
    PF_RenderOutputFlags flags;
    void* pre_render_data; /* handed to the render; owned by the effect */
    PF_DeletePreRenderDataFunc delete_pre_render_data_func; /* frees pre_render_data, if set */
} PF_PreRenderOutput;

typedef struct {
    PF_LRect result_rect;
    PF_LRect max_result_rect;
    PF_RationalScale par; /* pixel aspect ratio */
    PF_Boolean solid;
    PF_Boolean reservedB[3];
    A_long ref_width; /* layer size before effects */
    A_long ref_height;
    A_long reserved[6];
} PF_CheckoutResult;

typedef struct {
    /* Requests a layer (index 0 is the effect's input) at a time under an id of the effect's
     * choosing (at least 0, unique within the call); the render fetches it by that id. */
    PF_Err (*checkout_layer)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_idL,
                             const PF_RenderRequest* req, A_long what_time, A_long time_step,
                             A_u_long time_scale, PF_CheckoutResult* checkout_result);
    /* Mixes extra render state into the cache key of the frame. */
    PF_Err (*GuidMixInPtr)(PF_ProgPtr effect_ref, A_u_long buf_sizeLu, const void* buf);
} PF_PreRenderCallbacks;

typedef struct {
    PF_PreRenderInput* input;
    PF_PreRenderOutput* output;
    PF_PreRenderCallbacks* cb;
} PF_PreRenderExtra;

typedef struct {
    PF_RenderRequest output_request;
    short bitdepth;
    void* pre_render_data; /* as left in PF_PreRenderOutput */
    const void* gpu_data;
    PF_GPU_Framework what_gpu;
    A_u_long device_index;
} PF_SmartRenderInput;

typedef struct {
    /* Pixels of a layer requested in the pre-render; valid until checked in or the call ends. */
    PF_Err (*checkout_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_idL,
                                    PF_EffectWorld** pixels);
    PF_Err (*checkin_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_idL);
    PF_Err (*checkout_output)(PF_ProgPtr effect_ref, PF_EffectWorld** output);
} PF_SmartRenderCallbacks;

typedef struct {
    PF_SmartRenderInput* input;
    PF_SmartRenderCallbacks* cb;
} PF_SmartRenderExtra;

/* ---- GPU device set-up ------------------------------------------------------------------------
 */

typedef struct {
    PF_GPU_Framework what_gpu;
    A_u_long device_index;
} PF_GPUDeviceSetupInput;

typedef struct {
    void* gpu_data; /* owned by the effect */
} PF_GPUDeviceSetupOutput;

typedef struct {
    PF_GPUDeviceSetupInput* input;
    PF_GPUDeviceSetupOutput* output;
} PF_GPUDeviceSetupExtra;

typedef struct {
    void* gpu_data; /* the effect disposes it */
    PF_GPU_Framework what_gpu;
    A_u_long device_index;
} PF_GPUDeviceSetdownInput;

typedef struct {
    PF_GPUDeviceSetdownInput* input;
} PF_GPUDeviceSetdownExtra;

/* ---- Interaction callbacks (PF_InData.inter) ---------------------------------------------------
 * A parameter checked out with checkout_param must be checked in with checkin_param before the
 * command returns; the record must not point into the params array. */

typedef struct _PF_CustomUIInfo PF_CustomUIInfo;

typedef struct {
    PF_Err (*checkout_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time,
                             A_long time_step, A_u_long time_scale, PF_ParamDef* param);
    PF_Err (*checkin_param)(PF_ProgPtr effect_ref, PF_ParamDef* param);
    /* index -1 appends. */
    PF_Err (*add_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);
    /* Non-zero when the user has interrupted; return that value. */
    PF_Err (*abort)(PF_ProgPtr effect_ref);
    PF_Err (*progress)(PF_ProgPtr effect_ref, A_long current, A_long total);
    PF_Err (*register_ui)(PF_ProgPtr effect_ref, PF_CustomUIInfo* cust_info);
    PF_Err (*checkout_layer_audio)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long start_time,
                                   A_long duration, A_u_long time_scale, PF_UFixed rate,
                                   A_long bytes_per_sample, A_long num_channels, A_long fmt_signed,
                                   PF_LayerAudio* audio);
    PF_Err (*checkin_layer_audio)(PF_ProgPtr effect_ref, PF_LayerAudio audio);
    PF_Err (*get_audio_data)(PF_ProgPtr effect_ref, PF_LayerAudio audio, PF_SndSamplePtr* data0,
                             A_long* num_samples0, PF_UFixed* rate0, A_long* bytes_per_sample0,
                             A_long* num_channels0, A_long* fmt_signed0);
    void* reserved_str[3];
    void* reserved[10];
} PF_InteractCallbacks;

#define PF_CHECKOUT_PARAM(IN_DATA, INDEX, TIME, STEP, SCALE, PARAM)                                \
    (*(IN_DATA)->inter.checkout_param)((IN_DATA)->effect_ref, (INDEX), (TIME), (STEP), (SCALE),    \
                                       (PARAM))
#define PF_CHECKIN_PARAM(IN_DATA, PARAM)                                                           \
    (*(IN_DATA)->inter.checkin_param)((IN_DATA)->effect_ref, (PARAM))
#define PF_ADD_PARAM(IN_DATA, INDEX, DEF)                                                          \
    (*(IN_DATA)->inter.add_param)((IN_DATA)->effect_ref, (INDEX), (DEF))
#define PF_ABORT(IN_DATA) (*(IN_DATA)->inter.abort)((IN_DATA)->effect_ref)
#define PF_PROGRESS(IN_DATA, CURRENT, TOTAL)                                                       \
    (*(IN_DATA)->inter.progress)((IN_DATA)->effect_ref, (CURRENT), (TOTAL))
#define PF_REGISTER_UI(IN_DATA, CUST_INFO)                                                         \
    (*(IN_DATA)->inter.register_ui)((IN_DATA)->effect_ref, (CUST_INFO))
#define PF_CHECKOUT_LAYER_AUDIO(IN_DATA, INDEX, START_TIME, DURATION, SCALE, RATE,                 \
                                BYTES_PER_SAMPLE, NUM_CHANNELS, FMT_SIGNED, AUDIO)                 \
    (*(IN_DATA)->inter.checkout_layer_audio)((IN_DATA)->effect_ref, (INDEX), (START_TIME),         \
                                             (DURATION), (SCALE), (RATE), (BYTES_PER_SAMPLE),      \
                                             (NUM_CHANNELS), (FMT_SIGNED), (AUDIO))
#define PF_CHECKIN_LAYER_AUDIO(IN_DATA, AUDIO)                                                     \
    (*(IN_DATA)->inter.checkin_layer_audio)((IN_DATA)->effect_ref, (AUDIO))
#define PF_GET_AUDIO_DATA(IN_DATA, AUDIO, DATA_0, NUM_SAMPLES_0, RATE_0, BYTES_PER_SAMPLE_0,       \
                          NUM_CHANNELS_0, FMT_SIGNED_0)                                            \
    (*(IN_DATA)->inter.get_audio_data)((IN_DATA)->effect_ref, (AUDIO), (DATA_0), (NUM_SAMPLES_0),  \
                                       (RATE_0), (BYTES_PER_SAMPLE_0), (NUM_CHANNELS_0),           \
                                       (FMT_SIGNED_0))

/* ---- The blocks of every call -----------------------------------------------------------------
 */

/* What the effect tells the host. return_msg is a NUL-terminated text the host shows after the
 * command (as an error when PF_OutFlag_DISPLAY_ERROR_MESSAGE is set). */
typedef struct {
    A_u_long my_version; /* PF_VERSION of the effect, set at global set-up */
    A_char name[PF_MAX_EFFECT_NAME_LEN + 1];
    PF_Handle global_data;
    A_long num_params; /* including the input layer */
    PF_Handle sequence_data;
    A_long flat_sdata_size; /* unused */
    PF_Handle frame_data;
    A_long width;
    A_long height;
    PF_Point origin;
    PF_OutFlags out_flags;
    A_char return_msg[PF_MAX_EFFECT_MSG_LEN + 1];
    A_long start_sampL;
    A_long dur_sampL;
    PF_SoundWorld dest_snd;
    PF_OutFlags2 out_flags2;
} PF_OutData;

/* What the host tells the effect; read-only for the effect. */
typedef struct {
    PF_InteractCallbacks inter;
    struct _PF_UtilCallbacks* utils; /* see AE_EffectCB.h */
    PF_ProgPtr effect_ref;
    PF_Quality quality;
    PF_SpecVersion version;
    A_long serial_num;
    A_long appl_id;
    A_long num_params;
    A_long reserved;
    A_long what_cpu;
    A_long what_fpu;
    A_long current_time;
    A_long time_step;
    A_long total_time;
    A_long local_time_step;
    A_u_long time_scale;
    PF_Field field;
    PF_Fixed shutter_angle; /* fraction of a frame, 16.16 */
    A_long width;
    A_long height;
    PF_Rect extent_hint;
    A_long output_origin_x;
    A_long output_origin_y;
    PF_RationalScale downsample_x;
    PF_RationalScale downsample_y;
    PF_RationalScale pixel_aspect_ratio;
    PF_InFlags in_flags;
    PF_Handle global_data;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    A_long start_sampL;
    A_long dur_sampL;
    A_long total_sampL;
    PF_SoundWorld src_snd;
    struct SPBasicSuite* pica_basicP; /* the basic suite, for acquiring suites */
    A_long pre_effect_source_origin_x;
    A_long pre_effect_source_origin_y;
    PF_Fixed shutter_phase; /* shutter-open offset from the frame time, fraction of a frame */
} PF_InData;

/* The effect's command entry. */
typedef PF_Err (*PF_FilterProc)(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                PF_ParamList params, PF_LayerDef* output, void* extra);

#ifdef __cplusplus
}
#endif

#endif /* PLURION_SDK_AE_EFFECT_H */
