// The time-layer measure of "Object": the layer a parameter names, asked through the host's AEGP
// suites for its duration, in point and current time, in frames of the call, single precision;
// 0 without a layer or when any AEGP call fails, with every AEGP object given back.
#include "layout/checkout_id.h"
#include "layout/time_layer_frames.h"
#include "support/fake_aegp_scene.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

namespace plurion {
namespace {

using test::FakeFrames;

// The fake scene's parameter 2 holds the layer starting at frame 5 and lasting 10 frames,
// parameter 3 holds none; the frame being rendered is 13.
class TimeLayerMeasureTest : public ::testing::Test {
  protected:
    TimeLayerMeasureTest() {
        host.in.effect_ref = reinterpret_cast<PF_ProgPtr>(&scene);
        host.in.time_scale = test::kFakeScale;
        host.in.time_step = test::kFakeFrame;
        host.services.aegp.attach(host.in.effect_ref, &scene);
    }
    std::int32_t measure(PF_ParamIndex index, TimeLayerMeasure kind) {
        return MeasureTimeLayer(host.in, index, kind);
    }
    void expect_all_given_back() {
        EXPECT_TRUE(host.services.aegp.leaks().empty()) << host.services.aegp.leaks().front();
        EXPECT_TRUE(host.services.suites.held().empty()) << host.services.suites.held().front();
    }

    test::TestHost host;
    test::FakeAegpScene scene;
};

TEST_F(TimeLayerMeasureTest, MeasuresTheNamedLayerAndNothingWithoutOne) {
    EXPECT_EQ(measure(2, TimeLayerMeasure::Duration), 10);
    EXPECT_EQ(measure(2, TimeLayerMeasure::InPoint), 5);     // composition time
    EXPECT_EQ(measure(2, TimeLayerMeasure::CurrentTime), 8); // 13 - 5, layer time
    EXPECT_EQ(measure(3, TimeLayerMeasure::Duration), 0);
    expect_all_given_back();
    // Three measures of a layer and one without: an effect, a stream and a value each.
    const host::AegpObjects::Counts counts = host.services.aegp.handed_out();
    EXPECT_EQ(counts.effects, 4);
    EXPECT_EQ(counts.streams, 4);
    EXPECT_EQ(counts.stream_values, 4);
}

TEST_F(TimeLayerMeasureTest, AnyFailingCallMeasuresZeroAndGivesEverythingBack) {
    const char* calls[] = {"AEGP_GetNewEffectForEffect", "AEGP_GetNewEffectStreamByIndex",
                           "AEGP_GetNewStreamValue",     "AEGP_GetEffectLayer",
                           "AEGP_GetLayerParentComp",    "AEGP_GetLayerFromLayerID",
                           "AEGP_GetLayerDuration"};
    for (const char* call : calls) {
        host.faults.fail(call, 1, A_Err_GENERIC);
        EXPECT_EQ(measure(2, TimeLayerMeasure::Duration), 0) << call;
        host.faults.clear();
        expect_all_given_back();
    }
    // A failing disposal changes nothing of the measure.
    for (const char* call :
         {"AEGP_DisposeStreamValue", "AEGP_DisposeStream", "AEGP_DisposeEffect"}) {
        host.faults.fail(call, 1, A_Err_GENERIC);
        EXPECT_EQ(measure(2, TimeLayerMeasure::Duration), 10) << call;
        host.faults.clear();
        expect_all_given_back();
    }
    // A suite the host cannot give is thrown, with nothing made yet.
    host.faults.fail("AcquireSuite", 5, kSPSuiteNotFoundError);
    EXPECT_THROW(measure(2, TimeLayerMeasure::Duration), PF_Err);
    host.faults.clear();
    expect_all_given_back();
    // Every measure made an effect reference but the one whose first call failed.
    EXPECT_EQ(host.services.aegp.handed_out().effects, 6 + 3);
}

// Single precision: at 24 frames a second a duration of 7 frames is 7/24 s = 0.29166666 as a
// float; times 864000 that rounds to 251999.98, over 36000 to 6.9999995, so the measure is 6.
// The same at 29.97 (1078920 units a second) takes 335 frames to 334. Worked with IEEE single
// arithmetic apart from this code.
TEST_F(TimeLayerMeasureTest, FrameCountsAreTakenInSinglePrecision) {
    EXPECT_EQ(FramesOfTime(FakeFrames(10), host.in), 10);
    EXPECT_EQ(FramesOfTime(FakeFrames(7), host.in), 6);
    scene.layer_duration = 7;
    EXPECT_EQ(measure(2, TimeLayerMeasure::Duration), 6);

    PF_InData ntsc = host.in;
    ntsc.time_scale = 1078920;
    EXPECT_EQ(FramesOfTime({335 * 36000, 1078920}, ntsc), 334);
    EXPECT_EQ(FramesOfTime({336 * 36000, 1078920}, ntsc), 336);
    // A time in seconds of another scale is counted in the call's frames.
    EXPECT_EQ(FramesOfTime({3, 2}, host.in), 36);
    EXPECT_EQ(FramesOfTime({3, 0}, host.in), 0);
}

TEST(TimeLayerFrames, OneIdPerFrameInFrameOrder) {
    EXPECT_TRUE(TimeLayerFrameIds(0).empty());
    const std::vector<std::int32_t> ids = TimeLayerFrameIds(12);
    ASSERT_EQ(ids.size(), 12u);
    EXPECT_EQ(ids[0], 1981);
    EXPECT_EQ(ids[8], 1989);
    EXPECT_EQ(ids[9], 19810);
    EXPECT_EQ(ids[11], 19812);
}

} // namespace
} // namespace plurion
