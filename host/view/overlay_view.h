// A composition or layer window showing one frame of a scene, with the effect's custom user
// interface on top, driven as the host drives it through PF_Cmd_EVENT: draw events with a
// drawing over an image of the view, adjust-cursor events as the mouse moves, a click when the
// button goes down, and drag events while the effect asks for them (send_drag), the last one
// with last_time set when the button comes up. The host keeps the drag's continue_refcon from
// event to event, serves the coordinate callbacks for the view's zoom and pan, and stores the
// values of the parameters the effect marks as changed during a drag in the scene, at the
// view's frame.
//
// Every event is checked as a frame is: the effect must answer it without an error and give
// back every suite and drawing object it took; otherwise the event throws ViewError.
#pragma once

#include "AE_EffectUI.h"
#include "drawbot/drawing.h"
#include "scene/scene.h"
#include "session/call_target.h"
#include "session/effect_session.h"
#include "view/view_geometry.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace plurion::host {

class ViewError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ViewOptions {
    ViewWindow window = ViewWindow::Composition;
    double frame = 0;
    double zoom = 1;
    std::optional<Point> pan; // default: the source centred in the view
    A_long width = 0;         // default: the source at the zoom with a margin round it
    A_long height = 0;
    int bpc = 0; // depth of the frame under the overlay; 0: the scene's
};

// A parameter the effect marked as changed during a drag, with the value the host stored and
// the one it had before.
struct ChangedParam {
    int index = 0;
    std::string path; // group path and name, as scene files name it
    ParamValue value;
    ParamValue previous;
    bool point = false; // the value has x and y
    bool differs() const { return value.x != previous.x || value.y != previous.y; }
};

enum class MouseAction { Move, Down, Drag, Up };

struct MouseReport {
    MouseAction action = MouseAction::Move;
    PF_Point at{};
    PF_EventType event = PF_Event_NONE; // what the host sent, PF_Event_NONE for nothing
    bool handled = false;               // the effect set PF_EO_HANDLED_EVENT
    bool dragging = false;              // the effect drags on after this
    PF_CursorType cursor = PF_Cursor_ARROW;
    std::vector<ChangedParam> changed;
};

class OverlayView final : public HostCallTarget {
  public:
    // Throws ViewError when the effect has not asked for the window's events (the global flag
    // PF_OutFlag_CUSTOM_UI and a registration through register_ui at parameter set-up).
    OverlayView(EffectSession& session, Scene& scene, const ViewOptions& options);
    ~OverlayView() override;
    OverlayView(const OverlayView&) = delete;
    OverlayView& operator=(const OverlayView&) = delete;

    const ViewGeometry& geometry() const { return geometry_; }
    double frame() const { return frame_; }
    PF_CursorType cursor() const { return cursor_; }
    bool dragging() const { return dragging_; }
    // The last text the effect gave the info panel.
    const std::string& info_text() const { return info_text_; }

    // One mouse action at a screen point. A move with the button down, a second down, or a drag
    // or up without a down throws ViewError.
    MouseReport mouse(MouseAction action, PF_Point at);

    // Sends a draw event with a drawing over `image` (the view's size).
    void draw_overlay(RgbaImage& image, DrawLog* log = nullptr);
    // The view as the window shows it: the frame (at the scene's current values) under the
    // overlay.
    RgbaImage render(DrawLog* log = nullptr);

    // HostCallTarget
    HostServices& services() override { return services_; }
    const char* command() const override { return "PF_Cmd_EVENT"; }
    PF_Err checkout_param(PF_ParamIndex index, A_long time, A_long time_step, A_u_long time_scale,
                          PF_ParamDef& param) override;
    PF_Err checkin_param(PF_ParamDef& param) override;

  private:
    PF_InData make_in_data();
    // Sends one event; returns the event record as the effect left it. Changes the effect marks
    // are stored and reported in `changed` when it is given (drag events only).
    PF_EventExtra send(PF_EventType type, const PF_EventUnion& event, DRAWBOT_DrawRef drawing,
                       std::vector<ChangedParam>* changed);
    void drag_event(PF_Point at, bool last, MouseReport& report);
    bool is_context(PF_ContextH context) const { return context == &context_ptr_; }

    // The coordinate callbacks; refcon is the view.
    static OverlayView* From(void* refcon, PF_ContextH context, const char* function);
    static PF_Err LayerToComp(void* refcon, PF_ContextH context, A_long time, A_long time_scale,
                              PF_FixedPoint* point);
    static PF_Err CompToLayer(void* refcon, PF_ContextH context, A_long time, A_long time_scale,
                              PF_FixedPoint* point);
    static PF_Err CompToLayerMatrix(void* refcon, PF_ContextH context, A_long time,
                                    A_long time_scale, A_long* exists, PF_FloatMatrix* matrix);
    static PF_Err LayerToCompMatrix(void* refcon, PF_ContextH context, A_long time,
                                    A_long time_scale, PF_FloatMatrix* matrix);
    static PF_Err SourceToFrame(void* refcon, PF_ContextH context, PF_FixedPoint* point);
    static PF_Err FrameToSource(void* refcon, PF_ContextH context, PF_FixedPoint* point);
    static PF_Err InfoDrawColor(void* refcon, PF_Pixel color);
    static PF_Err InfoDrawText(void* refcon, const A_char* line1, const A_char* line2);

    EffectSession& session_;
    Scene& scene_;
    ViewOptions options_;
    ViewGeometry geometry_;
    double frame_ = 0;
    HostServices services_;
    PF_UtilCallbacks utils_{};
    PF_Context context_{};
    PF_Context* context_ptr_ = &context_;
    int params_out_ = 0;

    bool button_down_ = false;
    bool dragging_ = false;
    A_intptr_t refcon_[4] = {};
    A_u_long clock_ = 0;
    PF_CursorType cursor_ = PF_Cursor_ARROW;
    std::string info_text_;
};

// "move", "down", "drag", "up".
const char* MouseActionName(MouseAction action);

} // namespace plurion::host
