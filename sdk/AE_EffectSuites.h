/* AE_EffectSuites.h - effect suites for mask paths, parameter utilities, floating-point parameter
 * values, application services and custom user interface drawing.
 *
 * Conventions:
 * - Each suite is acquired through SPBasicSuite with its name and version constant and released
 *   with the same pair.
 * - A path checked out with PF_CheckoutPath is checked in with PF_CheckinPath within the same
 *   command; segment-length preparations made with PF_PathPrepareSegLength are released with
 *   PF_PathCleanupSegLength before the path is checked in.
 * - A keyframe checked out with PF_CheckoutKeyframe is checked in with PF_CheckinKeyframe.
 * - Path coordinates are layer pixels as doubles; times are integers in time_scale units.
 */
#ifndef PLURION_SDK_AE_EFFECTSUITES_H
#define PLURION_SDK_AE_EFFECTSUITES_H

#include "AE_Effect.h"
#include "AE_EffectUI.h"
#include "SPBasic.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Mask paths of the effect's layer ---------------------------------------------------------
 */

#define kPFPathQuerySuite "PF Path Query Suite"
#define kPFPathQuerySuiteVersion1 1

typedef struct PF_PathOutline* PF_PathOutlinePtr;
typedef struct PF_PathSegPrep* PF_PathSegPrepPtr;

typedef struct PF_PathQuerySuite1 {
    SPAPI PF_Err (*PF_NumPaths)(PF_ProgPtr effect_ref, A_long* num_pathsPL);
    SPAPI PF_Err (*PF_PathInfo)(PF_ProgPtr effect_ref, A_long indexL, PF_PathID* unique_idP);
    /* *pathPP is null when the path no longer exists. */
    SPAPI PF_Err (*PF_CheckoutPath)(PF_ProgPtr effect_ref, PF_PathID unique_id, A_long what_time,
                                    A_long time_step, A_u_long time_scale,
                                    PF_PathOutlinePtr* pathPP);
    SPAPI PF_Err (*PF_CheckinPath)(PF_ProgPtr effect_ref, PF_PathID unique_id, PF_Boolean changedB,
                                   PF_PathOutlinePtr pathP);
} PF_PathQuerySuite1;

#define kPFPathDataSuite "PF Path Data Suite"
#define kPFPathDataSuiteVersion1 1

/* A vertex and its two tangents, the tangents relative to the vertex. */
typedef struct {
    PF_FpLong x;
    PF_FpLong y;
    PF_FpLong tan_in_x;
    PF_FpLong tan_in_y;
    PF_FpLong tan_out_x;
    PF_FpLong tan_out_y;
} PF_PathVertex;

#define PF_MAX_PATH_NAME_LEN 31

/* A path of N segments has segments 0 to N-1; segment J runs from vertex J to vertex J+1, and
 * vertices run 0 to N (on a closed path the last equals the first). */
typedef struct PF_PathDataSuite1 {
    SPAPI PF_Err (*PF_PathIsOpen)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                  PF_Boolean* openPB);
    SPAPI PF_Err (*PF_PathNumSegments)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                       A_long* num_segmentsPL);
    SPAPI PF_Err (*PF_PathVertexInfo)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                      A_long which_pointL, PF_PathVertex* vertexP);
    SPAPI PF_Err (*PF_PathPrepareSegLength)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                            A_long which_segL, A_long frequencyL,
                                            PF_PathSegPrepPtr* lengthPrepPP);
    SPAPI PF_Err (*PF_PathGetSegLength)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                        A_long which_segL, PF_PathSegPrepPtr* lengthPrepP0,
                                        PF_FpLong* lengthPF);
    /* The point at arc length lengthF along the segment. */
    SPAPI PF_Err (*PF_PathEvalSegLength)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                         PF_PathSegPrepPtr* lengthPrepPP0, A_long which_segL,
                                         PF_FpLong lengthF, PF_FpLong* x, PF_FpLong* y);
    /* The same point and the first derivative there. */
    SPAPI PF_Err (*PF_PathEvalSegLengthDeriv1)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                               PF_PathSegPrepPtr* lengthPrepPP0, A_long which_segL,
                                               PF_FpLong lengthF, PF_FpLong* x, PF_FpLong* y,
                                               PF_FpLong* deriv1x, PF_FpLong* deriv1y);
    SPAPI PF_Err (*PF_PathCleanupSegLength)(PF_ProgPtr effect_ref0, PF_PathOutlinePtr pathP,
                                            A_long which_segL, PF_PathSegPrepPtr* lengthPrepPP);
    SPAPI PF_Err (*PF_PathIsInverted)(PF_ProgPtr effect_ref, PF_PathID unique_id,
                                      PF_Boolean* invertedB);
    SPAPI PF_Err (*PF_PathGetMaskMode)(PF_ProgPtr effect_ref, PF_PathID unique_id,
                                       PF_MaskMode* modeP);
    /* nameZ holds up to PF_MAX_PATH_NAME_LEN + 1 bytes. */
    SPAPI PF_Err (*PF_PathGetName)(PF_ProgPtr effect_ref, PF_PathID unique_id, A_char* nameZ);
} PF_PathDataSuite1;

/* ---- Parameter utilities ----------------------------------------------------------------------
 */

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion1 2
#define kPFParamUtilsSuiteVersion3 3

typedef struct {
    A_long reservedAL[4];
} PF_State;

#define PF_ParamIndex_NONE (-1)
#define PF_ParamIndex_CHECK_ALL (-2)
#define PF_ParamIndex_CHECK_ALL_EXCEPT_LAYER_PARAMS (-3)
#define PF_ParamIndex_CHECK_ALL_HONOR_EXCLUDE (-4)

#define PF_KeyIndex_NONE (-1)

enum {
    PF_TimeDir_GREATER_THAN = 0x0000,
    PF_TimeDir_LESS_THAN = 0x0001,
    PF_TimeDir_GREATER_THAN_OR_EQUAL = 0x1000,
    PF_TimeDir_LESS_THAN_OR_EQUAL = 0x1001
};
typedef A_long PF_TimeDir;

typedef A_long PF_KeyIndex;

/* PF_UpdateParamUI changes only the presentation of a parameter (name, ui flags and sizes, the
 * collapse flag, slider ranges, precision and display flags); it is not undoable. */
typedef struct PF_ParamUtilsSuite3 {
    SPAPI PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                     const PF_ParamDef* defP);
    /* Null start and duration mean all of time. */
    SPAPI PF_Err (*PF_GetCurrentState)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                       const A_Time* startPT0, const A_Time* durationPT0,
                                       PF_State* stateP);
    SPAPI PF_Err (*PF_AreStatesIdentical)(PF_ProgPtr effect_ref, const PF_State* state1P,
                                          const PF_State* state2P, A_Boolean* samePB);
    SPAPI PF_Err (*PF_IsIdenticalCheckout)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                           A_long what_time1, A_long time_step1,
                                           A_u_long time_scale1, A_long what_time2,
                                           A_long time_step2, A_u_long time_scale2,
                                           PF_Boolean* identicalPB);
    SPAPI PF_Err (*PF_FindKeyframeTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                        A_long what_time, A_u_long time_scale, PF_TimeDir time_dir,
                                        PF_Boolean* foundPB, PF_KeyIndex* key_indexP0,
                                        A_long* key_timeP0, A_u_long* key_timescaleP0);
    /* PF_KeyIndex_NONE for a parameter without keyframes. */
    SPAPI PF_Err (*PF_GetKeyframeCount)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                        PF_KeyIndex* key_countP);
    SPAPI PF_Err (*PF_CheckoutKeyframe)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                        PF_KeyIndex key_index, A_long* key_timeP0,
                                        A_u_long* key_timescaleP0, PF_ParamDef* paramP0);
    SPAPI PF_Err (*PF_CheckinKeyframe)(PF_ProgPtr effect_ref, PF_ParamDef* paramP);
    SPAPI PF_Err (*PF_KeyIndexToTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                      PF_KeyIndex key_indexP, A_long* key_timeP,
                                      A_u_long* key_timescaleP);
} PF_ParamUtilsSuite3;

/* The earlier table published under version value 2. */
typedef struct PF_ParamUtilsSuite1 {
    SPAPI PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                     const PF_ParamDef* defP);
    SPAPI PF_Err (*PF_GetCurrentStateObsolete)(PF_ProgPtr effect_ref, PF_State* stateP);
    SPAPI PF_Err (*PF_HasParamChangedObsolete)(PF_ProgPtr effect_ref, const PF_State* stateP,
                                               PF_ParamIndex param_index, PF_Boolean* changedPB);
    SPAPI PF_Err (*PF_HaveInputsChangedOverTimeSpanObsolete)(PF_ProgPtr effect_ref,
                                                             const PF_State* stateP,
                                                             const A_Time* startPT0,
                                                             const A_Time* durationPT0,
                                                             PF_Boolean* changedPB);
    SPAPI PF_Err (*PF_IsIdenticalCheckout)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                           A_long what_time1, A_long time_step1,
                                           A_u_long time_scale1, A_long what_time2,
                                           A_long time_step2, A_u_long time_scale2,
                                           PF_Boolean* identicalPB);
    SPAPI PF_Err (*PF_FindKeyframeTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                        A_long what_time, A_u_long time_scale, PF_TimeDir time_dir,
                                        PF_Boolean* foundPB, PF_KeyIndex* key_indexP0,
                                        A_long* key_timeP0, A_u_long* key_timescaleP0);
    SPAPI PF_Err (*PF_GetKeyframeCount)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                        PF_KeyIndex* key_countP);
    SPAPI PF_Err (*PF_CheckoutKeyframe)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                        PF_KeyIndex key_index, A_long* key_timeP0,
                                        A_u_long* key_timescaleP0, PF_ParamDef* paramP0);
    SPAPI PF_Err (*PF_CheckinKeyframe)(PF_ProgPtr effect_ref, PF_ParamDef* paramP);
    SPAPI PF_Err (*PF_KeyIndexToTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index,
                                      PF_KeyIndex key_indexP, A_long* key_timeP,
                                      A_u_long* key_timescaleP);
} PF_ParamUtilsSuite1;

/* ---- Floating-point parameter values ----------------------------------------------------------
 */

#define kPFColorParamSuite "PF ColorParamSuite"
#define kPFColorParamSuiteVersion1 1

typedef struct PF_ColorParamSuite1 {
    /* In the effect's working colour space; may fall outside 0..1. */
    SPAPI PF_Err (*PF_GetFloatingPointColorFromColorDef)(PF_ProgPtr effect_ref,
                                                         const PF_ParamDef* color_defP,
                                                         PF_PixelFloat* fp_colorP);
} PF_ColorParamSuite1;

#define kPFPointParamSuite "PF PointParamSuite"
#define kPFPointParamSuiteVersion1 1

typedef struct PF_PointParamSuite1 {
    SPAPI PF_Err (*PF_GetFloatingPointValueFromPointDef)(PF_ProgPtr effect_ref,
                                                         const PF_ParamDef* point_defP,
                                                         A_FloatPoint* fp_pointP);
} PF_PointParamSuite1;

#define kPFAngleParamSuite "PF AngleParamSuite"
#define kPFAngleParamSuiteVersion1 1

typedef struct PF_AngleParamSuite1 {
    SPAPI PF_Err (*PF_GetFloatingPointValueFromAngleDef)(PF_ProgPtr effect_ref,
                                                         const PF_ParamDef* angle_defP,
                                                         A_FpLong* fp_valueP);
} PF_AngleParamSuite1;

/* ---- Application services ---------------------------------------------------------------------
 */

#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion4 6
#define kPFAppSuiteVersion5 7
#define kPFAppSuiteVersion6 1

enum {
    PF_App_Color_NONE = -1,
    PF_App_Color_FRAME,
    PF_App_Color_FILL,
    PF_App_Color_TEXT,
    PF_App_Color_LIGHT_TINGE,
    PF_App_Color_DARK_TINGE,
    PF_App_Color_HILITE,
    PF_App_Color_SHADOW,
    PF_App_Color_BUTTON_FRAME,
    PF_App_Color_BUTTON_FILL,
    PF_App_Color_BUTTON_TEXT,
    PF_App_Color_BUTTON_LIGHT_TINGE,
    PF_App_Color_BUTTON_DARK_TINGE,
    PF_App_Color_BUTTON_HILITE,
    PF_App_Color_BUTTON_SHADOW,
    PF_App_Color_BUTTON_PRESSED_FRAME,
    PF_App_Color_BUTTON_PRESSED_FILL,
    PF_App_Color_BUTTON_PRESSED_TEXT,
    PF_App_Color_BUTTON_PRESSED_LIGHT_TINGE,
    PF_App_Color_BUTTON_PRESSED_DARK_TINGE,
    PF_App_Color_BUTTON_PRESSED_HILITE,
    PF_App_Color_BUTTON_PRESSED_SHADOW,
    PF_App_Color_FRAME_DISABLED,
    PF_App_Color_FILL_DISABLED,
    PF_App_Color_TEXT_DISABLED,
    PF_App_Color_LIGHT_TINGE_DISABLED,
    PF_App_Color_DARK_TINGE_DISABLED,
    PF_App_Color_HILITE_DISABLED,
    PF_App_Color_SHADOW_DISABLED,
    PF_App_Color_BUTTON_FRAME_DISABLED,
    PF_App_Color_BUTTON_FILL_DISABLED,
    PF_App_Color_BUTTON_TEXT_DISABLED,
    PF_App_Color_BUTTON_LIGHT_TINGE_DISABLED,
    PF_App_Color_BUTTON_DARK_TINGE_DISABLED,
    PF_App_Color_BUTTON_HILITE_DISABLED,
    PF_App_Color_BUTTON_SHADOW_DISABLED,
    PF_App_Color_BUTTON_PRESSED_FRAME_DISABLED,
    PF_App_Color_BUTTON_PRESSED_FILL_DISABLED,
    PF_App_Color_BUTTON_PRESSED_TEXT_DISABLED,
    PF_App_Color_BUTTON_PRESSED_LIGHT_TINGE_DISABLED,
    PF_App_Color_BUTTON_PRESSED_DARK_TINGE_DISABLED,
    PF_App_Color_BUTTON_PRESSED_HILITE_DISABLED,
    PF_App_Color_BUTTON_PRESSED_SHADOW_DISABLED,
    PF_App_Color_BLACK,
    PF_App_Color_WHITE,
    PF_App_Color_GRAY,
    PF_App_Color_RED,
    PF_App_Color_YELLOW,
    PF_App_Color_GREEN,
    PF_App_Color_CYAN,
    PF_App_Color_TLW_NEEDLE_CURRENT_TIME,
    PF_App_Color_TLW_NEEDLE_PREVIEW_TIME,
    PF_App_Color_TLW_CACHE_MARK_MEM,
    PF_App_Color_TLW_CACHE_MARK_DISK,
    PF_App_Color_TLW_CACHE_MARK_MIX,
    PF_App_Color_FILL_LIGHT,
    PF_App_Color_HOT_TEXT,
    PF_App_Color_HOT_TEXT_DISABLED,
    PF_App_Color_LABEL_0,
    PF_App_Color_LABEL_1,
    PF_App_Color_LABEL_2,
    PF_App_Color_LABEL_3,
    PF_App_Color_LABEL_4,
    PF_App_Color_LABEL_5,
    PF_App_Color_LABEL_6,
    PF_App_Color_LABEL_7,
    PF_App_Color_LABEL_8,
    PF_App_Color_LABEL_9,
    PF_App_Color_LABEL_10,
    PF_App_Color_LABEL_11,
    PF_App_Color_LABEL_12,
    PF_App_Color_LABEL_13,
    PF_App_Color_LABEL_14,
    PF_App_Color_LABEL_15,
    PF_App_Color_LABEL_16,
    PF_App_Color_TLW_CACHE_MARK_MEM_DUBIOUS,
    PF_App_Color_TLW_CACHE_MARK_DISK_DUBIOUS,
    PF_App_Color_TLW_CACHE_MARK_MIX_DUBIOUS,
    PF_App_Color_HOT_TEXT_PRESSED,
    PF_App_Color_HOT_TEXT_WARNING,
    PF_App_Color_PURE_BLACK,
    PF_App_Color_PURE_WHITE,
    PF_App_Color_PANEL_BACKGROUND = 1000,
    PF_App_Color_LIST_BOX_FILL,
    PF_App_Color_DARK_CAPTION_FILL,
    PF_App_Color_DARK_CAPTION_TEXT,
    PF_App_Color_TEXT_ON_LIGHTER_BG,
    PF_App_Color_NUMTYPES
};
typedef A_short PF_App_ColorType;

enum {
    PF_EyeDropperSampleMode_DEFAULT = 0,
    PF_EyeDropperSampleMode_STRAIGHT = 1,
    PF_EyeDropperSampleMode_PREMUL = 2
};
typedef A_short PF_EyeDropperSampleMode;

typedef struct PF_App_Color {
    A_u_short red;
    A_u_short green;
    A_u_short blue;
} PF_App_Color;

#define PF_APP_MAX_PERS_LEN 63

typedef struct PF_AppPersonalTextInfo {
    A_char name[PF_APP_MAX_PERS_LEN + 1];
    A_char org[PF_APP_MAX_PERS_LEN + 1];
    A_char serial_str[PF_APP_MAX_PERS_LEN + 1];
} PF_AppPersonalTextInfo;

enum {
    PF_FontStyle_NONE = -1,
    PF_FontStyle_SYS = 0,
    PF_FontStyle_SMALL,
    PF_FontStyle_SMALL_BOLD,
    PF_FontStyle_SMALL_ITALIC,
    PF_FontStyle_MED,
    PF_FontStyle_MED_BOLD,
    PF_FontStyle_APP,
    PF_FontStyle_APP_BOLD,
    PF_FontStyle_APP_ITALIC
};
typedef A_LegacyEnumType PF_FontStyleSheet;

#define PF_FONT_NAME_LEN 255

typedef struct PF_FontName {
    A_char font_nameAC[PF_FONT_NAME_LEN + 1];
} PF_FontName;

#define PF_APP_LANG_TAG_SIZE (5 + 1)

typedef struct _PF_AppProgressDialog* PF_AppProgressDialogP;

typedef struct PFAppSuite6 {
    SPAPI PF_Err (*PF_AppGetBgColor)(PF_App_Color* bg_colorP);
    SPAPI PF_Err (*PF_AppGetColor)(PF_App_ColorType color_type, PF_App_Color* app_colorP);
    /* For example "en_US"; lang_tagZ holds PF_APP_LANG_TAG_SIZE bytes. */
    SPAPI PF_Err (*PF_AppGetLanguage)(A_char* lang_tagZ);
    SPAPI PF_Err (*PF_GetPersonalInfo)(PF_AppPersonalTextInfo* ptiP);
    SPAPI PF_Err (*PF_GetFontStyleSheet)(PF_FontStyleSheet sheet, PF_FontName* font_nameP0,
                                         A_short* font_numPS0, A_short* sizePS0, A_short* stylePS0);
    SPAPI PF_Err (*PF_SetCursor)(PF_CursorType cursor);
    SPAPI PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_enginePB);
    SPAPI PF_Err (*PF_AppColorPickerDialog)(const A_char* dialog_titleZ0,
                                            const PF_PixelFloat* sample_colorP,
                                            PF_Boolean use_ws_to_monitor_xformB,
                                            PF_PixelFloat* new_colorP);
    SPAPI PF_Err (*PF_GetMouse)(PF_Point* pointP);
    SPAPI PF_Err (*PF_InvalidateRect)(const PF_ContextH contextH, const PF_Rect* rectP0);
    SPAPI PF_Err (*PF_ConvertLocalToGlobal)(const PF_Point* localP, PF_Point* globalP);
    SPAPI PF_Err (*PF_GetColorAtGlobalPoint)(const PF_Point* globalP, A_short eyeSize,
                                             PF_EyeDropperSampleMode mode,
                                             PF_PixelFloat* outColorP);
    /* A progress dialog session must always be disposed, whether it was shown or not. */
    SPAPI PF_Err (*PF_CreateNewAppProgressDialog)(const A_UTF16Char* titleZ,
                                                  const A_UTF16Char* cancel_strZ0,
                                                  PF_Boolean indeterminateB,
                                                  PF_AppProgressDialogP* prog_dlgPP);
    SPAPI PF_Err (*PF_AppProgressDialogUpdate)(PF_AppProgressDialogP prog_dlgP, A_long countL,
                                               A_long totalL);
    SPAPI PF_Err (*PF_DisposeAppProgressDialog)(PF_AppProgressDialogP prog_dlgP);
} PFAppSuite6;

typedef struct PFAppSuite5 {
    SPAPI PF_Err (*PF_AppGetBgColor)(PF_App_Color* bg_colorP);
    SPAPI PF_Err (*PF_AppGetColor)(PF_App_ColorType color_type, PF_App_Color* app_colorP);
    SPAPI PF_Err (*PF_AppGetLanguage)(A_char* lang_tagZ);
    SPAPI PF_Err (*PF_GetPersonalInfo)(PF_AppPersonalTextInfo* ptiP);
    SPAPI PF_Err (*PF_GetFontStyleSheet)(PF_FontStyleSheet sheet, PF_FontName* font_nameP0,
                                         A_short* font_numPS0, A_short* sizePS0, A_short* stylePS0);
    SPAPI PF_Err (*PF_SetCursor)(PF_CursorType cursor);
    SPAPI PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_enginePB);
    SPAPI PF_Err (*PF_AppColorPickerDialog)(const A_char* dialog_titleZ0,
                                            const PF_PixelFloat* sample_colorP,
                                            PF_Boolean use_ws_to_monitor_xformB,
                                            PF_PixelFloat* new_colorP);
    SPAPI PF_Err (*PF_GetMouse)(PF_Point* pointP);
    SPAPI PF_Err (*PF_InvalidateRect)(const PF_ContextH contextH, const PF_Rect* rectP0);
    SPAPI PF_Err (*PF_ConvertLocalToGlobal)(const PF_Point* localP, PF_Point* globalP);
    SPAPI PF_Err (*PF_GetColorAtGlobalPoint)(const PF_Point* globalP, A_short eyeSize,
                                             PF_EyeDropperSampleMode mode,
                                             PF_PixelFloat* outColorP);
} PFAppSuite5;

typedef struct PFAppSuite4 {
    SPAPI PF_Err (*PF_AppGetBgColor)(PF_App_Color* bg_colorP);
    SPAPI PF_Err (*PF_AppGetColor)(PF_App_ColorType color_type, PF_App_Color* app_colorP);
    SPAPI PF_Err (*PF_GetPersonalInfo)(PF_AppPersonalTextInfo* ptiP);
    SPAPI PF_Err (*PF_GetFontStyleSheet)(PF_FontStyleSheet sheet, PF_FontName* font_nameP0,
                                         A_short* font_numPS0, A_short* sizePS0, A_short* stylePS0);
    SPAPI PF_Err (*PF_SetCursor)(PF_CursorType cursor);
    SPAPI PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_enginePB);
    SPAPI PF_Err (*PF_AppColorPickerDialog)(const A_char* dialog_titleZ0,
                                            const PF_PixelFloat* sample_colorP,
                                            PF_Boolean use_ws_to_monitor_xformB,
                                            PF_PixelFloat* new_colorP);
    SPAPI PF_Err (*PF_GetMouse)(PF_Point* pointP);
    SPAPI PF_Err (*PF_InvalidateRect)(const PF_ContextH contextH, const PF_Rect* rectP0);
    SPAPI PF_Err (*PF_ConvertLocalToGlobal)(const PF_Point* localP, PF_Point* globalP);
    SPAPI PF_Err (*PF_GetColorAtGlobalPoint)(const PF_Point* globalP, A_short eyeSize,
                                             PF_EyeDropperSampleMode mode,
                                             PF_PixelFloat* outColorP);
} PFAppSuite4;

/* ---- Effect user interface --------------------------------------------------------------------
 */

#define kPFEffectUISuite "PF Effect UI Suite"
#define kPFEffectUISuiteVersion1 1

typedef struct PF_EffectUISuite1 {
    SPAPI PF_Err (*PF_SetOptionsButtonName)(PF_ProgPtr effect_ref, const A_char* nameZ);
} PF_EffectUISuite1;

#define kPFEffectCustomUISuite "PF Effect Custom UI Suite"
#define kPFEffectCustomUISuiteVersion1 1
#define kPFEffectCustomUISuiteVersion2 2

typedef struct _PF_AsyncManager* PF_AsyncManagerP;

typedef struct PF_EffectCustomUISuite1 {
    /* The drawing reference of an event's context; null when the host offers none. */
    SPAPI PF_Err (*PF_GetDrawingReference)(const PF_ContextH effect_contextH,
                                           DRAWBOT_DrawRef* referenceP0);
} PF_EffectCustomUISuite1;

typedef struct PF_EffectCustomUISuite2 {
    SPAPI PF_Err (*PF_GetDrawingReference)(const PF_ContextH effect_contextH,
                                           DRAWBOT_DrawRef* referenceP0);
    SPAPI PF_Err (*PF_GetContextAsyncManager)(PF_InData* in_data, PF_EventExtra* extra,
                                              PF_AsyncManagerP* managerPP0);
} PF_EffectCustomUISuite2;

#define kPFEffectCustomUIOverlayThemeSuite "PF Effect Custom UI Overlay Theme Suite"
#define kPFEffectCustomUIOverlayThemeSuiteVersion1 1

/* The host's own look for overlays in the composition and layer windows. */
typedef struct PF_EffectCustomUIOverlayThemeSuite1 {
    SPAPI PF_Err (*PF_GetPreferredForegroundColor)(DRAWBOT_ColorRGBA* foreground_colorP);
    SPAPI PF_Err (*PF_GetPreferredShadowColor)(DRAWBOT_ColorRGBA* shadow_colorP);
    SPAPI PF_Err (*PF_GetPreferredStrokeWidth)(float* stroke_widthPF);
    SPAPI PF_Err (*PF_GetPreferredVertexSize)(float* vertex_sizePF);
    SPAPI PF_Err (*PF_GetPreferredShadowOffset)(A_LPoint* shadow_offsetP);
    SPAPI PF_Err (*PF_StrokePath)(const DRAWBOT_DrawRef drawbot_ref, const DRAWBOT_PathRef path_ref,
                                  PF_Boolean draw_shadowB);
    SPAPI PF_Err (*PF_FillPath)(const DRAWBOT_DrawRef drawbot_ref, const DRAWBOT_PathRef path_ref,
                                PF_Boolean draw_shadowB);
    SPAPI PF_Err (*PF_FillVertex)(const DRAWBOT_DrawRef drawbot_ref,
                                  const A_FloatPoint* center_pointP, PF_Boolean draw_shadowB);
} PF_EffectCustomUIOverlayThemeSuite1;

#ifdef __cplusplus
}
#endif

#endif /* PLURION_SDK_AE_EFFECTSUITES_H */
