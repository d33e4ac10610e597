// The pieces of the pre-render pass that need no host: checkout ids, shutter times, rectangle
// union, the parameter snapshot and the choice of taking-part layers.
#include "layout/checkout_id.h"
#include "layout/clone_plan.h"
#include "layout/pre_render.h"
#include "params/blending_modes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace plurion {
namespace {

TEST(CheckoutId, BuildsBothFormsAndFailsAsTheStandardReader) {
    EXPECT_EQ(MakeCheckoutId(5, 0, 0, CheckoutIdForm::Plain), 1986);
    EXPECT_EQ(MakeCheckoutId(0, 11, 0, CheckoutIdForm::Plain), 12981);
    EXPECT_EQ(MakeCheckoutId(3, 1, 2, CheckoutIdForm::Joined), 49823);
    EXPECT_EQ(MakeCheckoutId(9, 1, 0, CheckoutIdForm::Plain), 29810);
    // A "-" inside the text ends the number; a leading one is its sign.
    EXPECT_EQ(MakeCheckoutId(-5, 0, 0, CheckoutIdForm::Plain), 198);
    EXPECT_EQ(MakeCheckoutId(3, -3, 2, CheckoutIdForm::Joined), 498);
    EXPECT_EQ(MakeCheckoutId(0, -6, 0, CheckoutIdForm::Plain), -5981);
    EXPECT_EQ(ParseCheckoutId("2147483647"), 2147483647);

    EXPECT_THROW(MakeCheckoutId(2147483646, 0, 0, CheckoutIdForm::Plain), std::out_of_range);
    EXPECT_THROW(MakeCheckoutId(2147483647, 0, 0, CheckoutIdForm::Plain), std::out_of_range);
    EXPECT_THROW(ParseCheckoutId("2147483648"), std::out_of_range);
    EXPECT_THROW(ParseCheckoutId("-x98"), std::invalid_argument);
    EXPECT_THROW(ParseCheckoutId(""), std::invalid_argument);
    try {
        ParseCheckoutId("98765432109");
        FAIL();
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "stoi argument out of range");
    }
    try {
        ParseCheckoutId("x");
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "invalid stoi argument");
    }
}

TEST(ShutterTimes, TruncateEachProductTowardZero) {
    PF_InData in{};
    in.current_time = 1000;
    in.local_time_step = 100;
    in.shutter_phase = -32768; // -0.5 frame
    in.shutter_angle = 49152;  // 0.75 frame
    ShutterTimes times = ShutterTimesOf(in);
    EXPECT_EQ(times.open, 950);
    EXPECT_EQ(times.close, 1025);

    in.local_time_step = 3; // -1.5 and 2.25 truncate to -1 and 2, not -2
    times = ShutterTimesOf(in);
    EXPECT_EQ(times.open, 999);
    EXPECT_EQ(times.close, 1001);

    in.shutter_angle = 0; // no motion blur: both samples at the same time
    in.shutter_phase = 0;
    times = ShutterTimesOf(in);
    EXPECT_EQ(times.open, 1000);
    EXPECT_EQ(times.close, 1000);
}

TEST(RectUnion, EmptyTargetTakesTheSourceAndEmptySourcesChangeNothing) {
    PF_LRect into{0, 0, 0, 0};
    MergeRect(into, PF_LRect{5, 5, 5, 9}); // an empty target takes even an empty source
    EXPECT_EQ(into.left, 5);
    EXPECT_EQ(into.bottom, 9);
    MergeRect(into, PF_LRect{-2, 3, 4, 6});
    EXPECT_EQ(into.left, -2);
    EXPECT_EQ(into.top, 3);
    EXPECT_EQ(into.right, 4);
    EXPECT_EQ(into.bottom, 6);
    MergeRect(into, PF_LRect{10, 10, 20, 20});
    EXPECT_EQ(into.right, 20);
    EXPECT_EQ(into.bottom, 20);
    EXPECT_EQ(into.left, -2);
    MergeRect(into, PF_LRect{100, 100, 50, 200}); // empty: ignored
    EXPECT_EQ(into.right, 20);
    EXPECT_EQ(into.bottom, 20);
}

TEST(ParamPairs, StoresEachTypeAsTheTableSays) {
    ParamPairs pairs;
    PF_ParamDef def{};
    def.u.fs_d.value = 10.9;
    pairs.store(param::linear::kOffsetTime, 0, def); // truncated
    def.u.fs_d.value = -3.7;
    pairs.store(param::linear::kOffsetScale, 1, def); // kept
    def.u.fs_d.value = 99.99;
    pairs.store(param::object::kRandomOpacity, 1, def);
    def = PF_ParamDef{};
    def.u.ad.value = -(45 << 16) - (1 << 15); // -45.5 degrees
    pairs.store(param::linear::kLocalRotation, 1, def);
    def.u.td.x_value = 3 << 15; // 1.5
    def.u.td.y_value = -(7 << 16);
    pairs.store(param::linear::kAnchorPoint, 0, def);
    def.u.pd.value = 3;
    pairs.store(param::kCloneType, 1, def);
    def.u.bd.value = 1;
    pairs.store(param::linear::kReverseOffset, 1, def);

    static_assert(std::is_same_v<MemberType<param::grid::kSizeX>, std::int32_t>);
    static_assert(StorageOf(param::kMatteLayer) == PairStorage::None);

    EXPECT_EQ(pairs.get<param::linear::kOffsetTime>(0), 10);
    EXPECT_EQ(pairs.get<param::linear::kOffsetTime>(1), 0);
    EXPECT_DOUBLE_EQ(pairs.get<param::linear::kOffsetScale>(1), -3.7);
    EXPECT_EQ(pairs.get<param::object::kRandomOpacity>(1), 99);
    EXPECT_DOUBLE_EQ(pairs.get<param::linear::kLocalRotation>(1), -45.5);
    EXPECT_DOUBLE_EQ(pairs.get<param::linear::kAnchorPoint>(0).x, 1.5);
    EXPECT_DOUBLE_EQ(pairs.get<param::linear::kAnchorPoint>(0).y, -7.0);
    EXPECT_EQ(pairs.get<param::kCloneType>(1), 3);
    EXPECT_EQ(pairs.get<param::linear::kReverseOffset>(1), 1);
    // Neighbours are untouched: each pair has its own bytes.
    EXPECT_EQ(pairs.get<param::kCloneType>(0), 0);
    EXPECT_EQ(pairs.get<param::linear::kCloneOrder>(0), 0);
}

ClonePlan PlanWithScales(int clone_type, double local, double global) {
    ClonePlan plan;
    plan.params.set<param::kCloneType>(0, clone_type);
    plan.params.set<param::linear::kLocalScale>(0, local);
    plan.params.set<param::linear::kGlobalScale>(0, global);
    plan.params.set<param::grid::kLocalScale>(0, 100);
    plan.params.set<param::grid::kGlobalScale>(0, 100);
    plan.params.set<param::linear::kRandomSeed>(0, 17);
    plan.params.set<param::grid::kRandomSeed>(0, 23);
    for (int member = 0; member < 2; ++member) {
        plan.params.set<param::SourceScaleParam(1)>(member, 100);
        plan.params.set<param::SourceScaleParam(2)>(member, 50);
        plan.params.set<param::SourceScaleParam(3)>(member, 80);
        plan.params.set<param::SourceRotationParam(3)>(member, 30.0 + member);
    }
    plan.params.set<param::SourceScaleParam(2)>(1, 0); // 0 at shutter close only
    plan.params.set<param::SourceDisplayParam(3)>(0, 1);
    return plan;
}

TEST(TakingPartLayers, NeedPixelsAndEveryScaleAboveZero) {
    SlotPixels pixels{};
    pixels[1] = pixels[2] = pixels[3] = true;
    ClonePlan plan = PlanWithScales(param::kLinear, 100, 100);
    FillTakingPartLayers(plan, pixels);
    // Slot 2 drops out (scale 0 at shutter close), so slot 3 moves up.
    EXPECT_EQ(plan.layer_count, 2);
    EXPECT_EQ(plan.layer_checkout_ids, (std::vector<std::int32_t>{185, 187}));
    EXPECT_EQ(plan.layer_slots, (std::vector<std::int32_t>{0, 2}));
    ASSERT_EQ(plan.layer_rotations.size(), 2u);
    EXPECT_DOUBLE_EQ(plan.layer_rotations[1][0], 30.0);
    EXPECT_DOUBLE_EQ(plan.layer_rotations[1][1], 31.0);
    EXPECT_DOUBLE_EQ(plan.layer_scales[1][1], 80.0);
    EXPECT_EQ(plan.layer_display, (std::vector<std::uint8_t>{0, 1}));
    EXPECT_EQ(CheckoutGate(plan, false), 1);

    plan = PlanWithScales(param::kLinear, 100, 0); // a group scale at 0: nothing takes part
    FillTakingPartLayers(plan, pixels);
    EXPECT_TRUE(plan.layer_checkout_ids.empty());
    EXPECT_EQ(CheckoutGate(plan, false), 0);
}

TEST(TakingPartLayers, ModeGroupFollowsTheCloneTypeAndGateOpensForObjectLayers) {
    ClonePlan plan = PlanWithScales(param::kGrid, 0, 0); // Linear scales 0, Grid's 100
    FillTakingPartLayers(plan, SlotPixels{});
    EXPECT_DOUBLE_EQ(plan.mode_local_scale, 100.0);
    EXPECT_EQ(CurrentModeGroup(plan.params).random_seed, 23);
    EXPECT_EQ(CheckoutGate(plan, true), 0); // no layer and not "Object"

    plan = PlanWithScales(9, 100, 100); // unknown type: "Linear Mode"
    EXPECT_EQ(CurrentModeGroup(plan.params).random_seed, 17);

    plan = PlanWithScales(param::kObject, 100, 100);
    FillTakingPartLayers(plan, SlotPixels{});
    EXPECT_EQ(plan.layer_count, 0);
    EXPECT_EQ(CheckoutGate(plan, false), 0);
    EXPECT_EQ(CheckoutGate(plan, true), 1);
}

TEST(BlendingModes, TableFollowsThePopupWithSeparatorsAsCopy) {
    EXPECT_EQ(TransferModeOf(1), PF_Xfer_IN_FRONT);
    EXPECT_EQ(TransferModeOf(2), PF_Xfer_BEHIND);
    EXPECT_EQ(TransferModeOf(8), PF_Xfer_COLOR_BURN2);
    EXPECT_EQ(TransferModeOf(29), PF_Xfer_DIFFERENCE2);
    EXPECT_EQ(TransferModeOf(30), PF_Xfer_DIFFERENCE);
    EXPECT_EQ(TransferModeOf(38), PF_Xfer_LUMINOSITY);
    for (int separator : {3, 5, 12, 20, 28, 34}) {
        EXPECT_EQ(TransferModeOf(separator), PF_Xfer_COPY) << separator;
    }
    EXPECT_EQ(TransferModeOf(0), PF_Xfer_COPY);
    EXPECT_EQ(TransferModeOf(39), PF_Xfer_COPY);
}

} // namespace
} // namespace plurion
