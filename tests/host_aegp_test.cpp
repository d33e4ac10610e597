// The host's AEGP suites: served under the published versions, answering from the scene's facts
// (ids, in points, durations, the frame's time, parameter values), refusing handles they did not
// hand out, and reporting every effect reference, stream and stream value not disposed.
#include "scene/scene.h"
#include "session/effect_session.h"
#include "session/scene_aegp.h"
#include "support/fake_aegp_scene.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <set>

namespace plurion {
namespace {

using test::FakeFrames;

// The suites one effect call sees, attached to the fake scene.
struct AegpHost {
    AegpHost() {
        host.in.effect_ref = reinterpret_cast<PF_ProgPtr>(&scene);
        host.services.aegp.attach(host.in.effect_ref, &scene);
        pf = Acquire<AEGP_PFInterfaceSuite1>(kAEGPPFInterfaceSuite, 1);
        streams = Acquire<AEGP_StreamSuite2>(kAEGPStreamSuite, 7);
        layers11 = Acquire<AEGP_LayerSuite5>(kAEGPLayerSuite, 11);
        layers13 = Acquire<AEGP_LayerSuite7>(kAEGPLayerSuite, 13);
        effects = Acquire<AEGP_EffectSuite2>(kAEGPEffectSuite, 2);
        utility = Acquire<AEGP_UtilitySuite5>(kAEGPUtilitySuite, 11);
        dynamic = Acquire<AEGP_DynamicStreamSuite2>(kAEGPDynamicStreamSuite, 2);
    }
    template <class Table>
    const Table* Acquire(const char* name, int version) {
        const void* table = nullptr;
        EXPECT_EQ(host.services.basic.AcquireSuite(name, version, &table), kSPNoError)
            << name << " " << version;
        return static_cast<const Table*>(table);
    }
    std::vector<std::string> leaks() const { return host.services.aegp.leaks(); }

    test::TestHost host;
    test::FakeAegpScene scene;
    const AEGP_PFInterfaceSuite1* pf = nullptr;
    const AEGP_StreamSuite2* streams = nullptr;
    const AEGP_LayerSuite5* layers11 = nullptr;
    const AEGP_LayerSuite7* layers13 = nullptr;
    const AEGP_EffectSuite2* effects = nullptr;
    const AEGP_UtilitySuite5* utility = nullptr;
    const AEGP_DynamicStreamSuite2* dynamic = nullptr;
};

// Hidden flags as a panel keeps them, for the dynamic stream suite.
struct Flags final : host::AegpStreamFlags {
    bool hidden(PF_ParamIndex index) const override { return hidden_set.count(index) > 0; }
    void set_hidden(PF_ParamIndex index, bool hidden) override {
        if (hidden) {
            hidden_set.insert(index);
        } else {
            hidden_set.erase(index);
        }
    }
    std::set<PF_ParamIndex> hidden_set;
};

bool Same(const A_Time& a, const A_Time& b) {
    return a.value == b.value && a.scale == b.scale;
}

TEST(AegpSuites, LayerFactsFollowTheSceneInBothTimeModes) {
    AegpHost aegp;
    const PF_ProgPtr ref = aegp.host.in.effect_ref;
    AEGP_LayerH effect_layer = nullptr;
    ASSERT_EQ(aegp.pf->AEGP_GetEffectLayer(ref, &effect_layer), A_Err_NONE);
    AEGP_LayerIDVal id = 0;
    ASSERT_EQ(aegp.layers13->AEGP_GetLayerID(effect_layer, &id), A_Err_NONE);
    EXPECT_EQ(id, 3);

    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    ASSERT_EQ(aegp.layers11->AEGP_GetLayerParentComp(effect_layer, &comp), A_Err_NONE);
    ASSERT_EQ(aegp.layers13->AEGP_GetLayerFromLayerID(comp, 1, &layer), A_Err_NONE);
    AEGP_LayerH again = nullptr;
    ASSERT_EQ(aegp.layers11->AEGP_GetLayerFromLayerID(comp, 1, &again), A_Err_NONE);
    EXPECT_EQ(again, layer); // one handle per layer

    // Layer 1 starts at frame 5 and lasts 10 frames; the frame being rendered is 13.
    A_Time time{};
    ASSERT_EQ(aegp.layers11->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &time), 0);
    EXPECT_TRUE(Same(time, FakeFrames(5)));
    ASSERT_EQ(aegp.layers11->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_LayerTime, &time), 0);
    EXPECT_TRUE(Same(time, FakeFrames(0)));
    for (const AEGP_LTimeMode mode : {AEGP_LTimeMode_LayerTime, AEGP_LTimeMode_CompTime}) {
        ASSERT_EQ(aegp.layers13->AEGP_GetLayerDuration(layer, mode, &time), 0);
        EXPECT_TRUE(Same(time, FakeFrames(10)));
    }
    ASSERT_EQ(aegp.layers11->AEGP_GetLayerCurrentTime(layer, AEGP_LTimeMode_CompTime, &time), 0);
    EXPECT_TRUE(Same(time, FakeFrames(13)));
    ASSERT_EQ(aegp.layers11->AEGP_GetLayerCurrentTime(layer, AEGP_LTimeMode_LayerTime, &time), 0);
    EXPECT_TRUE(Same(time, FakeFrames(8)));

    // A layer id the composition does not have finds nothing; layer handles need no disposal.
    layer = effect_layer;
    EXPECT_EQ(aegp.layers13->AEGP_GetLayerFromLayerID(comp, 2, &layer), A_Err_PARAMETER);
    EXPECT_EQ(layer, nullptr);
    EXPECT_TRUE(aegp.leaks().empty());
    EXPECT_EQ(aegp.host.services.aegp.handed_out().layers, 2);
}

TEST(AegpSuites, EveryEffectStreamAndValueIsCountedUntilDisposed) {
    AegpHost aegp;
    AEGP_EffectRefH effect = nullptr;
    ASSERT_EQ(aegp.pf->AEGP_GetNewEffectForEffect(0, aegp.host.in.effect_ref, &effect), 0);
    A_long count = 0;
    ASSERT_EQ(aegp.streams->AEGP_GetEffectNumParamStreams(effect, &count), A_Err_NONE);
    EXPECT_EQ(count, 4);
    AEGP_StreamRefH stream = nullptr;
    ASSERT_EQ(aegp.streams->AEGP_GetNewEffectStreamByIndex(0, effect, 2, &stream), A_Err_NONE);
    AEGP_StreamType type = AEGP_StreamType_NO_DATA;
    ASSERT_EQ(aegp.streams->AEGP_GetStreamType(stream, &type), A_Err_NONE);
    EXPECT_EQ(type, AEGP_StreamType_LAYER_ID);
    const A_Time start{0, 1};
    AEGP_StreamValue value{};
    ASSERT_EQ(aegp.streams->AEGP_GetNewStreamValue(0, stream, AEGP_LTimeMode_LayerTime, &start,
                                                   TRUE, &value),
              A_Err_NONE);
    EXPECT_EQ(value.streamH, stream);
    EXPECT_EQ(value.val.layer_id, 1);
    EXPECT_EQ(aegp.leaks(),
              (std::vector<std::string>{"1 AEGP stream values of parameter 2 not disposed",
                                        "AEGP effect reference not disposed",
                                        "AEGP stream of parameter 2 not disposed"}));

    // The stream goes first and its value outlives it; each can be given back once only.
    EXPECT_EQ(aegp.streams->AEGP_DisposeStream(stream), A_Err_NONE);
    EXPECT_EQ(aegp.streams->AEGP_DisposeStream(stream), A_Err_PARAMETER);
    EXPECT_EQ(aegp.leaks().size(), 2u);
    EXPECT_EQ(aegp.streams->AEGP_DisposeStreamValue(&value), A_Err_NONE);
    EXPECT_EQ(aegp.streams->AEGP_DisposeStreamValue(&value), A_Err_PARAMETER);
    EXPECT_EQ(aegp.effects->AEGP_DisposeEffect(effect), A_Err_NONE);
    EXPECT_EQ(aegp.effects->AEGP_DisposeEffect(effect), A_Err_PARAMETER);
    EXPECT_TRUE(aegp.leaks().empty());
    const host::AegpObjects::Counts counts = aegp.host.services.aegp.handed_out();
    EXPECT_EQ(counts.effects, 1);
    EXPECT_EQ(counts.streams, 1);
    EXPECT_EQ(counts.stream_values, 1);
}

TEST(AegpSuites, RefusesWhatItDidNotHandOutAndTakesBackOnInjectedFailures) {
    AegpHost aegp;
    AEGP_EffectRefH effect = nullptr;
    AEGP_StreamRefH stream = nullptr;
    AEGP_LayerH layer = nullptr;
    AEGP_CompH comp = nullptr;
    // Another effect call's reference, a stream of no effect, handles of the wrong kind.
    int other = 0;
    EXPECT_EQ(aegp.pf->AEGP_GetNewEffectForEffect(0, reinterpret_cast<PF_ProgPtr>(&other), &effect),
              A_Err_PARAMETER);
    EXPECT_EQ(aegp.streams->AEGP_GetNewEffectStreamByIndex(0, nullptr, 2, &stream),
              A_Err_PARAMETER);
    ASSERT_EQ(aegp.pf->AEGP_GetNewEffectForEffect(0, aegp.host.in.effect_ref, &effect), 0);
    EXPECT_EQ(aegp.streams->AEGP_GetNewEffectStreamByIndex(0, effect, 4, &stream),
              A_Err_PARAMETER); // parameters 0 to 3
    EXPECT_EQ(aegp.layers11->AEGP_GetLayerParentComp(reinterpret_cast<AEGP_LayerH>(effect), &comp),
              A_Err_PARAMETER);
    EXPECT_EQ(
        aegp.layers13->AEGP_GetLayerFromLayerID(reinterpret_cast<AEGP_CompH>(effect), 1, &layer),
        A_Err_PARAMETER);

    // A failure injected into a disposal reaches the effect, but the object is taken back.
    aegp.host.faults.fail("AEGP_DisposeEffect", 1, 77);
    EXPECT_EQ(aegp.effects->AEGP_DisposeEffect(effect), 77);
    EXPECT_TRUE(aegp.leaks().empty());
    aegp.host.faults.fail("AEGP_GetNewEffectForEffect", 1, 78);
    EXPECT_EQ(aegp.pf->AEGP_GetNewEffectForEffect(0, aegp.host.in.effect_ref, &effect), 78);

    // Outside a frame (no scene) every question is refused.
    aegp.host.services.aegp.attach(aegp.host.in.effect_ref, nullptr);
    EXPECT_EQ(aegp.pf->AEGP_GetEffectLayer(aegp.host.in.effect_ref, &layer), A_Err_PARAMETER);
    EXPECT_EQ(aegp.pf->AEGP_GetNewEffectForEffect(0, aegp.host.in.effect_ref, &effect),
              A_Err_PARAMETER);
}

// The scene's facts as a frame hands them over: ids in the order of the layers, the effect's
// layer last; times in 36000 units a frame.
TEST(AegpSuites, SceneFactsOfAFrame) {
    host::EffectSession session(test::ModulePath());
    ASSERT_EQ(session.global_setup(), PF_Err_NONE);
    ASSERT_EQ(session.params_setup(), PF_Err_NONE);
    host::Scene scene;
    scene.composition.fps = 24;
    scene.composition.frames = 48;
    scene.layers.resize(2);
    scene.layers[1].in_point = 5;
    scene.layers[1].duration = 10;
    const int time_layer = 155; // "Time Layer"
    const int matte_layer = 154;
    scene.effect[time_layer] = {{0.0, {1, 0}}, {20.0, {0, 0}}}; // layer 2, then the first
    const host::SceneAegp facts(scene, session.params(), 12);

    EXPECT_EQ(facts.effect_layer_id(), 3);
    EXPECT_EQ(facts.param_count(), 272);
    const auto second = facts.layer(2);
    ASSERT_TRUE(second.has_value());
    EXPECT_TRUE(Same(second->in_point, {5 * 36000, 864000}));
    EXPECT_TRUE(Same(second->duration, {10 * 36000, 864000}));
    const auto effect_layer = facts.layer(3);
    ASSERT_TRUE(effect_layer.has_value());
    EXPECT_TRUE(Same(effect_layer->duration, {48 * 36000, 864000}));
    EXPECT_FALSE(facts.layer(0).has_value());
    EXPECT_FALSE(facts.layer(4).has_value());
    EXPECT_TRUE(Same(facts.current_time(), {12 * 36000, 864000}));

    const auto at = [&](int index, A_long frame) {
        return facts.param_value(index, {frame * 36000, 864000});
    };
    EXPECT_EQ(at(time_layer, 0)->type, AEGP_StreamType_LAYER_ID);
    EXPECT_EQ(at(time_layer, 0)->value.layer_id, 2);
    EXPECT_EQ(at(time_layer, 20)->value.layer_id, 1);
    EXPECT_EQ(at(matte_layer, 0)->value.layer_id, 0); // no layer
    EXPECT_EQ(at(1, 0)->value.one_d, 1);              // "Clone Type" by default "Linear"
    EXPECT_FALSE(at(272, 0).has_value());
}

TEST(AegpSuites, RegistrationGivesOneIdPerName) {
    AegpHost aegp;
    AEGP_PluginID id = 0;
    ASSERT_EQ(aegp.utility->AEGP_RegisterWithAEGP(nullptr, "Plurion", &id), A_Err_NONE);
    EXPECT_EQ(id, 1);
    ASSERT_EQ(aegp.utility->AEGP_RegisterWithAEGP(nullptr, "Other", &id), A_Err_NONE);
    EXPECT_EQ(id, 2);
    ASSERT_EQ(aegp.utility->AEGP_RegisterWithAEGP(nullptr, "Plurion", &id), A_Err_NONE);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(aegp.utility->AEGP_RegisterWithAEGP(nullptr, "", &id), A_Err_PARAMETER);
    EXPECT_EQ(aegp.utility->AEGP_RegisterWithAEGP(nullptr, nullptr, &id), A_Err_PARAMETER);
    EXPECT_EQ(aegp.utility->AEGP_RegisterWithAEGP(nullptr, "Plurion", nullptr), A_Err_PARAMETER);
    aegp.host.faults.fail("AEGP_RegisterWithAEGP", 1, 9);
    EXPECT_EQ(aegp.utility->AEGP_RegisterWithAEGP(nullptr, "Plurion", &id), 9);
}

TEST(AegpSuites, TheHiddenFlagChangesOnlyWhereAPanelKeepsIt) {
    AegpHost aegp;
    AEGP_EffectRefH effect = nullptr;
    ASSERT_EQ(aegp.pf->AEGP_GetNewEffectForEffect(0, aegp.host.in.effect_ref, &effect), A_Err_NONE);
    AEGP_StreamRefH stream = nullptr;
    ASSERT_EQ(aegp.streams->AEGP_GetNewEffectStreamByIndex(0, effect, 2, &stream), A_Err_NONE);

    // A frame offers no flags to change.
    AEGP_DynStreamFlags flags = 0;
    EXPECT_EQ(aegp.dynamic->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, 0, 1),
              A_Err_PARAMETER);
    EXPECT_EQ(aegp.dynamic->AEGP_GetDynamicStreamFlags(stream, &flags), A_Err_PARAMETER);

    Flags panel;
    aegp.host.services.aegp.attach_stream_flags(&panel);
    EXPECT_EQ(aegp.dynamic->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, 0, 1),
              A_Err_NONE);
    EXPECT_EQ(panel.hidden_set, std::set<PF_ParamIndex>{2});
    ASSERT_EQ(aegp.dynamic->AEGP_GetDynamicStreamFlags(stream, &flags), A_Err_NONE);
    EXPECT_EQ(flags, static_cast<AEGP_DynStreamFlags>(AEGP_DynStreamFlag_HIDDEN));
    EXPECT_EQ(aegp.dynamic->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, 1, 0),
              A_Err_NONE);
    EXPECT_TRUE(panel.hidden_set.empty());
    // This host keeps no other flag; an unknown stream is refused.
    EXPECT_EQ(aegp.dynamic->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_DISABLED, 1, 1),
              A_Err_PARAMETER);
    EXPECT_EQ(aegp.dynamic->AEGP_SetDynamicStreamFlag(reinterpret_cast<AEGP_StreamRefH>(&panel),
                                                      AEGP_DynStreamFlag_HIDDEN, 0, 1),
              A_Err_PARAMETER);
    EXPECT_TRUE(panel.hidden_set.empty());

    EXPECT_EQ(aegp.streams->AEGP_DisposeStream(stream), A_Err_NONE);
    EXPECT_EQ(aegp.dynamic->AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, 0, 1),
              A_Err_PARAMETER); // disposed
    EXPECT_EQ(aegp.effects->AEGP_DisposeEffect(effect), A_Err_NONE);
    EXPECT_TRUE(aegp.leaks().empty());
}

} // namespace
} // namespace plurion
