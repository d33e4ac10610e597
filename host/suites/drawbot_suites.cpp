// The DRAWBOT suites over the drawing of the running draw event. Every function answers
// kSPBadParameterError for a reference that is not the active drawing's or one of its live
// objects, or for a missing argument; text is not offered (SupportsText answers false).
#include "AE_EffectSuites.h"
#include "adobesdk/DrawbotSuite.h"
#include "drawbot/drawing.h"
#include "suites/drawing_suites.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plurion::host {
namespace {

constexpr SPErr kBad = kSPBadParameterError;
// Curves become polylines whose chords stray at most this far (pixels) from the curve.
constexpr double kFlatness = 0.05;

ColorF ColorOf(const DRAWBOT_ColorRGBA& c) {
    return {c.red, c.green, c.blue, c.alpha};
}

// ---- Draw suite ---------------------------------------------------------------------------------

SPErr GetSupplier(DRAWBOT_DrawRef ref, DRAWBOT_SupplierRef* out) {
    Drawing* drawing = Drawing::Active(ref);
    if (drawing == nullptr || out == nullptr) {
        return kBad;
    }
    *out = drawing->supplier_ref();
    return kSPNoError;
}

SPErr GetSurface(DRAWBOT_DrawRef ref, DRAWBOT_SurfaceRef* out) {
    Drawing* drawing = Drawing::Active(ref);
    if (drawing == nullptr || out == nullptr) {
        return kBad;
    }
    *out = drawing->surface_ref();
    return kSPNoError;
}

// ---- Supplier suite -----------------------------------------------------------------------------

template <class Ref>
SPErr AddObject(DRAWBOT_SupplierRef supplier, DrawObject object, Ref* out, const char* function,
                std::initializer_list<double> args) {
    Drawing* drawing = Drawing::ActiveWithSupplier(supplier);
    if (drawing == nullptr || out == nullptr) {
        return kBad;
    }
    *out = static_cast<Ref>(drawing->add(std::move(object)));
    drawing->log(function, args);
    return kSPNoError;
}

SPErr NewPen(DRAWBOT_SupplierRef supplier, const DRAWBOT_ColorRGBA* color, float size,
             DRAWBOT_PenRef* out) {
    if (color == nullptr || !(size >= 0)) {
        return kBad;
    }
    return AddObject(supplier, PenObject{ColorOf(*color), size}, out, "NewPen",
                     {color->red, color->green, color->blue, color->alpha, size});
}

SPErr NewBrush(DRAWBOT_SupplierRef supplier, const DRAWBOT_ColorRGBA* color,
               DRAWBOT_BrushRef* out) {
    if (color == nullptr) {
        return kBad;
    }
    return AddObject(supplier, BrushObject{ColorOf(*color)}, out, "NewBrush",
                     {color->red, color->green, color->blue, color->alpha});
}

SPErr SupportsText(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* out) {
    if (Drawing::ActiveWithSupplier(supplier) == nullptr || out == nullptr) {
        return kBad;
    }
    *out = kAdobesdk_False;
    return kSPNoError;
}

SPErr GetDefaultFontSize(DRAWBOT_SupplierRef supplier, float* out) {
    if (Drawing::ActiveWithSupplier(supplier) == nullptr || out == nullptr) {
        return kBad;
    }
    *out = 12.0f;
    return kSPNoError;
}

SPErr NewDefaultFont(DRAWBOT_SupplierRef, float, DRAWBOT_FontRef*) {
    return kSPUnimplementedError;
}

// One pixel of a buffer in one of the published layouts, as straight RGBA.
ColorF DecodePixel(const unsigned char* p, DRAWBOT_PixelLayout layout) {
    const auto unit = [](unsigned char v) { return v / 255.0f; };
    switch (layout) {
    case kDRAWBOT_PixelLayout_24RGB:
    case kDRAWBOT_PixelLayout_32RGB:
        return {unit(p[0]), unit(p[1]), unit(p[2]), 1.0f};
    case kDRAWBOT_PixelLayout_24BGR:
    case kDRAWBOT_PixelLayout_32BGR:
        return {unit(p[2]), unit(p[1]), unit(p[0]), 1.0f};
    case kDRAWBOT_PixelLayout_32ARGB_Straight:
        return {unit(p[1]), unit(p[2]), unit(p[3]), unit(p[0])};
    case kDRAWBOT_PixelLayout_32BGRA_Straight:
        return {unit(p[2]), unit(p[1]), unit(p[0]), unit(p[3])};
    default: { // the premultiplied layouts
        const bool argb = layout == kDRAWBOT_PixelLayout_32ARGB_Premul;
        const float a = unit(argb ? p[0] : p[3]);
        const ColorF premul = argb ? ColorF{unit(p[1]), unit(p[2]), unit(p[3]), a}
                                   : ColorF{unit(p[2]), unit(p[1]), unit(p[0]), a};
        if (a <= 0) {
            return {0, 0, 0, 0};
        }
        return {std::min(premul[0] / a, 1.0f), std::min(premul[1] / a, 1.0f),
                std::min(premul[2] / a, 1.0f), a};
    }
    }
}

SPErr NewImageFromBuffer(DRAWBOT_SupplierRef supplier, int width, int height, int row_bytes,
                         DRAWBOT_PixelLayout layout, const void* data, DRAWBOT_ImageRef* out) {
    const int bytes =
        layout == kDRAWBOT_PixelLayout_24RGB || layout == kDRAWBOT_PixelLayout_24BGR ? 3 : 4;
    if (data == nullptr || width <= 0 || height <= 0 || row_bytes < width * bytes ||
        layout < kDRAWBOT_PixelLayout_24RGB || layout > kDRAWBOT_PixelLayout_32BGRA_Premul) {
        return kBad;
    }
    ImageObject image{MakeRgbaImage(width, height)};
    const auto* base = static_cast<const unsigned char*>(data);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ColorF c =
                DecodePixel(base + static_cast<std::ptrdiff_t>(y) * row_bytes + x * bytes, layout);
            std::copy(c.begin(), c.end(),
                      image.image.rgba.begin() +
                          static_cast<std::ptrdiff_t>(PixelOffset(image.image, x, y)));
        }
    }
    return AddObject(supplier, std::move(image), out, "NewImageFromBuffer",
                     {double(width), double(height), double(layout)});
}

SPErr NewPath(DRAWBOT_SupplierRef supplier, DRAWBOT_PathRef* out) {
    return AddObject(supplier, PathObject{}, out, "NewPath", {});
}

SPErr AnswerLayout(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* out, bool answer) {
    if (Drawing::ActiveWithSupplier(supplier) == nullptr || out == nullptr) {
        return kBad;
    }
    *out = answer ? kAdobesdk_True : kAdobesdk_False;
    return kSPNoError;
}
// Both byte orders are read; neither is preferred.
SPErr SupportsBGRA(DRAWBOT_SupplierRef s, DRAWBOT_Boolean* out) {
    return AnswerLayout(s, out, true);
}
SPErr PrefersBGRA(DRAWBOT_SupplierRef s, DRAWBOT_Boolean* out) {
    return AnswerLayout(s, out, false);
}
SPErr SupportsARGB(DRAWBOT_SupplierRef s, DRAWBOT_Boolean* out) {
    return AnswerLayout(s, out, true);
}
SPErr PrefersARGB(DRAWBOT_SupplierRef s, DRAWBOT_Boolean* out) {
    return AnswerLayout(s, out, false);
}

SPErr RetainObject(DRAWBOT_ObjectRef object) {
    Drawing* drawing = Drawing::Active();
    if (drawing == nullptr || !drawing->retain(object)) {
        return kBad;
    }
    drawing->log("RetainObject");
    return kSPNoError;
}

SPErr ReleaseObject(DRAWBOT_ObjectRef object) {
    Drawing* drawing = Drawing::Active();
    if (drawing == nullptr || !drawing->release(object)) {
        return kBad;
    }
    drawing->log("ReleaseObject");
    return kSPNoError;
}

// ---- Surface suite ------------------------------------------------------------------------------

SPErr PushStateStack(DRAWBOT_SurfaceRef surface) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr) {
        return kBad;
    }
    drawing->surface().push_state();
    drawing->log("PushStateStack");
    return kSPNoError;
}

SPErr PopStateStack(DRAWBOT_SurfaceRef surface) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || !drawing->surface().pop_state()) {
        return kBad;
    }
    drawing->log("PopStateStack");
    return kSPNoError;
}

SPErr PaintRect(DRAWBOT_SurfaceRef surface, const DRAWBOT_ColorRGBA* color,
                const DRAWBOT_RectF32* rect) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || color == nullptr || rect == nullptr) {
        return kBad;
    }
    drawing->surface().paint_rect(ColorOf(*color), rect->left, rect->top, rect->width,
                                  rect->height);
    drawing->log("PaintRect", {color->red, color->green, color->blue, color->alpha, rect->left,
                               rect->top, rect->width, rect->height});
    return kSPNoError;
}

SPErr FillPath(DRAWBOT_SurfaceRef surface, DRAWBOT_BrushRef brush_ref, DRAWBOT_PathRef path_ref,
               DRAWBOT_FillType fill_type) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    const BrushObject* brush = drawing ? drawing->find<BrushObject>(brush_ref) : nullptr;
    const PathObject* path = drawing ? drawing->find<PathObject>(path_ref) : nullptr;
    if (brush == nullptr || path == nullptr ||
        (fill_type != kDRAWBOT_FillType_EvenOdd && fill_type != kDRAWBOT_FillType_Winding)) {
        return kBad;
    }
    drawing->surface().fill(brush->color, path->subpaths,
                            fill_type == kDRAWBOT_FillType_EvenOdd ? FillRule::EvenOdd
                                                                   : FillRule::NonZero);
    drawing->log("FillPath", {double(fill_type)});
    return kSPNoError;
}

SPErr StrokePath(DRAWBOT_SurfaceRef surface, DRAWBOT_PenRef pen_ref, DRAWBOT_PathRef path_ref) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    const PenObject* pen = drawing ? drawing->find<PenObject>(pen_ref) : nullptr;
    const PathObject* path = drawing ? drawing->find<PathObject>(path_ref) : nullptr;
    if (pen == nullptr || path == nullptr) {
        return kBad;
    }
    drawing->surface().stroke(pen->color, pen->width, path->subpaths);
    drawing->log("StrokePath");
    return kSPNoError;
}

SPErr Clip(DRAWBOT_SurfaceRef surface, DRAWBOT_SupplierRef supplier, const DRAWBOT_Rect32* rect) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || drawing != Drawing::ActiveWithSupplier(supplier) || rect == nullptr) {
        return kBad;
    }
    drawing->surface().clip_to(rect->left, rect->top, rect->width, rect->height);
    drawing->log(
        "Clip", {double(rect->left), double(rect->top), double(rect->width), double(rect->height)});
    return kSPNoError;
}

// Clip bounds are in surface pixels.
SPErr GetClipBounds(DRAWBOT_SurfaceRef surface, DRAWBOT_Rect32* out) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || out == nullptr) {
        return kBad;
    }
    const PixelBox& clip = drawing->surface().clip();
    *out = {clip.left, clip.top, std::max(0, clip.right - clip.left),
            std::max(0, clip.bottom - clip.top)};
    return kSPNoError;
}

SPErr IsWithinClipBounds(DRAWBOT_SurfaceRef surface, const DRAWBOT_Rect32* rect,
                         DRAWBOT_Boolean* out) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || rect == nullptr || out == nullptr) {
        return kBad;
    }
    const DrawSurface& s = drawing->surface();
    const PixelBox reached = MappedBounds(s.transform(), rect->left, rect->top,
                                          rect->left + rect->width, rect->top + rect->height);
    *out = Intersect(reached, s.clip()).empty() ? kAdobesdk_False : kAdobesdk_True;
    return kSPNoError;
}

// The matrix is in the row-vector form: a point (x, y, 1) times the matrix.
SPErr Transform(DRAWBOT_SurfaceRef surface, const DRAWBOT_MatrixF32* matrix) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || matrix == nullptr) {
        return kBad;
    }
    const auto& m = matrix->mat;
    drawing->surface().concat({m[0][0], m[0][1], m[1][0], m[1][1], m[2][0], m[2][1]});
    drawing->log("Transform", {m[0][0], m[0][1], m[1][0], m[1][1], m[2][0], m[2][1]});
    return kSPNoError;
}

SPErr DrawString(DRAWBOT_SurfaceRef, DRAWBOT_BrushRef, DRAWBOT_FontRef, const DRAWBOT_UTF16Char*,
                 const DRAWBOT_PointF32*, DRAWBOT_TextAlignment, DRAWBOT_TextTruncation, float) {
    return kSPUnimplementedError;
}

SPErr DrawImage(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image_ref,
                const DRAWBOT_PointF32* origin, float alpha) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    const ImageObject* image = drawing ? drawing->find<ImageObject>(image_ref) : nullptr;
    if (image == nullptr || origin == nullptr) {
        return kBad;
    }
    drawing->surface().draw_image(image->image, {origin->x, origin->y},
                                  std::clamp(alpha, 0.0f, 1.0f),
                                  drawing->interpolation() != kDRAWBOT_InterpolationPolicy_None);
    drawing->log("DrawImage", {origin->x, origin->y, alpha});
    return kSPNoError;
}

SPErr SetInterpolationPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_InterpolationPolicy policy) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || policy < kDRAWBOT_InterpolationPolicy_None ||
        policy > kDRAWBOT_InterpolationPolicy_High) {
        return kBad;
    }
    drawing->set_interpolation(policy);
    return kSPNoError;
}

SPErr GetInterpolationPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_InterpolationPolicy* out) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || out == nullptr) {
        return kBad;
    }
    *out = drawing->interpolation();
    return kSPNoError;
}

SPErr SetAntiAliasPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_AntiAliasPolicy policy) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || policy < kDRAWBOT_AntiAliasPolicy_None ||
        policy > kDRAWBOT_AntiAliasPolicy_High) {
        return kBad;
    }
    drawing->surface().set_antialias(policy != kDRAWBOT_AntiAliasPolicy_None);
    drawing->log("SetAntiAliasPolicy", {double(policy)});
    return kSPNoError;
}

SPErr GetAntiAliasPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_AntiAliasPolicy* out) {
    Drawing* drawing = Drawing::ActiveWithSurface(surface);
    if (drawing == nullptr || out == nullptr) {
        return kBad;
    }
    *out = drawing->surface().antialias() ? kDRAWBOT_AntiAliasPolicy_High
                                          : kDRAWBOT_AntiAliasPolicy_None;
    return kSPNoError;
}

SPErr Flush(DRAWBOT_SurfaceRef surface) {
    return Drawing::ActiveWithSurface(surface) != nullptr ? kSPNoError : kBad;
}

// The view's surface is in screen pixels.
SPErr GetTransformToScreenScale(DRAWBOT_SurfaceRef surface, float* out) {
    if (Drawing::ActiveWithSurface(surface) == nullptr || out == nullptr) {
        return kBad;
    }
    *out = 1.0f;
    return kSPNoError;
}

// ---- Path suite ---------------------------------------------------------------------------------

PathObject* ActivePath(DRAWBOT_PathRef ref) {
    Drawing* drawing = Drawing::Active();
    return drawing != nullptr ? drawing->find<PathObject>(ref) : nullptr;
}

void LogPath(const char* function, std::initializer_list<double> args) {
    Drawing::Active()->log(function, args);
}

// The subpath that takes the next point: the open one, or a new one from where the last
// closed subpath began. Null when the path has no current point.
Subpath* OpenSubpath(PathObject& path) {
    if (path.subpaths.empty()) {
        return nullptr;
    }
    if (!path.open) {
        const Point start = path.subpaths.back().points.front();
        path.subpaths.push_back({{start}, false});
        path.open = true;
    }
    return &path.subpaths.back();
}

SPErr MoveTo(DRAWBOT_PathRef ref, float x, float y) {
    PathObject* path = ActivePath(ref);
    if (path == nullptr) {
        return kBad;
    }
    path->subpaths.push_back({{{x, y}}, false});
    path->open = true;
    LogPath("MoveTo", {x, y});
    return kSPNoError;
}

SPErr LineTo(DRAWBOT_PathRef ref, float x, float y) {
    PathObject* path = ActivePath(ref);
    Subpath* open = path != nullptr ? OpenSubpath(*path) : nullptr;
    if (open == nullptr) {
        return kBad;
    }
    open->points.push_back({x, y});
    LogPath("LineTo", {x, y});
    return kSPNoError;
}

SPErr BezierTo(DRAWBOT_PathRef ref, const DRAWBOT_PointF32* p1, const DRAWBOT_PointF32* p2,
               const DRAWBOT_PointF32* p3) {
    PathObject* path = ActivePath(ref);
    Subpath* open = path != nullptr ? OpenSubpath(*path) : nullptr;
    if (open == nullptr || p1 == nullptr || p2 == nullptr || p3 == nullptr) {
        return kBad;
    }
    const Point p0 = open->points.back();
    const Point c[4] = {p0, {p1->x, p1->y}, {p2->x, p2->y}, {p3->x, p3->y}};
    // A cubic strays from its chords by at most 3/4 of its control net's second differences
    // divided by the square of the pieces.
    double bend = 0;
    for (int i = 0; i + 2 < 4; ++i) {
        bend = std::max(bend, std::hypot(c[i].x - 2 * c[i + 1].x + c[i + 2].x,
                                         c[i].y - 2 * c[i + 1].y + c[i + 2].y));
    }
    const int pieces =
        std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * bend / kFlatness))), 1, 1024);
    for (int i = 1; i <= pieces; ++i) {
        const double t = double(i) / pieces;
        const double s = 1 - t;
        const double w0 = s * s * s, w1 = 3 * s * s * t, w2 = 3 * s * t * t, w3 = t * t * t;
        open->points.push_back({w0 * c[0].x + w1 * c[1].x + w2 * c[2].x + w3 * c[3].x,
                                w0 * c[0].y + w1 * c[1].y + w2 * c[2].y + w3 * c[3].y});
    }
    LogPath("BezierTo", {p1->x, p1->y, p2->x, p2->y, p3->x, p3->y});
    return kSPNoError;
}

SPErr AddRect(DRAWBOT_PathRef ref, const DRAWBOT_RectF32* rect) {
    PathObject* path = ActivePath(ref);
    if (path == nullptr || rect == nullptr) {
        return kBad;
    }
    const double l = rect->left, t = rect->top, r = l + rect->width, b = t + rect->height;
    path->subpaths.push_back({{{l, t}, {r, t}, {r, b}, {l, b}}, true});
    path->open = false;
    LogPath("AddRect", {rect->left, rect->top, rect->width, rect->height});
    return kSPNoError;
}

// Degrees; 0 at three o'clock, the sweep clockwise on the screen (y down). The arc joins the
// open subpath with a line, or starts a subpath of its own.
SPErr AddArc(DRAWBOT_PathRef ref, const DRAWBOT_PointF32* center, float radius, float start,
             float sweep) {
    PathObject* path = ActivePath(ref);
    if (path == nullptr || center == nullptr || !(radius >= 0)) {
        return kBad;
    }
    constexpr double kRadians = std::numbers::pi / 180;
    const double step = radius > kFlatness ? 2 * std::acos(1 - kFlatness / radius) : 1.0;
    const int pieces =
        std::clamp(static_cast<int>(std::ceil(std::abs(sweep * kRadians) / step)), 1, 4096);
    const auto at = [&](int i) {
        const double angle = (start + sweep * double(i) / pieces) * kRadians;
        return Point{center->x + radius * std::cos(angle), center->y + radius * std::sin(angle)};
    };
    if (!path->open) {
        path->subpaths.push_back({{}, false});
        path->open = true;
    }
    Subpath& open = path->subpaths.back();
    for (int i = 0; i <= pieces; ++i) {
        open.points.push_back(at(i));
    }
    LogPath("AddArc", {center->x, center->y, radius, start, sweep});
    return kSPNoError;
}

SPErr Close(DRAWBOT_PathRef ref) {
    PathObject* path = ActivePath(ref);
    if (path == nullptr) {
        return kBad;
    }
    if (path->open) {
        path->subpaths.back().closed = true;
        path->open = false;
    }
    LogPath("Close", {});
    return kSPNoError;
}

const DRAWBOT_DrawbotSuite1 kDrawSuite = {GetSupplier, GetSurface};
const DRAWBOT_SupplierSuite1 kSupplierSuite = {
    NewPen,         NewBrush,           SupportsText, GetDefaultFontSize,
    NewDefaultFont, NewImageFromBuffer, NewPath,      SupportsBGRA,
    PrefersBGRA,    SupportsARGB,       PrefersARGB,  RetainObject,
    ReleaseObject};
const DRAWBOT_SurfaceSuite2 kSurfaceSuite = {PushStateStack,
                                             PopStateStack,
                                             PaintRect,
                                             FillPath,
                                             StrokePath,
                                             Clip,
                                             GetClipBounds,
                                             IsWithinClipBounds,
                                             Transform,
                                             DrawString,
                                             DrawImage,
                                             SetInterpolationPolicy,
                                             GetInterpolationPolicy,
                                             SetAntiAliasPolicy,
                                             GetAntiAliasPolicy,
                                             Flush,
                                             GetTransformToScreenScale};
const DRAWBOT_PathSuite1 kPathSuite = {MoveTo, LineTo, BezierTo, AddRect, AddArc, Close};

} // namespace

void RegisterDrawbotSuites(SuiteRegistry& registry) {
    registry.add(kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, &kDrawSuite);
    registry.add(kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1, &kSupplierSuite);
    // Version 1 is version 2 without its last function.
    registry.add(kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version1, &kSurfaceSuite);
    registry.add(kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2, &kSurfaceSuite);
    registry.add(kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1, &kPathSuite);
}

} // namespace plurion::host
