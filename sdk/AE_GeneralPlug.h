/* AE_GeneralPlug.h - the AEGP suites an effect may use to reach the project around it: its own
 * effect reference, the layer it is applied to, parameter streams and their dynamic flags,
 * utility services and AEGP memory handles.
 *
 * Conventions:
 * - Every suite function returns an A_Err, 0 meaning success.
 * - An effect registers with AEGP_RegisterWithAEGP to obtain the AEGP_PluginID these calls take.
 * - References returned by functions named GetNew... (effects, streams, stream values) belong to
 *   the caller and are disposed with the matching Dispose... function; AEGP_MemHandle results are
 *   freed with AEGP_FreeMemHandle. Layer, comp and item handles belong to the host.
 * - Several suite names carry more than one table; the version constants below are the values
 *   passed to AcquireSuite, and a table's name says which layout it has.
 * - Times are A_Time pairs; layer times and comp times are told apart by AEGP_LTimeMode.
 */
#ifndef PLURION_SDK_AE_GENERALPLUG_H
#define PLURION_SDK_AE_GENERALPLUG_H

#include "A.h"
#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectSuites.h"
#include "PF_Masks.h"
#include "SPBasic.h"

#ifdef __cplusplus
extern "C" {
#endif

#define AEGP_INITFUNC_MAJOR_VERSION 1
#define AEGP_INITFUNC_MINOR_VERSION 9

/* ---- Opaque references ------------------------------------------------------------------------
 */

typedef struct _AEGP_Project** AEGP_ProjectH;
typedef struct _AEGP_Item** AEGP_ItemH;
typedef struct _AEGP_Comp** AEGP_CompH;
typedef struct _AEGP_Footage** AEGP_FootageH;
typedef struct _AEGP_Layer** AEGP_LayerH;
typedef struct _AEGP_Effect** AEGP_EffectRefH;
typedef struct _AEGP_Mask** AEGP_MaskRefH;
typedef struct _AEGPp_Stream** AEGP_StreamRefH;
typedef struct _AEGP_LayerContext** AEGP_RenderLayerContextH;
typedef struct _AEGP_PersistentBlob** AEGP_PersistentBlobH;
typedef struct _AEGP_MaskOutline** AEGP_MaskOutlineValH;
typedef struct _AEGP_Collection** AEGP_CollectionH;
typedef struct _AEGP_Collection2** AEGP_Collection2H;
typedef struct _AEGP_SoundData** AEGP_SoundDataH;
typedef struct _AEGP_AddKeyframesInfo** AEGP_AddKeyframesInfoH;
typedef struct _AEGP_RenderReceipt** AEGP_RenderReceiptH;
typedef struct _AEGP_World** AEGP_WorldH;
typedef struct _AEGP_RenderOptions** AEGP_RenderOptionsH;
typedef struct _AEGP_LayerRenderOptions** AEGP_LayerRenderOptionsH;
typedef struct _AEGP_FrameReceipt** AEGP_FrameReceiptH;
typedef struct _AEGP_RenderQueueItem** AEGP_RQItemRefH;
typedef struct _AEGP_OutputModule** AEGP_OutputModuleRefH;
typedef struct _AEGP_TextDocument** AEGP_TextDocumentH;
typedef struct _AEGP_MarkerVal* AEGP_MarkerValP;
typedef struct _AEGP_TextOutlines** AEGP_TextOutlinesH;
typedef struct _AEGP_TimeStamp {
    A_char a[4];
} AEGP_TimeStamp;
typedef struct _AEGP_PlatformWorld** AEGP_PlatformWorldH;
typedef struct _AEGP_ItemView* AEGP_ItemViewP;
typedef struct _AEGP_ColorProfile* AEGP_ColorProfileP;
typedef const struct _AEGP_ColorProfile* AEGP_ConstColorProfileP;

typedef A_long AEGP_SubLayerIndex;
#define AEGP_SubLayer_ALL (-1)

typedef A_long AEGP_PluginID;

typedef struct _AEGP_GlobalRefcon* AEGP_GlobalRefcon;
typedef struct _AEGP_CommandRefcon* AEGP_CommandRefcon;
typedef struct _AEGP_UpdateMenuRefcon* AEGP_UpdateMenuRefcon;
typedef struct _AEGP_DeathRefcon* AEGP_DeathRefcon;
typedef struct _AEGP_VersionRefcon* AEGP_VersionRefcon;
typedef struct _AEGP_AboutStringRefcon* AEGP_AboutStringRefcon;
typedef struct _AEGP_AboutRefcon* AEGP_AboutRefcon;
typedef struct _AEGP_AsyncFrameRequestRefcon* AEGP_AsyncFrameRequestRefcon;
typedef struct _AEGP_IdleRefcon* AEGP_IdleRefcon;
typedef struct _AEGP_IORefcon* AEGP_IORefcon;
typedef struct _AEGP_CancelRefcon* AEGP_CancelRefcon;

/* Buffer sizes, the terminating NUL included. */
#define AEGP_MAX_PATH_SIZE 260
#define AEGP_MAX_ABOUT_STRING_SIZE 256
#define AEGP_MAX_RQITEM_COMMENT_SIZE 256
#define AEGP_MAX_TYPE_NAME_SIZE 32
#define AEGP_MAX_ITEM_NAME_SIZE 32
#define AEGP_MAX_LAYER_NAME_SIZE 32
#define AEGP_MAX_MASK_NAME_SIZE 32
#define AEGP_MAX_EFFECT_NAME_SIZE (PF_MAX_EFFECT_NAME_LEN + 17)
#define AEGP_MAX_EFFECT_MATCH_NAME_SIZE (PF_MAX_EFFECT_NAME_LEN + 17)
#define AEGP_MAX_EFFECT_CATEGORY_NAME_SIZE (PF_MAX_EFFECT_CATEGORY_NAME_LEN + 1)
#define AEGP_MAX_STREAM_NAME_SIZE (PF_MAX_EFFECT_PARAM_NAME_LEN + 1)
#define AEGP_MAX_STREAM_UNITS_SIZE (PF_MAX_EFFECT_PARAM_NAME_LEN + 1)
#define AEGP_MAX_PROJ_NAME_SIZE 48
#define AEGP_MAX_PLUGIN_NAME_SIZE 32
#define AEGP_MAX_MARKER_NAME_SIZE 64
#define AEGP_MAX_MARKER_URL_SIZE 1024
#define AEGP_MAX_MARKER_TARGET_SIZE 128
#define AEGP_MAX_MARKER_CHAPTER_SIZE 128

enum { AEGP_Platform_MAC = 0, AEGP_Platform_WIN = 1 };
typedef A_long AEGP_Platform;

enum {
    AEGP_ProjBitDepth_8 = 0,
    AEGP_ProjBitDepth_16 = 1,
    AEGP_ProjBitDepth_32 = 2,
    AEGP_ProjBitDepth_NUM_VALID_DEPTHS = 3
};
typedef A_char AEGP_ProjBitDepth;

#define AEGP_Index_NONE ((A_long)0x80000000)
#define AEGP_Index_START ((A_long)0)
#define AEGP_Index_END ((A_long)-1)
typedef A_long AEGP_Index;

#define AEGP_LayerIDVal_NONE (0)
typedef A_long AEGP_LayerIDVal;

#define AEGP_MaskIDVal_NONE (0)
typedef A_long AEGP_MaskIDVal;

/* Channels from 0 to 1. */
typedef struct {
    A_FpLong alphaF;
    A_FpLong redF;
    A_FpLong greenF;
    A_FpLong blueF;
} AEGP_ColorVal;

enum {
    AEGP_Label_NONE = -1,
    AEGP_Label_NO_LABEL = 0,
    AEGP_Label_1,
    AEGP_Label_2,
    AEGP_Label_3,
    AEGP_Label_4,
    AEGP_Label_5,
    AEGP_Label_6,
    AEGP_Label_7,
    AEGP_Label_8,
    AEGP_Label_9,
    AEGP_Label_10,
    AEGP_Label_11,
    AEGP_Label_12,
    AEGP_Label_13,
    AEGP_Label_14,
    AEGP_Label_15,
    AEGP_Label_16,
    AEGP_Label_NUMTYPES
};
typedef A_char AEGP_LabelID;

/* ---- Memory -----------------------------------------------------------------------------------
 */

#define kAEGPMemorySuite "AEGP Memory Suite"
#define kAEGPMemorySuiteVersion1 1

enum { AEGP_MemFlag_NONE = 0x0, AEGP_MemFlag_CLEAR = 0x01, AEGP_MemFlag_QUIET = 0x02 };
typedef A_long AEGP_MemFlag;

typedef A_u_long AEGP_MemSize;

typedef struct AEGP_MemorySuite1 {
    SPAPI A_Err (*AEGP_NewMemHandle)(AEGP_PluginID plugin_id, const A_char* whatZ,
                                     AEGP_MemSize size, AEGP_MemFlag flags, AEGP_MemHandle* memPH);
    SPAPI A_Err (*AEGP_FreeMemHandle)(AEGP_MemHandle memH);
    SPAPI A_Err (*AEGP_LockMemHandle)(AEGP_MemHandle memH, void** ptr_to_ptr);
    SPAPI A_Err (*AEGP_UnlockMemHandle)(AEGP_MemHandle memH);
    SPAPI A_Err (*AEGP_GetMemHandleSize)(AEGP_MemHandle memH, AEGP_MemSize* sizeP);
    SPAPI A_Err (*AEGP_ResizeMemHandle)(const A_char* whatZ, AEGP_MemSize new_size,
                                        AEGP_MemHandle memH);
    SPAPI A_Err (*AEGP_SetMemReportingOn)(A_Boolean turn_OnB);
    SPAPI A_Err (*AEGP_GetMemStats)(AEGP_PluginID plugin_id, A_long* countPL, A_long* sizePL);
} AEGP_MemorySuite1;

/* ---- Layers -----------------------------------------------------------------------------------
 */

enum { AEGP_TransferFlag_PRESERVE_ALPHA = 0x1, AEGP_TransferFlag_RANDOMIZE_DISSOLVE = 0x2 };
typedef A_long AEGP_TransferFlags;

enum {
    AEGP_TrackMatte_NO_TRACK_MATTE = 0,
    AEGP_TrackMatte_ALPHA = 1,
    AEGP_TrackMatte_NOT_ALPHA = 2,
    AEGP_TrackMatte_LUMA = 3,
    AEGP_TrackMatte_NOT_LUMA = 4
};
typedef A_long AEGP_TrackMatte;

typedef struct {
    PF_TransferMode mode;
    AEGP_TransferFlags flags;
    AEGP_TrackMatte track_matte;
} AEGP_LayerTransferMode;

enum {
    AEGP_LayerQual_NONE = -1,
    AEGP_LayerQual_WIREFRAME = 0,
    AEGP_LayerQual_DRAFT = 1,
    AEGP_LayerQual_BEST = 2
};
typedef A_short AEGP_LayerQuality;

enum { AEGP_LayerSamplingQual_BILINEAR = 0, AEGP_LayerSamplingQual_BICUBIC = 1 };
typedef A_short AEGP_LayerSamplingQuality;

enum {
    AEGP_LayerFlag_NONE = 0x00000000,
    AEGP_LayerFlag_VIDEO_ACTIVE = 0x00000001,
    AEGP_LayerFlag_AUDIO_ACTIVE = 0x00000002,
    AEGP_LayerFlag_EFFECTS_ACTIVE = 0x00000004,
    AEGP_LayerFlag_MOTION_BLUR = 0x00000008,
    AEGP_LayerFlag_FRAME_BLENDING = 0x00000010,
    AEGP_LayerFlag_LOCKED = 0x00000020,
    AEGP_LayerFlag_SHY = 0x00000040,
    AEGP_LayerFlag_COLLAPSE = 0x00000080,
    AEGP_LayerFlag_AUTO_ORIENT_ROTATION = 0x00000100,
    AEGP_LayerFlag_ADJUSTMENT_LAYER = 0x00000200,
    AEGP_LayerFlag_TIME_REMAPPING = 0x00000400,
    AEGP_LayerFlag_LAYER_IS_3D = 0x00000800,
    AEGP_LayerFlag_LOOK_AT_CAMERA = 0x00001000,
    AEGP_LayerFlag_LOOK_AT_POI = 0x00002000,
    AEGP_LayerFlag_SOLO = 0x00004000,
    AEGP_LayerFlag_MARKERS_LOCKED = 0x00008000,
    AEGP_LayerFlag_NULL_LAYER = 0x00010000,
    AEGP_LayerFlag_HIDE_LOCKED_MASKS = 0x00020000,
    AEGP_LayerFlag_GUIDE_LAYER = 0x00040000,
    AEGP_LayerFlag_ADVANCED_FRAME_BLENDING = 0x00080000,
    AEGP_LayerFlag_SUBLAYERS_RENDER_SEPARATELY = 0x00100000,
    AEGP_LayerFlag_ENVIRONMENT_LAYER = 0x00200000
};
typedef A_long AEGP_LayerFlags;

enum {
    AEGP_ObjectType_NONE = -1,
    AEGP_ObjectType_AV = 0,
    AEGP_ObjectType_LIGHT,
    AEGP_ObjectType_CAMERA,
    AEGP_ObjectType_TEXT,
    AEGP_ObjectType_VECTOR,
    AEGP_ObjectType_RESERVED1,
    AEGP_ObjectType_RESERVED2,
    AEGP_ObjectType_RESERVED3,
    AEGP_ObjectType_RESERVED4,
    AEGP_ObjectType_RESERVED5,
    AEGP_ObjectType_RESERVED6,
    AEGP_ObjectType_NUM_TYPES
};
typedef A_long AEGP_ObjectType;

enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };
typedef A_short AEGP_LTimeMode;

#define AEGP_REORDER_LAYER_TO_END -1

#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion9 15
#define kAEGPLayerSuiteVersion8 14
#define kAEGPLayerSuiteVersion7 13
#define kAEGPLayerSuiteVersion6 12
#define kAEGPLayerSuiteVersion5 11

typedef struct AEGP_LayerSuite9 {
    SPAPI A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    SPAPI A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL,
                                            AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetActiveLayer)(AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);
    SPAPI A_Err (*AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);
    SPAPI A_Err (*AEGP_GetLayerSourceItemID)(AEGP_LayerH layerH, A_long* source_item_idPL);
    SPAPI A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    SPAPI A_Err (*AEGP_GetLayerName)(AEGP_PluginID pluginID, AEGP_LayerH layerH,
                                     AEGP_MemHandle* utf_layer_namePH0,
                                     AEGP_MemHandle* utf_source_namePH0);
    SPAPI A_Err (*AEGP_GetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality* qualityP);
    SPAPI A_Err (*AEGP_SetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality quality);
    SPAPI A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    SPAPI A_Err (*AEGP_SetLayerFlag)(AEGP_LayerH layerH, AEGP_LayerFlags single_flag,
                                     A_Boolean valueB);
    SPAPI A_Err (*AEGP_IsLayerVideoReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    SPAPI A_Err (*AEGP_IsLayerAudioReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    SPAPI A_Err (*AEGP_GetLayerCurrentTime)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                            A_Time* curr_timePT);
    SPAPI A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                        A_Time* in_pointPT);
    SPAPI A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                         A_Time* durationPT);
    SPAPI A_Err (*AEGP_SetLayerInPointAndDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                                   const A_Time* in_pointPT,
                                                   const A_Time* durationPT);
    SPAPI A_Err (*AEGP_GetLayerOffset)(AEGP_LayerH layerH, A_Time* offsetPT);
    SPAPI A_Err (*AEGP_SetLayerOffset)(AEGP_LayerH layerH, const A_Time* offsetPT);
    SPAPI A_Err (*AEGP_GetLayerStretch)(AEGP_LayerH layerH, A_Ratio* stretchPRt);
    SPAPI A_Err (*AEGP_SetLayerStretch)(AEGP_LayerH layerH, const A_Ratio* stretchPRt);
    SPAPI A_Err (*AEGP_GetLayerTransferMode)(AEGP_LayerH layerH,
                                             AEGP_LayerTransferMode* transfer_modeP);
    SPAPI A_Err (*AEGP_SetLayerTransferMode)(AEGP_LayerH layerH,
                                             const AEGP_LayerTransferMode* transfer_modeP);
    SPAPI A_Err (*AEGP_IsAddLayerValid)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                        A_Boolean* validPB);
    SPAPI A_Err (*AEGP_AddLayer)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                 AEGP_LayerH* added_layerPH0);
    SPAPI A_Err (*AEGP_ReorderLayer)(AEGP_LayerH layerH, A_long layer_indexL);
    SPAPI A_Err (*AEGP_GetLayerMaskedBounds)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                             const A_Time* timePT, A_FloatRect* boundsPR);
    SPAPI A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    SPAPI A_Err (*AEGP_IsLayer3D)(AEGP_LayerH layerH, A_Boolean* is_3DPB);
    SPAPI A_Err (*AEGP_IsLayer2D)(AEGP_LayerH layerH, A_Boolean* is_2DPB);
    SPAPI A_Err (*AEGP_IsVideoActive)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                      const A_Time* timePT, A_Boolean* is_activePB);
    SPAPI A_Err (*AEGP_IsLayerUsedAsTrackMatte)(AEGP_LayerH layerH, A_Boolean fill_must_be_activeB,
                                                A_Boolean* is_track_mattePB);
    SPAPI A_Err (*AEGP_DoesLayerHaveTrackMatte)(AEGP_LayerH layerH, A_Boolean* has_track_mattePB);
    SPAPI A_Err (*AEGP_ConvertCompToLayerTime)(AEGP_LayerH layerH, const A_Time* comp_timePT,
                                               A_Time* layer_timePT);
    SPAPI A_Err (*AEGP_ConvertLayerToCompTime)(AEGP_LayerH layerH, const A_Time* layer_timePT,
                                               A_Time* comp_timePT);
    SPAPI A_Err (*AEGP_GetLayerDancingRandValue)(AEGP_LayerH layerH, const A_Time* comp_timePT,
                                                 A_long* rand_valuePL);
    SPAPI A_Err (*AEGP_GetLayerID)(AEGP_LayerH layerH, AEGP_LayerIDVal* id_valP);
    SPAPI A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH aegp_layerH, const A_Time* comp_timeP,
                                             A_Matrix4* transform);
    SPAPI A_Err (*AEGP_GetLayerToWorldXformFromView)(AEGP_LayerH aegp_layerH,
                                                     const A_Time* view_timeP,
                                                     const A_Time* comp_timeP,
                                                     A_Matrix4* transform);
    SPAPI A_Err (*AEGP_SetLayerName)(AEGP_LayerH aegp_layerH, const A_UTF16Char* new_nameZ);
    SPAPI A_Err (*AEGP_GetLayerParent)(const AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH);
    SPAPI A_Err (*AEGP_SetLayerParent)(AEGP_LayerH layerH, const AEGP_LayerH parent_layerH0);
    SPAPI A_Err (*AEGP_DeleteLayer)(AEGP_LayerH layerH);
    SPAPI A_Err (*AEGP_DuplicateLayer)(AEGP_LayerH orig_layerH, AEGP_LayerH* duplicate_layerPH);
    SPAPI A_Err (*AEGP_GetLayerFromLayerID)(AEGP_CompH parent_compH, AEGP_LayerIDVal id,
                                            AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetLayerLabel)(AEGP_LayerH layerH, AEGP_LabelID* labelP);
    SPAPI A_Err (*AEGP_SetLayerLabel)(AEGP_LayerH layerH, AEGP_LabelID label);
    SPAPI A_Err (*AEGP_GetLayerSamplingQuality)(AEGP_LayerH layerH,
                                                AEGP_LayerSamplingQuality* qualityP);
    SPAPI A_Err (*AEGP_SetLayerSamplingQuality)(AEGP_LayerH layerH,
                                                AEGP_LayerSamplingQuality quality);
    SPAPI A_Err (*AEGP_GetTrackMatteLayer)(const AEGP_LayerH layerH,
                                           AEGP_LayerH* track_matte_layerPH);
    SPAPI A_Err (*AEGP_SetTrackMatte)(AEGP_LayerH layerH, const AEGP_LayerH track_matte_layerH0,
                                      const AEGP_TrackMatte track_matte_type);
    SPAPI A_Err (*AEGP_RemoveTrackMatte)(AEGP_LayerH layerH);
} AEGP_LayerSuite9;

/* Version value 13: without sampling quality and track-matte editing. */
typedef struct AEGP_LayerSuite7 {
    SPAPI A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    SPAPI A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL,
                                            AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetActiveLayer)(AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);
    SPAPI A_Err (*AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);
    SPAPI A_Err (*AEGP_GetLayerSourceItemID)(AEGP_LayerH layerH, A_long* source_item_idPL);
    SPAPI A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    SPAPI A_Err (*AEGP_GetLayerName)(AEGP_PluginID pluginID, AEGP_LayerH layerH,
                                     AEGP_MemHandle* utf_layer_namePH0,
                                     AEGP_MemHandle* utf_source_namePH0);
    SPAPI A_Err (*AEGP_GetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality* qualityP);
    SPAPI A_Err (*AEGP_SetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality quality);
    SPAPI A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    SPAPI A_Err (*AEGP_SetLayerFlag)(AEGP_LayerH layerH, AEGP_LayerFlags single_flag,
                                     A_Boolean valueB);
    SPAPI A_Err (*AEGP_IsLayerVideoReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    SPAPI A_Err (*AEGP_IsLayerAudioReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    SPAPI A_Err (*AEGP_GetLayerCurrentTime)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                            A_Time* curr_timePT);
    SPAPI A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                        A_Time* in_pointPT);
    SPAPI A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                         A_Time* durationPT);
    SPAPI A_Err (*AEGP_SetLayerInPointAndDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                                   const A_Time* in_pointPT,
                                                   const A_Time* durationPT);
    SPAPI A_Err (*AEGP_GetLayerOffset)(AEGP_LayerH layerH, A_Time* offsetPT);
    SPAPI A_Err (*AEGP_SetLayerOffset)(AEGP_LayerH layerH, const A_Time* offsetPT);
    SPAPI A_Err (*AEGP_GetLayerStretch)(AEGP_LayerH layerH, A_Ratio* stretchPRt);
    SPAPI A_Err (*AEGP_SetLayerStretch)(AEGP_LayerH layerH, const A_Ratio* stretchPRt);
    SPAPI A_Err (*AEGP_GetLayerTransferMode)(AEGP_LayerH layerH,
                                             AEGP_LayerTransferMode* transfer_modeP);
    SPAPI A_Err (*AEGP_SetLayerTransferMode)(AEGP_LayerH layerH,
                                             const AEGP_LayerTransferMode* transfer_modeP);
    SPAPI A_Err (*AEGP_IsAddLayerValid)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                        A_Boolean* validPB);
    SPAPI A_Err (*AEGP_AddLayer)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                 AEGP_LayerH* added_layerPH0);
    SPAPI A_Err (*AEGP_ReorderLayer)(AEGP_LayerH layerH, A_long layer_indexL);
    SPAPI A_Err (*AEGP_GetLayerMaskedBounds)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                             const A_Time* timePT, A_FloatRect* boundsPR);
    SPAPI A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    SPAPI A_Err (*AEGP_IsLayer3D)(AEGP_LayerH layerH, A_Boolean* is_3DPB);
    SPAPI A_Err (*AEGP_IsLayer2D)(AEGP_LayerH layerH, A_Boolean* is_2DPB);
    SPAPI A_Err (*AEGP_IsVideoActive)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                      const A_Time* timePT, A_Boolean* is_activePB);
    SPAPI A_Err (*AEGP_IsLayerUsedAsTrackMatte)(AEGP_LayerH layerH, A_Boolean fill_must_be_activeB,
                                                A_Boolean* is_track_mattePB);
    SPAPI A_Err (*AEGP_DoesLayerHaveTrackMatte)(AEGP_LayerH layerH, A_Boolean* has_track_mattePB);
    SPAPI A_Err (*AEGP_ConvertCompToLayerTime)(AEGP_LayerH layerH, const A_Time* comp_timePT,
                                               A_Time* layer_timePT);
    SPAPI A_Err (*AEGP_ConvertLayerToCompTime)(AEGP_LayerH layerH, const A_Time* layer_timePT,
                                               A_Time* comp_timePT);
    SPAPI A_Err (*AEGP_GetLayerDancingRandValue)(AEGP_LayerH layerH, const A_Time* comp_timePT,
                                                 A_long* rand_valuePL);
    SPAPI A_Err (*AEGP_GetLayerID)(AEGP_LayerH layerH, AEGP_LayerIDVal* id_valP);
    SPAPI A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH aegp_layerH, const A_Time* comp_timeP,
                                             A_Matrix4* transform);
    SPAPI A_Err (*AEGP_GetLayerToWorldXformFromView)(AEGP_LayerH aegp_layerH,
                                                     const A_Time* view_timeP,
                                                     const A_Time* comp_timeP,
                                                     A_Matrix4* transform);
    SPAPI A_Err (*AEGP_SetLayerName)(AEGP_LayerH aegp_layerH, const A_UTF16Char* new_nameZ);
    SPAPI A_Err (*AEGP_GetLayerParent)(const AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH);
    SPAPI A_Err (*AEGP_SetLayerParent)(AEGP_LayerH layerH, const AEGP_LayerH parent_layerH0);
    SPAPI A_Err (*AEGP_DeleteLayer)(AEGP_LayerH layerH);
    SPAPI A_Err (*AEGP_DuplicateLayer)(AEGP_LayerH orig_layerH, AEGP_LayerH* duplicate_layerPH);
    SPAPI A_Err (*AEGP_GetLayerFromLayerID)(AEGP_CompH parent_compH, AEGP_LayerIDVal id,
                                            AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetLayerLabel)(AEGP_LayerH layerH, AEGP_LabelID* labelP);
    SPAPI A_Err (*AEGP_SetLayerLabel)(AEGP_LayerH layerH, AEGP_LabelID label);
} AEGP_LayerSuite7;

/* Version value 11: layer names as narrow characters, no labels. */
typedef struct AEGP_LayerSuite5 {
    SPAPI A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    SPAPI A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL,
                                            AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetActiveLayer)(AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);
    SPAPI A_Err (*AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);
    SPAPI A_Err (*AEGP_GetLayerSourceItemID)(AEGP_LayerH layerH, A_long* source_item_idPL);
    SPAPI A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    SPAPI A_Err (*AEGP_GetLayerName)(AEGP_LayerH layerH, A_char* layer_nameZ0,
                                     A_char* source_nameZ0);
    SPAPI A_Err (*AEGP_GetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality* qualityP);
    SPAPI A_Err (*AEGP_SetLayerQuality)(AEGP_LayerH layerH, AEGP_LayerQuality quality);
    SPAPI A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    SPAPI A_Err (*AEGP_SetLayerFlag)(AEGP_LayerH layerH, AEGP_LayerFlags single_flag,
                                     A_Boolean valueB);
    SPAPI A_Err (*AEGP_IsLayerVideoReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    SPAPI A_Err (*AEGP_IsLayerAudioReallyOn)(AEGP_LayerH layerH, A_Boolean* onPB);
    SPAPI A_Err (*AEGP_GetLayerCurrentTime)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                            A_Time* curr_timePT);
    SPAPI A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                        A_Time* in_pointPT);
    SPAPI A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                         A_Time* durationPT);
    SPAPI A_Err (*AEGP_SetLayerInPointAndDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                                   const A_Time* in_pointPT,
                                                   const A_Time* durationPT);
    SPAPI A_Err (*AEGP_GetLayerOffset)(AEGP_LayerH layerH, A_Time* offsetPT);
    SPAPI A_Err (*AEGP_SetLayerOffset)(AEGP_LayerH layerH, const A_Time* offsetPT);
    SPAPI A_Err (*AEGP_GetLayerStretch)(AEGP_LayerH layerH, A_Ratio* stretchPRt);
    SPAPI A_Err (*AEGP_SetLayerStretch)(AEGP_LayerH layerH, const A_Ratio* stretchPRt);
    SPAPI A_Err (*AEGP_GetLayerTransferMode)(AEGP_LayerH layerH,
                                             AEGP_LayerTransferMode* transfer_modeP);
    SPAPI A_Err (*AEGP_SetLayerTransferMode)(AEGP_LayerH layerH,
                                             const AEGP_LayerTransferMode* transfer_modeP);
    SPAPI A_Err (*AEGP_IsAddLayerValid)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                        A_Boolean* validPB);
    SPAPI A_Err (*AEGP_AddLayer)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                 AEGP_LayerH* added_layerPH0);
    SPAPI A_Err (*AEGP_ReorderLayer)(AEGP_LayerH layerH, A_long layer_indexL);
    SPAPI A_Err (*AEGP_GetLayerMaskedBounds)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                             const A_Time* timePT, A_FloatRect* boundsPR);
    SPAPI A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    SPAPI A_Err (*AEGP_IsLayer3D)(AEGP_LayerH layerH, A_Boolean* is_3DPB);
    SPAPI A_Err (*AEGP_IsLayer2D)(AEGP_LayerH layerH, A_Boolean* is_2DPB);
    SPAPI A_Err (*AEGP_IsVideoActive)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                      const A_Time* timePT, A_Boolean* is_activePB);
    SPAPI A_Err (*AEGP_IsLayerUsedAsTrackMatte)(AEGP_LayerH layerH, A_Boolean fill_must_be_activeB,
                                                A_Boolean* is_track_mattePB);
    SPAPI A_Err (*AEGP_DoesLayerHaveTrackMatte)(AEGP_LayerH layerH, A_Boolean* has_track_mattePB);
    SPAPI A_Err (*AEGP_ConvertCompToLayerTime)(AEGP_LayerH layerH, const A_Time* comp_timePT,
                                               A_Time* layer_timePT);
    SPAPI A_Err (*AEGP_ConvertLayerToCompTime)(AEGP_LayerH layerH, const A_Time* layer_timePT,
                                               A_Time* comp_timePT);
    SPAPI A_Err (*AEGP_GetLayerDancingRandValue)(AEGP_LayerH layerH, const A_Time* comp_timePT,
                                                 A_long* rand_valuePL);
    SPAPI A_Err (*AEGP_GetLayerID)(AEGP_LayerH layerH, AEGP_LayerIDVal* id_valP);
    SPAPI A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH aegp_layerH, const A_Time* comp_timeP,
                                             A_Matrix4* transform);
    SPAPI A_Err (*AEGP_GetLayerToWorldXformFromView)(AEGP_LayerH aegp_layerH,
                                                     const A_Time* view_timeP,
                                                     const A_Time* comp_timeP,
                                                     A_Matrix4* transform);
    SPAPI A_Err (*AEGP_SetLayerName)(AEGP_LayerH aegp_layerH, const A_char* new_nameZ);
    SPAPI A_Err (*AEGP_GetLayerParent)(const AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH);
    SPAPI A_Err (*AEGP_SetLayerParent)(AEGP_LayerH layerH, const AEGP_LayerH parent_layerH0);
    SPAPI A_Err (*AEGP_DeleteLayer)(AEGP_LayerH layerH);
    SPAPI A_Err (*AEGP_DuplicateLayer)(AEGP_LayerH orig_layerH, AEGP_LayerH* duplicate_layerPH);
    SPAPI A_Err (*AEGP_GetLayerFromLayerID)(AEGP_CompH parent_compH, AEGP_LayerIDVal id,
                                            AEGP_LayerH* layerPH);
} AEGP_LayerSuite5;

/* ---- Streams ----------------------------------------------------------------------------------
 */

/* Saved in projects: values never change and new ones go at the end. */
enum {
    AEGP_LayerStream_NONE = -1,
    AEGP_LayerStream_ANCHORPOINT,
    AEGP_LayerStream_POSITION,
    AEGP_LayerStream_SCALE,
    AEGP_LayerStream_ROTATION,
    AEGP_LayerStream_ROTATE_Z = AEGP_LayerStream_ROTATION,
    AEGP_LayerStream_OPACITY,
    AEGP_LayerStream_AUDIO,
    AEGP_LayerStream_MARKER,
    AEGP_LayerStream_TIME_REMAP,
    AEGP_LayerStream_ROTATE_X,
    AEGP_LayerStream_ROTATE_Y,
    AEGP_LayerStream_ORIENTATION,
    AEGP_LayerStream_ZOOM,
    AEGP_LayerStream_DEPTH_OF_FIELD,
    AEGP_LayerStream_FOCUS_DISTANCE,
    AEGP_LayerStream_APERTURE,
    AEGP_LayerStream_BLUR_LEVEL,
    AEGP_LayerStream_INTENSITY,
    AEGP_LayerStream_COLOR,
    AEGP_LayerStream_CONE_ANGLE,
    AEGP_LayerStream_CONE_FEATHER,
    AEGP_LayerStream_SHADOW_DARKNESS,
    AEGP_LayerStream_SHADOW_DIFFUSION,
    AEGP_LayerStream_ACCEPTS_SHADOWS,
    AEGP_LayerStream_ACCEPTS_LIGHTS,
    AEGP_LayerStream_AMBIENT_COEFF,
    AEGP_LayerStream_DIFFUSE_COEFF,
    AEGP_LayerStream_SPECULAR_INTENSITY,
    AEGP_LayerStream_SPECULAR_SHININESS,
    AEGP_LayerStream_CASTS_SHADOWS,
    AEGP_LayerStream_LIGHT_TRANSMISSION,
    AEGP_LayerStream_METAL,
    AEGP_LayerStream_SOURCE_TEXT,
    AEGP_LayerStream_IRIS_SHAPE,
    AEGP_LayerStream_IRIS_ROTATION,
    AEGP_LayerStream_IRIS_ROUNDNESS,
    AEGP_LayerStream_IRIS_ASPECT_RATIO,
    AEGP_LayerStream_IRIS_DIFFRACTION_FRINGE,
    AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN,
    AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD,
    AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION,
    AEGP_LayerStream_LIGHT_FALLOFF_TYPE,
    AEGP_LayerStream_LIGHT_FALLOFF_START,
    AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE,
    AEGP_LayerStream_REFLECTION_INTENSITY,
    AEGP_LayerStream_REFLECTION_SHARPNESS,
    AEGP_LayerStream_REFLECTION_ROLLOFF,
    AEGP_LayerStream_TRANSPARENCY_COEFF,
    AEGP_LayerStream_TRANSPARENCY_ROLLOFF,
    AEGP_LayerStream_INDEX_OF_REFRACTION,
    AEGP_LayerStream_EXTRUSION_BEVEL_STYLE,
    AEGP_LayerStream_EXTRUSION_BEVEL_DIRECTION,
    AEGP_LayerStream_EXTRUSION_BEVEL_DEPTH,
    AEGP_LayerStream_EXTRUSION_HOLE_BEVEL_DEPTH,
    AEGP_LayerStream_EXTRUSION_DEPTH,
    AEGP_LayerStream_PLANE_CURVATURE,
    AEGP_LayerStream_PLANE_SUBDIVISION,
    AEGP_LayerStream_LIGHT_BACKGROUND_VISIBLE,
    AEGP_LayerStream_LIGHT_BACKGROUND_OPACITY,
    AEGP_LayerStream_LIGHT_BACKGROUND_BLUR,
    AEGP_LayerStream_NUMTYPES,
    AEGP_LayerStream_BEGIN = AEGP_LayerStream_NONE + 1,
    AEGP_LayerStream_END = AEGP_LayerStream_NUMTYPES
};
typedef A_long AEGP_LayerStream;

enum {
    AEGP_MaskStream_OUTLINE = 400,
    AEGP_MaskStream_OPACITY,
    AEGP_MaskStream_FEATHER,
    AEGP_MaskStream_EXPANSION,
    AEGP_MaskStream_BEGIN = AEGP_MaskStream_OUTLINE,
    AEGP_MaskStream_END = AEGP_MaskStream_EXPANSION + 1
};
typedef A_long AEGP_MaskStream;

enum {
    AEGP_StreamFlag_NONE = 0,
    AEGP_StreamFlag_HAS_MIN = 0x01,
    AEGP_StreamFlag_HAS_MAX = 0x02,
    AEGP_StreamFlag_IS_SPATIAL = 0x04
};
typedef A_long AEGP_StreamFlags;

typedef A_FpLong AEGP_OneDVal;

typedef struct {
    A_FpLong x;
    A_FpLong y;
} AEGP_TwoDVal; /* audio levels: x is right, y is left */

typedef struct {
    A_FpLong x;
    A_FpLong y;
    A_FpLong z;
} AEGP_ThreeDVal;

typedef A_FpLong AEGP_FourDVal[4];

typedef A_Handle AEGP_ArbBlockVal;

enum {
    AEGP_KeyInterp_NONE = 0,
    AEGP_KeyInterp_LINEAR,
    AEGP_KeyInterp_BEZIER,
    AEGP_KeyInterp_HOLD,
    AEGP_Interp_NUM_VALUES
};
typedef A_long AEGP_KeyframeInterpolationType;

enum {
    AEGP_KeyInterpMask_NONE = 0,
    AEGP_KeyInterpMask_LINEAR = 1 << 0,
    AEGP_KeyInterpMask_BEZIER = 1 << 1,
    AEGP_KeyInterpMask_HOLD = 1 << 2,
    AEGP_KeyInterpMask_CUSTOM = 1 << 3,
    AEGP_KeyInterpMask_ANY = 0xFFFF
};
typedef A_long AEGP_KeyInterpolationMask;

typedef struct {
    A_FpLong speedF;
    A_FpLong influenceF;
} AEGP_KeyframeEase;

/* The member to read depends on the stream's AEGP_StreamType. */
typedef union {
    AEGP_FourDVal four_d;
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    AEGP_ArbBlockVal arbH;
    AEGP_MarkerValP markerP;
    AEGP_LayerIDVal layer_id;
    AEGP_MaskIDVal mask_id;
    AEGP_MaskOutlineValH mask;
    AEGP_TextDocumentH text_documentH;
} AEGP_StreamVal2;

/* Disposed with AEGP_DisposeStreamValue after a GetNew... call. */
typedef struct {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

/* The value records of the older stream tables, where markers were fixed-size records. */
typedef struct {
    A_char nameAC[AEGP_MAX_MARKER_NAME_SIZE];
    A_char urlAC[AEGP_MAX_MARKER_URL_SIZE];
    A_char targetAC[AEGP_MAX_MARKER_TARGET_SIZE];
    A_char chapterAC[AEGP_MAX_MARKER_CHAPTER_SIZE];
} AEGP_MarkerVal;

typedef AEGP_MarkerVal** AEGP_MarkerValH;

typedef union {
    AEGP_FourDVal four_d;
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    AEGP_ArbBlockVal arbH;
    AEGP_MarkerValH markerH;
    AEGP_LayerIDVal layer_id;
    AEGP_MaskIDVal mask_id;
    AEGP_MaskOutlineValH mask;
    AEGP_TextDocumentH text_documentH;
} AEGP_StreamVal;

typedef struct {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal val;
} AEGP_StreamValue;

enum {
    AEGP_StreamType_NO_DATA = 0,
    AEGP_StreamType_ThreeD_SPATIAL,
    AEGP_StreamType_ThreeD,
    AEGP_StreamType_TwoD_SPATIAL,
    AEGP_StreamType_TwoD,
    AEGP_StreamType_OneD,
    AEGP_StreamType_COLOR,
    AEGP_StreamType_ARB,
    AEGP_StreamType_MARKER,
    AEGP_StreamType_LAYER_ID,
    AEGP_StreamType_MASK_ID,
    AEGP_StreamType_MASK,
    AEGP_StreamType_TEXT_DOCUMENT
};
typedef A_long AEGP_StreamType;

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion6 11
#define kAEGPStreamSuiteVersion5 10
#define kAEGPStreamSuiteVersion4 9
#define kAEGPStreamSuiteVersion3 8
#define kAEGPStreamSuiteVersion2 7
#define kAEGPStreamSuiteVersion1 4

typedef struct AEGP_StreamSuite6 {
    SPAPI A_Err (*AEGP_IsStreamLegal)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                      A_Boolean* is_legalP);
    SPAPI A_Err (*AEGP_CanVaryOverTime)(AEGP_StreamRefH streamH, A_Boolean* can_varyPB);
    SPAPI A_Err (*AEGP_GetValidInterpolations)(AEGP_StreamRefH streamH,
                                               AEGP_KeyInterpolationMask* valid_interpolationsP);
    SPAPI A_Err (*AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                          AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetEffectNumParamStreams)(AEGP_EffectRefH effect_refH, A_long* num_paramsPL);
    SPAPI A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id,
                                                  AEGP_EffectRefH effect_refH,
                                                  PF_ParamIndex param_index,
                                                  AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                         AEGP_MaskStream which_stream,
                                         AEGP_StreamRefH* mask_streamPH);
    SPAPI A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    SPAPI A_Err (*AEGP_GetStreamName)(AEGP_PluginID pluginID, AEGP_StreamRefH streamH,
                                      A_Boolean force_englishB, AEGP_MemHandle* utf_stream_namePH);
    SPAPI A_Err (*AEGP_GetStreamUnitsText)(AEGP_StreamRefH streamH, A_Boolean force_englishB,
                                           A_char* unitsZ);
    SPAPI A_Err (*AEGP_GetStreamProperties)(AEGP_StreamRefH streamH, AEGP_StreamFlags* flagsP,
                                            A_FpLong* minP0, A_FpLong* maxP0);
    SPAPI A_Err (*AEGP_IsStreamTimevarying)(AEGP_StreamRefH streamH, A_Boolean* is_timevaryingPB);
    SPAPI A_Err (*AEGP_GetStreamType)(AEGP_StreamRefH streamH, AEGP_StreamType* stream_typeP);
    SPAPI A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                          AEGP_LTimeMode time_mode, const A_Time* timePT,
                                          A_Boolean pre_expressionB, AEGP_StreamValue2* valueP);
    SPAPI A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* valueP);
    SPAPI A_Err (*AEGP_SetStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                       AEGP_StreamValue2* valueP);
    SPAPI A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                            AEGP_LTimeMode time_mode, const A_Time* timePT,
                                            A_Boolean pre_expressionB, AEGP_StreamVal2* stream_valP,
                                            AEGP_StreamType* stream_typeP0);
    SPAPI A_Err (*AEGP_GetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                           A_Boolean* enabledPB);
    SPAPI A_Err (*AEGP_SetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                           A_Boolean enabledB);
    SPAPI A_Err (*AEGP_GetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                      AEGP_MemHandle* expressionHZ);
    SPAPI A_Err (*AEGP_SetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                      const A_UTF16Char* expressionP);
    SPAPI A_Err (*AEGP_DuplicateStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                           AEGP_StreamRefH* dup_streamPH);
    SPAPI A_Err (*AEGP_GetUniqueStreamID)(AEGP_StreamRefH streamH, int32_t* outID);
} AEGP_StreamSuite6;

/* Version value 7: the older value records (AEGP_StreamValue) and narrow-character names. */
typedef struct AEGP_StreamSuite2 {
    SPAPI A_Err (*AEGP_IsStreamLegal)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                      A_Boolean* is_legalP);
    SPAPI A_Err (*AEGP_CanVaryOverTime)(AEGP_StreamRefH streamH, A_Boolean* can_varyPB);
    SPAPI A_Err (*AEGP_GetValidInterpolations)(AEGP_StreamRefH streamH,
                                               AEGP_KeyInterpolationMask* valid_interpolationsP);
    SPAPI A_Err (*AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                          AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetEffectNumParamStreams)(AEGP_EffectRefH effect_refH, A_long* num_paramsPL);
    SPAPI A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID aegp_plugin_id,
                                                  AEGP_EffectRefH effect_refH,
                                                  PF_ParamIndex param_index,
                                                  AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                         AEGP_MaskStream which_stream,
                                         AEGP_StreamRefH* mask_streamPH);
    SPAPI A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    SPAPI A_Err (*AEGP_GetStreamName)(AEGP_StreamRefH streamH, A_Boolean force_englishB,
                                      A_char* nameZ);
    SPAPI A_Err (*AEGP_GetStreamUnitsText)(AEGP_StreamRefH streamH, A_Boolean force_englishB,
                                           A_char* unitsZ);
    SPAPI A_Err (*AEGP_GetStreamProperties)(AEGP_StreamRefH streamH, AEGP_StreamFlags* flagsP,
                                            A_FpLong* minP0, A_FpLong* maxP0);
    SPAPI A_Err (*AEGP_IsStreamTimevarying)(AEGP_StreamRefH streamH, A_Boolean* is_timevaryingPB);
    SPAPI A_Err (*AEGP_GetStreamType)(AEGP_StreamRefH streamH, AEGP_StreamType* stream_typeP);
    SPAPI A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                          AEGP_LTimeMode time_mode, const A_Time* timePT,
                                          A_Boolean pre_expressionB, AEGP_StreamValue* valueP);
    SPAPI A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue* valueP);
    SPAPI A_Err (*AEGP_SetStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                       AEGP_StreamValue* valueP);
    SPAPI A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layerH, AEGP_LayerStream which_stream,
                                            AEGP_LTimeMode time_mode, const A_Time* timePT,
                                            A_Boolean pre_expressionB, AEGP_StreamVal* stream_valP,
                                            AEGP_StreamType* stream_typeP0);
    SPAPI A_Err (*AEGP_GetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                           A_Boolean* enabledPB);
    SPAPI A_Err (*AEGP_SetExpressionState)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                           A_Boolean enabledB);
    SPAPI A_Err (*AEGP_GetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                      AEGP_MemHandle* expressionHZ);
    SPAPI A_Err (*AEGP_SetExpression)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                      const A_char* expressionP);
    SPAPI A_Err (*AEGP_DuplicateStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                           AEGP_StreamRefH* dup_streamPH);
} AEGP_StreamSuite2;

/* ---- Dynamic streams --------------------------------------------------------------------------
 */

#define AEGP_MAX_STREAM_MATCH_NAME_SIZE 40

enum {
    AEGP_StreamGroupingType_NONE = -1,
    AEGP_StreamGroupingType_LEAF = 0,
    AEGP_StreamGroupingType_NAMED_GROUP = 1,
    AEGP_StreamGroupingType_INDEXED_GROUP = 2
};
typedef A_long AEGP_StreamGroupingType;

enum {
    AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1 << 0,
    AEGP_DynStreamFlag_HIDDEN = 1 << 1, /* the only flag that may be set without undo */
    AEGP_DynStreamFlag_DISABLED = 1 << 4,
    AEGP_DynStreamFlag_ELIDED = 1 << 5,
    AEGP_DynStreamFlag_SHOWN_WHEN_EMPTY = 1 << 10,
    AEGP_DynStreamFlag_SKIP_REVEAL_WHEN_UNHIDDEN = 1 << 16
};
typedef A_u_long AEGP_DynStreamFlags;

#define AEGP_StreamGroupName_MASK_PARADE "ADBE Mask Parade"
#define AEGP_StreamGroupName_MASK_ATOM "ADBE Mask Atom"
#define AEGP_StreamName_MASK_FEATHER "ADBE Mask Feather"
#define AEGP_StreamName_MASK_OPACITY "ADBE Mask Opacity"
#define AEGP_StreamName_MASK_OFFSET "ADBE Mask Offset"
#define AEGP_StreamGroupName_EFFECT_PARADE "ADBE Effect Parade"
#define AEGP_StreamGroupName_LAYER "ADBE Abstract Layer"
#define AEGP_StreamGroupName_AV_LAYER "ADBE AV Layer"
#define AEGP_StreamGroupName_TEXT_LAYER "ADBE Text Layer"
#define AEGP_StreamGroupName_CAMERA_LAYER "ADBE Camera Layer"
#define AEGP_StreamGroupName_LIGHT_LAYER "ADBE Light Layer"
#define AEGP_StreamGroupName_AUDIO "ADBE Audio Group"
#define AEGP_StreamGroupName_MATERIAL_OPTIONS "ADBE Material Options Group"
#define AEGP_StreamGroupName_TRANSFORM "ADBE Transform Group"
#define AEGP_StreamGroupName_LIGHT_OPTIONS "ADBE Light Options Group"
#define AEGP_StreamGroupName_CAMERA_OPTIONS "ADBE Camera Options Group"

#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion4 5
#define kAEGPDynamicStreamSuiteVersion3 3
#define kAEGPDynamicStreamSuiteVersion2 2

typedef struct AEGP_DynamicStreamSuite4 {
    SPAPI A_Err (*AEGP_GetNewStreamRefForLayer)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                                AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetNewStreamRefForMask)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH maskH,
                                               AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetStreamDepth)(AEGP_StreamRefH streamH, A_long* depthPL);
    SPAPI A_Err (*AEGP_GetStreamGroupingType)(AEGP_StreamRefH streamH,
                                              AEGP_StreamGroupingType* group_typeP);
    SPAPI A_Err (*AEGP_GetNumStreamsInGroup)(AEGP_StreamRefH streamH, A_long* num_streamsPL);
    SPAPI A_Err (*AEGP_GetDynamicStreamFlags)(AEGP_StreamRefH streamH,
                                              AEGP_DynStreamFlags* stream_flagsP);
    SPAPI A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                                             A_Boolean undoableB, A_Boolean setB);
    SPAPI A_Err (*AEGP_GetNewStreamRefByIndex)(AEGP_PluginID aegp_plugin_id,
                                               AEGP_StreamRefH parent_groupH, A_long indexL,
                                               AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetNewStreamRefByMatchname)(AEGP_PluginID aegp_plugin_id,
                                                   AEGP_StreamRefH parent_groupH,
                                                   const A_char* match_nameZ,
                                                   AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_DeleteStream)(AEGP_StreamRefH streamH);
    SPAPI A_Err (*AEGP_ReorderStream)(AEGP_StreamRefH streamH, A_long new_indexL);
    SPAPI A_Err (*AEGP_DuplicateStream)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                        A_long* new_indexPL0);
    SPAPI A_Err (*AEGP_SetStreamName)(AEGP_StreamRefH streamH, const A_UTF16Char* nameZ);
    SPAPI A_Err (*AEGP_CanAddStream)(AEGP_StreamRefH group_streamH, const A_char* match_nameZ,
                                     A_Boolean* can_addPB);
    SPAPI A_Err (*AEGP_AddStream)(AEGP_PluginID aegp_plugin_id,
                                  AEGP_StreamRefH indexed_group_streamH, const A_char* match_nameZ,
                                  AEGP_StreamRefH* streamPH0);
    SPAPI A_Err (*AEGP_GetMatchName)(AEGP_StreamRefH streamH, A_char* match_nameZ);
    SPAPI A_Err (*AEGP_GetNewParentStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                              AEGP_StreamRefH* parent_streamPH);
    SPAPI A_Err (*AEGP_GetStreamIsModified)(AEGP_StreamRefH streamH, A_Boolean* modifiedPB);
    SPAPI A_Err (*AEGP_GetStreamIndexInParent)(AEGP_StreamRefH streamH, A_long* indexPL);
    SPAPI A_Err (*AEGP_IsSeparationLeader)(AEGP_StreamRefH streamH, A_Boolean* leaderPB);
    SPAPI A_Err (*AEGP_AreDimensionsSeparated)(AEGP_StreamRefH leader_streamH,
                                               A_Boolean* separatedPB);
    SPAPI A_Err (*AEGP_SetDimensionsSeparated)(AEGP_StreamRefH leader_streamH,
                                               A_Boolean separatedB);
    SPAPI A_Err (*AEGP_GetSeparationFollower)(AEGP_StreamRefH leader_streamH, A_short dimS,
                                              AEGP_StreamRefH* follower_streamPH);
    SPAPI A_Err (*AEGP_IsSeparationFollower)(AEGP_StreamRefH streamH, A_Boolean* followerPB);
    SPAPI A_Err (*AEGP_GetSeparationLeader)(AEGP_StreamRefH follower_streamH,
                                            AEGP_StreamRefH* leader_streamPH);
    SPAPI A_Err (*AEGP_GetSeparationDimension)(AEGP_StreamRefH follower_streamH, A_short* dimPS);
} AEGP_DynamicStreamSuite4;

/* Version value 2: no mask streams, no dimension separation. */
typedef struct AEGP_DynamicStreamSuite2 {
    SPAPI A_Err (*AEGP_GetNewStreamRefForLayer)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                                AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetStreamDepth)(AEGP_StreamRefH streamH, A_long* depthPL);
    SPAPI A_Err (*AEGP_GetStreamGroupingType)(AEGP_StreamRefH streamH,
                                              AEGP_StreamGroupingType* group_typeP);
    SPAPI A_Err (*AEGP_GetNumStreamsInGroup)(AEGP_StreamRefH streamH, A_long* num_streamsPL);
    SPAPI A_Err (*AEGP_GetDynamicStreamFlags)(AEGP_StreamRefH streamH,
                                              AEGP_DynStreamFlags* stream_flagsP);
    SPAPI A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                                             A_Boolean undoableB, A_Boolean setB);
    SPAPI A_Err (*AEGP_GetNewStreamRefByIndex)(AEGP_PluginID aegp_plugin_id,
                                               AEGP_StreamRefH parent_groupH, A_long indexL,
                                               AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_GetNewStreamRefByMatchname)(AEGP_PluginID aegp_plugin_id,
                                                   AEGP_StreamRefH parent_groupH,
                                                   const A_char* match_nameZ,
                                                   AEGP_StreamRefH* streamPH);
    SPAPI A_Err (*AEGP_DeleteStream)(AEGP_StreamRefH streamH);
    SPAPI A_Err (*AEGP_ReorderStream)(AEGP_StreamRefH streamH, A_long new_indexL);
    SPAPI A_Err (*AEGP_DuplicateStream)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                        A_long* new_indexPL0);
    SPAPI A_Err (*AEGP_SetStreamName)(AEGP_StreamRefH streamH, const A_char* nameZ);
    SPAPI A_Err (*AEGP_CanAddStream)(AEGP_StreamRefH group_streamH, const A_char* match_nameZ,
                                     A_Boolean* can_addPB);
    SPAPI A_Err (*AEGP_AddStream)(AEGP_PluginID aegp_plugin_id,
                                  AEGP_StreamRefH indexed_group_streamH, const A_char* match_nameZ,
                                  AEGP_StreamRefH* streamPH0);
    SPAPI A_Err (*AEGP_GetMatchName)(AEGP_StreamRefH streamH, A_char* match_nameZ);
    SPAPI A_Err (*AEGP_GetNewParentStreamRef)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                              AEGP_StreamRefH* parent_streamPH);
    SPAPI A_Err (*AEGP_GetStreamIsModified)(AEGP_StreamRefH streamH, A_Boolean* modifiedPB);
} AEGP_DynamicStreamSuite2;

/* ---- Effects ----------------------------------------------------------------------------------
 */

typedef A_long AEGP_InstalledEffectKey;
#define AEGP_InstalledEffectKey_NONE 0

enum {
    AEGP_EffectFlags_NONE = 0,
    AEGP_EffectFlags_ACTIVE = 1 << 0,
    AEGP_EffectFlags_AUDIO_ONLY = 1 << 1,
    AEGP_EffectFlags_AUDIO_TOO = 1 << 2,
    AEGP_EffectFlags_MISSING = 1 << 3
};
typedef A_long AEGP_EffectFlags;

typedef A_long AEGP_EffectIndex;

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion4 4
#define kAEGPEffectSuiteVersion3 3
#define kAEGPEffectSuiteVersion2 2
#define kAEGPEffectSuiteVersion1 1

typedef struct AEGP_EffectSuite4 {
    SPAPI A_Err (*AEGP_GetLayerNumEffects)(AEGP_LayerH layerH, A_long* num_effectsPL);
    SPAPI A_Err (*AEGP_GetLayerEffectByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                              AEGP_EffectIndex layer_effect_indexL,
                                              AEGP_EffectRefH* effectPH);
    SPAPI A_Err (*AEGP_GetInstalledKeyFromLayerEffect)(
        AEGP_EffectRefH effect_refH, AEGP_InstalledEffectKey* installed_effect_keyP);
    SPAPI A_Err (*AEGP_GetEffectParamUnionByIndex)(AEGP_PluginID aegp_plugin_id,
                                                   AEGP_EffectRefH effect_refH,
                                                   PF_ParamIndex param_index,
                                                   PF_ParamType* param_typeP,
                                                   PF_ParamDefUnion* uP0);
    SPAPI A_Err (*AEGP_GetEffectFlags)(AEGP_EffectRefH effect_refH,
                                       AEGP_EffectFlags* effect_flagsP);
    SPAPI A_Err (*AEGP_SetEffectFlags)(AEGP_EffectRefH effect_refH,
                                       AEGP_EffectFlags effect_flags_set_mask,
                                       AEGP_EffectFlags effect_flags);
    SPAPI A_Err (*AEGP_ReorderEffect)(AEGP_EffectRefH effect_refH, A_long effect_indexL);
    SPAPI A_Err (*AEGP_EffectCallGeneric)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effect_refH,
                                          const A_Time* timePT, PF_Cmd effect_cmd,
                                          void* effect_extraPV);
    SPAPI A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effect_refH);
    SPAPI A_Err (*AEGP_ApplyEffect)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                    AEGP_InstalledEffectKey installed_effect_key,
                                    AEGP_EffectRefH* effect_refPH);
    SPAPI A_Err (*AEGP_DeleteLayerEffect)(AEGP_EffectRefH effect_refH);
    SPAPI A_Err (*AEGP_GetNumInstalledEffects)(A_long* num_installed_effectsPL);
    SPAPI A_Err (*AEGP_GetNextInstalledEffect)(AEGP_InstalledEffectKey installed_effect_key,
                                               AEGP_InstalledEffectKey* next_effectPH);
    SPAPI A_Err (*AEGP_GetEffectName)(AEGP_InstalledEffectKey installed_effect_key, A_char* nameZ);
    SPAPI A_Err (*AEGP_GetEffectMatchName)(AEGP_InstalledEffectKey installed_effect_key,
                                           A_char* match_nameZ);
    SPAPI A_Err (*AEGP_GetEffectCategory)(AEGP_InstalledEffectKey installed_effect_key,
                                          A_char* categoryZ);
    SPAPI A_Err (*AEGP_DuplicateEffect)(AEGP_EffectRefH original_effect_refH,
                                        AEGP_EffectRefH* duplicate_effect_refPH);
    SPAPI A_Err (*AEGP_NumEffectMask)(AEGP_EffectRefH effect_refH, A_u_long* num_masksPL);
    SPAPI A_Err (*AEGP_GetEffectMaskID)(AEGP_EffectRefH effect_refH, A_u_long mask_indexL,
                                        AEGP_MaskIDVal* id_valP);
    SPAPI A_Err (*AEGP_AddEffectMask)(AEGP_EffectRefH effect_refH, AEGP_MaskIDVal id_val,
                                      AEGP_StreamRefH* streamPH0);
    SPAPI A_Err (*AEGP_RemoveEffectMask)(AEGP_EffectRefH effect_refH, AEGP_MaskIDVal id_val);
    SPAPI A_Err (*AEGP_SetEffectMask)(AEGP_EffectRefH effect_refH, A_u_long mask_indexL,
                                      AEGP_MaskIDVal id_val, AEGP_StreamRefH* streamPH0);
} AEGP_EffectSuite4;

/* Version value 2: AEGP_EffectCallGeneric without a command, no effect masks. */
typedef struct AEGP_EffectSuite2 {
    SPAPI A_Err (*AEGP_GetLayerNumEffects)(AEGP_LayerH layerH, A_long* num_effectsPL);
    SPAPI A_Err (*AEGP_GetLayerEffectByIndex)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                              AEGP_EffectIndex layer_effect_indexL,
                                              AEGP_EffectRefH* effectPH);
    SPAPI A_Err (*AEGP_GetInstalledKeyFromLayerEffect)(
        AEGP_EffectRefH effect_refH, AEGP_InstalledEffectKey* installed_effect_keyP);
    SPAPI A_Err (*AEGP_GetEffectParamUnionByIndex)(AEGP_PluginID aegp_plugin_id,
                                                   AEGP_EffectRefH effect_refH,
                                                   PF_ParamIndex param_index,
                                                   PF_ParamType* param_typeP,
                                                   PF_ParamDefUnion* uP0);
    SPAPI A_Err (*AEGP_GetEffectFlags)(AEGP_EffectRefH effect_refH,
                                       AEGP_EffectFlags* effect_flagsP);
    SPAPI A_Err (*AEGP_SetEffectFlags)(AEGP_EffectRefH effect_refH,
                                       AEGP_EffectFlags effect_flags_set_mask,
                                       AEGP_EffectFlags effect_flags);
    SPAPI A_Err (*AEGP_ReorderEffect)(AEGP_EffectRefH effect_refH, A_long effect_indexL);
    SPAPI A_Err (*AEGP_EffectCallGeneric)(AEGP_PluginID aegp_plugin_id, AEGP_EffectRefH effect_refH,
                                          const A_Time* timePT, void* effect_extraPV);
    SPAPI A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effect_refH);
    SPAPI A_Err (*AEGP_ApplyEffect)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                    AEGP_InstalledEffectKey installed_effect_key,
                                    AEGP_EffectRefH* effect_refPH);
    SPAPI A_Err (*AEGP_DeleteLayerEffect)(AEGP_EffectRefH effect_refH);
    SPAPI A_Err (*AEGP_GetNumInstalledEffects)(A_long* num_installed_effectsPL);
    SPAPI A_Err (*AEGP_GetNextInstalledEffect)(AEGP_InstalledEffectKey installed_effect_key,
                                               AEGP_InstalledEffectKey* next_effectPH);
    SPAPI A_Err (*AEGP_GetEffectName)(AEGP_InstalledEffectKey installed_effect_key, A_char* nameZ);
    SPAPI A_Err (*AEGP_GetEffectMatchName)(AEGP_InstalledEffectKey installed_effect_key,
                                           A_char* match_nameZ);
    SPAPI A_Err (*AEGP_GetEffectCategory)(AEGP_InstalledEffectKey installed_effect_key,
                                          A_char* categoryZ);
    SPAPI A_Err (*AEGP_DuplicateEffect)(AEGP_EffectRefH original_effect_refH,
                                        AEGP_EffectRefH* duplicate_effect_refPH);
} AEGP_EffectSuite2;

/* ---- Utilities --------------------------------------------------------------------------------
 */

typedef struct {
    A_long reservedAL[12];
} AEGP_ErrReportState;

enum {
    AEGP_GetPathTypes_PLUGIN = 0,
    AEGP_GetPathTypes_USER_PLUGIN = 1,
    AEGP_GetPathTypes_ALLUSER_PLUGIN = 2,
    AEGP_GetPathTypes_APP = 3
};
typedef A_u_long AEGP_GetPathTypes;

#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion6 13
#define kAEGPUtilitySuiteVersion5 11
#define kAEGPUtilitySuiteVersion4 10
#define kAEGPUtilitySuiteVersion3 7
#define kAEGPUtilitySuiteVersion2 5
#define kAEGPUtilitySuiteVersion1 3

typedef struct AEGP_UtilitySuite6 {
    SPAPI A_Err (*AEGP_ReportInfo)(AEGP_PluginID aegp_plugin_id, const A_char* info_stringZ);
    SPAPI A_Err (*AEGP_ReportInfoUnicode)(AEGP_PluginID aegp_plugin_id,
                                          const A_UTF16Char* info_stringP);
    SPAPI A_Err (*AEGP_GetDriverPluginInitFuncVersion)(A_short* major_versionPS,
                                                       A_short* minor_versionPS);
    SPAPI A_Err (*AEGP_GetDriverImplementationVersion)(A_short* major_versionPS,
                                                       A_short* minor_versionPS);
    SPAPI A_Err (*AEGP_StartQuietErrors)(AEGP_ErrReportState* err_stateP);
    SPAPI A_Err (*AEGP_EndQuietErrors)(A_Boolean report_quieted_errorsB,
                                       AEGP_ErrReportState* err_stateP);
    SPAPI A_Err (*AEGP_GetLastErrorMessage)(A_long buffer_size, A_char* error_string,
                                            A_Err* error_num);
    SPAPI A_Err (*AEGP_StartUndoGroup)(const A_char* undo_nameZ);
    SPAPI A_Err (*AEGP_EndUndoGroup)(void);
    SPAPI A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon,
                                         const A_char* plugin_nameZ, AEGP_PluginID* plugin_id);
    SPAPI A_Err (*AEGP_GetMainHWND)(void* main_hwnd);
    SPAPI A_Err (*AEGP_ShowHideAllFloaters)(A_Boolean include_tool_palB);
    SPAPI A_Err (*AEGP_PaintPalGetForeColor)(AEGP_ColorVal* fore_colorP);
    SPAPI A_Err (*AEGP_PaintPalGetBackColor)(AEGP_ColorVal* back_colorP);
    SPAPI A_Err (*AEGP_PaintPalSetForeColor)(const AEGP_ColorVal* fore_colorP);
    SPAPI A_Err (*AEGP_PaintPalSetBackColor)(const AEGP_ColorVal* back_colorP);
    SPAPI A_Err (*AEGP_CharPalGetFillColor)(A_Boolean* is_fill_color_definedPB,
                                            AEGP_ColorVal* fill_colorP);
    SPAPI A_Err (*AEGP_CharPalGetStrokeColor)(A_Boolean* is_stroke_color_definedPB,
                                              AEGP_ColorVal* stroke_colorP);
    SPAPI A_Err (*AEGP_CharPalSetFillColor)(const AEGP_ColorVal* fill_colorP);
    SPAPI A_Err (*AEGP_CharPalSetStrokeColor)(const AEGP_ColorVal* stroke_colorP);
    SPAPI A_Err (*AEGP_CharPalIsFillColorUIFrontmost)(A_Boolean* is_fill_color_selectedPB);
    SPAPI A_Err (*AEGP_ConvertFpLongToHSFRatio)(A_FpLong numberF, A_Ratio* ratioPR);
    SPAPI A_Err (*AEGP_ConvertHSFRatioToFpLong)(A_Ratio ratioR, A_FpLong* numberPF);
    SPAPI A_Err (*AEGP_CauseIdleRoutinesToBeCalled)(void);
    SPAPI A_Err (*AEGP_GetSuppressInteractiveUI)(A_Boolean* ui_is_suppressedPB);
    SPAPI A_Err (*AEGP_WriteToOSConsole)(const A_char* textZ);
    SPAPI A_Err (*AEGP_WriteToDebugLog)(const A_char* subsystemZ, const A_char* event_typeZ,
                                        const A_char* infoZ);
    SPAPI A_Err (*AEGP_IsScriptingAvailable)(A_Boolean* outAvailablePB);
    SPAPI A_Err (*AEGP_ExecuteScript)(AEGP_PluginID inPlugin_id, const A_char* inScriptZ,
                                      const A_Boolean platform_encodingB,
                                      AEGP_MemHandle* outResultPH0,
                                      AEGP_MemHandle* outErrorStringPH0);
    SPAPI A_Err (*AEGP_HostIsActivated)(A_Boolean* is_activatedPB);
    SPAPI A_Err (*AEGP_GetPluginPlatformRef)(AEGP_PluginID plug_id, void** plat_refPPV);
    SPAPI A_Err (*AEGP_UpdateFontList)(void);
    SPAPI A_Err (*AEGP_GetPluginPaths)(AEGP_PluginID aegp_plugin_id, AEGP_GetPathTypes path_type,
                                       AEGP_MemHandle* unicode_pathPH);
} AEGP_UtilitySuite6;

/* Version value 11: narrow-character info text, no plug-in paths. */
typedef struct AEGP_UtilitySuite5 {
    SPAPI A_Err (*AEGP_ReportInfo)(AEGP_PluginID aegp_plugin_id, const A_char* info_stringZ);
    SPAPI A_Err (*AEGP_GetDriverPluginInitFuncVersion)(A_short* major_versionPS,
                                                       A_short* minor_versionPS);
    SPAPI A_Err (*AEGP_GetDriverImplementationVersion)(A_short* major_versionPS,
                                                       A_short* minor_versionPS);
    SPAPI A_Err (*AEGP_StartQuietErrors)(AEGP_ErrReportState* err_stateP);
    SPAPI A_Err (*AEGP_EndQuietErrors)(A_Boolean report_quieted_errorsB,
                                       AEGP_ErrReportState* err_stateP);
    SPAPI A_Err (*AEGP_GetLastErrorMessage)(A_long buffer_size, A_char* error_string,
                                            A_Err* error_num);
    SPAPI A_Err (*AEGP_StartUndoGroup)(const A_char* undo_nameZ);
    SPAPI A_Err (*AEGP_EndUndoGroup)(void);
    SPAPI A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon,
                                         const A_char* plugin_nameZ, AEGP_PluginID* plugin_id);
    SPAPI A_Err (*AEGP_GetMainHWND)(void* main_hwnd);
    SPAPI A_Err (*AEGP_ShowHideAllFloaters)(A_Boolean include_tool_palB);
    SPAPI A_Err (*AEGP_PaintPalGetForeColor)(AEGP_ColorVal* fore_colorP);
    SPAPI A_Err (*AEGP_PaintPalGetBackColor)(AEGP_ColorVal* back_colorP);
    SPAPI A_Err (*AEGP_PaintPalSetForeColor)(const AEGP_ColorVal* fore_colorP);
    SPAPI A_Err (*AEGP_PaintPalSetBackColor)(const AEGP_ColorVal* back_colorP);
    SPAPI A_Err (*AEGP_CharPalGetFillColor)(A_Boolean* is_fill_color_definedPB,
                                            AEGP_ColorVal* fill_colorP);
    SPAPI A_Err (*AEGP_CharPalGetStrokeColor)(A_Boolean* is_stroke_color_definedPB,
                                              AEGP_ColorVal* stroke_colorP);
    SPAPI A_Err (*AEGP_CharPalSetFillColor)(const AEGP_ColorVal* fill_colorP);
    SPAPI A_Err (*AEGP_CharPalSetStrokeColor)(const AEGP_ColorVal* stroke_colorP);
    SPAPI A_Err (*AEGP_CharPalIsFillColorUIFrontmost)(A_Boolean* is_fill_color_selectedPB);
    SPAPI A_Err (*AEGP_ConvertFpLongToHSFRatio)(A_FpLong numberF, A_Ratio* ratioPR);
    SPAPI A_Err (*AEGP_ConvertHSFRatioToFpLong)(A_Ratio ratioR, A_FpLong* numberPF);
    SPAPI A_Err (*AEGP_CauseIdleRoutinesToBeCalled)(void);
    SPAPI A_Err (*AEGP_GetSuppressInteractiveUI)(A_Boolean* ui_is_suppressedPB);
    SPAPI A_Err (*AEGP_WriteToOSConsole)(const A_char* textZ);
    SPAPI A_Err (*AEGP_WriteToDebugLog)(const A_char* subsystemZ, const A_char* event_typeZ,
                                        const A_char* infoZ);
    SPAPI A_Err (*AEGP_IsScriptingAvailable)(A_Boolean* outAvailablePB);
    SPAPI A_Err (*AEGP_ExecuteScript)(AEGP_PluginID inPlugin_id, const A_char* inScriptZ,
                                      const A_Boolean platform_encodingB,
                                      AEGP_MemHandle* outResultPH0,
                                      AEGP_MemHandle* outErrorStringPH0);
    SPAPI A_Err (*AEGP_HostIsActivated)(A_Boolean* is_activatedPB);
    SPAPI A_Err (*AEGP_GetPluginPlatformRef)(AEGP_PluginID plug_id, void** plat_refPPV);
    SPAPI A_Err (*AEGP_UpdateFontList)(void);
} AEGP_UtilitySuite5;

/* ---- The effect's own place in the project ----------------------------------------------------
 * An effect reference obtained with AEGP_GetNewEffectForEffect is disposed with
 * AEGP_DisposeEffect of the effect suite. */

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1

typedef struct AEGP_PFInterfaceSuite1 {
    SPAPI A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_pp_ref, AEGP_LayerH* layerPH);
    SPAPI A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID aegp_plugin_id,
                                              PF_ProgPtr effect_pp_ref,
                                              AEGP_EffectRefH* effect_refPH);
    SPAPI A_Err (*AEGP_ConvertEffectToCompTime)(PF_ProgPtr effect_pp_ref, A_long what_timeL,
                                                A_u_long time_scaleLu, A_Time* comp_timePT);
    SPAPI A_Err (*AEGP_GetEffectCamera)(PF_ProgPtr effect_pp_ref, const A_Time* comp_timePT,
                                        AEGP_LayerH* camera_layerPH);
    SPAPI A_Err (*AEGP_GetEffectCameraMatrix)(PF_ProgPtr effect_pp_ref, const A_Time* comp_timePT,
                                              A_Matrix4* camera_matrixP,
                                              A_FpLong* dist_to_image_planePF,
                                              A_short* image_plane_widthPL,
                                              A_short* image_plane_heightPL);
} AEGP_PFInterfaceSuite1;

#ifdef __cplusplus
}
#endif

#endif /* PLURION_SDK_AE_GENERALPLUG_H */
