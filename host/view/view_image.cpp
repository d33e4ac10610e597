#include "view/view_image.h"

#include "copy_world.h"
#include "scene/json_node.h"
#include "scene/source_cache.h"
#include "session/frame_render.h"
#include "session/render_job.h"
#include "transform_world.h"
#include "view/overlay_view.h"

namespace plurion::host {
namespace {

void Check(PF_Err err, const std::string& what) {
    if (err != PF_Err_NONE) {
        throw ViewError(what + " failed with error " + std::to_string(err));
    }
}

PF_CompositeMode InFront() {
    PF_CompositeMode mode{};
    mode.xfer = PF_Xfer_IN_FRONT;
    mode.opacity = 255;
    mode.opacitySu = 32768;
    return mode;
}

// The effect layer's output over opaque black, as the layer window shows it.
WorldOwner OverBlack(const PF_EffectWorld& output, int bpc) {
    PF_Err err = PF_Err_NONE;
    WorldOwner shown = MakeWorld(output.width, output.height, PixelFormatForBpc(bpc), err);
    Check(err, "the layer view");
    const PF_Pixel black{255, 0, 0, 0};
    Check(FillWorld(&black, nullptr, &shown.get()), "the layer view");
    const PF_FloatMatrix identity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const PF_CompositeMode mode = InFront();
    Check(TransformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, &output, &mode,
                         nullptr, &identity, 1, true, nullptr, &shown.get()),
          "the layer view");
    return shown;
}

} // namespace

RgbaImage RenderViewBackground(EffectSession& session, const Scene& scene, const ViewGeometry& view,
                               double frame, int bpc) {
    SourceCache cache;
    FrameRenderer renderer(session, scene, cache, FrameOptions{frame, bpc, 1, nullptr});
    WorldOwner output;
    const std::string where = "the frame under the view (frame " + FormatNumber(frame) + ")";
    if (const PF_Err err = renderer.render(output)) {
        throw ViewError(where + ": the effect failed with error " + std::to_string(err));
    }
    if (const std::vector<std::string> leaks = renderer.leaks(); !leaks.empty()) {
        std::string text;
        for (const std::string& leak : leaks) {
            text += (text.empty() ? "" : "; ") + leak;
        }
        throw ViewError(where + ": the effect did not give back: " + text);
    }
    WorldOwner shown;
    if (view.window == ViewWindow::Composition) {
        Check(ComposeCompositionFrame(scene, output.get(), bpc, 1, shown), where);
    } else {
        shown = OverBlack(output.get(), bpc);
    }

    PF_Err err = PF_Err_NONE;
    WorldOwner screen = MakeWorld(view.width, view.height, PixelFormatForBpc(bpc), err);
    Check(err, "the view");
    const PF_PixelFloat pasteboard{1.0f, kPasteboardGrey, kPasteboardGrey, kPasteboardGrey};
    Check(FillWorldFloat(&pasteboard, nullptr, &screen.get()), "the view");
    const PF_FloatMatrix place = {
        {{view.zoom, 0, 0}, {0, view.zoom, 0}, {view.pan.x, view.pan.y, 1}}};
    const PF_CompositeMode mode = InFront();
    // Magnified views show whole source pixels, as the windows do.
    const PF_Quality quality = view.zoom < 1 ? PF_Quality_HI : PF_Quality_LO;
    Check(TransformWorld(quality, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, &shown.get(), &mode,
                         nullptr, &place, 1, true, nullptr, &screen.get()),
          "the view");
    RgbaImage image = MakeRgbaImage(view.width, view.height);
    Check(WriteFloatRgba(screen.get(), image.rgba.data(), 0), "the view");
    return image;
}

} // namespace plurion::host
