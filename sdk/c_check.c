/* Compiles every interface header as plain C and pins the sizes, offsets and values that the
 * host and the effect must agree on. The figures are those of the host's 64-bit Windows build
 * (natural alignment, 8-byte pointers); they hold unchanged on 64-bit Linux and macOS because
 * no structure uses a type whose size differs between those platforms. */

#include "A.h"
#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectPixelFormat.h"
#include "AE_EffectSuites.h"
#include "AE_EffectUI.h"
#include "AE_GeneralPlug.h"
#include "AE_Macros.h"
#include "AE_PluginData.h"
#include "PF_Masks.h"
#include "SPBasic.h"
#include "SPErrorCodes.h"
#include "SPTypes.h"
#include "adobesdk/DrawbotSuite.h"
#include "adobesdk/config/AdobesdkTypes.h"
#include "adobesdk/drawbotsuite/DrawbotSuiteTypes.h"

#include <stddef.h>

#ifdef __cplusplus
#define SDK_CHECK(cond) static_assert(cond, #cond)
#else
#define SDK_CHECK(cond) _Static_assert(cond, #cond)
#endif

#define SDK_SIZE(type, bytes) SDK_CHECK(sizeof(type) == (bytes))
#define SDK_AT(type, field, bytes) SDK_CHECK(offsetof(type, field) == (bytes))

/* ---- Scalars ----------------------------------------------------------------------------------
 */

SDK_SIZE(A_long, 4);
SDK_SIZE(A_u_long, 4);
SDK_SIZE(A_short, 2);
SDK_SIZE(A_Boolean, 1);
SDK_SIZE(A_u_longlong, 8);
SDK_SIZE(A_intptr_t, 8);
SDK_SIZE(PF_Err, 4);
SDK_SIZE(PF_Cmd, 4);
SDK_SIZE(PF_Fixed, 4);
SDK_SIZE(PF_Boolean, 1);
SDK_SIZE(PF_Handle, 8);
SDK_SIZE(SPErr, 4);
SDK_SIZE(SPBoolean, 4);
SDK_SIZE(A_Time, 8);
SDK_SIZE(A_FloatRect, 32);
SDK_SIZE(A_Matrix3, 72);
SDK_SIZE(A_LRect, 16);

/* ---- Pixels and geometry ----------------------------------------------------------------------
 */

SDK_SIZE(PF_Pixel, 4);
SDK_AT(PF_Pixel, alpha, 0);
SDK_AT(PF_Pixel, blue, 3);
SDK_SIZE(PF_Pixel16, 8);
SDK_AT(PF_Pixel16, alpha, 0);
SDK_AT(PF_Pixel16, blue, 6);
SDK_SIZE(PF_PixelFloat, 16);
SDK_AT(PF_PixelFloat, alpha, 0);
SDK_AT(PF_PixelFloat, red, 4);
SDK_AT(PF_PixelFloat, blue, 12);
SDK_SIZE(PF_Point, 8);
SDK_SIZE(PF_LRect, 16);
SDK_AT(PF_LRect, left, 0);
SDK_AT(PF_LRect, top, 4);
SDK_AT(PF_LRect, right, 8);
SDK_AT(PF_LRect, bottom, 12);
SDK_SIZE(PF_RationalScale, 8);
SDK_SIZE(PF_FloatMatrix, 72);
SDK_AT(PF_FloatMatrix, mat[2][0], 48);

SDK_SIZE(PF_CompositeMode, 12);
SDK_AT(PF_CompositeMode, xfer, 0);
SDK_AT(PF_CompositeMode, rand_seed, 4);
SDK_AT(PF_CompositeMode, opacity, 8);
SDK_AT(PF_CompositeMode, rgb_only, 9);
SDK_AT(PF_CompositeMode, opacitySu, 10);

/* ---- Worlds -----------------------------------------------------------------------------------
 */

SDK_SIZE(PF_LayerDef, 120);
SDK_SIZE(PF_EffectWorld, 120);
SDK_AT(PF_LayerDef, reserved0, 0);
SDK_AT(PF_LayerDef, reserved1, 8);
SDK_AT(PF_LayerDef, world_flags, 16);
SDK_AT(PF_LayerDef, data, 24);
SDK_AT(PF_LayerDef, rowbytes, 32);
SDK_AT(PF_LayerDef, width, 36);
SDK_AT(PF_LayerDef, height, 40);
SDK_AT(PF_LayerDef, extent_hint, 44);
SDK_AT(PF_LayerDef, platform_ref, 64);
SDK_AT(PF_LayerDef, reserved_long1, 72);
SDK_AT(PF_LayerDef, reserved_long4, 80);
SDK_AT(PF_LayerDef, pix_aspect_ratio, 88);
SDK_AT(PF_LayerDef, reserved_long2, 96);
SDK_AT(PF_LayerDef, origin_x, 104);
SDK_AT(PF_LayerDef, origin_y, 108);
SDK_AT(PF_LayerDef, reserved_long3, 112);
SDK_AT(PF_LayerDef, dephault, 116);

SDK_SIZE(PF_SoundWorld, 32);
SDK_SIZE(PF_ChannelChunk, 104);
SDK_AT(PF_ChannelChunk, dataH, 88);

SDK_SIZE(PF_MaskWorld, 136);
SDK_AT(PF_MaskWorld, offset, 120);
SDK_AT(PF_MaskWorld, what_is_mask, 128);
SDK_SIZE(PF_SampPB, 104);
SDK_AT(PF_SampPB, src, 16);
SDK_AT(PF_SampPB, comp_mode, 36);
SDK_AT(PF_SampPB, mask0, 48);
SDK_AT(PF_SampPB, reserved, 72);

/* ---- Parameters -------------------------------------------------------------------------------
 */

SDK_SIZE(PF_SliderDef, 88);
SDK_AT(PF_SliderDef, valid_min, 68);
SDK_AT(PF_SliderDef, dephault, 84);
SDK_SIZE(PF_FixedSliderDef, 92);
SDK_SIZE(PF_FloatSliderDef, 88);
SDK_AT(PF_FloatSliderDef, value, 0);
SDK_AT(PF_FloatSliderDef, phase, 8);
SDK_AT(PF_FloatSliderDef, value_desc, 16);
SDK_AT(PF_FloatSliderDef, valid_min, 48);
SDK_AT(PF_FloatSliderDef, dephault, 64);
SDK_AT(PF_FloatSliderDef, precision, 68);
SDK_AT(PF_FloatSliderDef, display_flags, 70);
SDK_AT(PF_FloatSliderDef, fs_flags, 72);
SDK_AT(PF_FloatSliderDef, curve_tolerance, 76);
SDK_AT(PF_FloatSliderDef, useExponent, 80);
SDK_AT(PF_FloatSliderDef, exponent, 84);
SDK_SIZE(PF_AngleDef, 16);
SDK_SIZE(PF_CheckBoxDef, 16);
SDK_AT(PF_CheckBoxDef, u, 8);
SDK_SIZE(PF_ColorDef, 8);
SDK_SIZE(PF_PointDef, 20);
SDK_AT(PF_PointDef, restrict_bounds, 11);
SDK_AT(PF_PointDef, x_dephault, 12);
SDK_SIZE(PF_Point3DDef, 64);
SDK_SIZE(PF_PopupDef, 16);
SDK_AT(PF_PopupDef, num_choices, 4);
SDK_AT(PF_PopupDef, dephault, 6);
SDK_AT(PF_PopupDef, u, 8);
SDK_SIZE(PF_ButtonDef, 16);
SDK_SIZE(PF_PathDef, 12);
SDK_SIZE(PF_ArbitraryDef, 32);
SDK_AT(PF_ArbitraryDef, dephault, 8);

SDK_SIZE(PF_ParamDefUnion, 120);
SDK_SIZE(PF_ParamDef, 176);
SDK_AT(PF_ParamDef, uu, 0);
SDK_AT(PF_ParamDef, ui_flags, 4);
SDK_AT(PF_ParamDef, ui_width, 8);
SDK_AT(PF_ParamDef, ui_height, 10);
SDK_AT(PF_ParamDef, param_type, 12);
SDK_AT(PF_ParamDef, name, 16);
SDK_AT(PF_ParamDef, flags, 48);
SDK_AT(PF_ParamDef, unused, 52);
SDK_AT(PF_ParamDef, u, 56);

SDK_SIZE(PF_UserChangedParamExtra, 4);

/* ---- Blocks of every call ---------------------------------------------------------------------
 */

SDK_SIZE(PF_InteractCallbacks, 176);
SDK_AT(PF_InteractCallbacks, checkout_param, 0);
SDK_AT(PF_InteractCallbacks, checkin_param, 8);
SDK_AT(PF_InteractCallbacks, add_param, 16);
SDK_AT(PF_InteractCallbacks, abort, 24);
SDK_AT(PF_InteractCallbacks, progress, 32);
SDK_AT(PF_InteractCallbacks, register_ui, 40);
SDK_AT(PF_InteractCallbacks, get_audio_data, 64);
SDK_AT(PF_InteractCallbacks, reserved_str, 72);
SDK_AT(PF_InteractCallbacks, reserved, 96);

SDK_SIZE(PF_InData, 408);
SDK_AT(PF_InData, inter, 0);
SDK_AT(PF_InData, utils, 176);
SDK_AT(PF_InData, effect_ref, 184);
SDK_AT(PF_InData, quality, 192);
SDK_AT(PF_InData, version, 196);
SDK_AT(PF_InData, serial_num, 200);
SDK_AT(PF_InData, num_params, 208);
SDK_AT(PF_InData, current_time, 224);
SDK_AT(PF_InData, time_step, 228);
SDK_AT(PF_InData, total_time, 232);
SDK_AT(PF_InData, local_time_step, 236);
SDK_AT(PF_InData, time_scale, 240);
SDK_AT(PF_InData, field, 244);
SDK_AT(PF_InData, shutter_angle, 248);
SDK_AT(PF_InData, width, 252);
SDK_AT(PF_InData, height, 256);
SDK_AT(PF_InData, extent_hint, 260);
SDK_AT(PF_InData, output_origin_x, 276);
SDK_AT(PF_InData, downsample_x, 284);
SDK_AT(PF_InData, downsample_y, 292);
SDK_AT(PF_InData, pixel_aspect_ratio, 300);
SDK_AT(PF_InData, in_flags, 308);
SDK_AT(PF_InData, global_data, 312);
SDK_AT(PF_InData, sequence_data, 320);
SDK_AT(PF_InData, frame_data, 328);
SDK_AT(PF_InData, start_sampL, 336);
SDK_AT(PF_InData, total_sampL, 344);
SDK_AT(PF_InData, src_snd, 352);
SDK_AT(PF_InData, pica_basicP, 384);
SDK_AT(PF_InData, pre_effect_source_origin_x, 392);
SDK_AT(PF_InData, pre_effect_source_origin_y, 396);
SDK_AT(PF_InData, shutter_phase, 400);

SDK_SIZE(PF_OutData, 408);
SDK_AT(PF_OutData, my_version, 0);
SDK_AT(PF_OutData, name, 4);
SDK_AT(PF_OutData, global_data, 40);
SDK_AT(PF_OutData, num_params, 48);
SDK_AT(PF_OutData, sequence_data, 56);
SDK_AT(PF_OutData, flat_sdata_size, 64);
SDK_AT(PF_OutData, frame_data, 72);
SDK_AT(PF_OutData, width, 80);
SDK_AT(PF_OutData, height, 84);
SDK_AT(PF_OutData, origin, 88);
SDK_AT(PF_OutData, out_flags, 96);
SDK_AT(PF_OutData, return_msg, 100);
SDK_AT(PF_OutData, start_sampL, 356);
SDK_AT(PF_OutData, dur_sampL, 360);
SDK_AT(PF_OutData, dest_snd, 368);
SDK_AT(PF_OutData, out_flags2, 400);

/* ---- Smart render -----------------------------------------------------------------------------
 */

SDK_SIZE(PF_RenderRequest, 44);
SDK_AT(PF_RenderRequest, rect, 0);
SDK_AT(PF_RenderRequest, field, 16);
SDK_AT(PF_RenderRequest, channel_mask, 20);
SDK_AT(PF_RenderRequest, preserve_rgb_of_zero_alpha, 24);
SDK_AT(PF_RenderRequest, reserved, 28);

SDK_SIZE(PF_PreRenderInput, 64);
SDK_AT(PF_PreRenderInput, bitdepth, 44);
SDK_AT(PF_PreRenderInput, gpu_data, 48);
SDK_AT(PF_PreRenderInput, what_gpu, 56);
SDK_AT(PF_PreRenderInput, device_index, 60);

SDK_SIZE(PF_PreRenderOutput, 56);
SDK_AT(PF_PreRenderOutput, result_rect, 0);
SDK_AT(PF_PreRenderOutput, max_result_rect, 16);
SDK_AT(PF_PreRenderOutput, solid, 32);
SDK_AT(PF_PreRenderOutput, flags, 34);
SDK_AT(PF_PreRenderOutput, pre_render_data, 40);
SDK_AT(PF_PreRenderOutput, delete_pre_render_data_func, 48);

SDK_SIZE(PF_CheckoutResult, 76);
SDK_AT(PF_CheckoutResult, par, 32);
SDK_AT(PF_CheckoutResult, solid, 40);
SDK_AT(PF_CheckoutResult, ref_width, 44);
SDK_AT(PF_CheckoutResult, ref_height, 48);
SDK_AT(PF_CheckoutResult, reserved, 52);

SDK_SIZE(PF_PreRenderCallbacks, 16);
SDK_AT(PF_PreRenderCallbacks, checkout_layer, 0);
SDK_AT(PF_PreRenderCallbacks, GuidMixInPtr, 8);
SDK_SIZE(PF_PreRenderExtra, 24);
SDK_AT(PF_PreRenderExtra, input, 0);
SDK_AT(PF_PreRenderExtra, output, 8);
SDK_AT(PF_PreRenderExtra, cb, 16);

SDK_SIZE(PF_SmartRenderInput, 72);
SDK_AT(PF_SmartRenderInput, bitdepth, 44);
SDK_AT(PF_SmartRenderInput, pre_render_data, 48);
SDK_AT(PF_SmartRenderInput, gpu_data, 56);
SDK_AT(PF_SmartRenderInput, what_gpu, 64);
SDK_AT(PF_SmartRenderInput, device_index, 68);
SDK_SIZE(PF_SmartRenderCallbacks, 24);
SDK_AT(PF_SmartRenderCallbacks, checkout_layer_pixels, 0);
SDK_AT(PF_SmartRenderCallbacks, checkin_layer_pixels, 8);
SDK_AT(PF_SmartRenderCallbacks, checkout_output, 16);
SDK_SIZE(PF_SmartRenderExtra, 16);
SDK_AT(PF_SmartRenderExtra, input, 0);
SDK_AT(PF_SmartRenderExtra, cb, 8);

/* ---- Utility callbacks ------------------------------------------------------------------------
 */

SDK_SIZE(PF_ANSICallbacks, 160);
SDK_AT(PF_ANSICallbacks, sprintf, 120);
SDK_AT(PF_ANSICallbacks, ansi_procs, 152);
SDK_SIZE(PF_ColorCallbacks, 64);
SDK_SIZE(PF_UtilCallbacks, 552);
SDK_AT(PF_UtilCallbacks, begin_sampling, 0);
SDK_AT(PF_UtilCallbacks, copy, 64);
SDK_AT(PF_UtilCallbacks, fill, 72);
SDK_AT(PF_UtilCallbacks, new_world, 112);
SDK_AT(PF_UtilCallbacks, transfer_rect, 144);
SDK_AT(PF_UtilCallbacks, transform_world, 152);
SDK_AT(PF_UtilCallbacks, host_new_handle, 160);
SDK_AT(PF_UtilCallbacks, host_dispose_handle, 184);
SDK_AT(PF_UtilCallbacks, app, 200);
SDK_AT(PF_UtilCallbacks, ansi, 208);
SDK_AT(PF_UtilCallbacks, colorCB, 368);
SDK_AT(PF_UtilCallbacks, get_platform_data, 432);
SDK_AT(PF_UtilCallbacks, iterate_generic, 456);
SDK_AT(PF_UtilCallbacks, get_pixel_data16, 536);
SDK_AT(PF_UtilCallbacks, reserved, 544);

/* ---- Suites -----------------------------------------------------------------------------------
 */

SDK_SIZE(SPBasicSuite, 56);
SDK_AT(SPBasicSuite, AcquireSuite, 0);
SDK_AT(SPBasicSuite, ReleaseSuite, 8);
SDK_AT(SPBasicSuite, Undefined, 48);
SDK_SIZE(PF_HandleSuite1, 48);
SDK_SIZE(PF_ANSICallbacksSuite1, 152);
SDK_AT(PF_ANSICallbacksSuite1, sprintf, 120);
SDK_SIZE(PF_WorldSuite2, 24);
SDK_AT(PF_WorldSuite2, PF_GetPixelFormat, 16);

/* ---- Custom user interface ------------------------------------------------------------------- */

SDK_SIZE(PF_AdjustCursorEventInfo, 16);
SDK_AT(PF_AdjustCursorEventInfo, set_cursor, 12);
SDK_SIZE(PF_DoClickEventInfo, 64);
SDK_AT(PF_DoClickEventInfo, screen_point, 4);
SDK_AT(PF_DoClickEventInfo, num_clicks, 12);
SDK_AT(PF_DoClickEventInfo, continue_refcon, 24);
SDK_AT(PF_DoClickEventInfo, send_drag, 56);
SDK_AT(PF_DoClickEventInfo, last_time, 57);
SDK_SIZE(PF_EventUnion, 64);
SDK_SIZE(PF_Context, 72);
SDK_AT(PF_Context, w_type, 4);
SDK_AT(PF_Context, plugin_state, 16);
SDK_AT(PF_Context, reserved_drawref, 48);
SDK_SIZE(PF_EventCallbacks, 72);
SDK_AT(PF_EventCallbacks, layer_to_comp, 8);
SDK_AT(PF_EventCallbacks, comp_to_layer, 16);
SDK_AT(PF_EventCallbacks, source_to_frame, 40);
SDK_AT(PF_EventCallbacks, frame_to_source, 48);
SDK_SIZE(PF_EffectWindowInfo, 44);
SDK_SIZE(PF_EventExtra, 208);
SDK_AT(PF_EventExtra, contextH, 0);
SDK_AT(PF_EventExtra, e_type, 8);
SDK_AT(PF_EventExtra, u, 16);
SDK_AT(PF_EventExtra, effect_win, 80);
SDK_AT(PF_EventExtra, cbs, 128);
SDK_AT(PF_EventExtra, evt_in_flags, 200);
SDK_AT(PF_EventExtra, evt_out_flags, 204);
SDK_SIZE(PF_CustomUIInfo, 44);
SDK_AT(PF_CustomUIInfo, events, 4);
SDK_AT(PF_CustomUIInfo, layer_ui_width, 20);
SDK_AT(PF_CustomUIInfo, preview_ui_alignment, 40);
SDK_SIZE(PF_DrawEventInfo, 20);
SDK_AT(PF_EventCallbacks, refcon, 0);
SDK_AT(PF_EventCallbacks, get_comp2layer_xform, 24);
SDK_AT(PF_EventCallbacks, get_layer2comp_xform, 32);
SDK_AT(PF_EventCallbacks, info_draw_text, 64);

SDK_SIZE(DRAWBOT_ColorRGBA, 16);
SDK_AT(DRAWBOT_ColorRGBA, alpha, 12);
SDK_SIZE(DRAWBOT_RectF32, 16);
SDK_SIZE(DRAWBOT_DrawbotSuite1, 16);
SDK_SIZE(DRAWBOT_SupplierSuite1, 104);
SDK_AT(DRAWBOT_SupplierSuite1, NewPath, 48);
SDK_AT(DRAWBOT_SupplierSuite1, ReleaseObject, 96);
SDK_SIZE(DRAWBOT_SurfaceSuite2, 136);
SDK_AT(DRAWBOT_SurfaceSuite2, PaintRect, 16);
SDK_AT(DRAWBOT_SurfaceSuite2, Flush, 120);
SDK_SIZE(DRAWBOT_PathSuite1, 48);
SDK_AT(DRAWBOT_PathSuite1, LineTo, 8);
SDK_AT(DRAWBOT_PathSuite1, Close, 40);
SDK_AT(DRAWBOT_SurfaceSuite2, StrokePath, 32);
SDK_AT(DRAWBOT_SurfaceSuite2, Transform, 64);
SDK_AT(DRAWBOT_SurfaceSuite2, GetTransformToScreenScale, 128);
SDK_SIZE(DRAWBOT_MatrixF32, 36);
SDK_SIZE(DRAWBOT_Rect32, 16);
SDK_SIZE(DRAWBOT_Suites, 48);

/* ---- Effect suites ----------------------------------------------------------------------------
 */

SDK_SIZE(PF_PathVertex, 48);
SDK_AT(PF_PathVertex, tan_in_x, 16);
SDK_AT(PF_PathVertex, tan_out_x, 32);
SDK_SIZE(PF_PathQuerySuite1, 32);
SDK_AT(PF_PathQuerySuite1, PF_CheckoutPath, 16);
SDK_AT(PF_PathQuerySuite1, PF_CheckinPath, 24);
SDK_SIZE(PF_PathDataSuite1, 88);
SDK_AT(PF_PathDataSuite1, PF_PathVertexInfo, 16);
SDK_AT(PF_PathDataSuite1, PF_PathPrepareSegLength, 24);
SDK_AT(PF_PathDataSuite1, PF_PathGetSegLength, 32);
SDK_AT(PF_PathDataSuite1, PF_PathEvalSegLengthDeriv1, 48);
SDK_AT(PF_PathDataSuite1, PF_PathCleanupSegLength, 56);
SDK_SIZE(PF_State, 16);
SDK_SIZE(PF_ParamUtilsSuite3, 72);
SDK_AT(PF_ParamUtilsSuite3, PF_UpdateParamUI, 0);
SDK_CHECK(kPFParamUtilsSuiteVersion3 == 3);
SDK_SIZE(PF_EffectCustomUISuite1, 8);
SDK_SIZE(PF_EffectCustomUIOverlayThemeSuite1, 64);
SDK_AT(PF_EffectCustomUIOverlayThemeSuite1, PF_StrokePath, 40);
SDK_SIZE(PF_MaskSuite1, 8);
SDK_AT(PF_MaskSuite1, PF_MaskWorldWithPath, 0);

/* ---- Values -----------------------------------------------------------------------------------
 */

SDK_CHECK(PF_Cmd_PARAMS_SETUP == 4);
SDK_CHECK(PF_Cmd_USER_CHANGED_PARAM == 13);
SDK_CHECK(PF_Cmd_UPDATE_PARAMS_UI == 14);
SDK_CHECK(PF_Cmd_EVENT == 15);
SDK_CHECK(PF_Cmd_ARBITRARY_CALLBACK == 22);
SDK_CHECK(PF_Cmd_SMART_PRE_RENDER == 23);
SDK_CHECK(PF_Cmd_SMART_RENDER == 24);
SDK_CHECK(PF_Cmd_GPU_DEVICE_SETDOWN == 33);

SDK_CHECK(PF_Err_OUT_OF_MEMORY == 4);
SDK_CHECK(PF_Err_INTERNAL_STRUCT_DAMAGED == 512);
SDK_CHECK(PF_Err_UNRECOGNIZED_PARAM_TYPE == 514);
SDK_CHECK(PF_Err_BAD_CALLBACK_PARAM == 516);
SDK_CHECK(PF_Interrupt_CANCEL == 517);
SDK_CHECK(PF_Err_CANNOT_PARSE_KEYFRAME_TEXT == 518);

SDK_CHECK((PF_OutFlag_USE_OUTPUT_EXTENT | PF_OutFlag_PIX_INDEPENDENT | PF_OutFlag_CUSTOM_UI |
           PF_OutFlag_I_USE_SHUTTER_ANGLE | PF_OutFlag_DEEP_COLOR_AWARE |
           PF_OutFlag_SEND_UPDATE_PARAMS_UI) == 0x06088440);
SDK_CHECK(PF_OutFlag_DISPLAY_ERROR_MESSAGE == 0x100);
SDK_CHECK((PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_FLOAT_COLOR_AWARE |
           PF_OutFlag2_DEPENDS_ON_UNREFERENCED_MASKS | PF_OutFlag2_SUPPORTS_THREADED_RENDERING) ==
          0x08081400);
SDK_CHECK((A_u_long)PF_OutFlag_AUDIO_EFFECT_ONLY == 0x80000000u);

SDK_CHECK(PF_VERSION(1, 4, 1, PF_Stage_RELEASE, 1) == 0x000A0E01u);
SDK_CHECK(PF_Version_VERS(0x000A0E01u) == 1);
SDK_CHECK(PF_Version_SUBVERS(0x000A0E01u) == 4);
SDK_CHECK(PF_Version_BUGFIX(0x000A0E01u) == 1);
SDK_CHECK(PF_Version_STAGE(0x000A0E01u) == PF_Stage_RELEASE);
SDK_CHECK(PF_Version_BUILD(0x000A0E01u) == 1);

SDK_CHECK(PF_Param_FLOAT_SLIDER == 10);
SDK_CHECK(PF_Param_GROUP_START == 13);
SDK_CHECK(PF_Param_GROUP_END == 14);
SDK_CHECK(PF_Param_POINT_3D == 18);
SDK_CHECK(PF_ParamFlag_SUPERVISE == 64);
SDK_CHECK(PF_PUI_INVISIBLE == 512);
SDK_CHECK(PF_ChangeFlag_CHANGED_VALUE == 1);
SDK_CHECK(PF_ParamFlag_COLLAPSE_TWIRLY == 32 && PF_ParamFlag_CANNOT_TIME_VARY == 2);
SDK_CHECK(PF_PUI_DISABLED == 32 && PF_PUI_ECW_SEPARATOR == 16);
SDK_CHECK(PF_ValueDisplayFlag_PERCENT == 1);
SDK_CHECK(PF_LayerDefault_NONE == 0 && PF_LayerDefault_MYSELF == -1);
SDK_CHECK(PF_WorldFlag_DEEP == 1);

SDK_CHECK(PF_Xfer_IN_FRONT == 2 && PF_Xfer_BEHIND == 1 && PF_Xfer_DISSOLVE == 3);
SDK_CHECK(PF_Xfer_COLOR_BURN2 == 28 && PF_Xfer_LINEAR_LIGHT == 31 && PF_Xfer_HARD_MIX == 34);
SDK_CHECK(PF_Xfer_SUBTRACT == 37 && PF_Xfer_DIVIDE == 38 && PF_Xfer_NUM_MODES == 41);

SDK_CHECK(PF_PixelFormat_ARGB32 == 0x62677261);
SDK_CHECK(PF_PixelFormat_ARGB64 == 0x36316561);
SDK_CHECK(PF_PixelFormat_ARGB128 == 0x32336561);
SDK_CHECK(PF_PixelFormat_INVALID == 0x66646162);

SDK_CHECK(PF_ChannelType_DEPTH == 0x44505448);

SDK_CHECK(PF_Event_DO_CLICK == 2 && PF_Event_DRAG == 3 && PF_Event_DRAW == 4);
SDK_CHECK(PF_Event_ADJUST_CURSOR == 9 && PF_Event_NUM_EVENTS == 12);
SDK_CHECK(PF_Cursor_HAND == 14 && PF_Cursor_SCALE_DIAG_LR == 25 && PF_Cursor_SCALE_DIAG_UR == 27);
SDK_CHECK(PF_Cursor_ROT_TOP_RIGHT == 29 && PF_Cursor_ROT_BOT_RIGHT == 31);
SDK_CHECK(PF_Cursor_ROT_BOT_LEFT == 33 && PF_Cursor_ROT_TOP_LEFT == 35);
SDK_CHECK(PF_MAX_CURSOR_PLUS_ONE == 123);
SDK_CHECK(PF_EO_HANDLED_EVENT == 1);
SDK_CHECK(PF_Window_COMP == 0 && PF_Window_LAYER == 1 && PF_Window_EFFECT == 2);
SDK_CHECK(PF_CustomEFlag_COMP == 1 && PF_CustomEFlag_LAYER == 2 && PF_CustomEFlag_EFFECT == 4);
SDK_CHECK(PF_Cursor_NONE == 0 && PF_Cursor_ARROW == 2);
SDK_CHECK(PF_CONTEXT_MAGIC == 0x05ea771e);
SDK_CHECK(kDRAWBOT_FillType_EvenOdd == 0 && kDRAWBOT_FillType_Winding == 1);
SDK_CHECK(PF_ControlCode_ContextMenu == 52);
SDK_CHECK(PF_App_Color_PURE_WHITE == 80);

/* ---- AEGP suites used by effects -------------------------------------------------------------
 */

SDK_SIZE(AEGP_ColorVal, 32);
SDK_SIZE(AEGP_LayerTransferMode, 12);
SDK_SIZE(AEGP_ErrReportState, 48);
SDK_SIZE(AEGP_StreamValue2, 40);
SDK_SIZE(AEGP_StreamValue, 40);
SDK_CHECK(AEGP_DynStreamFlag_HIDDEN == 2);

SDK_SIZE(AEGP_MemorySuite1, 8 * 8);
SDK_SIZE(AEGP_PFInterfaceSuite1, 5 * 8);
SDK_AT(AEGP_PFInterfaceSuite1, AEGP_GetEffectLayer, 0);
SDK_AT(AEGP_PFInterfaceSuite1, AEGP_GetNewEffectForEffect, 8);
SDK_AT(AEGP_StreamValue, val, 8);

/* The published version values of the tables the effect asks for by number: "AEGP Layer Suite"
 * 11 and 13, "AEGP Stream Suite" 7, "AEGP Effect Suite" 2, "AEGP PF Interface Suite" 1. */
SDK_CHECK(kAEGPLayerSuiteVersion5 == 11 && kAEGPLayerSuiteVersion7 == 13);
SDK_CHECK(kAEGPStreamSuiteVersion2 == 7 && kAEGPEffectSuiteVersion2 == 2);
SDK_CHECK(kAEGPPFInterfaceSuiteVersion1 == 1);
SDK_CHECK(AEGP_LTimeMode_LayerTime == 0 && AEGP_LTimeMode_CompTime == 1);

/* "AEGP Utility Suite" 11 is the table AEGP_UtilitySuite5, "AEGP Dynamic Stream Suite" 2 the
 * table AEGP_DynamicStreamSuite2: the change handler asks for them by these numbers. */
SDK_CHECK(kAEGPUtilitySuiteVersion5 == 11 && kAEGPDynamicStreamSuiteVersion2 == 2);
SDK_SIZE(AEGP_UtilitySuite5, 31 * 8);
SDK_AT(AEGP_UtilitySuite5, AEGP_RegisterWithAEGP, 64);
SDK_SIZE(AEGP_UtilitySuite6, 33 * 8);
SDK_AT(AEGP_UtilitySuite6, AEGP_RegisterWithAEGP, 72);

SDK_SIZE(AEGP_LayerSuite5, 46 * 8);
SDK_AT(AEGP_LayerSuite5, AEGP_GetLayerParentComp, 48);
SDK_AT(AEGP_LayerSuite5, AEGP_GetLayerCurrentTime, 112);
SDK_AT(AEGP_LayerSuite5, AEGP_GetLayerInPoint, 120);
SDK_AT(AEGP_LayerSuite5, AEGP_GetLayerDuration, 128);
SDK_AT(AEGP_LayerSuite5, AEGP_GetLayerID, 296);
SDK_AT(AEGP_LayerSuite5, AEGP_GetLayerFromLayerID, 360);
SDK_SIZE(AEGP_LayerSuite7, 48 * 8);
SDK_AT(AEGP_LayerSuite7, AEGP_GetLayerParentComp, 48);
SDK_AT(AEGP_LayerSuite7, AEGP_GetLayerCurrentTime, 112);
SDK_AT(AEGP_LayerSuite7, AEGP_GetLayerInPoint, 120);
SDK_AT(AEGP_LayerSuite7, AEGP_GetLayerDuration, 128);
SDK_AT(AEGP_LayerSuite7, AEGP_GetLayerID, 296);
SDK_AT(AEGP_LayerSuite7, AEGP_GetLayerFromLayerID, 360);
SDK_SIZE(AEGP_LayerSuite9, 53 * 8);

SDK_SIZE(AEGP_StreamSuite2, 22 * 8);
SDK_AT(AEGP_StreamSuite2, AEGP_GetEffectNumParamStreams, 32);
SDK_AT(AEGP_StreamSuite2, AEGP_GetNewEffectStreamByIndex, 40);
SDK_AT(AEGP_StreamSuite2, AEGP_GetStreamType, 96);
SDK_AT(AEGP_StreamSuite2, AEGP_DisposeStream, 56);
SDK_AT(AEGP_StreamSuite2, AEGP_GetNewStreamValue, 104);
SDK_AT(AEGP_StreamSuite2, AEGP_DisposeStreamValue, 112);
SDK_SIZE(AEGP_StreamSuite6, 23 * 8);

SDK_SIZE(AEGP_DynamicStreamSuite2, 17 * 8);
SDK_AT(AEGP_DynamicStreamSuite2, AEGP_GetDynamicStreamFlags, 32);
SDK_AT(AEGP_DynamicStreamSuite2, AEGP_SetDynamicStreamFlag, 40);
SDK_SIZE(AEGP_DynamicStreamSuite4, 26 * 8);

SDK_SIZE(AEGP_EffectSuite2, 17 * 8);
SDK_AT(AEGP_EffectSuite2, AEGP_DisposeEffect, 64);
SDK_SIZE(AEGP_EffectSuite4, 22 * 8);

/* ---- Suite manager results --------------------------------------------------------------------
 */

SDK_CHECK(kSPNoError == 0 && kSPOutOfMemoryError == -148);
SDK_CHECK(kSPSuiteNotFoundError == 0x53214664 && kSPBadParameterError == 0x5061726D);
SDK_CHECK(kSPUnimplementedError == 0x21494D50);
