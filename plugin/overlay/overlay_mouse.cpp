// The mouse events: hover cursors around the handles, the click that starts a drag from a
// handle, and the drag that turns the grid.
#include "entry/error_chain.h"
#include "entry/suite_handler.h"
#include "overlay/overlay_events.h"
#include "overlay/screen_points.h"
#include "params/param_index.h"

#include <cmath>

namespace plurion::overlay {
namespace {

constexpr A_long kNearDistance = 24; // the rotate ring around a corner
constexpr A_long kOnDistance = 8;    // on the handle itself
constexpr A_long kClickReach = 16;   // city-block distance of a click that takes a handle

bool ItemWindow(const PF_EventExtra& extra) {
    const PF_WindowType window = WindowOf(extra);
    return window == PF_Window_COMP || window == PF_Window_LAYER;
}

// The hit box's handles on the screen of the event's window.
PF_Err HandlesOnScreen(const PF_InData& in_data, PF_ParamDef* params[], const PF_EventExtra& extra,
                       std::array<ScreenPoint, kHandleCount>& out) {
    const auto handles = HandlePoints(MakeHitBox(ReadBoxParams(in_data, params)));
    ErrorChain chain;
    for (int i = 0; i < kHandleCount; ++i) {
        chain.then([&] { return LayerToScreen(in_data, extra, handles[i], out[i]); });
    }
    return chain.error();
}

bool Within(const ScreenPoint& handle, const PF_Point& mouse, A_long distance) {
    return std::abs(handle.x - mouse.h) < distance && std::abs(handle.y - mouse.v) < distance;
}

// The first cursor that applies, in order of precedence: scaling on a corner, moving on the
// centre, rotating in the ring around a corner.
PF_CursorType CursorFor(const std::array<ScreenPoint, kHandleCount>& handles,
                        const PF_Point& mouse) {
    const auto on = [&](Handle h) { return Within(handles[h], mouse, kOnDistance); };
    const auto near = [&](Handle h) { return Within(handles[h], mouse, kNearDistance); };
    if (on(kTopLeft) || on(kBottomRight)) {
        return PF_Cursor_SCALE_DIAG_LR;
    }
    if (on(kTopRight) || on(kBottomLeft)) {
        return PF_Cursor_SCALE_DIAG_UR;
    }
    if (on(kCenter)) {
        return PF_Cursor_HAND;
    }
    constexpr struct {
        Handle handle;
        PF_CursorType cursor;
    } kRotations[] = {{kTopLeft, PF_Cursor_ROT_TOP_LEFT},
                      {kTopRight, PF_Cursor_ROT_TOP_RIGHT},
                      {kBottomRight, PF_Cursor_ROT_BOT_RIGHT},
                      {kBottomLeft, PF_Cursor_ROT_BOT_LEFT}};
    for (const auto& rotation : kRotations) {
        if (near(rotation.handle)) {
            return rotation.cursor;
        }
    }
    return PF_Cursor_NONE;
}

void MarkChanged(PF_ParamDef* params[]) {
    for (const int index :
         {param::grid::kGlobalRotation, param::grid::kSizeX, param::grid::kSizeY}) {
        params[index]->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    }
}

} // namespace

PF_Err AdjustCursor(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra& extra) {
    if (WindowOf(extra) != PF_Window_COMP) {
        return PF_Err_NONE;
    }
    std::array<ScreenPoint, kHandleCount> handles;
    if (const PF_Err err = HandlesOnScreen(*in_data, params, extra, handles)) {
        return err;
    }
    const PF_CursorType cursor = CursorFor(handles, extra.u.adjust_cursor.screen_point);
    if (cursor != PF_Cursor_NONE) {
        extra.u.adjust_cursor.set_cursor = cursor;
    }
    extra.evt_out_flags = PF_EO_HANDLED_EVENT;
    return PF_Err_NONE;
}

PF_Err Click(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra& extra) {
    if (!ItemWindow(extra)) {
        return PF_Err_NONE;
    }
    SuiteHandler suites(in_data->pica_basicP);
    const PF_ANSICallbacksSuite1* ansi = suites.AnsiSuite1();
    const auto handles = HandlePoints(MakeHitBox(ReadBoxParams(*in_data, params)));
    PF_DoClickEventInfo& click = extra.u.do_click;
    for (const LayerPoint& handle : handles) {
        ScreenPoint screen;
        if (const PF_Err err = LayerToScreen(*in_data, extra, handle, screen)) {
            return err;
        }
        const auto dx = static_cast<A_long>(ansi->fabs(double(screen.x - click.screen_point.h)));
        const auto dy = static_cast<A_long>(ansi->fabs(double(screen.y - click.screen_point.v)));
        if (dx + dy < kClickReach) {
            // The drag compares layer positions from its first step on, so the click keeps
            // where the mouse went down in 16.16 layer pixels: the grid turns only as the
            // mouse moves, never by a jump on the first step.
            PF_FixedPoint at;
            if (const PF_Err err = ScreenToLayer(*in_data, extra, click.screen_point, at)) {
                return err;
            }
            click.send_drag = true;
            click.continue_refcon[0] = 1;
            click.continue_refcon[1] = at.x;
            click.continue_refcon[2] = at.y;
            click.continue_refcon[3] = 0;
            extra.evt_out_flags = PF_EO_HANDLED_EVENT;
            break;
        }
    }
    return PF_Err_NONE;
}

PF_Err Drag(PF_InData* in_data, PF_ParamDef* params[], PF_EventExtra& extra) {
    PF_DoClickEventInfo& click = extra.u.do_click;
    if (!ItemWindow(extra) || click.continue_refcon[0] != 1) {
        return PF_Err_NONE;
    }
    // 16.16 layer pixels in both windows: one layer pixel up turns the grid half a degree.
    PF_FixedPoint at;
    if (const PF_Err err = ScreenToLayer(*in_data, extra, click.screen_point, at)) {
        return err;
    }
    const double moved_up = static_cast<double>(click.continue_refcon[2] - at.y);
    params[param::grid::kGlobalRotation]->u.ad.value +=
        static_cast<PF_Fixed>(std::trunc(moved_up * 0.5));
    MarkChanged(params);
    click.send_drag = true;
    click.continue_refcon[0] = 1;
    click.continue_refcon[1] = at.x;
    click.continue_refcon[2] = at.y;
    click.continue_refcon[3] = 1;
    if (click.last_time) {
        click.continue_refcon[0] = 0;
        click.send_drag = false;
    }
    extra.evt_out_flags = PF_EO_HANDLED_EVENT;
    return PF_Err_NONE;
}

} // namespace plurion::overlay
