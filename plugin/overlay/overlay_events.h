// The overlay in the composition and layer windows: the Grid box outlined in the host's overlay
// style with five square handles, hover cursors around the handles, and a drag from a handle
// that turns the grid's global "Rotation". Nothing is kept between events: a drag's state lives
// in the host's continue_refcon from the click to the last drag event.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectUI.h"
#include "entry/command_handlers.h"

namespace plurion::overlay {

// The handlers, one per event type.
PF_Err DrawOverlay(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_EventExtra& extra);
PF_Err AdjustCursor(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra& extra);
PF_Err Click(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra& extra);
PF_Err Drag(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra& extra);

} // namespace plurion::overlay
