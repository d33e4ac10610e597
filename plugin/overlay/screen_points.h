// Points between the effect layer and the screen of the window an event belongs to, through the
// host's coordinate callbacks. In the composition window a layer point goes to the composition
// (layer_to_comp, at the event's time) and from there to the screen (source_to_frame); in the
// layer window source_to_frame takes it to the screen directly. The way back runs the same steps
// in reverse. Every point travels as 16.16 fixed point; a failing callback's error is returned.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectUI.h"
#include "overlay/overlay_box.h"

namespace plurion::overlay {

// The window of the event's context.
PF_WindowType WindowOf(const PF_EventExtra& extra);

// A fixed layer point to the screen, in place.
PF_Err LayerToScreen(const PF_InData& in_data, const PF_EventExtra& extra, PF_FixedPoint& point);

// A whole layer point to the screen: `screen` is the integer part of the result, `fixed` the
// result itself.
struct ScreenPoint {
    A_long x = 0;
    A_long y = 0;
    PF_FixedPoint fixed{};
};
PF_Err LayerToScreen(const PF_InData& in_data, const PF_EventExtra& extra, LayerPoint layer,
                     ScreenPoint& screen);

// A screen point (whole pixels) to the layer, kept in 16.16 fixed point.
PF_Err ScreenToLayer(const PF_InData& in_data, const PF_EventExtra& extra, PF_Point screen,
                     PF_FixedPoint& layer);

// A 16.16 value to whole pixels, rounding halves up, as a short.
inline A_short RoundedPixels(PF_Fixed value) {
    return static_cast<A_short>((value + 0x8000) >> 16);
}

} // namespace plurion::overlay
