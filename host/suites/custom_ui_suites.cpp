// "PF Effect Custom UI Suite" and "PF Effect Custom UI Overlay Theme Suite". The drawing
// reference of a context is the one the host put in the context for the running draw event
// (none at other events); the theme draws with the host's overlay style on that drawing.
#include "AE_EffectSuites.h"
#include "drawbot/drawing.h"
#include "suites/drawing_suites.h"

namespace plurion::host {
namespace {

PF_Err GetDrawingReference(const PF_ContextH context, DRAWBOT_DrawRef* reference) {
    if (context == nullptr || *context == nullptr || (*context)->magic != PF_CONTEXT_MAGIC ||
        reference == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *reference = (*context)->reserved_drawref;
    return PF_Err_NONE;
}

DRAWBOT_ColorRGBA Rgba(const ColorF& c) {
    return {c[0], c[1], c[2], c[3]};
}

// The theme's answers: each writes one value of the host's overlay style.
template <class T>
PF_Err Answer(T* out, const T& value) {
    if (out == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *out = value;
    return PF_Err_NONE;
}
PF_Err ForegroundColor(DRAWBOT_ColorRGBA* color) {
    return Answer(color, Rgba(kOverlayTheme.foreground));
}
PF_Err ShadowColor(DRAWBOT_ColorRGBA* color) {
    return Answer(color, Rgba(kOverlayTheme.shadow));
}
PF_Err StrokeWidth(float* width) {
    return Answer(width, kOverlayTheme.stroke_width);
}
PF_Err VertexSize(float* size) {
    return Answer(size, kOverlayTheme.vertex_size);
}
PF_Err ShadowOffset(A_LPoint* offset) {
    return Answer(offset, A_LPoint{kOverlayTheme.shadow_offset_x, kOverlayTheme.shadow_offset_y});
}

// Draws once in the shadow colour moved by the shadow offset when asked, then in the foreground.
template <class Draw>
void WithShadow(Drawing& drawing, bool shadow, Draw&& draw) {
    if (shadow) {
        DrawSurface& surface = drawing.surface();
        surface.push_state();
        surface.concat({1, 0, 0, 1, double(kOverlayTheme.shadow_offset_x),
                        double(kOverlayTheme.shadow_offset_y)});
        draw(kOverlayTheme.shadow);
        surface.pop_state();
    }
    draw(kOverlayTheme.foreground);
}

// A path of the active drawing in the theme's style: `paint(surface, colour, subpaths)`.
template <class Paint>
PF_Err ThemePath(DRAWBOT_DrawRef ref, DRAWBOT_PathRef path_ref, PF_Boolean draw_shadow,
                 const char* function, Paint&& paint) {
    Drawing* drawing = Drawing::Active(ref);
    const PathObject* path = drawing ? drawing->find<PathObject>(path_ref) : nullptr;
    if (path == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    WithShadow(*drawing, draw_shadow,
               [&](const ColorF& color) { paint(drawing->surface(), color, path->subpaths); });
    drawing->log(function, {double(draw_shadow)});
    return PF_Err_NONE;
}

PF_Err ThemeStrokePath(const DRAWBOT_DrawRef ref, const DRAWBOT_PathRef path_ref,
                       PF_Boolean draw_shadow) {
    return ThemePath(ref, path_ref, draw_shadow, "PF_StrokePath",
                     [](DrawSurface& surface, const ColorF& color, const auto& subpaths) {
                         surface.stroke(color, kOverlayTheme.stroke_width, subpaths);
                     });
}

PF_Err ThemeFillPath(const DRAWBOT_DrawRef ref, const DRAWBOT_PathRef path_ref,
                     PF_Boolean draw_shadow) {
    return ThemePath(ref, path_ref, draw_shadow, "PF_FillPath",
                     [](DrawSurface& surface, const ColorF& color, const auto& subpaths) {
                         surface.fill(color, subpaths, FillRule::NonZero);
                     });
}

PF_Err ThemeFillVertex(const DRAWBOT_DrawRef ref, const A_FloatPoint* center,
                       PF_Boolean draw_shadow) {
    Drawing* drawing = Drawing::Active(ref);
    if (drawing == nullptr || center == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const double size = kOverlayTheme.vertex_size;
    WithShadow(*drawing, draw_shadow, [&](const ColorF& color) {
        drawing->surface().paint_rect(color, center->x - size / 2, center->y - size / 2, size,
                                      size);
    });
    drawing->log("PF_FillVertex", {center->x, center->y, double(draw_shadow)});
    return PF_Err_NONE;
}

const PF_EffectCustomUISuite1 kCustomUISuite = {GetDrawingReference};
const PF_EffectCustomUIOverlayThemeSuite1 kOverlayThemeSuite = {
    ForegroundColor, ShadowColor,     StrokeWidth,   VertexSize,
    ShadowOffset,    ThemeStrokePath, ThemeFillPath, ThemeFillVertex};

} // namespace

void RegisterCustomUISuites(SuiteRegistry& registry) {
    registry.add(kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, &kCustomUISuite);
    registry.add(kPFEffectCustomUIOverlayThemeSuite, kPFEffectCustomUIOverlayThemeSuiteVersion1,
                 &kOverlayThemeSuite);
}

} // namespace plurion::host
