// "Object" clones: the matte read cell by cell at each depth, thresholds and inversions, the
// frame a cell's alpha or luma chooses in the time modes, opacity bytes, the clone numbering past
// 20,000 cells, and whole frames through the stand-in host, which answer the time layer's frames
// from the scene and give back everything they took, also when a host call fails. Expected
// values are worked from the matte's pixels, the cell indices and the random table.
#include "layout/clone_random.h"
#include "render/object_clone.h"
#include "render_frame_support.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <string>

namespace plurion {
namespace {

using test::FrameResult;
using test::json;
using Point = std::complex<double>;
namespace object = param::object;

// A one-pixel world of the pixel type given.
template <class Pixel>
struct OnePixel {
    explicit OnePixel(Pixel value) : pixel(value) {
        world.data = reinterpret_cast<PF_PixelPtr>(&pixel);
        world.width = 1;
        world.height = 1;
        world.rowbytes = sizeof(Pixel);
    }
    Pixel pixel;
    PF_EffectWorld world{};
};

ParamPairs Mode(int based_on) {
    ParamPairs p;
    p.set<object::kBasedOn>(0, based_on);
    return p;
}

TEST(ObjectCells, DepthIsToldByTheOutputFlagsAlone) {
    EXPECT_EQ(MatteDepthOf(0), MatteDepth::Bits8);
    EXPECT_EQ(MatteDepthOf(0x1000001), MatteDepth::Bits16);
    EXPECT_EQ(MatteDepthOf(0x2000000), MatteDepth::Float);
    EXPECT_EQ(MatteDepthOf(PF_WorldFlag_DEEP), MatteDepth::Unknown);
    EXPECT_EQ(MatteDepthOf(PF_WorldFlag_WRITEABLE), MatteDepth::Unknown);
}

TEST(ObjectCells, StepIsTheMeanSideOverResolutionAndCountsAreWholeSteps) {
    PF_EffectWorld output{};
    PF_EffectWorld matte{};
    output.width = 1920;
    output.height = 1080;
    matte.width = 1000;
    matte.height = 500;
    CellGrid grid = CellGridOf(output, matte, 100); // 1500 / 100
    EXPECT_EQ(grid.step, 15);
    EXPECT_EQ(grid.columns, 66); // 1000 / 15 = 66.7
    EXPECT_EQ(grid.rows, 33);
    EXPECT_EQ(CellGridOf(output, matte, 50).step, 30);
    output.width = 100;
    output.height = 90;
    EXPECT_EQ(CellGridOf(output, matte, 100).step, 1); // 0.95 becomes 1
}

TEST(ObjectCells, AlphaAndLumaAtEachDepthWithInversions) {
    // 8 bits: luma = (0.2126 x 200 + 0.7152 x 100 + 0.0722 x 50) / 255.
    const OnePixel<PF_Pixel> eight(PF_Pixel{51, 200, 100, 50});
    CellValues cell = ReadCell(eight.world, MatteDepth::Bits8, 0, 0, false, false);
    EXPECT_EQ(cell.alpha, 51);
    EXPECT_NEAR(cell.luma, (0.2126 * 200 + 0.7152 * 100 + 0.0722 * 50) / 255, 1e-12);
    cell = ReadCell(eight.world, MatteDepth::Bits8, 0, 0, true, true);
    EXPECT_EQ(cell.alpha, 255 - 51);
    EXPECT_NEAR(cell.luma, 1 - (0.2126 * 200 + 0.7152 * 100 + 0.0722 * 50) / 255, 1e-12);

    const OnePixel<PF_Pixel16> sixteen(PF_Pixel16{8192, 32768, 0, 16384});
    cell = ReadCell(sixteen.world, MatteDepth::Bits16, 0, 0, true, false);
    EXPECT_EQ(cell.alpha, 32768 - 8192);
    EXPECT_NEAR(cell.luma, 0.2126 + 0.0722 / 2, 1e-12);

    const OnePixel<PF_PixelFloat> deep(PF_PixelFloat{0.25f, 0.5f, 0.5f, 0.5f});
    cell = ReadCell(deep.world, MatteDepth::Float, 0, 0, true, true);
    EXPECT_EQ(cell.alpha, 0.75);
    EXPECT_NEAR(cell.luma, 0.5, 1e-12);
}

TEST(ObjectCells, AValueEqualToItsThresholdIsNotDrawn) {
    ParamPairs alpha = Mode(object::kAlpha);
    alpha.set<object::kAlphaThreshold>(0, 0.2); // 51 of 255
    EXPECT_FALSE(CellDrawn(alpha, {51, 1}, MatteDepth::Bits8));
    EXPECT_TRUE(CellDrawn(alpha, {52, 0}, MatteDepth::Bits8));
    alpha.set<object::kAlphaThreshold>(0, 0.25); // 8192 of 32768, 0.25 of 1
    EXPECT_FALSE(CellDrawn(alpha, {8192, 1}, MatteDepth::Bits16));
    EXPECT_TRUE(CellDrawn(alpha, {8193, 0}, MatteDepth::Bits16));
    EXPECT_FALSE(CellDrawn(alpha, {0.25, 1}, MatteDepth::Float));
    EXPECT_TRUE(CellDrawn(alpha, {0.2500001, 0}, MatteDepth::Float));
    alpha.set<object::kAlphaThreshold>(0, 0); // the default: every cell but the clear ones
    EXPECT_FALSE(CellDrawn(alpha, {0, 1}, MatteDepth::Bits8));
    EXPECT_TRUE(CellDrawn(alpha, {1, 0}, MatteDepth::Bits8));

    ParamPairs luma = Mode(object::kLuma);
    luma.set<object::kLumaThreshold>(0, 0.5);
    // Mid grey: 0.5 as a float and 16384 at 16 bits are luma 0.5 exactly; 128 at 8 bits is more.
    const OnePixel<PF_Pixel16> grey16(PF_Pixel16{32768, 16384, 16384, 16384});
    const OnePixel<PF_PixelFloat> grey(PF_PixelFloat{1, 0.5f, 0.5f, 0.5f});
    const OnePixel<PF_Pixel> grey8(PF_Pixel{255, 128, 128, 128});
    EXPECT_FALSE(CellDrawn(luma, ReadCell(grey16.world, MatteDepth::Bits16, 0, 0, false, false),
                           MatteDepth::Bits16));
    EXPECT_FALSE(CellDrawn(luma, ReadCell(grey.world, MatteDepth::Float, 0, 0, false, false),
                           MatteDepth::Float));
    EXPECT_TRUE(CellDrawn(luma, ReadCell(grey8.world, MatteDepth::Bits8, 0, 0, false, false),
                          MatteDepth::Bits8));
    // Inverted, 128 of 255 is below the middle.
    EXPECT_FALSE(CellDrawn(luma, ReadCell(grey8.world, MatteDepth::Bits8, 0, 0, false, true),
                           MatteDepth::Bits8));

    // The time modes draw every cell.
    EXPECT_TRUE(CellDrawn(Mode(object::kAlphaTime), {0, 0}, MatteDepth::Bits8));
    EXPECT_TRUE(CellDrawn(Mode(object::kLumaTime), {0, 0}, MatteDepth::Float));
}

TEST(ObjectCells, ClearCellsShowTheFirstFrameAndFullOnesTheLast) {
    const ParamPairs alpha = Mode(object::kAlphaTime);
    EXPECT_EQ(TimeFrameIndex(alpha, 10, {0, 0}, MatteDepth::Bits8), 0);
    EXPECT_EQ(TimeFrameIndex(alpha, 10, {255, 0}, MatteDepth::Bits8), 9); // 10 is past the end
    EXPECT_EQ(TimeFrameIndex(alpha, 10, {128, 0}, MatteDepth::Bits8), 5); // 5.02
    EXPECT_EQ(TimeFrameIndex(alpha, 10, {32768, 0}, MatteDepth::Bits16), 9);
    EXPECT_EQ(TimeFrameIndex(alpha, 10, {16383, 0}, MatteDepth::Bits16), 4); // 4.9997
    EXPECT_EQ(TimeFrameIndex(alpha, 10, {1, 0}, MatteDepth::Float), 9);
    EXPECT_EQ(TimeFrameIndex(alpha, 10, {3, 0}, MatteDepth::Float), 9);
    EXPECT_EQ(TimeFrameIndex(alpha, 10, {-0.5, 0}, MatteDepth::Float), 9); // below 0: the last
    EXPECT_EQ(TimeFrameIndex(alpha, 3, {0.34, 0}, MatteDepth::Float), 1);

    const ParamPairs luma = Mode(object::kLumaTime);
    EXPECT_EQ(TimeFrameIndex(luma, 10, {255, 0.05}, MatteDepth::Bits8), 0);
    EXPECT_EQ(TimeFrameIndex(luma, 10, {0, 0.95}, MatteDepth::Bits8), 9);
}

TEST(ObjectCells, OpacityBytesOnTheScaleOf255) {
    CloneRandom record;
    record.opacity = 50;
    ParamPairs p = Mode(object::kAlpha);
    EXPECT_EQ(ObjectOpacityByte(p, record, true, {}), 255);
    EXPECT_EQ(ObjectOpacityByte(p, record, false, {}), 0); // a hidden layer
    p.set<object::kRandomOpacity>(0, 50);
    EXPECT_EQ(ObjectOpacityByte(p, record, true, {}), 191); // 0.75 x 255 = 191.25

    // "Luma based Opacity" counts in the luma modes only; a hidden layer does not count in the
    // time modes.
    p.set<object::kLumaBasedOpacity>(0, 1);
    EXPECT_EQ(ObjectOpacityByte(p, record, true, {0, 0.5}), 191);
    p.set<object::kBasedOn>(0, object::kLuma);
    EXPECT_EQ(ObjectOpacityByte(p, record, true, {0, 0.5}), 127); // 127.5
    EXPECT_EQ(ObjectOpacityByte(p, record, true, {0, 1.5}), 255); // held to the byte
    p.set<object::kBasedOn>(0, object::kLumaTime);
    EXPECT_EQ(ObjectOpacityByte(p, record, false, {0, 0.2}), 51);
    p.set<object::kBasedOn>(0, object::kAlphaTime);
    EXPECT_EQ(ObjectOpacityByte(p, record, false, {0, 0.2}), 191);
}

TEST(ObjectCells, CloneNumbersCycleThroughTheTable) {
    EXPECT_EQ(NextCloneNumber(1), 2);
    EXPECT_EQ(NextCloneNumber(19999), 20000);
    EXPECT_EQ(NextCloneNumber(20000), 0);
    EXPECT_EQ(NextCloneNumber(0), 1);
}

// A cell sits at its column and row from the grid's middle, plus its random share in cells,
// over the downsample factor, times "Scale" / "Resolution" of the mean of the layer's sides.
TEST(ObjectCells, PlacesScaleWithTheLayerAndDivideByTheDownsampleFactor) {
    ParamPairs p = Mode(object::kAlpha);
    p.set<object::kGlobalScale>(1, 50);
    p.set<object::kResolution>(1, 10);
    p.set<object::kRandomPosition>(1, {30, 15});
    CloneRandom record;
    record.jitter_x = 0.5;
    record.jitter_y = -0.2;
    PF_InData in{};
    in.width = 1200;
    in.height = 800;
    in.downsample_x = {1, 2};
    in.downsample_y = {1, 4};
    const ObjectCell cell{3, 1, {20, 10, 5}};
    const PointValue place = ObjectCellPlace(p, 1, record, cell, in);
    // Spacing 50 / 10 x 2000 / 200 = 50 pixels; column 3 - 5 + 1 = -1, row 1 - 2.5 - 0.2.
    EXPECT_NEAR(place.x, -1.0 / 2 * 50, 1e-9);
    EXPECT_NEAR(place.y, -1.7 / 4 * 50, 1e-9);
}

PF_FloatMatrix MatrixOf(const json& draw, std::size_t which = 0) {
    PF_FloatMatrix m{};
    for (std::size_t i = 0; i < 9; ++i) {
        m.mat[i / 3][i % 3] = draw["matrices"][which][i].get<double>();
    }
    return m;
}

Point CentreOf(const json& draw) {
    const PF_FloatMatrix m = MatrixOf(draw);
    const double x = draw["src"]["width"].get<double>() / 2;
    const double y = draw["src"]["height"].get<double>() / 2;
    return {x * m.mat[0][0] + y * m.mat[1][0] + m.mat[2][0],
            x * m.mat[0][1] + y * m.mat[1][1] + m.mat[2][1]};
}

Point AxisOf(const json& draw) {
    const PF_FloatMatrix m = MatrixOf(draw);
    return {m.mat[0][0], m.mat[0][1]};
}

void ExpectNear(Point actual, Point expected, const std::string& what) {
    EXPECT_NEAR(actual.real(), expected.real(), 1e-9) << what;
    EXPECT_NEAR(actual.imag(), expected.imag(), 1e-9) << what;
}

class ObjectFrame : public test::RenderFixture {
  protected:
    static constexpr int kMatte = 3; // scene layer indices added here
    static constexpr int kCounter = 4;

    // A 100 x 60 matte over a 320 x 240 output: "Resolution" 14 makes a step of 280 / 14 = 20
    // pixels and a spacing of 100 / 14 x 560 / 200 = 20, so 5 columns and 3 rows of cells sit
    // 20 pixels apart about "Position" (160, 120).
    ObjectFrame() {
        scene.layers.push_back(test::SolidLayer("matte", 100, 60));
        host::Layer counter = test::SolidLayer("Counter", 20, 30);
        counter.in_point = 5;
        counter.duration = 10;
        counter.source = host::CounterSource{{1, 1, 1, 1}, {0, 0, 0, 1}, {10, 15}, 24, 0};
        scene.layers.push_back(counter);
        set(param::kCloneType, param::kObject);
        set(param::kMatteLayer, kMatte);
        set(object::kResolution, 14);
    }
    void matte_source(host::LayerSource source) { scene.layers[kMatte].source = source; }

    std::vector<json> draws(const FrameResult& frame) {
        EXPECT_EQ(frame.err, PF_Err_NONE);
        EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
        return frame.named("transform_world");
    }
};

// Column by column, top to bottom; the last partial column is visited too.
TEST_F(ObjectFrame, CellsAreScannedColumnByColumnAboutThePosition) {
    use_layer(1, 1); // "square", 16 x 16
    std::vector<json> clones = draws(render());
    ASSERT_EQ(clones.size(), 15u);
    for (std::size_t i = 0; i < clones.size(); ++i) {
        const double column = static_cast<double>(i / 3);
        const double row = static_cast<double>(i % 3);
        ExpectNear(CentreOf(clones[i]), {160 + (column - 2.5) * 20, 120 + (row - 1.5) * 20},
                   "cell " + std::to_string(i));
        EXPECT_EQ(clones[i]["opacity"], 255);
        EXPECT_EQ(clones[i]["num_matrices"], 2);
    }
    // 110 pixels hold 5 whole steps, but x = 100 is still scanned: 6 columns about the same
    // middle.
    scene.layers[kMatte].width = 110;
    clones = draws(render());
    ASSERT_EQ(clones.size(), 18u);
    ExpectNear(CentreOf(clones[17]), {160 + 2.5 * 20, 120 + 0.5 * 20}, "last cell");
}

TEST_F(ObjectFrame, AlphaAndLumaThresholdsAndInversionsChooseTheCells) {
    use_layer(1, 1);
    // White over the left half (x below 50): columns at x = 0, 20 and 40.
    matte_source(host::RectangleSource{{1, 1, 1, 1}, {25, 30}, {50, 60}});
    struct Case {
        int based_on;
        bool invert;
        double first_column; // of the drawn cells
        std::size_t count;
    };
    const Case cases[] = {{object::kAlpha, false, 0, 9},
                          {object::kAlpha, true, 3, 6},
                          {object::kLuma, false, 0, 9},
                          {object::kLuma, true, 3, 6}};
    for (const Case& c : cases) {
        set(object::kBasedOn, c.based_on);
        set(object::kInvertAlpha, c.based_on == object::kAlpha && c.invert);
        set(object::kInvertLuma, c.based_on == object::kLuma && c.invert);
        for (const int bpc : {8, 16, 32}) {
            const std::vector<json> clones = draws(render(0, bpc));
            ASSERT_EQ(clones.size(), c.count) << c.based_on << " at " << bpc;
            ExpectNear(CentreOf(clones[0]), {160 + (c.first_column - 2.5) * 20, 120 - 1.5 * 20},
                       "first drawn cell");
        }
    }
}

// "Alpha - Time" and "Luma - Time" over a matte clear on the left and full on the right: the
// time layer starts at frame 5 and lasts 10 frames, so its frames are requested at frames 5 to
// 14, clear cells show its first frame and full cells its last, at every depth.
TEST_F(ObjectFrame, TimeModesChooseTheTimeLayersFramesByTheCells) {
    matte_source(host::RectangleSource{{1, 1, 1, 1}, {75, 30}, {50, 60}});
    set(param::kTimeLayer, kCounter);
    use_layer(1, 1);
    set(param::SourceRotationParam(1), 30); // not applied in the time modes
    for (const int mode : {object::kAlphaTime, object::kLumaTime}) {
        set(object::kBasedOn, mode);
        for (const int bpc : {8, 16, 32}) {
            const FrameResult frame = render(2, bpc);
            for (int f = 0; f < 10; ++f) {
                const A_long id = std::stoi("198" + std::to_string(f + 1));
                ASSERT_EQ(frame.requests.count(id), 1u) << f;
                EXPECT_EQ(frame.requests.at(id).index, param::kTimeLayer);
                EXPECT_EQ(frame.requests.at(id).time, (5 + f) * 36000);
            }
            const std::vector<json> clones = draws(frame);
            ASSERT_EQ(clones.size(), 15u);
            for (std::size_t i = 0; i < clones.size(); ++i) {
                const bool full = i / 3 >= 3; // columns at x = 60 and 80
                EXPECT_EQ(clones[i]["src"]["from"], full ? "Counter, frame 14" : "Counter, frame 5")
                    << i << " at " << bpc;
                EXPECT_EQ(clones[i]["opacity"], 255);
                ExpectNear(AxisOf(clones[i]), {1, 0}, "no layer rotation");
            }
        }
    }
    // Without a time layer there are no frames to show and nothing is drawn.
    scene.effect.erase(param::kTimeLayer);
    const FrameResult frame = render();
    EXPECT_TRUE(draws(frame).empty());
    EXPECT_EQ(frame.requests.count(1981), 0u);
}

TEST_F(ObjectFrame, OpacityBytesAtEachDepth) {
    use_layer(1, 1);
    set(object::kRandomOpacity, 50);
    set(object::kRandomSeed, 9);
    const std::vector<CloneRandom> table = BuildRandomTable(9);
    for (const int bpc : {8, 16, 32}) {
        const std::vector<json> clones = draws(render(0, bpc));
        ASSERT_EQ(clones.size(), 15u);
        for (std::size_t i = 0; i < clones.size(); ++i) {
            // Cell i has clone number i + 1 and takes record i + 2.
            const double factor = 1 - 50 * table[i + 2].opacity / 10000;
            EXPECT_EQ(clones[i]["opacity"], static_cast<int>(factor * 255)) << i << " at " << bpc;
        }
    }
    // Luma-based opacity over a mid-grey matte: 128 at 8 bits is a luma of 128 / 255, 16384 at
    // 16 bits and 0.5 in float are 0.5.
    scene.effect.erase(object::kRandomOpacity);
    matte_source(host::SolidSource{{0.5f, 0.5f, 0.5f, 1}});
    set(object::kBasedOn, object::kLuma);
    set(object::kLumaThreshold, 0);
    set(object::kLumaBasedOpacity, 1);
    const double luma8 =
        128 * 0.0008337254901960785 + 128 * 0.002804705882352941 + 128 * 0.0002831372549019608;
    const int expected[] = {static_cast<int>(luma8 * 255), 127, 127};
    for (int depth = 0; depth < 3; ++depth) {
        const std::vector<json> clones = draws(render(0, 8 << depth));
        ASSERT_EQ(clones.size(), 15u);
        EXPECT_EQ(clones[7]["opacity"], expected[depth]) << (8 << depth);
    }
    // A hidden layer's clones are drawn fully transparent.
    set(param::SourceDisplayParam(1), 0);
    EXPECT_EQ(draws(render())[0]["opacity"], 0);
}

// "Blending" is given the rows as its first count: the cells in scan order fall into runs of
// 15 / 2 = 7, the first seven showing the first source.
TEST_F(ObjectFrame, BlendingOrderRunsDownTheColumns) {
    use_layer(1, 1); // "square", 16 wide
    use_layer(2, 0); // "wide", 40 wide
    set(object::kCloneOrder, 2);
    const std::vector<json> clones = draws(render());
    ASSERT_EQ(clones.size(), 15u);
    for (std::size_t i = 0; i < clones.size(); ++i) {
        EXPECT_EQ(clones[i]["src"]["width"], i < 7 ? 16 : 40) << i;
    }
}

// 160 x 150 cells of one pixel: the records run from 2 up to 20,000, then 0, 1, 2, ... again.
TEST_F(ObjectFrame, CloneNumbersStartAgainAfter20000Cells) {
    scene.composition.width = 150;
    scene.composition.height = 150;
    scene.effect_layer = test::SolidLayer("effect", 150, 150);
    scene.layers[kMatte].width = 160;
    scene.layers[kMatte].height = 150;
    set(object::kResolution, 100); // a step of 1
    set(object::kRandomRotation, 360);
    set(object::kRandomSeed, 4);
    use_layer(1, 1);
    const std::vector<CloneRandom> table = BuildRandomTable(4);
    const std::vector<json> clones = draws(render());
    ASSERT_EQ(clones.size(), 160u * 150u);
    const std::pair<std::size_t, std::size_t> cells_and_records[] = {
        {0, 2}, {19997, 19999}, {19998, 20000}, {19999, 0}, {20000, 1}, {20001, 2}, {23999, 4000}};
    for (const auto& [cell, record] : cells_and_records) {
        const double degrees = table[record].rotation;
        ExpectNear(AxisOf(clones[cell]), std::polar(1.0, degrees * std::numbers::pi / 180),
                   "cell " + std::to_string(cell));
    }
}

// Each host function an Object frame uses fails once at every call (or a sample of them): the
// frame ends with the error a Linear frame gives, and everything comes back, AEGP objects, time
// frames and their checkouts included. A failing time-layer query only loses the time frames.
TEST_F(ObjectFrame, EveryFailingHostCallIsReportedAndCleanedUp) {
    const std::vector<FailureCase> aegp = {
        {"AEGP_GetNewEffectForEffect", PF_Err_NONE, 0},
        {"AEGP_GetNewEffectStreamByIndex", PF_Err_NONE, 0},
        {"AEGP_GetNewStreamValue", PF_Err_NONE, 0},
        {"AEGP_GetEffectLayer", PF_Err_NONE, 0},
        {"AEGP_GetLayerParentComp", PF_Err_NONE, 0},
        {"AEGP_GetLayerFromLayerID", PF_Err_NONE, 0},
        {"AEGP_GetLayerDuration", PF_Err_NONE, 0},
        {"AEGP_GetLayerInPoint", PF_Err_NONE, 0},
        {"AEGP_GetLayerCurrentTime", PF_Err_NONE, 0},
        {"AEGP_DisposeStreamValue", PF_Err_NONE, 0},
        {"AEGP_DisposeStream", PF_Err_NONE, 0},
        {"AEGP_DisposeEffect", PF_Err_NONE, 0},
    };
    scene.layers[kCounter].duration = 3;
    set(param::kTimeLayer, kCounter);

    // "Alpha" with a source: requests of the time frames that fail end the pass alone.
    use_layer(1, 1);
    expect_every_failure_cleaned_up("alpha", aegp, [](const FailureCase& c, int n) {
        const bool time_frame_request = c.function == std::string("checkout_layer") && n > 3;
        return time_frame_request ? PF_Err_NONE : c.expected;
    });

    // "Alpha - Time" without a source: the render then asks for a time frame that was never
    // requested, and a failing copy of a time frame stops the frame.
    scene.effect.erase(param::SourceLayerParam(1));
    set(object::kBasedOn, object::kAlphaTime);
    expect_every_failure_cleaned_up("alpha - time", aegp, [](const FailureCase& c, int n) {
        const std::string function = c.function;
        if (function == "checkout_layer" && n > 2) {
            return PF_Err{PF_Err_BAD_CALLBACK_PARAM};
        }
        return function == "copy" ? kInjected : c.expected;
    });
}

} // namespace
} // namespace plurion
