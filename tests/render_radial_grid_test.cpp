// "Radial" and "Grid" frames through the stand-in host: where each clone lands, how it is
// turned, scaled and faded, which source and which frame it shows, that grid cells get one
// matrix, and that every frame gives back what it took, also when a host call fails. Expected
// values are worked out from angles, cell indices and the random table, not from the code.
#include "layout/clone_random.h"
#include "render/grid_clone.h"
#include "render/matrices.h"
#include "render/radial_clone.h"
#include "render_frame_support.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <utility>

namespace plurion {
namespace {

using test::FrameResult;
using test::json;
using Point = std::complex<double>;

PF_FloatMatrix MatrixOf(const json& draw, std::size_t which = 0) {
    PF_FloatMatrix m{};
    for (std::size_t i = 0; i < 9; ++i) {
        m.mat[i / 3][i % 3] = draw["matrices"][which][i].get<double>();
    }
    return m;
}

Point Apply(const PF_FloatMatrix& m, Point p) {
    return {p.real() * m.mat[0][0] + p.imag() * m.mat[1][0] + m.mat[2][0],
            p.real() * m.mat[0][1] + p.imag() * m.mat[1][1] + m.mat[2][1]};
}

// Where the source's centre lands, and what the source's x axis becomes (turn and size).
Point CentreOf(const json& draw, std::size_t which = 0) {
    return Apply(MatrixOf(draw, which),
                 {draw["src"]["width"].get<double>() / 2, draw["src"]["height"].get<double>() / 2});
}
Point AxisOf(const json& draw, std::size_t which = 0) {
    const PF_FloatMatrix m = MatrixOf(draw, which);
    return {m.mat[0][0], m.mat[0][1]};
}
Point Polar(double length, double degrees) {
    return std::polar(length, degrees * std::numbers::pi / 180);
}

void ExpectNear(Point actual, Point expected, const std::string& what) {
    EXPECT_NEAR(actual.real(), expected.real(), 1e-9) << what;
    EXPECT_NEAR(actual.imag(), expected.imag(), 1e-9) << what;
}

class RadialGridFrame : public test::RenderFixture {
  protected:
    std::vector<json> draws(const FrameResult& frame) {
        EXPECT_EQ(frame.err, PF_Err_NONE);
        EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
        return frame.named("transform_world");
    }

    void radial() {
        set(param::kCloneType, param::kRadial);
        use_layer(1, 1); // "square", 16 x 16
        set(param::radial::kPosition, 160, 120);
    }

    // A 3 x 2 grid of 60 x 40 cells about (160, 120), "Step" offsets, two sources.
    void grid() {
        set(param::kCloneType, param::kGrid);
        use_layer(1, 0); // "wide", 40 x 20
        use_layer(2, 1); // "square", 16 x 16
        set(param::grid::kCountX, 3);
        set(param::grid::kCountY, 2);
        set(param::grid::kSizeX, 60);
        set(param::grid::kSizeY, 40);
        set(param::grid::kCloneOffsetMode, 1);
        set(param::grid::kPosition, 160, 120);
    }
};

TEST_F(RadialGridFrame, RadialFullCircleInEndModeStartsAboveTheCentre) {
    radial();
    set(param::radial::kCount, 4);
    set(param::radial::kCloneOffsetMode, 2);
    set(param::radial::kStartAngle, 0);
    set(param::radial::kEndAngle, 360);
    set(param::radial::kRadius, 100);
    set(param::radial::kGlobalScale, 50); // radius 50, sources resampled to 8 x 8
    set(param::radial::kLocalRotation, 10);
    set(param::SourceRotationParam(1), 20);
    for (const bool look : {false, true}) {
        set(param::radial::kLookAtCenter, look ? 1 : 0);
        const std::vector<json> clones = draws(render());
        ASSERT_EQ(clones.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            const double angle = -90.0 + 90.0 * static_cast<double>(i);
            EXPECT_EQ(clones[i]["src"]["width"], 8);
            EXPECT_EQ(clones[i]["num_matrices"], 2);
            EXPECT_EQ(clones[i]["opacity"], 255);
            ExpectNear(CentreOf(clones[i]), Point{160, 120} + Polar(50, angle), "place");
            // "Look at Center" adds the clone's own angle to its other turns.
            ExpectNear(AxisOf(clones[i]), Polar(1, 30 + (look ? angle : 0)), "turn");
        }
    }
}

TEST_F(RadialGridFrame, RadialStepArcWithOffsetsInPercentOfTheRadius) {
    animate_layers();
    radial();
    set(param::radial::kCount, 3);
    set(param::radial::kCloneOffsetMode, 1); // "End Angle" is the step
    set(param::radial::kStartAngle, 30);
    set(param::radial::kEndAngle, 45);
    set(param::radial::kRadius, 200);
    set(param::radial::kOffsetPosition, 10, -5); // 20 and -10 pixels per step at radius 200
    set(param::radial::kReverseOffset, 1);
    set(param::radial::kOffsetScale, 10);
    set(param::radial::kOffsetRotation, 15);
    set(param::radial::kOffsetOpacity, 20);
    set(param::radial::kOffsetTime, 2);
    const std::vector<json> clones = draws(render(3));
    ASSERT_EQ(clones.size(), 3u);
    const int opacities[] = {250, 200, 150}; // faded by clone number, not reversed
    for (std::size_t i = 0; i < 3; ++i) {
        const double n = static_cast<double>(i);
        const double j = 2 - n; // reversed
        const Point place = Polar(200, -60 + 45 * n) + Point{20 * j, -10 * j};
        ExpectNear(CentreOf(clones[i]), Point{160, 120} + place, "place");
        ExpectNear(AxisOf(clones[i]), Polar(1 + 0.1 * j, 15 * n), "turn and size");
        EXPECT_EQ(clones[i]["opacity"], opacities[i]);
        EXPECT_EQ(clones[i]["src"]["from"], "square, frame " + std::to_string(3 + i));
    }
}

// At 1/N of full size the circle and the cells shrink; offsets typed in pixels or percent do not.
TEST(RadialGridPlaces, DownsampleDividesCirclesAndWholeCells) {
    ParamPairs p;
    p.set<param::radial::kCount>(0, 2);
    p.set<param::radial::kCloneOffsetMode>(0, 1);
    p.set<param::radial::kEndAngle>(0, 90); // clone 1 at 0 degrees
    p.set<param::radial::kRadius>(0, 100);
    p.set<param::radial::kGlobalScale>(0, 100);
    p.set<param::radial::kOffsetPosition>(0, {10, 0});
    EXPECT_NEAR(RadialCloneTransform(p, {}, 1, 0, 8, 8, 0, {2, 4}).place_x, 100.0 / 2 + 10, 1e-9);
    EXPECT_NEAR(RadialCloneTransform(p, {}, 0, 0, 8, 8, 0, {2, 4}).place_y, -100.0 / 4, 1e-9);

    ParamPairs g;
    g.set<param::grid::kCountX>(0, 2);
    g.set<param::grid::kCountY>(0, 1);
    g.set<param::grid::kSizeX>(0, 61);
    g.set<param::grid::kGlobalScale>(0, 100);
    g.set<param::grid::kCloneOffsetMode>(0, 1); // whole pixels: 61 / 2 is 30, half a cell is 15
    EXPECT_NEAR(GridCloneTransform(g, {}, {0, 1}, 8, 8, 0, {2, 1}).place_x, 15, 1e-9);
}

TEST_F(RadialGridFrame, GridShearTurnsScalesAndFadesByRowAndColumn) {
    grid();
    set(param::grid::kOffsetPosition, 10, 4);
    set(param::grid::kOffsetRotation, 30);
    set(param::grid::kOffsetScaleX, 10);
    set(param::grid::kReverseOffsetX, 1);
    set(param::grid::kOffsetScaleY, 20);
    set(param::grid::kOffsetOpacityX, 10);
    set(param::grid::kOffsetOpacityY, -20); // fades from the last row backwards
    const std::vector<json> cells = draws(render());
    ASSERT_EQ(cells.size(), 6u);
    const int widths[] = {40, 16, 40, 16, 40, 16}; // "Iterative" starts at the first source
    const int opacities[] = {200, 180, 160, 250, 225, 200};
    for (std::size_t n = 0; n < 6; ++n) {
        const double row = static_cast<double>(n / 3);
        const double col = static_cast<double>(n % 3);
        const double cx = col - 1;
        const double cy = row - 0.5;
        EXPECT_EQ(cells[n]["src"]["width"], widths[n]);
        EXPECT_EQ(cells[n]["num_matrices"], 1);
        EXPECT_EQ(cells[n]["opacity"], opacities[n]);
        ExpectNear(CentreOf(cells[n]), Point{160 + 60 * cx + 10 * cy, 120 + 40 * cy + 4 * cx},
                   "place");
        // The first row and the first column keep their rotation.
        const double size = (1 + 0.1 * (2 - col)) * (1 + 0.2 * row);
        ExpectNear(AxisOf(cells[n]), Polar(size, 30 * row * col), "turn and size");
    }
}

TEST_F(RadialGridFrame, GridOrdersAndRandomValuesFollowTheCell) {
    grid();
    set(param::grid::kCloneOrder, 2); // "Blending": the first half of the cells, then the second
    std::vector<json> cells = draws(render());
    ASSERT_EQ(cells.size(), 6u);
    for (std::size_t n = 0; n < 6; ++n) {
        EXPECT_EQ(cells[n]["src"]["width"], n < 3 ? 40 : 16) << n;
    }

    use_layer(3, 2); // "tall", 10 x 30
    set(param::grid::kCloneOrder, 3);
    set(param::grid::kRandomSeed, 5);
    set(param::grid::kRandomPosition, 20, 10);
    set(param::grid::kRandomRotation, 90);
    const std::vector<CloneRandom> table = BuildRandomTable(5);
    cells = draws(render());
    ASSERT_EQ(cells.size(), 6u);
    const int widths[] = {40, 16, 10};
    for (std::size_t n = 0; n < 6; ++n) {
        const std::size_t row = n / 3;
        const std::size_t col = n % 3;
        // The layer from the record of the cell number, the rest from (row + 1) x (col + 1).
        EXPECT_EQ(cells[n]["src"]["width"], widths[table[n + 1].order_pick[3 - 2]]) << n;
        const CloneRandom& r = table[(row + 1) * (col + 1)];
        const Point cell{60 * (static_cast<double>(col) - 1),
                         40 * (static_cast<double>(row) - 0.5)};
        ExpectNear(CentreOf(cells[n]),
                   Point{160, 120} + cell + Point{r.jitter_x * 20, r.jitter_y * 10},
                   "jittered place");
        ExpectNear(AxisOf(cells[n]), Polar(1, r.rotation * 90 / 360), "random turn");
    }
}

// Grid cells get only the shutter-open matrix, so a setting that moves during the shutter
// leaves them exactly as sharp as without motion blur; radial clones get both and blur.
TEST_F(RadialGridFrame, GridCellsStaySharpUnderMotionBlur) {
    grid();
    key(param::grid::kLocalRotation, 0, 90);
    scene.composition.shutter_angle = 360;
    scene.composition.shutter_phase = 0;
    for (const int bpc : {8, 16, 32}) {
        scene.composition.motion_blur = false;
        ASSERT_EQ(render(0, bpc).err, PF_Err_NONE);
        const std::vector<std::uint8_t> sharp(
            static_cast<const std::uint8_t*>(static_cast<const void*>(output->data)),
            static_cast<const std::uint8_t*>(static_cast<const void*>(output->data)) +
                output->rowbytes * output->height);
        scene.composition.motion_blur = true;
        const std::vector<json> cells = draws(render(0, bpc));
        ASSERT_EQ(cells.size(), 6u);
        for (const json& cell : cells) {
            EXPECT_EQ(cell["num_matrices"], 1);
            ExpectNear(AxisOf(cell), {1, 0}, "shutter-open rotation");
        }
        const auto* blurred =
            static_cast<const std::uint8_t*>(static_cast<const void*>(output->data));
        EXPECT_TRUE(std::equal(sharp.begin(), sharp.end(), blurred)) << bpc;
    }

    scene.effect.clear();
    radial();
    key(param::radial::kStartAngle, 0, 90);
    const std::vector<json> clones = draws(render());
    ASSERT_FALSE(clones.empty());
    EXPECT_EQ(clones[0]["num_matrices"], 2);
    ExpectNear(CentreOf(clones[0], 0), Point{160, 120} + Polar(500, -90), "shutter open");
    ExpectNear(CentreOf(clones[0], 1), Point{160, 120} + Polar(500, 0), "shutter close");
}

TEST_F(RadialGridFrame, GridTimeOffsetsWeighColumnsAndRows) {
    animate_layers();
    grid();
    scene.effect.erase(param::SourceLayerParam(1));
    set(param::grid::kCountX, 2);
    set(param::grid::kCountY, 2);
    set(param::grid::kOffsetTimeX, 4);
    set(param::grid::kOffsetTimeY, 4);
    // Shifts of 0 and 4 frames are checked out; cell (row, col) takes the image
    // (col x 2 x 4 / 2 + row x 2 x 4 / 2) / 8, truncated.
    const std::vector<json> cells = draws(render(3));
    ASSERT_EQ(cells.size(), 4u);
    const int frames[] = {3, 3, 3, 7};
    for (std::size_t n = 0; n < 4; ++n) {
        EXPECT_EQ(cells[n]["src"]["from"], "square, frame " + std::to_string(frames[n])) << n;
    }

    // A failing copy of a time-shifted image stops the frame, which still gives all back.
    const int before = session().faults().calls("copy");
    ASSERT_EQ(render(3).err, PF_Err_NONE);
    session().faults().fail("copy", session().faults().calls("copy") - before, 77);
    const FrameResult failed = render(3);
    session().faults().clear();
    EXPECT_EQ(failed.err, 77);
    EXPECT_TRUE(failed.leaks.empty());
    EXPECT_TRUE(failed.named("transform_world").empty());
}

// The frame a cell shows, from its draw's "from".
double FrameOf(const json& draw) {
    const std::string from = draw["src"]["from"].get<std::string>();
    return std::stod(from.substr(from.find("frame ") + 6));
}

// "Offset Time Y" alone, 2 columns x 3 rows: the step is 2 x 4 / (3 + 2) = 1.6 frames, so the
// rows ask for offsets 0, 1.6 and 3.2 (ids by the truncated offset, times from the exact one)
// and row r shows the image r x 3 x 4 / 3 / 4 = r of those three.
TEST_F(RadialGridFrame, GridOffsetTimeYAloneShiftsRowByRow) {
    animate_layers();
    grid();
    scene.effect.erase(param::SourceLayerParam(1));
    set(param::grid::kCountX, 2);
    set(param::grid::kCountY, 3);
    set(param::grid::kOffsetTimeY, 4);
    const std::vector<json> cells = draws(render(3));
    ASSERT_EQ(cells.size(), 6u);
    for (std::size_t n = 0; n < 6; ++n) {
        EXPECT_NEAR(FrameOf(cells[n]), 3 + 1.6 * static_cast<double>(n / 2), 1e-9) << n;
    }
}

// "Random Time" alone: cell (row, col) asks for the offset (time_a of record col + 1 +
// time_b of record 2 (row + 2)) x 5 / 10000 / 2, once per truncated offset at the first exact
// one, and cell n (from 1) shows the image time_a of record n x count / 10000 of them.
TEST_F(RadialGridFrame, GridRandomTimeAloneShowsTheImagesTheRecordsPick) {
    grid();
    scene.effect.erase(param::SourceLayerParam(1));
    set(param::grid::kCountX, 2);
    set(param::grid::kCountY, 2);
    set(param::grid::kRandomTime, 5);
    const std::vector<CloneRandom> randoms = BuildRandomTable(0);
    std::vector<std::pair<int, double>> images; // truncated offset, the offset asked for
    for (std::size_t row = 0; row < 2; ++row) {
        for (std::size_t col = 0; col < 2; ++col) {
            const double a = randoms[col + 1].time_a * 5 / 10000.0;
            const double b = randoms[2 * (row + 2)].time_b * 5 / 10000.0;
            const double offset = (a + b) * 0.5;
            const auto same = [&](const auto& image) {
                return image.first == static_cast<int>(offset);
            };
            if (std::none_of(images.begin(), images.end(), same)) {
                images.emplace_back(static_cast<int>(offset), offset);
            }
        }
    }
    const std::vector<json> cells = draws(render(3));
    ASSERT_EQ(cells.size(), 4u);
    for (std::size_t n = 1; n <= 4; ++n) {
        const auto pick = static_cast<std::size_t>(randoms[n].time_a * images.size() / 10000.0);
        // The host takes whole time units: 36000 a frame.
        const double asked = std::trunc(36000 * images[pick].second) / 36000;
        EXPECT_NEAR(FrameOf(cells[n - 1]), 3 + asked, 1e-5) << n;
    }
}

// Each host function a frame uses fails once at every call (or a sample of them): the frame
// ends with the same error as a "Linear" frame, gives everything back and never crashes.
TEST_F(RadialGridFrame, EveryFailingHostCallIsReportedAndCleanedUp) {
    scene.effect.clear();
    radial();
    use_layer(2, 0);
    expect_every_failure_cleaned_up("radial");
    scene.effect.clear();
    grid();
    expect_every_failure_cleaned_up("grid");
}

} // namespace
} // namespace plurion
