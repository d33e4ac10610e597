// "Path" frames through the stand-in host: where each clone lands on its mask, how it is turned,
// scaled and faded, which source and which frame it shows, which shutter sample each matrix
// follows, and that every frame gives back what it took, also when a host call fails. Masks
// are straight lines, so every expected point is a distance along a line worked out by hand.
#include "render/matrices.h"
#include "render_frame_support.h"
#include "support/mask_host.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace plurion {
namespace {

using test::FrameResult;
using test::json;
using Point = std::complex<double>;

Point Apply(const json& draw, std::size_t which, Point p) {
    const json& m = draw["matrices"][which];
    return {p.real() * m[0].get<double>() + p.imag() * m[3].get<double>() + m[6].get<double>(),
            p.real() * m[1].get<double>() + p.imag() * m[4].get<double>() + m[7].get<double>()};
}

// Where the source's centre lands, and what its x axis of one pixel becomes.
Point CentreOf(const json& draw, std::size_t which = 0) {
    return Apply(draw, which,
                 {draw["src"]["width"].get<double>() / 2, draw["src"]["height"].get<double>() / 2});
}
Point AxisOf(const json& draw, std::size_t which = 0) {
    return Apply(draw, which, {1, 0}) - Apply(draw, which, {0, 0});
}
Point Polar(double length, double degrees) {
    return std::polar(length, degrees * std::numbers::pi / 180);
}

void ExpectNear(Point actual, Point expected, const std::string& what) {
    EXPECT_NEAR(actual.real(), expected.real(), 1e-6) << what;
    EXPECT_NEAR(actual.imag(), expected.imag(), 1e-6) << what;
}

// An open straight mask from `from` to `to`.
host::Mask Line(Point from, Point to) {
    host::Mask mask;
    mask.closed = false;
    mask.vertices = {{0.0, {{from.real(), from.imag()}, {to.real(), to.imag()}}}};
    return mask;
}

class PathFrame : public test::RenderFixture {
  protected:
    // A 240-pixel line across the middle of the 320 x 240 layer, four clones of the 16 x 16
    // "square" spread over it ("Count"), at the default position (the layer's centre).
    void line_of_four() {
        scene.masks = {Line({40, 120}, {280, 120})};
        set(param::kCloneType, param::kPath);
        set(param::path::kDistribution, 2);
        set(param::path::kCount, 4);
        use_layer(1, 1);
    }

    std::vector<json> draws(const FrameResult& frame) {
        EXPECT_EQ(frame.err, PF_Err_NONE);
        EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
        return frame.named("transform_world");
    }
};

TEST_F(PathFrame, ClonesSitOnThePathWithOffsetsSpreadOverN) {
    line_of_four();
    // At 0, 80, 160 and 240 along the line; the output's centre comes off and "Position" (the
    // centre) goes back on, so the clones land on the path itself.
    std::vector<json> clones = draws(render());
    ASSERT_EQ(clones.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        ExpectNear(CentreOf(clones[i], 0), {40 + 80.0 * i, 120}, "place");
        ExpectNear(CentreOf(clones[i], 1), {40 + 80.0 * i, 120}, "place, shutter close");
        EXPECT_EQ(clones[i]["num_matrices"], 2);
        EXPECT_EQ(clones[i]["opacity"], 255);
    }

    // "Offset Rotation" 90 over 4 clones turns them by 0, 22.5, 45 and 67.5 degrees; "Offset
    // Scale" 100 reversed runs from 1 + 100 / 100 down to 1 + 100 / 400; "Offset Opacity" 40
    // fades by 40 / 4 per clone; "Scale" (Global) 50 halves the distances from the centre.
    set(param::path::kOffsetRotation, 90);
    set(param::path::kOffsetScale, 100);
    set(param::path::kReverseOffset, 1);
    set(param::path::kOffsetOpacity, 40);
    set(param::path::kGlobalScale, 50);
    clones = draws(render());
    ASSERT_EQ(clones.size(), 4u);
    const int opacities[] = {250, 225, 200, 175};
    for (std::size_t i = 0; i < 4; ++i) {
        const double scale = 1 + (4.0 - i) / 4;
        ExpectNear(AxisOf(clones[i]), Polar(scale, 22.5 * i), "turn and size");
        ExpectNear(CentreOf(clones[i]), {160 + (80.0 * i - 120) / 2, 120}, "half-size place");
        EXPECT_EQ(clones[i]["opacity"], opacities[i]);
    }
    // A negative opacity offset fades from the last clone backwards.
    set(param::path::kOffsetOpacity, -40);
    clones = draws(render());
    EXPECT_EQ(clones[0]["opacity"], 175);
    EXPECT_EQ(clones[3]["opacity"], 250);
}

TEST_F(PathFrame, AlignRotationTurnsClonesAlongThePath) {
    line_of_four();
    set(param::path::kAlignRotation, 1);
    set(param::path::kLocalRotation, 10);
    // Left to right: the clones keep their own rotation.
    std::vector<json> clones = draws(render());
    ASSERT_EQ(clones.size(), 4u);
    ExpectNear(AxisOf(clones[1]), Polar(1, 10), "horizontal");
    // Drawn downwards: turned by 90 degrees more (y grows downwards).
    scene.masks = {Line({160, 20}, {160, 200})};
    clones = draws(render());
    ASSERT_EQ(clones.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        ExpectNear(AxisOf(clones[i]), Polar(1, 100), "vertical");
        ExpectNear(CentreOf(clones[i]), {160, 20 + 60.0 * i}, "vertical place");
    }
}

TEST_F(PathFrame, MatricesFollowTheShutterSamples) {
    line_of_four();
    // "Offset" moves from 0 to 36 degrees (100 pixels) over frame 0; with a 180-degree shutter
    // opening at the frame, the close sample has 18 degrees, 50 pixels further on. The last
    // clone's close point, past the end, stays at the end of the line.
    scene.composition.motion_blur = true;
    scene.composition.shutter_angle = 180;
    scene.composition.shutter_phase = 0;
    key(param::path::kOffset, 0, 36);
    std::vector<json> clones = draws(render());
    ASSERT_EQ(clones.size(), 4u);
    const double close[] = {90, 170, 250, 280};
    for (std::size_t i = 0; i < 4; ++i) {
        ExpectNear(CentreOf(clones[i], 0), {40 + 80.0 * i, 120}, "open");
        ExpectNear(CentreOf(clones[i], 1), {close[i], 120}, "close");
    }

    // Per path on an open path, a clone that runs from the first half (at its middle) into the
    // second takes its shutter-close point for both matrices.
    scene.effect.erase(param::path::kOffset);
    set(param::path::kCount, 1);
    set(param::path::kPerSegment, 1);
    key(param::path::kStart, 50, 100); // 50 % when the shutter opens, 75 % when it closes
    clones = draws(render());
    ASSERT_EQ(clones.size(), 1u);
    ExpectNear(CentreOf(clones[0], 0), {220, 120}, "switched open");
    ExpectNear(CentreOf(clones[0], 1), {220, 120}, "switched close");
    // Over all paths only a change of path switches.
    set(param::path::kPerSegment, 0);
    clones = draws(render());
    ExpectNear(CentreOf(clones[0], 0), {160, 120}, "open");
    ExpectNear(CentreOf(clones[0], 1), {220, 120}, "close");
}

TEST_F(PathFrame, EachPathStartsTheOrderAgainAndHasItsOwnTimes) {
    animate_layers();
    // Two 200-pixel lines, "Per Segment", a clone every 100 pixels: two per path (the end is
    // exclusive). "Iterative" over two sources restarts on each path.
    scene.masks = {Line({20, 60}, {220, 60}), Line({20, 180}, {220, 180})};
    set(param::kCloneType, param::kPath);
    set(param::path::kPerSegment, 1);
    use_layer(1, 1); // square
    use_layer(2, 0); // wide
    std::vector<json> clones = draws(render(2));
    ASSERT_EQ(clones.size(), 4u);
    const char* layers[] = {"square", "wide", "square", "wide"};
    const Point places[] = {{20, 60}, {120, 60}, {20, 180}, {120, 180}};
    for (std::size_t n = 0; n < 4; ++n) {
        EXPECT_EQ(clones[n]["src"]["from"].get<std::string>().rfind(layers[n], 0), 0u) << n;
        ExpectNear(CentreOf(clones[n]), places[n], "per path");
    }

    // "Offset Time" 3: on each path the clones want offsets 0 and 3, requested per path, and
    // clone i of a path shows image i of its own path's list.
    scene.effect.erase(param::SourceLayerParam(2));
    set(param::path::kOffsetTime, 3);
    const FrameResult frame = render(2);
    clones = draws(frame);
    ASSERT_EQ(clones.size(), 4u);
    const int frames[] = {2, 5, 2, 5};
    for (std::size_t n = 0; n < 4; ++n) {
        EXPECT_EQ(clones[n]["src"]["from"], "square, frame " + std::to_string(frames[n])) << n;
    }
    EXPECT_EQ(frame.requests.count(19811), 1u); // frame 0, layer 1, path 1
    EXPECT_EQ(frame.requests.count(49812), 1u); // frame 3, layer 1, path 2
}

TEST_F(PathFrame, EveryFailingHostCallIsReportedAndCleanedUp) {
    line_of_four();
    use_layer(2, 0);
    expect_every_failure_cleaned_up("path");

    // A failing path call leaves the frame's result alone and gives back every outline and
    // every length table.
    scene.masks.push_back(Line({0, 0}, {100, 100}));
    for (const char* function : test::kPathSamplingFunctions) {
        session().faults().fail(function, 2, 77);
        const FrameResult frame = render();
        session().faults().clear();
        EXPECT_EQ(frame.err, PF_Err_NONE) << function;
        EXPECT_TRUE(frame.leaks.empty()) << function << ": " << frame.leaks.front();
    }
}

} // namespace
} // namespace plurion
