#include "view/overlay_view.h"

#include "scene/param_edit.h"
#include "scene/param_values.h"
#include "session/time_units.h"
#include "view/view_image.h"

#include <cmath>
#include <cstring>

namespace plurion::host {
namespace {

PF_RationalScale AspectRatio(double aspect) {
    constexpr A_long kDenominator = 1000;
    return {static_cast<A_long>(std::lround(aspect * kDenominator)), kDenominator};
}

const char* EventName(PF_EventType type) {
    switch (type) {
    case PF_Event_DO_CLICK:
        return "click";
    case PF_Event_DRAG:
        return "drag";
    case PF_Event_DRAW:
        return "draw";
    case PF_Event_ADJUST_CURSOR:
        return "adjust cursor";
    default:
        return "event";
    }
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += (out.empty() ? "" : "; ") + line;
    }
    return out;
}

Point FromFixed(const PF_FixedPoint& p) {
    return {p.x / 65536.0, p.y / 65536.0};
}

PF_FixedPoint Fixed(Point p) {
    return {ToFixed(p.x), ToFixed(p.y)};
}

PF_FloatMatrix Translation(double x, double y) {
    return {{{1, 0, 0}, {0, 1, 0}, {x, y, 1}}};
}

} // namespace

const char* MouseActionName(MouseAction action) {
    static constexpr const char* kNames[] = {"move", "down", "drag", "up"};
    return kNames[static_cast<int>(action)];
}

OverlayView::OverlayView(EffectSession& session, Scene& scene, const ViewOptions& options)
    : session_(session), scene_(scene), options_(options), frame_(options.frame),
      services_(session.faults()) {
    const bool comp = options.window == ViewWindow::Composition;
    const PF_CustomEventFlags wanted = comp ? PF_CustomEFlag_COMP : PF_CustomEFlag_LAYER;
    const char* window = comp ? "composition" : "layer";
    if ((session.out_flags() & PF_OutFlag_CUSTOM_UI) == 0) {
        throw ViewError(std::string("the effect has no custom user interface for the ") + window +
                        " window (PF_OutFlag_CUSTOM_UI is not set)");
    }
    if ((session.custom_ui_events() & wanted) == 0) {
        throw ViewError(std::string("the effect did not register for ") + window +
                        " window events at parameter set-up");
    }
    if (!(options.zoom > 0)) {
        throw ViewError("the zoom must be above 0");
    }
    const Composition& c = scene.composition;
    const Layer& layer = scene.effect_layer;
    const Point layer_in_comp{std::floor((c.width - layer.width) / 2.0),
                              std::floor((c.height - layer.height) / 2.0)};
    geometry_ = comp ? FitView(ViewWindow::Composition, options.zoom, c.width, c.height,
                               layer_in_comp, options.width, options.height)
                     : FitView(ViewWindow::Layer, options.zoom, layer.width, layer.height,
                               layer_in_comp, options.width, options.height);
    if (options.pan) {
        geometry_.pan = *options.pan;
    }
    FillUtilCallbacks(utils_);
    context_.magic = PF_CONTEXT_MAGIC;
    context_.w_type = comp ? PF_Window_COMP : PF_Window_LAYER;
}

OverlayView::~OverlayView() = default;

PF_InData OverlayView::make_in_data() {
    PF_InData in = session_.make_in_data();
    const Composition& comp = scene_.composition;
    in.utils = &utils_;
    in.effect_ref = effect_ref();
    in.pica_basicP = &services_.basic;
    SetFrameTimes(in, frame_, comp.fps, comp.frames);
    in.width = scene_.effect_layer.width;
    in.height = scene_.effect_layer.height;
    in.extent_hint = {0, 0, in.width, in.height};
    in.pixel_aspect_ratio = AspectRatio(comp.pixel_aspect);
    return in;
}

PF_Err OverlayView::checkout_param(PF_ParamIndex index, A_long time, A_long /*time_step*/,
                                   A_u_long time_scale, PF_ParamDef& param) {
    const ParamRegistry& registry = session_.params();
    if (index <= 0 || static_cast<std::size_t>(index) >= registry.size() || time_scale == 0 ||
        registry.at(index).def.param_type == PF_Param_LAYER) {
        return PF_Err_BAD_CALLBACK_PARAM; // layer pixels are not served during events
    }
    const double frame = double(time) / double(time_scale) * scene_.composition.fps;
    param = ParamAt(scene_, registry, index, frame);
    ++params_out_;
    return PF_Err_NONE;
}

PF_Err OverlayView::checkin_param(PF_ParamDef& /*param*/) {
    if (params_out_ == 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    --params_out_;
    return PF_Err_NONE;
}

PF_EventExtra OverlayView::send(PF_EventType type, const PF_EventUnion& event,
                                DRAWBOT_DrawRef drawing, std::vector<ChangedParam>* changed) {
    // The parameters at the view's frame; during events a definition's first word holds the
    // change flags, which start clear.
    const ParamRegistry& registry = session_.params();
    std::vector<PF_ParamDef> defs(registry.size());
    std::vector<PF_ParamDef*> params(registry.size());
    for (std::size_t i = 0; i < defs.size(); ++i) {
        const auto index = static_cast<int>(i);
        if (i == 0 || registry.at(index).def.param_type == PF_Param_LAYER) {
            std::memset(&defs[i], 0, sizeof defs[i]);
            defs[i].param_type = PF_Param_LAYER;
        } else {
            defs[i] = ParamAt(scene_, registry, index, frame_);
        }
        defs[i].uu.change_flags = PF_ChangeFlag_NONE;
        params[i] = &defs[i];
    }

    PF_EventExtra extra;
    std::memset(&extra, 0, sizeof extra);
    extra.contextH = &context_ptr_;
    extra.e_type = type;
    extra.u = event;
    // Composition and layer windows hand their port rectangle where the effect window's
    // record would be.
    PF_WindowUnion window;
    std::memset(&window, 0, sizeof window);
    window.item_win.port_rect = {0, 0, geometry_.width, geometry_.height};
    static_assert(sizeof window == sizeof extra.effect_win);
    std::memcpy(&extra.effect_win, &window, sizeof window);
    extra.cbs = {this,          LayerToComp,   CompToLayer,   CompToLayerMatrix, LayerToCompMatrix,
                 SourceToFrame, FrameToSource, InfoDrawColor, InfoDrawText};

    PF_InData in = make_in_data();
    PF_OutData out;
    std::memset(&out, 0, sizeof out);
    context_.reserved_drawref = drawing;
    PF_Err err;
    {
        ActiveHostScope active(services_);
        err = session_.entry()(PF_Cmd_EVENT, &in, &out, params.data(), nullptr, &extra);
    }
    context_.reserved_drawref = nullptr;
    const std::string what = std::string(EventName(type)) + " event: ";
    if (err != PF_Err_NONE) {
        throw ViewError(what + "the effect answered with error " + std::to_string(err));
    }
    std::vector<std::string> leaks = services_.leaks();
    if (params_out_ > 0) {
        leaks.push_back(std::to_string(params_out_) + " parameter checkouts not checked in");
    }
    if (!leaks.empty()) {
        throw ViewError(what + "the effect did not give back: " + Joined(leaks));
    }
    if (changed != nullptr) {
        for (std::size_t i = 1; i < defs.size(); ++i) {
            if ((defs[i].uu.change_flags & PF_ChangeFlag_CHANGED_VALUE) == 0 ||
                defs[i].param_type == PF_Param_LAYER) {
                continue;
            }
            const RegisteredParam& registered = registry.at(static_cast<int>(i));
            const ParamValue previous =
                ValueOfDef(ParamAt(scene_, registry, registered.index, frame_), registered);
            const ParamValue value = ValueOfDef(defs[i], registered);
            SetParamValue(scene_, registered.index, frame_, value);
            const std::string name = registered.def.name;
            changed->push_back({registered.index,
                                registered.group.empty() ? name : registered.group + "/" + name,
                                value, previous, defs[i].param_type == PF_Param_POINT});
        }
    }
    return extra;
}

void OverlayView::drag_event(PF_Point at, bool last, MouseReport& report) {
    PF_EventUnion event;
    std::memset(&event, 0, sizeof event);
    PF_DoClickEventInfo& drag = event.do_click;
    drag.when = ++clock_;
    drag.screen_point = at;
    drag.num_clicks = 1;
    std::copy(std::begin(refcon_), std::end(refcon_), drag.continue_refcon);
    drag.send_drag = true;
    drag.last_time = last;
    const PF_EventExtra extra = send(PF_Event_DRAG, event, nullptr, &report.changed);
    std::copy(std::begin(extra.u.do_click.continue_refcon),
              std::end(extra.u.do_click.continue_refcon), refcon_);
    report.event = PF_Event_DRAG;
    report.handled = (extra.evt_out_flags & PF_EO_HANDLED_EVENT) != 0;
    dragging_ = !last && extra.u.do_click.send_drag;
}

MouseReport OverlayView::mouse(MouseAction action, PF_Point at) {
    MouseReport report;
    report.action = action;
    report.at = at;
    const std::string where = std::string(MouseActionName(action)) + " at (" +
                              std::to_string(at.h) + ", " + std::to_string(at.v) + "): ";
    PF_EventUnion event;
    std::memset(&event, 0, sizeof event);
    switch (action) {
    case MouseAction::Move: {
        if (button_down_) {
            throw ViewError(where + "the mouse button is down; a move with it held is a drag");
        }
        event.adjust_cursor.screen_point = at;
        event.adjust_cursor.set_cursor = PF_Cursor_NONE;
        const PF_EventExtra extra = send(PF_Event_ADJUST_CURSOR, event, nullptr, nullptr);
        // The effect leaves the cursor to the host with PF_Cursor_NONE: the arrow.
        const PF_CursorType asked = extra.u.adjust_cursor.set_cursor;
        cursor_ = asked != PF_Cursor_NONE ? asked : PF_Cursor_ARROW;
        report.event = PF_Event_ADJUST_CURSOR;
        report.handled = (extra.evt_out_flags & PF_EO_HANDLED_EVENT) != 0;
        break;
    }
    case MouseAction::Down: {
        if (button_down_) {
            throw ViewError(where + "the mouse button is down already");
        }
        button_down_ = true;
        PF_DoClickEventInfo& click = event.do_click;
        click.when = ++clock_;
        click.screen_point = at;
        click.num_clicks = 1;
        const PF_EventExtra extra = send(PF_Event_DO_CLICK, event, nullptr, nullptr);
        std::copy(std::begin(extra.u.do_click.continue_refcon),
                  std::end(extra.u.do_click.continue_refcon), refcon_);
        dragging_ = extra.u.do_click.send_drag != 0;
        report.event = PF_Event_DO_CLICK;
        report.handled = (extra.evt_out_flags & PF_EO_HANDLED_EVENT) != 0;
        break;
    }
    case MouseAction::Drag:
        if (!button_down_) {
            throw ViewError(where + "the mouse button is not down");
        }
        if (dragging_) { // otherwise the effect did not ask for drags: the host sends nothing
            drag_event(at, false, report);
        }
        break;
    case MouseAction::Up:
        if (!button_down_) {
            throw ViewError(where + "the mouse button is not down");
        }
        button_down_ = false;
        if (dragging_) {
            drag_event(at, true, report);
        }
        dragging_ = false;
        break;
    }
    report.dragging = dragging_;
    report.cursor = cursor_;
    return report;
}

void OverlayView::draw_overlay(RgbaImage& image, DrawLog* log) {
    if (image.width != geometry_.width || image.height != geometry_.height) {
        throw ViewError("draw event: the image is not the view's size");
    }
    Drawing drawing(image, log);
    {
        const Drawing::Scope active(drawing);
        PF_EventUnion event;
        std::memset(&event, 0, sizeof event);
        event.draw.update_rect = {0, 0, geometry_.width, geometry_.height};
        event.draw.depth = 32;
        send(PF_Event_DRAW, event, drawing.ref(), nullptr);
    }
    if (const std::vector<std::string> leaks = drawing.leaks(); !leaks.empty()) {
        throw ViewError("draw event: the effect did not give back: " + Joined(leaks));
    }
}

RgbaImage OverlayView::render(DrawLog* log) {
    const int bpc = options_.bpc > 0 ? options_.bpc : scene_.composition.bpc;
    RgbaImage image = RenderViewBackground(session_, scene_, geometry_, frame_, bpc);
    draw_overlay(image, log);
    return image;
}

// ---- Coordinate callbacks -----------------------------------------------------------------------

OverlayView* OverlayView::From(void* refcon, PF_ContextH context, const char* function) {
    auto* view = static_cast<OverlayView*>(refcon);
    if (view == nullptr || !view->is_context(context)) {
        return nullptr;
    }
    // Counted like every host call, so that tests can make it fail.
    return view->services_.faults.check(function) == PF_Err_NONE ? view : nullptr;
}

PF_Err OverlayView::LayerToComp(void* refcon, PF_ContextH context, A_long /*time*/,
                                A_long time_scale, PF_FixedPoint* point) {
    OverlayView* view = From(refcon, context, "layer_to_comp");
    if (view == nullptr || point == nullptr || time_scale <= 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *point = Fixed(view->geometry_.layer_to_comp(FromFixed(*point)));
    return PF_Err_NONE;
}

PF_Err OverlayView::CompToLayer(void* refcon, PF_ContextH context, A_long /*time*/,
                                A_long time_scale, PF_FixedPoint* point) {
    OverlayView* view = From(refcon, context, "comp_to_layer");
    if (view == nullptr || point == nullptr || time_scale <= 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *point = Fixed(view->geometry_.comp_to_layer(FromFixed(*point)));
    return PF_Err_NONE;
}

PF_Err OverlayView::CompToLayerMatrix(void* refcon, PF_ContextH context, A_long /*time*/,
                                      A_long time_scale, A_long* exists, PF_FloatMatrix* matrix) {
    OverlayView* view = From(refcon, context, "get_comp2layer_xform");
    if (view == nullptr || exists == nullptr || matrix == nullptr || time_scale <= 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const Point at = view->geometry_.layer_in_comp;
    *matrix = Translation(-at.x, -at.y);
    *exists = 1; // the layer is never scaled to nothing
    return PF_Err_NONE;
}

PF_Err OverlayView::LayerToCompMatrix(void* refcon, PF_ContextH context, A_long /*time*/,
                                      A_long time_scale, PF_FloatMatrix* matrix) {
    OverlayView* view = From(refcon, context, "get_layer2comp_xform");
    if (view == nullptr || matrix == nullptr || time_scale <= 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const Point at = view->geometry_.layer_in_comp;
    *matrix = Translation(at.x, at.y);
    return PF_Err_NONE;
}

PF_Err OverlayView::SourceToFrame(void* refcon, PF_ContextH context, PF_FixedPoint* point) {
    OverlayView* view = From(refcon, context, "source_to_frame");
    if (view == nullptr || point == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *point = Fixed(view->geometry_.source_to_screen(FromFixed(*point)));
    return PF_Err_NONE;
}

PF_Err OverlayView::FrameToSource(void* refcon, PF_ContextH context, PF_FixedPoint* point) {
    OverlayView* view = From(refcon, context, "frame_to_source");
    if (view == nullptr || point == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *point = Fixed(view->geometry_.screen_to_source(FromFixed(*point)));
    return PF_Err_NONE;
}

PF_Err OverlayView::InfoDrawColor(void* refcon, PF_Pixel /*color*/) {
    return refcon != nullptr ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
}

PF_Err OverlayView::InfoDrawText(void* refcon, const A_char* line1, const A_char* line2) {
    auto* view = static_cast<OverlayView*>(refcon);
    if (view == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    view->info_text_ = std::string(line1 != nullptr ? line1 : "") +
                       (line2 != nullptr ? std::string("\n") + line2 : std::string());
    return PF_Err_NONE;
}

} // namespace plurion::host
