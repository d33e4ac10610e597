// Offset rescaling on a "Clone Offset Mode" switch, worked by hand: the count factor (1 for a
// single clone), 16.16 values scaled as 32-bit integers with truncation toward zero, float
// sliders as doubles, the "End Angle" and "Size X"/"Size Y" exceptions, the marks on every
// converted parameter and the order their definitions go back in. Indices are the registered
// ones, written out.
#include "params/offset_conversion.h"
#include "params/params_setup.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace plurion {
namespace {

constexpr A_long kOne = 65536; // 1.0 in 16.16

// All 272 definitions as registered, with the values each test sets.
struct Params {
    Params() {
        defs[0].param_type = PF_Param_LAYER;
        for (int i = 1; i < kParamCount; ++i) {
            defs[static_cast<std::size_t>(i)] = MakeParamDef(RowOf(i));
        }
        for (PF_ParamDef& def : defs) {
            pointers.push_back(&def);
        }
    }
    PF_ParamDef& operator[](int index) { return defs[static_cast<std::size_t>(index)]; }
    PF_ParamDef** get() { return pointers.data(); }
    std::vector<PF_ParamIndex> convert(PF_ParamIndex changed) {
        const std::span<const PF_ParamIndex> order = ConvertOffsets(get(), changed);
        return {order.begin(), order.end()};
    }

    std::array<PF_ParamDef, kParamCount> defs{};
    std::vector<PF_ParamDef*> pointers;
};

void ExpectMarked(Params& params, std::initializer_list<int> indices) {
    for (const int index : indices) {
        EXPECT_EQ(params[index].uu.change_flags, PF_ChangeFlag_CHANGED_VALUE) << index;
        EXPECT_NE(params[index].flags & PF_ParamFlag_COLLAPSE_TWIRLY, 0) << index;
    }
}

TEST(CountFactor, IsStepsAlongTheRunAndOneForASingleClone) {
    EXPECT_EQ(CountFactor(5), 4);
    EXPECT_EQ(CountFactor(2), 1);
    EXPECT_EQ(CountFactor(1), 1);
    EXPECT_EQ(CountFactor(10000), 9999);
}

TEST(FixedArithmetic, TruncatesTowardZeroAndWrapsLikeA32BitMultiply) {
    EXPECT_EQ(DivideFixed(1, 4), 0);
    EXPECT_EQ(DivideFixed(7, 4), 1);
    EXPECT_EQ(DivideFixed(-7, 4), -1); // toward zero, not down to -2
    EXPECT_EQ(MultiplyFixed(-3, 4), -12);
    EXPECT_EQ(MultiplyFixed(0x40000000, 4), 0);           // 2^32 wraps to 0
    EXPECT_EQ(MultiplyFixed(0x30000000, 3), -1879048192); // 0x90000000
    EXPECT_EQ(MultiplyFixed(10 * kOne, 4), 40 * kOne);
}

TEST(LinearOffsets, StepToEndMultipliesByCountLessOneAndBackDivides) {
    Params p;
    p[4].u.sd.value = 5;            // Count: n = 4
    p[18].u.pd.value = 2;           // switched to "End"
    p[19].u.td.x_value = 10 * kOne; // Offset Position (10, 0)
    p[19].u.td.y_value = 0;
    p[20].u.ad.value = 3 * kOne; // Offset Rotation 3 degrees
    p[21].u.fs_d.value = 2.0;    // Offset Scale
    p[22].u.fs_d.value = -5.0;   // Offset Opacity
    p[23].u.fs_d.value = 7.0;    // Offset Time: never converted
    EXPECT_EQ(p.convert(18), (std::vector<PF_ParamIndex>{19, 20, 21, 22}));
    EXPECT_EQ(p[19].u.td.x_value, 40 * kOne);
    EXPECT_EQ(p[19].u.td.y_value, 0);
    EXPECT_EQ(p[20].u.ad.value, 12 * kOne);
    EXPECT_EQ(p[21].u.fs_d.value, 8.0);
    EXPECT_EQ(p[22].u.fs_d.value, -20.0);
    EXPECT_EQ(p[23].u.fs_d.value, 7.0);
    EXPECT_EQ(p[23].uu.id, 22); // untouched: the union still holds the id
    ExpectMarked(p, {19, 20, 21, 22});

    p[18].u.pd.value = 1; // back to "Step"
    p.convert(18);
    EXPECT_EQ(p[19].u.td.x_value, 10 * kOne);
    EXPECT_EQ(p[20].u.ad.value, 3 * kOne);
    EXPECT_EQ(p[21].u.fs_d.value, 2.0);
    EXPECT_EQ(p[22].u.fs_d.value, -5.0);
}

TEST(LinearOffsets, StepDivisionTruncatesFixedAndKeepsFloatFractions) {
    Params p;
    p[4].u.sd.value = 5;
    p[18].u.pd.value = 1;
    p[19].u.td.x_value = 1;  // 1/65536 of a pixel
    p[19].u.td.y_value = -7; // -7/65536
    p[20].u.ad.value = 7;
    p[21].u.fs_d.value = 10.0;
    p.convert(18);
    EXPECT_EQ(p[19].u.td.x_value, 0);
    EXPECT_EQ(p[19].u.td.y_value, -1);
    EXPECT_EQ(p[20].u.ad.value, 1);
    EXPECT_EQ(p[21].u.fs_d.value, 2.5);

    // Count 4: a third, as a double.
    p[4].u.sd.value = 4;
    p[21].u.fs_d.value = 10.0;
    p.convert(18);
    EXPECT_EQ(p[21].u.fs_d.value, 10.0 / 3.0);
}

TEST(LinearOffsets, CountOneKeepsEveryValueButStillMarksThem) {
    Params p;
    p[4].u.sd.value = 1;
    p[18].u.pd.value = 2;
    p[19].u.td.x_value = 10 * kOne;
    p[20].u.ad.value = -3 * kOne;
    p[21].u.fs_d.value = 2.0;
    p[22].u.fs_d.value = 4.0;
    p.convert(18);
    EXPECT_EQ(p[19].u.td.x_value, 10 * kOne);
    EXPECT_EQ(p[20].u.ad.value, -3 * kOne);
    EXPECT_EQ(p[21].u.fs_d.value, 2.0);
    EXPECT_EQ(p[22].u.fs_d.value, 4.0);
    ExpectMarked(p, {19, 20, 21, 22});
}

TEST(RadialOffsets, EndAngleSharesTheArcFromStartAngleOverTheCount) {
    Params p;
    p[77].u.sd.value = 4; // Count: n = 3, the arc in n + 1 = 4 parts
    p[80].u.ad.value = 0;
    p[81].u.ad.value = 360 * kOne;
    p[95].u.pd.value = 1;          // to "Step"
    p[96].u.td.x_value = 9 * kOne; // Offset Position
    p[96].u.td.y_value = -6 * kOne;
    p[97].u.ad.value = 6 * kOne; // Offset Rotation
    p[98].u.fs_d.value = 3.0;    // Offset Scale
    p[99].u.fs_d.value = 1.5;    // Offset Opacity
    EXPECT_EQ(p.convert(95), (std::vector<PF_ParamIndex>{96, 97, 81, 98, 99}));
    EXPECT_EQ(p[81].u.ad.value, 90 * kOne);
    EXPECT_EQ(p[96].u.td.x_value, 3 * kOne);
    EXPECT_EQ(p[96].u.td.y_value, -2 * kOne);
    EXPECT_EQ(p[97].u.ad.value, 2 * kOne);
    EXPECT_EQ(p[98].u.fs_d.value, 1.0);
    EXPECT_EQ(p[99].u.fs_d.value, 0.5);
    ExpectMarked(p, {96, 97, 81, 98, 99});

    p[95].u.pd.value = 2; // back to "End": 0 + 4 x 90 = 360
    p.convert(95);
    EXPECT_EQ(p[81].u.ad.value, 360 * kOne);
    EXPECT_EQ(p[96].u.td.x_value, 9 * kOne);

    // From a start of 30 degrees: (390 - 30) / 4 = 90 and back 4 x 90 + 30 = 390.
    p[80].u.ad.value = 30 * kOne;
    p[81].u.ad.value = 390 * kOne;
    p[95].u.pd.value = 1;
    p.convert(95);
    EXPECT_EQ(p[81].u.ad.value, 90 * kOne);
    p[95].u.pd.value = 2;
    p.convert(95);
    EXPECT_EQ(p[81].u.ad.value, 390 * kOne);

    // The difference truncates: 7/65536 of a degree over 4 parts is 1/65536.
    p[80].u.ad.value = 0;
    p[81].u.ad.value = 7;
    p[95].u.pd.value = 1;
    p.convert(95);
    EXPECT_EQ(p[81].u.ad.value, 1);
}

TEST(RadialOffsets, AFullTurnStaysAFullTurnWhenSwitchingToEnd) {
    Params p;
    p[77].u.sd.value = 4;
    p[80].u.ad.value = 30 * kOne;
    p[81].u.ad.value = 360 * kOne;
    p[95].u.pd.value = 2;
    p.convert(95);
    EXPECT_EQ(p[81].u.ad.value, 360 * kOne); // not 4 x 360 + 30
    ExpectMarked(p, {81});
    // One unit short of a full turn is scaled: 4 x (360 - 1/65536) + 30.
    p[81].u.ad.value = 360 * kOne - 1;
    p.convert(95);
    EXPECT_EQ(p[81].u.ad.value, (1440 + 30) * kOne - 4);
}

TEST(GridOffsets, EachValueTakesItsAxisAndThePositionCrosses) {
    Params p;
    p[37].u.sd.value = 3; // Count X: nx = 2
    p[38].u.sd.value = 5; // Count Y: ny = 4
    p[54].u.pd.value = 2; // to "End"
    p[55].u.td.x_value = 10 * kOne;
    p[55].u.td.y_value = 10 * kOne;
    p[39].u.fs_d.value = 1000.0; // Size X: the default stays
    p[40].u.fs_d.value = 100.0;  // Size Y
    p[56].u.ad.value = kOne;     // Offset Rotation: by nx x ny = 8
    p[57].u.fs_d.value = 5.0;
    p[58].u.fs_d.value = 5.0;
    p[59].u.fs_d.value = 3.0;
    p[60].u.fs_d.value = -2.0;
    p[61].u.fs_d.value = 9.0; // Offset Time X: never converted
    EXPECT_EQ(p.convert(54), (std::vector<PF_ParamIndex>{55, 39, 40, 56, 57, 58, 59, 60}));
    EXPECT_EQ(p[55].u.td.x_value, 40 * kOne); // x by ny
    EXPECT_EQ(p[55].u.td.y_value, 20 * kOne); // y by nx
    EXPECT_EQ(p[39].u.fs_d.value, 1000.0);
    EXPECT_EQ(p[40].u.fs_d.value, 400.0);
    EXPECT_EQ(p[56].u.ad.value, 8 * kOne);
    EXPECT_EQ(p[57].u.fs_d.value, 10.0);
    EXPECT_EQ(p[58].u.fs_d.value, 20.0);
    EXPECT_EQ(p[59].u.fs_d.value, 6.0);
    EXPECT_EQ(p[60].u.fs_d.value, -8.0);
    EXPECT_EQ(p[61].u.fs_d.value, 9.0);
    ExpectMarked(p, {55, 39, 40, 56, 57, 58, 59, 60});

    // To "Step", 1000 is divided like any size: with Count X 5, 250.
    p[37].u.sd.value = 5;
    p[54].u.pd.value = 1;
    p[39].u.fs_d.value = 1000.0;
    p.convert(54);
    EXPECT_EQ(p[39].u.fs_d.value, 250.0);
    EXPECT_EQ(p[40].u.fs_d.value, 100.0);
}

TEST(Offsets, OtherSupervisedParametersConvertNothing) {
    Params p;
    p[19].u.td.x_value = 10 * kOne;
    for (const PF_ParamIndex changed : {1, 113, 153, 270, 4}) {
        EXPECT_TRUE(p.convert(changed).empty()) << changed;
    }
    EXPECT_EQ(p[19].u.td.x_value, 10 * kOne);
    EXPECT_EQ(p[19].uu.id, 18);
}

} // namespace
} // namespace plurion
