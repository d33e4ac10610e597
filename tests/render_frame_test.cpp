// Whole frames through the stand-in host: the order, matrices, opacities and sources of the
// "Linear" clones in the host's trace, the output, and that every frame gives back all it took,
// also when any host call fails.
#include "layout/clone_random.h"
#include "render/matrices.h"
#include "render_frame_support.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <map>
#include <set>

namespace plurion {
namespace {

using test::FrameResult;
using test::json;
using Point = std::complex<double>;

PF_FloatMatrix MatrixOf(const json& numbers) {
    PF_FloatMatrix m{};
    for (int i = 0; i < 9; ++i) {
        m.mat[i / 3][i % 3] = numbers[static_cast<std::size_t>(i)].get<double>();
    }
    return m;
}

Point Apply(const PF_FloatMatrix& m, Point p) {
    return {p.real() * m.mat[0][0] + p.imag() * m.mat[1][0] + m.mat[2][0],
            p.real() * m.mat[0][1] + p.imag() * m.mat[1][1] + m.mat[2][1]};
}

// Where a clone's source centre lands.
Point CentreOf(const json& draw, int matrix) {
    const double w = draw["src"]["width"].get<double>();
    const double h = draw["src"]["height"].get<double>();
    return Apply(MatrixOf(draw["matrices"][static_cast<std::size_t>(matrix)]), {w / 2, h / 2});
}

class LinearFrame : public test::RenderFixture {
  protected:
    LinearFrame() {
        use_layer(1, 0); // "wide", 40 x 20
        use_layer(2, 1); // "square", 16 x 16
        set(param::linear::kCount, 3);
        set(param::linear::kCloneOffsetMode, 1);
        set(param::linear::kOffsetPosition, 100, 0);
        set(param::linear::kGlobalScale, 50);
        set(param::linear::kPosition, 160, 120);
    }
};

TEST_F(LinearFrame, DrawsEachCloneOnceInOrderAtItsPlace) {
    const FrameResult frame = render();
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
    const std::vector<json> draws = frame.named("transform_world");
    ASSERT_EQ(draws.size(), 3u);
    // "Iterative" moves on before the first clone: square, wide, square, each resampled to half
    // its size by the global scale.
    const int widths[] = {8, 20, 8};
    for (std::size_t i = 0; i < 3; ++i) {
        const json& draw = draws[i];
        EXPECT_EQ(draw["src"]["width"], widths[i]);
        EXPECT_EQ(draw["num_matrices"], 2);
        EXPECT_EQ(draw["mode_flags"], PF_MF_Alpha_STRAIGHT);
        EXPECT_EQ(draw["xfer"], PF_Xfer_IN_FRONT);
        EXPECT_EQ(draw["opacity"], 255);
        EXPECT_EQ(draw["dest_rect"], json({0, 0, 320, 240}));
        const Point centre = CentreOf(draw, 0);
        EXPECT_NEAR(centre.real(), 160 + (static_cast<double>(i) - 1) * 50, 1e-9);
        EXPECT_NEAR(centre.imag(), 120, 1e-9);
        EXPECT_NEAR(MatrixOf(draw["matrices"][0]).mat[0][0], 1, 1e-12); // no turn, no scale
        EXPECT_EQ(draw["matrices"][0], draw["matrices"][1]);            // nothing moves: no blur
    }
    // The two working copies are made before the output is cleared, and the clones come after.
    std::vector<std::string> order;
    for (const json& call : frame.calls) {
        if (call["command"] == "PF_Cmd_SMART_RENDER") {
            order.push_back(call["function"]);
        }
    }
    const std::vector<std::string> expected = {"checkout_layer_pixels",
                                               "checkout_layer_pixels",
                                               "PF_NewWorld",
                                               "copy",
                                               "checkout_layer_pixels",
                                               "PF_NewWorld",
                                               "copy",
                                               "checkout_output",
                                               "fill",
                                               "transform_world",
                                               "transform_world",
                                               "transform_world",
                                               "checkin_layer_pixels",
                                               "checkin_layer_pixels",
                                               "checkin_layer_pixels"};
    EXPECT_EQ(order, expected);

    // The output holds the clones and nothing else: the host hands it uncleared, so every
    // pixel outside the clones is clear only because the effect cleared it.
    EXPECT_EQ(output_pixel(160, 120)[3], 1.0f);
    EXPECT_EQ(output_pixel(210, 120)[3], 1.0f);
    EXPECT_EQ(output_pixel(5, 5), (std::array<float, 4>{}));
    EXPECT_EQ(output_pixel(160, 140), (std::array<float, 4>{}));
}

TEST_F(LinearFrame, GlobalRotationTurnsTheRowAboutPositionPlusAnchor) {
    set(param::linear::kGlobalRotation, 90);
    set(param::linear::kAnchorPoint, 10, 0);
    const std::vector<json> draws = render().named("transform_world");
    ASSERT_EQ(draws.size(), 3u);
    // Offsets -50, 0, +50 from (160, 120), turned by 90 degrees about (170, 120).
    for (std::size_t i = 0; i < 3; ++i) {
        const Point centre = CentreOf(draws[i], 1);
        const Point offset = Point{(static_cast<double>(i) - 1) * 50 - 10, 0} * Point{0, 1};
        EXPECT_NEAR(centre.real(), 160 + offset.real(), 1e-9);
        EXPECT_NEAR(centre.imag(), 120 + offset.imag(), 1e-9);
    }
}

TEST_F(LinearFrame, OpacityBlendingModeAndDisplaySwitchReachTheHost) {
    set(param::linear::kOffsetOpacity, 10);
    set(param::kBlendingMode, 15); // "Screen"
    FrameResult frame = render();
    std::vector<json> draws = frame.named("transform_world");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0]["opacity"], 250);
    EXPECT_EQ(draws[1]["opacity"], 225);
    EXPECT_EQ(draws[2]["opacity"], 200);
    EXPECT_EQ(draws[0]["xfer"], PF_Xfer_SCREEN);
    EXPECT_EQ(draws[0]["opacity16"], 0);

    scene.effect.erase(param::linear::kOffsetOpacity);
    set(param::kBlendingMode, 3); // a separator line draws as a copy
    set(param::SourceDisplayParam(2), 0);
    draws = render().named("transform_world");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0]["xfer"], PF_Xfer_COPY);
    EXPECT_EQ(draws[0]["opacity"], 0); // the hidden "square"
    EXPECT_EQ(draws[1]["opacity"], 255);
    EXPECT_EQ(draws[2]["opacity"], 0);
}

// The clones are drawn at the quality and field the host asks for, with source-to-destination
// matrices and no mask.
TEST_F(LinearFrame, QualityAndFieldOfTheSceneReachEveryDraw) {
    for (const bool draft : {false, true}) {
        scene.composition.quality = draft ? host::Quality::draft : host::Quality::high;
        scene.composition.field = draft ? host::FieldOrder::upper : host::FieldOrder::frame;
        const FrameResult frame = render();
        ASSERT_EQ(frame.err, PF_Err_NONE);
        const std::vector<json> draws = frame.named("transform_world");
        ASSERT_EQ(draws.size(), 3u);
        for (const json& draw : draws) {
            EXPECT_EQ(draw["quality"], draft ? PF_Quality_LO : PF_Quality_HI);
            EXPECT_EQ(draw["field"], draft ? PF_Field_UPPER : PF_Field_FRAME);
            EXPECT_EQ(draw["src2dst"], true);
            EXPECT_TRUE(draw["mask"].is_null());
        }
    }
}

TEST_F(LinearFrame, MotionBlurGivesTheShutterCloseMatrixSecond) {
    scene.composition.motion_blur = true;
    scene.composition.shutter_angle = 360;
    scene.composition.shutter_phase = 0;
    key(param::linear::kLocalRotation, 0, 90);
    for (const int bpc : {8, 16, 32}) {
        const FrameResult frame = render(0, bpc);
        ASSERT_EQ(frame.err, PF_Err_NONE) << bpc;
        EXPECT_TRUE(frame.leaks.empty()) << bpc;
        const std::vector<json> draws = frame.named("transform_world");
        ASSERT_EQ(draws.size(), 3u);
        const PF_FloatMatrix open = MatrixOf(draws[1]["matrices"][0]);
        const PF_FloatMatrix close = MatrixOf(draws[1]["matrices"][1]);
        EXPECT_NEAR(open.mat[0][1], 0, 1e-12);
        EXPECT_NEAR(close.mat[0][1], 1, 1e-12); // turned by 90 degrees at shutter close
        EXPECT_NEAR(std::abs(CentreOf(draws[1], 0) - CentreOf(draws[1], 1)), 0, 1e-9);
    }
}

TEST_F(LinearFrame, TimeShiftedClonesShowTheirOwnFrames) {
    animate_layers();
    scene.effect.erase(param::SourceLayerParam(1));
    set(param::linear::kOffsetTime, 2);
    const FrameResult frame = render(3);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_TRUE(frame.leaks.empty());
    const std::vector<json> draws = frame.named("transform_world");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0]["src"]["from"], "square, frame 3");
    EXPECT_EQ(draws[1]["src"]["from"], "square, frame 4");
    EXPECT_EQ(draws[2]["src"]["from"], "square, frame 5");
}

// The host shows a still layer at every time with one picture, and the effect then makes one
// working copy for all the times it asks for; a layer that changes gets a copy per time. Six
// clones over an "Offset Time" of 5 ask for frames 3 to 8; the render's own working copy of
// the source is the one other world made.
TEST_F(LinearFrame, AStillLayerAtManyTimesIsCopiedOnce) {
    scene.effect.erase(param::SourceLayerParam(1)); // "square" alone
    set(param::linear::kCount, 6);
    set(param::linear::kOffsetTime, 5);
    const auto worlds_made = [&] {
        const FrameResult frame = render(3);
        EXPECT_EQ(frame.err, PF_Err_NONE);
        EXPECT_TRUE(frame.leaks.empty());
        EXPECT_EQ(frame.named("transform_world").size(), 6u);
        return frame.named("PF_NewWorld").size();
    };
    EXPECT_EQ(worlds_made(), 1u + 1u);
    animate_layers();
    EXPECT_EQ(worlds_made(), 1u + 6u);
}

// The render locks the plan and unlocks it again (the host reports a handle disposed while
// locked, so every clean frame above shows the unlock); a lock that gives no pointer answers
// 516 before anything is checked out or drawn. The pre-render's lock failing is out of memory.
TEST_F(LinearFrame, AFailedPlanLockAnswers516AndTouchesNothing) {
    session().faults().fail("host_lock_handle", 2, 77); // the pre-render locks first
    FrameResult frame = render();
    session().faults().clear();
    EXPECT_EQ(frame.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
    for (const char* function :
         {"checkout_layer_pixels", "PF_NewWorld", "checkout_output", "fill", "transform_world"}) {
        EXPECT_TRUE(frame.named(function).empty()) << function;
    }

    session().faults().fail("host_lock_handle", 1, 77);
    frame = render();
    session().faults().clear();
    EXPECT_EQ(frame.err, PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
    EXPECT_TRUE(frame.named("checkout_layer").empty()); // no plan, so nothing is requested
}

// After a failed transform_world no further clone is drawn; the layers still go back.
TEST_F(LinearFrame, NoCloneIsDrawnAfterAFailedTransform) {
    set(param::linear::kCount, 5);
    session().faults().fail("transform_world", 2, 77);
    const FrameResult frame = render();
    session().faults().clear();
    EXPECT_EQ(frame.err, 77);
    EXPECT_EQ(frame.named("transform_world").size(), 2u);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
}

// A source whose checkout succeeds without pixels drops out of the source list and the later
// ones move up: with "wide" empty, "Iterative" runs over "square" and "tall", starting at the
// second. Its checkout is still given back.
TEST_F(LinearFrame, ASourceWithoutPixelsLetsTheLaterOnesMoveUp) {
    use_layer(3, 2); // "tall"
    set(param::linear::kCount, 4);
    session().faults().answer("checkout_layer_pixels", 2, 0); // after id 0: "wide" (185)
    const FrameResult frame = render();
    session().faults().clear();
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
    const std::vector<json> draws = frame.named("transform_world");
    ASSERT_EQ(draws.size(), 4u);
    const char* shown[] = {"tall", "square", "tall", "square"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(draws[i]["src"]["from"], std::string(shown[i]) + ", frame 0") << i;
    }
    std::set<A_long> checked_in;
    for (const json& call : frame.named("checkin_layer_pixels")) {
        checked_in.insert(call["checkout_id"].get<A_long>());
    }
    EXPECT_EQ(checked_in, (std::set<A_long>{0, 185, 186, 187}));
}

// A source in a format the effect does not draw ends the render with 516 before the output is
// checked out; so does a time-shifted one, before any clone is drawn.
TEST_F(LinearFrame, AnUnsupportedPixelFormatAnswers516) {
    session().faults().answer("PF_GetPixelFormat", 1, PF_PixelFormat_VUYA32);
    FrameResult frame = render();
    session().faults().clear();
    EXPECT_EQ(frame.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
    EXPECT_TRUE(frame.named("checkout_output").empty());
    EXPECT_TRUE(frame.named("fill").empty());

    set(param::linear::kOffsetTime, 2); // two working copies, then the time-shifted sources
    session().faults().answer("PF_GetPixelFormat", 3, PF_PixelFormat_INVALID);
    frame = render();
    session().faults().clear();
    EXPECT_EQ(frame.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
    EXPECT_EQ(frame.named("fill").size(), 1u);
    EXPECT_TRUE(frame.named("transform_world").empty());
}

// Every choice of "Blending Mode" reaches the host as its published transfer mode, and the host
// composites with each; the six separator lines draw as copies.
TEST_F(LinearFrame, EveryBlendingModeReachesTheHostAsItsTransferMode) {
    const int transfer_modes[] = {
        2, 1, 0, 3, 0,  10, 5,  28, 24, 30, 36, 0,  4,  11, 6, 27, 23, 29, 35,
        0, 7, 8, 9, 31, 32, 33, 34, 0,  26, 12, 25, 37, 38, 0, 13, 14, 15, 16,
    }; // "In Front" 2, "Behind" 1, (-, "Dissolve" 3, (-, "Darken" 10, ... "Luminosity" 16
    set(param::linear::kCount, 1);
    std::set<int> seen;
    for (int choice = 1; choice <= 38; ++choice) {
        set(param::kBlendingMode, choice);
        const FrameResult frame = render();
        ASSERT_EQ(frame.err, PF_Err_NONE) << choice;
        const std::vector<json> draws = frame.named("transform_world");
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0]["xfer"], transfer_modes[choice - 1]) << choice;
        seen.insert(draws[0]["xfer"].get<int>());
    }
    EXPECT_EQ(seen.size(), 33u); // 32 modes and the copy of the separators
}

// "Random Time" alone: clone i asks for the frame offset truncated from its record's time_a x
// "Random Time" / 10000, each offset once in clone order; it then shows the element
// time_a x n / 10000 of those n images.
TEST_F(LinearFrame, RandomTimeAloneShowsTheFramesTheRecordsPick) {
    animate_layers();
    scene.effect.erase(param::SourceLayerParam(1)); // "square" alone
    set(param::linear::kCount, 6);
    set(param::linear::kRandomTime, 7);
    const std::vector<CloneRandom> randoms = BuildRandomTable(0);
    std::vector<int> offsets; // the images, in the order they were asked for
    for (std::size_t i = 0; i < 6; ++i) {
        const int offset = static_cast<int>(randoms[i].time_a * 7 / 10000.0);
        if (std::find(offsets.begin(), offsets.end(), offset) == offsets.end()) {
            offsets.push_back(offset);
        }
    }
    const FrameResult frame = render(3);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
    const std::vector<json> draws = frame.named("transform_world");
    ASSERT_EQ(draws.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        const auto pick = static_cast<std::size_t>(randoms[i].time_a * offsets.size() / 10000.0);
        EXPECT_EQ(draws[i]["src"]["from"], "square, frame " + std::to_string(3 + offsets[pick]))
            << i;
    }
}

// Each host function the frame uses fails once at every call (or a sample of its calls): the
// frame ends with the specified error, gives everything back and never crashes.
TEST_F(LinearFrame, EveryFailingHostCallIsReportedAndCleanedUp) {
    expect_every_failure_cleaned_up("linear");
}

} // namespace
} // namespace plurion
