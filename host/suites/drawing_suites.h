// The suites of custom user interface: the four DRAWBOT suites (draw, supplier, surface, path),
// which draw on the drawing of the running draw event (host/drawbot), and the effect custom UI
// suites: "PF Effect Custom UI Suite" hands out a context's drawing reference and "PF Effect
// Custom UI Overlay Theme Suite" strokes and fills in the host's overlay style.
#pragma once

#include "drawbot/draw_surface.h"
#include "suites/suite_registry.h"

namespace plurion::host {

// The host's overlay style.
struct OverlayTheme {
    ColorF foreground{0.92f, 0.92f, 0.92f, 1.0f};
    ColorF shadow{0.0f, 0.0f, 0.0f, 0.6f};
    float stroke_width = 2.0f;
    float vertex_size = 7.0f;
    A_long shadow_offset_x = 1;
    A_long shadow_offset_y = 1;
};
inline constexpr OverlayTheme kOverlayTheme{};

void RegisterDrawbotSuites(SuiteRegistry& registry);
void RegisterCustomUISuites(SuiteRegistry& registry);

} // namespace plurion::host
