// The picture under a view: the frame rendered through the effect and shown as the window shows
// it. The composition window shows the composited frame (its background with the effect
// layer's output on it), the layer window the effect layer's output over black; either is
// scaled by the zoom (nearest pixels from 100 % up, bilinear below) onto the grey pasteboard.
#pragma once

#include "imageio/rgba_image.h"
#include "scene/scene.h"
#include "session/effect_session.h"
#include "view/view_geometry.h"

namespace plurion::host {

inline constexpr float kPasteboardGrey = 0.16f;

// Throws ViewError when the frame fails or the effect keeps something of it.
RgbaImage RenderViewBackground(EffectSession& session, const Scene& scene, const ViewGeometry& view,
                               double frame, int bpc);

} // namespace plurion::host
