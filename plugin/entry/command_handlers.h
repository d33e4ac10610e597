// The handler of each host command the dispatcher answers. Each subsystem defines its own:
// parameter set-up and change handling in params/, the pre-render pass in layout/, the render
// in render/, the window events in overlay/. Declaring them here keeps the dispatcher at the
// ground floor, below everything it calls.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectUI.h"

namespace plurion {

// PF_Cmd_PARAMS_SETUP: adds every parameter in table order; the first error ends it. On success
// the host is told there are 272 parameters.
PF_Err SetupParams(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_LayerDef* output);

// PF_Cmd_USER_CHANGED_PARAM: rescales the offsets on a "Clone Offset Mode" switch, then shows
// the controls of the chosen clone type and modes.
PF_Err UserChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                        const PF_UserChangedParamExtra* extra);

// PF_Cmd_SMART_PRE_RENDER. Throws PF_Err_BAD_CALLBACK_PARAM when the handle suite is missing.
PF_Err PreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra);

// PF_Cmd_SMART_RENDER. Throws PF_Err_BAD_CALLBACK_PARAM when the handle suite is missing.
PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra);

namespace overlay {

// Asks the host for composition and layer window events; called at parameter set-up.
PF_Err RegisterOverlay(PF_InData* in_data);

// PF_Cmd_EVENT: dispatches by event type. Answers 0 for every event it handles and for every
// other; a missing suite or a path the host will not take back is thrown as its error code.
PF_Err HandleEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_LayerDef* output, PF_EventExtra* extra);

} // namespace overlay
} // namespace plurion
