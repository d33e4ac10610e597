#include "overlay/screen_points.h"

namespace plurion::overlay {

PF_WindowType WindowOf(const PF_EventExtra& extra) {
    return extra.contextH != nullptr && *extra.contextH != nullptr ? (*extra.contextH)->w_type
                                                                   : PF_Window_NONE;
}

PF_Err LayerToScreen(const PF_InData& in_data, const PF_EventExtra& extra, PF_FixedPoint& point) {
    const PF_EventCallbacks& cbs = extra.cbs;
    PF_Err err = PF_Err_NONE;
    if (WindowOf(extra) == PF_Window_COMP) {
        err = cbs.layer_to_comp(cbs.refcon, extra.contextH, in_data.current_time,
                                static_cast<A_long>(in_data.time_scale), &point);
    }
    if (err == PF_Err_NONE) {
        err = cbs.source_to_frame(cbs.refcon, extra.contextH, &point);
    }
    return err;
}

PF_Err LayerToScreen(const PF_InData& in_data, const PF_EventExtra& extra, LayerPoint layer,
                     ScreenPoint& screen) {
    PF_FixedPoint point{static_cast<PF_Fixed>(static_cast<A_u_long>(layer.x) << 16),
                        static_cast<PF_Fixed>(static_cast<A_u_long>(layer.y) << 16)};
    const PF_Err err = LayerToScreen(in_data, extra, point);
    if (err == PF_Err_NONE) {
        screen = {point.x >> 16, point.y >> 16, point};
    }
    return err;
}

PF_Err ScreenToLayer(const PF_InData& in_data, const PF_EventExtra& extra, PF_Point screen,
                     PF_FixedPoint& layer) {
    const PF_EventCallbacks& cbs = extra.cbs;
    layer = {static_cast<PF_Fixed>(static_cast<A_u_long>(screen.h) << 16),
             static_cast<PF_Fixed>(static_cast<A_u_long>(screen.v) << 16)};
    PF_Err err = cbs.frame_to_source(cbs.refcon, extra.contextH, &layer);
    if (err == PF_Err_NONE && WindowOf(extra) == PF_Window_COMP) {
        err = cbs.comp_to_layer(cbs.refcon, extra.contextH, in_data.current_time,
                                static_cast<A_long>(in_data.time_scale), &layer);
    }
    return err;
}

} // namespace plurion::overlay
