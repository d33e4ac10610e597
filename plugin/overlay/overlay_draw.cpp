// The draw event: the box outline stroked with the host's overlay theme and five filled handles.
#include "entry/aefx_suites.h"
#include "entry/error_chain.h"
#include "entry/suite_handler.h"
#include "overlay/overlay_events.h"
#include "overlay/screen_points.h"

namespace plurion::overlay {
namespace {

constexpr DRAWBOT_ColorRGBA kHandleColor = {0.176f, 0.549f, 0.921f, 1.0f};
constexpr float kHandleSize = 16.0f;
constexpr float kHandleHalf = kHandleSize / 2;

// The four drawing suites for one draw event, given back on every path (also after a failed
// acquisition, which leaves the earlier ones acquired).
class DrawbotSuiteSet {
  public:
    DrawbotSuiteSet(PF_InData* in_data, PF_OutData* out_data) : in_(in_data), out_(out_data) {
        if (const PF_Err err = AEFX_AcquireDrawbotSuites(in_, out_, &suites_)) {
            AEFX_ReleaseDrawbotSuites(in_, out_);
            throw err;
        }
    }
    ~DrawbotSuiteSet() { AEFX_ReleaseDrawbotSuites(in_, out_); }
    DrawbotSuiteSet(const DrawbotSuiteSet&) = delete;
    DrawbotSuiteSet& operator=(const DrawbotSuiteSet&) = delete;

    const AEFX_DrawbotSuites* operator->() const { return &suites_; }

  private:
    PF_InData* in_;
    PF_OutData* out_;
    AEFX_DrawbotSuites suites_{};
};

// The box on the screen in whole pixels.
struct ScreenBox {
    A_short left = 0;
    A_short top = 0;
    A_short right = 0;
    A_short bottom = 0;
};

PF_Err ScreenBoxOf(const PF_InData& in_data, const PF_EventExtra& extra, const DrawingBox& box,
                   ScreenBox& screen) {
    PF_FixedPoint top_left{box.left, box.top};
    PF_FixedPoint top_right{box.right, box.top};
    PF_FixedPoint bottom_right{box.right, box.bottom};
    ErrorChain chain;
    chain.then([&] { return LayerToScreen(in_data, extra, top_left); })
        .then([&] { return LayerToScreen(in_data, extra, top_right); })
        .then([&] { return LayerToScreen(in_data, extra, bottom_right); });
    if (chain.ok()) {
        screen = {RoundedPixels(top_left.x), RoundedPixels(top_left.y), RoundedPixels(top_right.x),
                  RoundedPixels(bottom_right.y)};
    }
    return chain.error();
}

// Moves to the top-left corner and runs once round the box back to it.
void TraceOutline(const DRAWBOT_PathSuite1& path_suite, DRAWBOT_PathRef path, const ScreenBox& box,
                  ErrorChain& chain) {
    const float left = box.left;
    const float top = box.top;
    const float right = box.right;
    const float bottom = box.bottom;
    chain.then([&] { return path_suite.MoveTo(path, left, top); });
    const DRAWBOT_PointF32 corners[] = {
        {left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    for (const DRAWBOT_PointF32& corner : corners) {
        chain.then([&] { return path_suite.LineTo(path, corner.x, corner.y); });
    }
}

void PaintHandles(const DRAWBOT_SurfaceSuite2& surface_suite, DRAWBOT_SurfaceRef surface,
                  const ScreenBox& box, ErrorChain& chain) {
    const float center_x = (box.left + box.right) / 2.0f;
    const float center_y = (box.top + box.bottom) / 2.0f;
    const DRAWBOT_PointF32 centres[] = {{center_x, center_y},
                                        {float(box.left), float(box.top)},
                                        {float(box.right), float(box.top)},
                                        {float(box.left), float(box.bottom)},
                                        {float(box.right), float(box.bottom)}};
    for (const DRAWBOT_PointF32& centre : centres) {
        const DRAWBOT_RectF32 rect{centre.x - kHandleHalf, centre.y - kHandleHalf, kHandleSize,
                                   kHandleSize};
        chain.then([&] { return surface_suite.PaintRect(surface, &kHandleColor, &rect); });
    }
}

} // namespace

PF_Err DrawOverlay(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_EventExtra& extra) {
    if (WindowOf(extra) >= PF_Window_EFFECT) {
        return PF_Err_NONE;
    }
    ScreenBox box;
    if (const PF_Err err =
            ScreenBoxOf(*in_data, extra, MakeDrawingBox(ReadBoxParams(*in_data, params)), box)) {
        return err;
    }
    SuiteHandler suites(in_data->pica_basicP);
    const DrawbotSuiteSet drawbot(in_data, out_data);
    const PF_EffectCustomUISuite1* custom_ui = suites.CustomUISuite1();
    const PF_EffectCustomUIOverlayThemeSuite1* theme = suites.OverlayThemeSuite1();

    DRAWBOT_DrawRef drawing = nullptr;
    if (custom_ui->PF_GetDrawingReference(extra.contextH, &drawing) == PF_Err_NONE &&
        drawing != nullptr) {
        // Failed drawing calls end the drawing quietly; the event is still handled.
        ErrorChain chain;
        DRAWBOT_SupplierRef supplier = nullptr;
        DRAWBOT_SurfaceRef surface = nullptr;
        DRAWBOT_PathRef path = nullptr;
        chain.then([&] { return drawbot->drawbot_suiteP->GetSupplier(drawing, &supplier); })
            .then([&] { return drawbot->drawbot_suiteP->GetSurface(drawing, &surface); })
            .then([&] { return drawbot->supplier_suiteP->NewPath(supplier, &path); });
        TraceOutline(*drawbot->path_suiteP, path, box, chain);
        chain.then([&] { return theme->PF_StrokePath(drawing, path, false); });
        if (path != nullptr) {
            const SPErr released =
                drawbot->supplier_suiteP->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(path));
            if (released != kSPNoError) {
                throw PF_Err{released};
            }
        }
        PaintHandles(*drawbot->surface_suiteP, surface, box, chain);
    }
    extra.evt_out_flags = PF_EO_HANDLED_EVENT;
    return PF_Err_NONE;
}

} // namespace plurion::overlay
