// The host's copy and fill operations.
//
// CopyWorld copies the source rectangle into the destination rectangle (null = the whole world;
// a rectangle must lie inside its world). Rectangles of the same size copy exactly; otherwise
// the source is resampled in premultiplied colour, separately along each axis: bilinear where
// an axis is enlarged and area averaging (a box filter as wide as a destination pixel) where it
// is reduced, so that a strongly reduced source does not alias. Edges repeat the border pixels.
// The worlds may differ in depth; 8- and 16-bit results round.
//
// FillWorld paints a rectangle (null = the whole world, clipped to it) with one colour, or with
// transparent black when the colour is null, at the world's depth.
#pragma once

#include "AE_Effect.h"

namespace plurion::host {

PF_Err CopyWorld(const PF_EffectWorld* src, PF_EffectWorld* dst, const PF_Rect* src_rect,
                 const PF_Rect* dst_rect);

PF_Err FillWorld(const PF_Pixel* colour, const PF_Rect* rect, PF_EffectWorld* world);
PF_Err FillWorld16(const PF_Pixel16* colour, const PF_Rect* rect, PF_EffectWorld* world);
PF_Err FillWorldFloat(const PF_PixelFloat* colour, const PF_Rect* rect, PF_EffectWorld* world);

// What a world the host does not clear holds: bands of kUnclearedBand rows, opaque magenta and
// half-transparent green in turn, so that pixels an effect forgets to clear show in its output.
inline constexpr int kUnclearedBand = 4;
PF_Err FillUnclearedPattern(PF_EffectWorld* world);

} // namespace plurion::host
