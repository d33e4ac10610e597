#include "overlay/overlay_events.h"

#include <cstring>

namespace plurion::overlay {

PF_Err RegisterOverlay(PF_InData* in_data) {
    PF_CustomUIInfo info;
    std::memset(&info, 0, sizeof info);
    info.events = PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER;
    return in_data->inter.register_ui(in_data->effect_ref, &info);
}

PF_Err HandleEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_LayerDef* /*output*/, PF_EventExtra* extra) {
    switch (extra->e_type) {
    case PF_Event_DO_CLICK:
        if (extra->u.do_click.send_drag) {
            // A host that keeps sending clicks while a drag is under way.
            extra->e_type = PF_Event_DRAG;
            return Drag(in_data, params, *extra);
        }
        return Click(in_data, params, *extra);
    case PF_Event_DRAG:
        return Drag(in_data, params, *extra);
    case PF_Event_DRAW:
        return DrawOverlay(in_data, out_data, params, *extra);
    case PF_Event_ADJUST_CURSOR:
        return AdjustCursor(in_data, params, *extra);
    default:
        return PF_Err_NONE;
    }
}

} // namespace plurion::overlay
