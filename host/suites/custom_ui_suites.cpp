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

PF_Err ForegroundColor(DRAWBOT_ColorRGBA* color) {
    if (color == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *color = Rgba(kOverlayTheme.foreground);
    return PF_Err_NONE;
}

PF_Err ShadowColor(DRAWBOT_ColorRGBA* color) {
    if (color == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *color = Rgba(kOverlayTheme.shadow);
    return PF_Err_NONE;
}

PF_Err StrokeWidth(float* width) {
    if (width == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *width = kOverlayTheme.stroke_width;
    return PF_Err_NONE;
}

PF_Err VertexSize(float* size) {
    if (size == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *size = kOverlayTheme.vertex_size;
    return PF_Err_NONE;
}

PF_Err ShadowOffset(A_LPoint* offset) {
    if (offset == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *offset = {kOverlayTheme.shadow_offset_x, kOverlayTheme.shadow_offset_y};
    return PF_Err_NONE;
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

PF_Err ThemeStrokePath(const DRAWBOT_DrawRef ref, const DRAWBOT_PathRef path_ref,
                       PF_Boolean draw_shadow) {
    Drawing* drawing = Drawing::Active(ref);
    const PathObject* path = drawing ? drawing->find<PathObject>(path_ref) : nullptr;
    if (path == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    WithShadow(*drawing, draw_shadow, [&](const ColorF& color) {
        drawing->surface().stroke(color, kOverlayTheme.stroke_width, path->subpaths);
    });
    drawing->log("PF_StrokePath", {double(draw_shadow)});
    return PF_Err_NONE;
}

PF_Err ThemeFillPath(const DRAWBOT_DrawRef ref, const DRAWBOT_PathRef path_ref,
                     PF_Boolean draw_shadow) {
    Drawing* drawing = Drawing::Active(ref);
    const PathObject* path = drawing ? drawing->find<PathObject>(path_ref) : nullptr;
    if (path == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    WithShadow(*drawing, draw_shadow, [&](const ColorF& color) {
        drawing->surface().fill(color, path->subpaths, FillRule::NonZero);
    });
    drawing->log("PF_FillPath", {double(draw_shadow)});
    return PF_Err_NONE;
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
