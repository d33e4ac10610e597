// The effect's overlay through the host's view: the drawing calls for a known box, the hover
// cursors at their distances, the click's hit rule and whole drags in the composition and layer
// windows, every suite given back. Expected screen points are worked by hand from the box, the
// layer's place in the composition, the zoom and the pan.
#include "params/param_index.h"
#include "scene/scene_loader.h"
#include "support/test_host.h"
#include "view/overlay_view.h"

#include <gtest/gtest.h>

#include <cstring>

namespace plurion::host {
namespace {

// A 200 x 120 composition with a 160 x 100 effect layer centred on it (its corner at (20, 10)),
// and a grid box of 40 x 30 around (60, 40): layer edges 40, 25, 80, 55.
nlohmann::json SceneJson() {
    return nlohmann::json::parse(R"({
      "composition": {"width": 200, "height": 120, "fps": 24, "frames": 12, "bpc": 8},
      "layers": [{"name": "dot", "width": 8, "height": 8, "source": {"kind": "solid",
                  "color": [1, 1, 1, 1]}}],
      "effect_layer": {"width": 160, "height": 100},
      "effect": {"Clone Type": "Grid", "Grid Mode/Count X": 2, "Grid Mode/Count Y": 2,
                 "Grid Mode/Size X": 40, "Grid Mode/Size Y": 30,
                 "Grid Mode/Transform/Local/Position": [60, 40],
                 "Grid Mode/Transform/Global/Rotation": 30,
                 "Layers/Selection/Layer 1": "dot"}
    })");
}

constexpr int kRotation = param::grid::kGlobalRotation;

struct Fixture : ::testing::Test {
    Fixture() : session(test::ModulePath()) {
        EXPECT_EQ(session.global_setup(), PF_Err_NONE);
        EXPECT_EQ(session.params_setup(), PF_Err_NONE);
    }
    Scene MakeScene(nlohmann::json json = SceneJson()) {
        return ParseScene(json, "overlay.json", ".", session.params());
    }
    static ViewOptions Comp() {
        ViewOptions options;
        options.zoom = 2;
        options.pan = Point{5, 7};
        return options;
    }
    static double Rotation(const Scene& scene) { return scene.effect.at(kRotation).back().value.x; }
    // Every suite the view's events acquired was released (and, when asked, some were).
    static void ExpectSuitesBalanced(OverlayView& view, bool some = true) {
        int acquired = 0;
        for (const SuiteUsage& usage : view.services().suites.usage()) {
            EXPECT_EQ(usage.acquired, usage.released) << usage.name;
            acquired += usage.acquired;
        }
        EXPECT_EQ(acquired > 0, some);
    }

    EffectSession session;
};

using Overlay = Fixture;

TEST_F(Overlay, EffectRegistersForCompositionAndLayerWindows) {
    EXPECT_NE(session.out_flags() & PF_OutFlag_CUSTOM_UI, 0);
    EXPECT_EQ(session.custom_ui_events(), PF_CustomEFlag_COMP | PF_CustomEFlag_LAYER);
    // An effect that never registered gets no events.
    EffectSession other(test::ProtocolModulePath());
    ASSERT_EQ(other.global_setup(), PF_Err_NONE);
    ASSERT_EQ(other.params_setup(), PF_Err_NONE);
    Scene scene = ParseScene(nlohmann::json::parse(R"({"composition": {"width": 8, "height": 8,
                               "fps": 24, "frames": 1, "bpc": 8}, "effect": {"Opacity": 50}})"),
                             "p.json", ".", other.params());
    EXPECT_THROW(OverlayView(other, scene, {}), ViewError);
}

TEST_F(Overlay, DrawsTheBoxOutlineAndFiveHandles) {
    Scene scene = MakeScene();
    OverlayView view(session, scene, Comp());
    DrawLog log;
    view.render(&log);
    // Screen = (layer + (20, 10)) x 2 + (5, 7): corners (125, 77) and (205, 137), centre (165,
    // 107).
    const std::vector<std::pair<std::string, std::vector<double>>> expected = {
        {"NewPath", {}},
        {"MoveTo", {125, 77}},
        {"LineTo", {125, 77}},
        {"LineTo", {205, 77}},
        {"LineTo", {205, 137}},
        {"LineTo", {125, 137}},
        {"LineTo", {125, 77}},
        {"PF_StrokePath", {0}},
        {"ReleaseObject", {}},
        {"PaintRect", {0.176, 0.549, 0.921, 1, 157, 99, 16, 16}},
        {"PaintRect", {0.176, 0.549, 0.921, 1, 117, 69, 16, 16}},
        {"PaintRect", {0.176, 0.549, 0.921, 1, 197, 69, 16, 16}},
        {"PaintRect", {0.176, 0.549, 0.921, 1, 117, 129, 16, 16}},
        {"PaintRect", {0.176, 0.549, 0.921, 1, 197, 129, 16, 16}}};
    ASSERT_EQ(log.size(), expected.size());
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].function, expected[i].first) << i;
        ASSERT_EQ(log[i].args.size(), expected[i].second.size()) << i;
        for (std::size_t a = 0; a < log[i].args.size(); ++a) {
            EXPECT_NEAR(log[i].args[a], expected[i].second[a], 1e-6) << i << " " << a;
        }
    }
    ExpectSuitesBalanced(view);

    // In the layer window, at 100 % with the layer's corner at (3, 4): the box as it is, moved.
    ViewOptions layer_window;
    layer_window.window = ViewWindow::Layer;
    layer_window.pan = Point{3, 4};
    OverlayView layer_view(session, scene, layer_window);
    log.clear();
    layer_view.render(&log);
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[1].args, (std::vector<double>{43, 29}));
    EXPECT_EQ(log[4].args, (std::vector<double>{83, 59}));

    // Wide pixels: the width in layer pixels halves (40 x 0.5 x 1 / 2 each side of 60).
    nlohmann::json wide = SceneJson();
    wide["composition"]["pixel_aspect"] = 2;
    Scene wide_scene = MakeScene(wide);
    OverlayView wide_view(session, wide_scene, layer_window);
    log.clear();
    wide_view.render(&log);
    EXPECT_EQ(log[1].args, (std::vector<double>{53, 29}));
    EXPECT_EQ(log[3].args, (std::vector<double>{73, 29}));
}

TEST_F(Overlay, HoverCursorsAtTheDocumentedDistances) {
    Scene scene = MakeScene();
    OverlayView view(session, scene, Comp());
    const auto cursor_at = [&](A_long x, A_long y) {
        return view.mouse(MouseAction::Move, {x, y}).cursor;
    };
    // Top-right corner at (205, 77): on it within 8 pixels, the rotate ring out to 24.
    EXPECT_EQ(cursor_at(210, 77), PF_Cursor_SCALE_DIAG_UR);
    EXPECT_EQ(cursor_at(212, 84), PF_Cursor_SCALE_DIAG_UR);
    EXPECT_EQ(cursor_at(213, 77), PF_Cursor_ROT_TOP_RIGHT);
    EXPECT_EQ(cursor_at(215, 77), PF_Cursor_ROT_TOP_RIGHT);
    EXPECT_EQ(cursor_at(228, 54), PF_Cursor_ROT_TOP_RIGHT);
    EXPECT_EQ(cursor_at(229, 77), PF_Cursor_ARROW); // nothing asked: the host's arrow
    EXPECT_EQ(cursor_at(120, 72), PF_Cursor_SCALE_DIAG_LR);
    EXPECT_EQ(cursor_at(115, 77), PF_Cursor_ROT_TOP_LEFT);
    EXPECT_EQ(cursor_at(200, 132), PF_Cursor_SCALE_DIAG_LR);
    EXPECT_EQ(cursor_at(215, 147), PF_Cursor_ROT_BOT_RIGHT);
    EXPECT_EQ(cursor_at(130, 140), PF_Cursor_SCALE_DIAG_UR);
    EXPECT_EQ(cursor_at(115, 147), PF_Cursor_ROT_BOT_LEFT);
    EXPECT_EQ(cursor_at(165, 107), PF_Cursor_HAND);
    EXPECT_EQ(cursor_at(172, 100), PF_Cursor_HAND);
    EXPECT_EQ(cursor_at(173, 107), PF_Cursor_ARROW);
    const MouseReport handled = view.mouse(MouseAction::Move, {1, 1});
    EXPECT_TRUE(handled.handled);
    // The layer window keeps the host's cursor.
    ViewOptions layer_window;
    layer_window.window = ViewWindow::Layer;
    layer_window.pan = Point{0, 0};
    OverlayView layer_view(session, scene, layer_window);
    const MouseReport on_corner = layer_view.mouse(MouseAction::Move, {80, 25});
    EXPECT_FALSE(on_corner.handled);
    EXPECT_EQ(on_corner.cursor, PF_Cursor_ARROW);
    ExpectSuitesBalanced(view, false); // the cursor needs no suite
}

TEST_F(Overlay, ClickHitsAHandleWithinSixteenCityBlockPixels) {
    Scene scene = MakeScene();
    OverlayView view(session, scene, Comp());
    // 9 right and 6 below the top-right handle: 15, a hit that starts a drag.
    const MouseReport hit = view.mouse(MouseAction::Down, {214, 83});
    EXPECT_TRUE(hit.handled);
    EXPECT_TRUE(hit.dragging);
    view.mouse(MouseAction::Up, {214, 83});
    // 10 and 6: 16, no hit; the drags that follow reach nothing.
    const MouseReport miss = view.mouse(MouseAction::Down, {215, 83});
    EXPECT_FALSE(miss.handled);
    EXPECT_FALSE(miss.dragging);
    EXPECT_EQ(view.mouse(MouseAction::Drag, {215, 20}).event, PF_Event_NONE);
    EXPECT_EQ(view.mouse(MouseAction::Up, {215, 20}).event, PF_Event_NONE);
    EXPECT_DOUBLE_EQ(Rotation(scene), 30);
    // The centre handle takes a click on it.
    EXPECT_TRUE(view.mouse(MouseAction::Down, {165, 107}).dragging);
    view.mouse(MouseAction::Up, {165, 107});
    EXPECT_THROW(view.mouse(MouseAction::Drag, {1, 1}), ViewError); // no button down
}

TEST_F(Overlay, DragTurnsRotationInTheCompositionWindow) {
    Scene scene = MakeScene();
    OverlayView view(session, scene, Comp());
    ASSERT_TRUE(view.mouse(MouseAction::Down, {205, 77}).dragging);
    // At 200 % each 20 screen pixels up are 10 layer pixels: 5 degrees; 10 pixels: 2.5.
    const MouseReport first = view.mouse(MouseAction::Drag, {205, 57});
    ASSERT_EQ(first.event, PF_Event_DRAG);
    EXPECT_TRUE(first.dragging);
    ASSERT_EQ(first.changed.size(), 3u);
    EXPECT_EQ(first.changed[0].path, "Grid Mode/Size X");
    EXPECT_DOUBLE_EQ(first.changed[0].value.x, 40);
    EXPECT_EQ(first.changed[2].path, "Grid Mode/Transform/Global/Rotation");
    EXPECT_DOUBLE_EQ(first.changed[2].value.x, 35);
    EXPECT_DOUBLE_EQ(view.mouse(MouseAction::Drag, {205, 47}).changed[2].value.x, 37.5);
    // One screen pixel down at 200 %: half a layer pixel, a quarter degree back.
    EXPECT_DOUBLE_EQ(view.mouse(MouseAction::Drag, {205, 48}).changed[2].value.x, 37.25);
    const MouseReport last = view.mouse(MouseAction::Up, {205, 38});
    EXPECT_EQ(last.event, PF_Event_DRAG);
    EXPECT_FALSE(last.dragging);
    EXPECT_DOUBLE_EQ(last.changed[2].value.x, 39.75);
    EXPECT_DOUBLE_EQ(Rotation(scene), 39.75);
    EXPECT_EQ(scene.effect.at(kRotation).size(), 1u); // not animated: one value for all time
    EXPECT_FALSE(view.dragging());
    ExpectSuitesBalanced(view);
}

TEST_F(Overlay, DragTurnsRotationInTheLayerWindowAndKeysAnimatedValues) {
    nlohmann::json json = SceneJson();
    json["effect"]["Grid Mode/Transform/Global/Rotation"] = {{"keys", {{0, 0}, {10, 100}}}};
    Scene scene = MakeScene(json);
    ViewOptions options;
    options.window = ViewWindow::Layer;
    options.frame = 5;
    options.pan = Point{10, 10};
    OverlayView view(session, scene, options);
    // Top-right handle at layer (80, 25), on the screen (90, 35).
    ASSERT_TRUE(view.mouse(MouseAction::Down, {90, 35}).dragging);
    EXPECT_DOUBLE_EQ(view.mouse(MouseAction::Drag, {90, 25}).changed[2].value.x, 55);
    EXPECT_DOUBLE_EQ(view.mouse(MouseAction::Up, {90, 15}).changed[2].value.x, 60);
    // A key at the view's frame joins the two there were.
    const ParamTrack& track = scene.effect.at(kRotation);
    ASSERT_EQ(track.size(), 3u);
    EXPECT_DOUBLE_EQ(track[1].frame, 5);
    EXPECT_DOUBLE_EQ(track[1].value.x, 60);
    ExpectSuitesBalanced(view);
}

// Raw events, built by hand, for what the view never sends.
struct RawEvent {
    explicit RawEvent(EffectSession& session, PF_WindowType window) {
        for (const RegisteredParam& param : session.params().params()) {
            defs.push_back(param.def);
            defs.back().uu.change_flags = PF_ChangeFlag_NONE;
        }
        for (PF_ParamDef& def : defs) {
            pointers.push_back(&def);
        }
        context.magic = PF_CONTEXT_MAGIC;
        context.w_type = window;
        std::memset(&extra, 0, sizeof extra);
        extra.contextH = &context_ptr;
        extra.cbs = {nullptr, Same, Same, nullptr, nullptr, SameHere, SameHere, nullptr, nullptr};
        calls = 0;
    }
    // Identity conversions that count their calls.
    static PF_Err Same(void*, PF_ContextH, A_long, A_long, PF_FixedPoint*) {
        ++calls;
        return PF_Err_NONE;
    }
    static PF_Err SameHere(void*, PF_ContextH, PF_FixedPoint*) {
        ++calls;
        return PF_Err_NONE;
    }
    inline static int calls = 0;

    std::vector<PF_ParamDef> defs;
    std::vector<PF_ParamDef*> pointers;
    PF_Context context{};
    PF_Context* context_ptr = &context;
    PF_EventExtra extra;
};

TEST_F(Overlay, NothingHappensInTheEffectWindow) {
    for (const PF_EventType type : {PF_Event_DRAW, PF_Event_ADJUST_CURSOR, PF_Event_DO_CLICK}) {
        RawEvent event(session, PF_Window_EFFECT);
        event.extra.e_type = type;
        session.services().suites.reset_counts();
        PF_InData in = session.make_in_data();
        PF_OutData out{};
        EXPECT_EQ(session.call(PF_Cmd_EVENT, in, out, event.pointers.data(), nullptr, &event.extra),
                  PF_Err_NONE);
        EXPECT_EQ(event.extra.evt_out_flags, PF_EO_NONE) << type;
        EXPECT_EQ(RawEvent::calls, 0) << type;
        for (const SuiteUsage& usage : session.services().suites.usage()) {
            EXPECT_EQ(usage.acquired, 0) << usage.name;
        }
    }
}

TEST_F(Overlay, ClickWithSendDragIsHandledAsADrag) {
    RawEvent event(session, PF_Window_COMP);
    event.extra.e_type = PF_Event_DO_CLICK;
    PF_DoClickEventInfo& click = event.extra.u.do_click;
    click.send_drag = true;
    click.continue_refcon[0] = 1;
    click.continue_refcon[2] = 100 << 16;
    click.screen_point = {0, 90}; // ten pixels up through identity conversions
    PF_InData in = session.make_in_data();
    PF_OutData out{};
    ASSERT_EQ(session.call(PF_Cmd_EVENT, in, out, event.pointers.data(), nullptr, &event.extra),
              PF_Err_NONE);
    EXPECT_EQ(event.extra.e_type, PF_Event_DRAG);
    EXPECT_EQ(event.extra.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_EQ(event.defs[kRotation].u.ad.value, 5 << 16);
    EXPECT_EQ(event.defs[kRotation].uu.change_flags, PF_ChangeFlag_CHANGED_VALUE);
    EXPECT_EQ(click.continue_refcon[2], 90 << 16);
    EXPECT_EQ(click.continue_refcon[3], 1);
    // The last drag event ends the drag.
    click.last_time = true;
    ASSERT_EQ(session.call(PF_Cmd_EVENT, in, out, event.pointers.data(), nullptr, &event.extra),
              PF_Err_NONE);
    EXPECT_EQ(click.continue_refcon[0], 0);
    EXPECT_FALSE(click.send_drag);
    EXPECT_TRUE(session.leaks().empty());
}

} // namespace
} // namespace plurion::host
