// Geometry of the "Linear" compositor, without images: matrix builders against transforms
// worked out with complex numbers, clone places, scales and opacities, and the layer order.
#include "render/clone_layer.h"
#include "render/compositor.h"
#include "render/linear_clone.h"
#include "render/matrices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

namespace plurion {
namespace {

using Point = std::complex<double>;

Point Apply(const PF_FloatMatrix& m, Point p) {
    // Row vector (x, y, 1) times the matrix.
    return {p.real() * m.mat[0][0] + p.imag() * m.mat[1][0] + m.mat[2][0],
            p.real() * m.mat[0][1] + p.imag() * m.mat[1][1] + m.mat[2][1]};
}

Point Turn(Point p, double degrees) {
    return p * std::polar(1.0, degrees * std::numbers::pi / 180);
}

void ExpectNear(Point actual, Point expected, const char* what) {
    EXPECT_NEAR(actual.real(), expected.real(), 1e-9) << what;
    EXPECT_NEAR(actual.imag(), expected.imag(), 1e-9) << what;
}

TEST(Matrices, BuildersAndProductMoveRowVectorsAsDescribed) {
    const Point p{3, -2};
    ExpectNear(Apply(TranslationMatrix(5, 7), p), {8, 5}, "translation");
    ExpectNear(Apply(ScaleMatrix(2.5), p), {7.5, -5}, "scale");
    // y grows downwards, so a positive angle turns x towards y.
    ExpectNear(Apply(RotationMatrix(std::numbers::pi / 2), {1, 0}), {0, 1}, "rotation");
    ExpectNear(Apply(RotationMatrix(0.3), p), Turn(p, 0.3 * 180 / std::numbers::pi), "rotation");
    // A x B applies A first.
    const PF_FloatMatrix ab =
        MultiplyMatrices(TranslationMatrix(1, 0), RotationMatrix(std::numbers::pi / 2));
    ExpectNear(Apply(ab, {0, 0}), {0, 1}, "translate then turn");
}

TEST(Matrices, CloneMatrixTurnsAboutItsCentreAndTheRowAboutPositionPlusAnchor) {
    CloneTransform t;
    t.source_width = 40;
    t.source_height = 20;
    t.extra_rotation = 5;
    t.local_rotation = 10;
    t.layer_rotation = -20;
    t.offset_rotation = 33;
    t.random_rotation = 7;
    t.offset_scale = 1.5;
    t.offset_scale_y = 0.8;
    t.random_scale = 0.9;
    t.position_x = 300;
    t.position_y = 200;
    t.place_x = -50;
    t.place_y = 12;
    t.anchor_x = 25;
    t.anchor_y = -15;
    t.global_rotation = 60;
    const PF_FloatMatrix m = CloneMatrix(t);
    for (const Point corner : {Point{0, 0}, Point{40, 0}, Point{40, 20}, Point{13, 7}}) {
        Point q = corner - Point{20, 10};
        q = Turn(q, 5 + 10 - 20 + 33 + 7) * (1.5 * 0.8 * 0.9);
        q += Point{300, 200} + Point{-50, 12};
        const Point pivot = Point{300, 200} + Point{25, -15};
        q = Turn(q - pivot, 60) + Point{300, 200};
        ExpectNear(Apply(m, corner), q, "corner");
    }
}

ParamPairs LinearParams(int count) {
    ParamPairs p;
    namespace linear = param::linear;
    for (int s = 0; s < 2; ++s) {
        p.set<linear::kCount>(s, count);
        p.set<linear::kCloneOffsetMode>(s, 1);
        p.set<linear::kGlobalScale>(s, 100);
        p.set<linear::kPosition>(s, {960, 540});
    }
    return p;
}

Point CentreOf(const CloneTransform& t) {
    return Apply(CloneMatrix(t), {t.source_width / 2, t.source_height / 2});
}

double SizeOf(const CloneTransform& t) {
    const PF_FloatMatrix m = CloneMatrix(t);
    return std::abs(Apply(m, {1, 0}) - Apply(m, {0, 0}));
}

TEST(LinearClones, SingleCloneSitsHalfAStepOffAndReverseEndScalesTheRun) {
    namespace linear = param::linear;
    const CloneRandom record{};
    ParamPairs p = LinearParams(1); // one clone sits half a step to the negative side
    p.set<linear::kOffsetPosition>(0, {10, 4});
    ExpectNear(CentreOf(LinearCloneTransform(p, record, 0, 0, 8, 8, 0)), {955, 538}, "single");

    p = LinearParams(5);
    p.set<linear::kCloneOffsetMode>(0, 2);
    p.set<linear::kOffsetScale>(0, 10);
    p.set<linear::kReverseOffset>(0, 1);
    const double first = SizeOf(LinearCloneTransform(p, record, 0, 0, 8, 8, 0));
    const double last = SizeOf(LinearCloneTransform(p, record, 4, 0, 8, 8, 0));
    EXPECT_NEAR(first / last, 1.1, 1e-12);
}

TEST(LinearClones, RandomValuesScaleTurnAndMoveEachClone) {
    namespace linear = param::linear;
    CloneRandom record{};
    record.scale = 40;
    record.rotation = -180;
    record.jitter_x = 0.25;
    record.jitter_y = -0.5;
    ParamPairs p = LinearParams(1);
    p.set<linear::kRandomScale>(0, 50);
    p.set<linear::kRandomRotation>(0, 90);
    p.set<linear::kRandomPosition>(0, {40, 10});
    p.set<linear::kGlobalScale>(0, 200);
    const CloneTransform t = LinearCloneTransform(p, record, 0, 0, 8, 8, 0);
    EXPECT_DOUBLE_EQ(t.random_scale, 0.8);
    EXPECT_DOUBLE_EQ(t.random_rotation, -45);
    EXPECT_DOUBLE_EQ(t.place_x, 20);
    EXPECT_DOUBLE_EQ(t.place_y, -10);
}

TEST(LinearClones, OpacityFadesFromTheFirstOrTheLastClone) {
    ParamPairs p = LinearParams(3);
    const CloneRandom record{};
    const auto byte = [&](int i, bool displayed = true) {
        return OpacityByte(LinearCloneOpacity(p, record, i, displayed));
    };
    EXPECT_EQ(byte(0), 255);
    EXPECT_EQ(byte(0, false), 0);
    p.set<param::linear::kOffsetOpacity>(0, -10);
    EXPECT_EQ(byte(2), 250);
    EXPECT_EQ(byte(1), 225);
    EXPECT_EQ(byte(0), 200);
    // "End" spreads the offset over the run; randomness multiplies in.
    p.set<param::linear::kCloneOffsetMode>(0, 2);
    p.set<param::linear::kOffsetOpacity>(0, 50);
    CloneRandom faded{};
    faded.opacity = 50;
    p.set<param::linear::kRandomOpacity>(0, 40);
    EXPECT_EQ(OpacityByte(LinearCloneOpacity(p, faded, 2, true)), 100); // 0.8 x 0.5 x 250
    // Far past the end the product goes negative and is held at 0.
    p.set<param::linear::kCloneOffsetMode>(0, 1);
    EXPECT_EQ(byte(2), 0);
}

TEST(LinearClones, TimeShiftedImageSpreadsAlongTheRowOrFollowsTheRecord) {
    EXPECT_EQ(RowTimeShiftedIndex(0, 10, 4, 0, 0), 0);
    EXPECT_EQ(RowTimeShiftedIndex(5, 10, 4, 0, 0), 2);
    EXPECT_EQ(RowTimeShiftedIndex(9, 10, 4, 0, 0), 3);
    EXPECT_EQ(RowTimeShiftedIndex(9, 10, 4, 1, 2499), 0);
    EXPECT_EQ(RowTimeShiftedIndex(0, 10, 4, 1, 2500), 1);
    EXPECT_EQ(RowTimeShiftedIndex(0, 10, 4, 7, 9999), 3);
}

std::vector<std::int32_t> Picks(std::int32_t order, std::int32_t clones, std::int32_t layers,
                                const ClonePlan& plan) {
    std::vector<std::int32_t> picks;
    std::int32_t index = 0;
    for (std::int32_t i = 0; i < clones; ++i) {
        PickCloneLayer(i + 1, i, 1, clones, 1, plan, order, layers, index, false);
        picks.push_back(index);
    }
    return picks;
}

TEST(PickCloneLayer, OrdersForRowsAndGrids) {
    ClonePlan plan;
    plan.randoms.resize(kRandomTableSize);
    for (std::size_t r = 0; r < plan.randoms.size(); ++r) {
        plan.randoms[r].order_pick[3 - 2] = static_cast<std::uint32_t>((r * 7) % 3);
    }
    EXPECT_EQ(Picks(kIterative, 5, 2, plan), (std::vector<std::int32_t>{1, 0, 1, 0, 1}));
    EXPECT_EQ(Picks(kIterative, 4, 1, plan), (std::vector<std::int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(Picks(kBlending, 10, 3, plan),
              (std::vector<std::int32_t>{0, 0, 0, 0, 1, 1, 1, 2, 2, 2}));
    EXPECT_EQ(Picks(kRandom, 3, 3, plan), (std::vector<std::int32_t>{1, 2, 0})); // records 1..3
    EXPECT_EQ(Picks(kRandom, 3, 1, plan), (std::vector<std::int32_t>{0, 0, 0}));
    EXPECT_EQ(Picks(kRandom, 2, 21, plan), (std::vector<std::int32_t>{0, 0})); // unchanged
    EXPECT_EQ(Picks(7, 2, 3, plan), (std::vector<std::int32_t>{0, 0}));

    // A 3 x 2 grid visited row by row, x = row and y = column.
    const auto grid = [&](std::int32_t order, std::int32_t layers) {
        std::vector<std::int32_t> picks;
        std::int32_t index = 0;
        for (std::int32_t row = 0; row < 2; ++row) {
            for (std::int32_t col = 0; col < 3; ++col) {
                PickCloneLayer(row * 3 + col + 1, row, col, 3, 2, plan, order, layers, index, true);
                picks.push_back(index);
            }
        }
        return picks;
    };
    EXPECT_EQ(grid(kIterative, 2), (std::vector<std::int32_t>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(grid(kBlending, 2), (std::vector<std::int32_t>{0, 0, 0, 1, 1, 1}));
    // More layers than cells: no run length, the index is row + column.
    EXPECT_EQ(grid(kBlending, 7), (std::vector<std::int32_t>{0, 1, 2, 1, 2, 3}));
}

} // namespace
} // namespace plurion
