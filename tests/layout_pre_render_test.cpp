// The pre-render pass through the stand-in host: which parameters it samples and when, which
// layers it requests under which ids, and the time-shifted requests of "Linear" and "Grid".
#include "layout/checkout_id.h"
#include "layout/pre_render.h"
#include "params/param_table.h"
#include "render_frame_support.h"

#include <map>
#include <set>

namespace plurion {
namespace {

using test::FrameResult;

std::set<A_long> RequestedIds(const FrameResult& frame) {
    std::set<A_long> ids;
    for (const auto& [id, request] : frame.requests) {
        ids.insert(id);
    }
    return ids;
}

class PreRenderPass : public test::RenderFixture {};

TEST_F(PreRenderPass, NoSourceLayerRequestsNothingAndSamplesEveryValueParameterTwice) {
    const FrameResult frame = render();
    EXPECT_EQ(frame.err, PF_Err_NONE);
    EXPECT_TRUE(frame.leaks.empty()) << frame.leaks.front();
    EXPECT_TRUE(frame.named("checkout_layer").empty());
    EXPECT_TRUE(frame.named("transform_world").empty());
    const std::vector<test::json> params = frame.named("checkout_param");
    // 249 non-layer parameters at two times, then 154 and 155, then the twenty source layers.
    ASSERT_EQ(params.size(), 249u * 2 + 2 + 20);
    EXPECT_EQ(params[0]["index"], 1);
    EXPECT_EQ(params[1]["index"], 1);
    EXPECT_EQ(params[497]["index"], 271);
    EXPECT_EQ(params[498]["index"], 154);
    EXPECT_EQ(params[499]["index"], 155);
    EXPECT_EQ(params[500]["index"], 185);
    EXPECT_EQ(params[519]["index"], 204);
    std::set<int> sampled;
    for (std::size_t i = 0; i < 498; ++i) {
        sampled.insert(params[i]["index"].get<int>());
    }
    EXPECT_EQ(sampled.count(154) + sampled.count(155) + sampled.count(190), 0u);
    EXPECT_EQ(sampled.size(), 249u);
}

TEST_F(PreRenderPass, ShutterTimesFollowTheCompositionsMotionBlur) {
    scene.composition.motion_blur = true;
    scene.composition.shutter_angle = 180;
    scene.composition.shutter_phase = -90;
    FrameResult frame = render(2);
    std::vector<test::json> params = frame.named("checkout_param");
    ASSERT_GE(params.size(), 520u);
    EXPECT_EQ(params[0]["time"], 72000 - 9000);         // open: a quarter frame early
    EXPECT_EQ(params[1]["time"], 72000 - 9000 + 18000); // close: half a frame later
    EXPECT_EQ(params[498]["time"], params[1]["time"]);  // matte layer at shutter close
    EXPECT_EQ(params[500]["time"], 72000);              // source layers at the frame

    scene.composition.motion_blur = false; // shutter angle 0: both samples at the frame
    frame = render(2);
    params = frame.named("checkout_param");
    EXPECT_EQ(params[0]["time"], 72000);
    EXPECT_EQ(params[1]["time"], 72000);
}

TEST_F(PreRenderPass, RequestsTakingPartLayersUnderTheirParameterIndex) {
    use_layer(3, 1);
    FrameResult frame = render();
    EXPECT_EQ(frame.err, PF_Err_NONE);
    EXPECT_EQ(RequestedIds(frame), (std::set<A_long>{0, 187, 12345}));
    EXPECT_EQ(frame.requests.at(187).index, 187);
    EXPECT_EQ(frame.requests.at(12345).index, param::kMatteLayer);
    EXPECT_EQ(frame.requests.at(0).index, 0);
    EXPECT_TRUE(frame.leaks.empty());

    // A layer whose scale reaches 0 at shutter close drops out; the next one still draws.
    use_layer(1, 0);
    scene.composition.motion_blur = true;
    scene.composition.shutter_angle = 360;
    scene.composition.shutter_phase = 0;
    key(param::SourceScaleParam(1), 100, 0);
    frame = render();
    EXPECT_EQ(RequestedIds(frame), (std::set<A_long>{0, 187, 12345}));
    for (const test::json& draw : frame.named("transform_world")) {
        EXPECT_EQ(draw["src"]["width"], 16);
    }

    // Group scales at 0: nothing takes part and nothing is requested.
    for (const int scale : {param::linear::kLocalScale, param::linear::kGlobalScale}) {
        scene.effect.erase(param::SourceScaleParam(1));
        set(scale, 0);
        frame = render();
        EXPECT_EQ(frame.err, PF_Err_NONE);
        EXPECT_TRUE(frame.named("checkout_layer").empty());
        EXPECT_TRUE(frame.named("checkout_layer_pixels").empty()); // the gate stays closed
        EXPECT_EQ(frame.named("fill").size(), 1u);                 // the output is cleared
        scene.effect.erase(scale);
    }
}

// What each situation requests.
TEST_F(PreRenderPass, UnknownTypeObjectLayersAndGridOffsetsRequestTheirIds) {
    struct Situation {
        const char* name;
        std::map<int, double> values;
        std::set<A_long> ids;
    };
    const Situation situations[] = {
        // An unknown type uses the scales of "Linear Mode" and runs no time-shift pass.
        {"unknown type",
         {{param::SourceLayerParam(2), 1}, {param::kCloneType, 9}, {param::linear::kOffsetTime, 5}},
         {0, 186, 12345}},
        // "Object" with its two layers opens the gate without any source layer; every frame
        // of the time layer is requested too (below).
        {"object",
         {{param::kCloneType, 5}, {param::kMatteLayer, 0}, {param::kTimeLayer, 1}},
         {0, 12345}},
        // 2 x 2 cells with "Offset Time X" 4: offsets 0 and 2 for columns and rows alike.
        {"grid",
         {{param::SourceLayerParam(1), 1},
          {param::kCloneType, 3},
          {param::grid::kCountX, 2},
          {param::grid::kCountY, 2},
          {param::grid::kOffsetTimeX, 4}},
         {0, 185, 1981, 1983, 12345}},
    };
    for (const Situation& situation : situations) {
        scene.effect.clear();
        for (const auto& [index, value] : situation.values) {
            set(index, value);
        }
        std::set<A_long> ids = situation.ids;
        if (situation.name == std::string("object")) {
            // The time layer lasts 1000 frames: "198" and the frame number plus one.
            for (int frame = 1; frame <= 1000; ++frame) {
                ids.insert(std::stoi("198" + std::to_string(frame)));
            }
        }
        const FrameResult frame = render();
        EXPECT_EQ(frame.err, PF_Err_NONE) << situation.name;
        EXPECT_EQ(RequestedIds(frame), ids) << situation.name;
        EXPECT_TRUE(frame.leaks.empty()) << situation.name;
        if (situation.name == std::string("unknown type")) {
            EXPECT_TRUE(frame.named("transform_world").empty()); // no compositor, output cleared
        }
    }
}

TEST_F(PreRenderPass, LinearOffsetTimeRequestsEachFrameOffsetOnce) {
    use_layer(1, 1);
    use_layer(2, 2);
    set(param::linear::kCount, 11);
    set(param::linear::kOffsetTime, 10);
    FrameResult frame = render(1);
    EXPECT_EQ(frame.err, PF_Err_NONE);
    EXPECT_TRUE(frame.leaks.empty());
    std::set<A_long> expected{0, 185, 186, 12345};
    for (int t = 0; t <= 10; ++t) {
        for (int k = 0; k < 2; ++k) {
            const A_long id = MakeCheckoutId(t, k, 0, CheckoutIdForm::Plain);
            expected.insert(id);
            EXPECT_EQ(frame.requests.at(id).time, 36000 * (1 + t));
            EXPECT_EQ(frame.requests.at(id).index, 185 + k);
        }
    }
    EXPECT_EQ(RequestedIds(frame), expected);
    // The render fetches every time-shifted image and gives each back.
    EXPECT_EQ(frame.named("checkout_layer_pixels").size(), expected.size() - 1);
    EXPECT_EQ(frame.named("checkin_layer_pixels").size(), expected.size() - 1);

    set(param::linear::kOffsetTime, 0.5); // below one frame: no time shift
    frame = render(1);
    EXPECT_EQ(RequestedIds(frame), (std::set<A_long>{0, 185, 186, 12345}));
}

TEST_F(PreRenderPass, FailedTimeShiftedRequestStopsLaterRequestsButNotTheFrame) {
    use_layer(1, 1);
    set(param::linear::kCount, 5);
    set(param::linear::kOffsetTime, 4);
    // Requests 1 to 3 are the effect layer, the source and the matte.
    session().faults().fail("checkout_layer", 4, PF_Err_OUT_OF_MEMORY);
    const FrameResult frame = render();
    session().faults().clear();
    EXPECT_EQ(frame.named("checkout_layer").size(), 4u);
    bool rendered = false;
    for (const test::json& call : frame.calls) {
        rendered = rendered || call["command"] == "PF_Cmd_SMART_RENDER";
    }
    EXPECT_TRUE(rendered) << "the pre-render's result is unchanged";
    // The render asks for ids that were listed but never requested; the host refuses them.
    EXPECT_EQ(frame.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(frame.leaks.empty());
}

// Against a bare host double: the plan's handle is attached unlocked and gone once the delete
// function has run, none is attached when the host has no memory for it, and the output extent
// takes the effect layer's result. Parameters are at their defaults, "Layer 1" has pixels.
PF_Err DefaultParam(PF_ProgPtr, PF_ParamIndex index, A_long, A_long, A_u_long, PF_ParamDef* def) {
    static PF_Pixel pixel;
    *def = PF_ParamDef{};
    const ParamRow& row = RowOf(index);
    if (row.kind == ParamKind::FloatSlider) {
        def->u.fs_d.value = row.default_x;
    } else if (row.kind == ParamKind::Popup || row.kind == ParamKind::Slider) {
        def->u.sd.value = static_cast<A_long>(row.default_x);
    } else if (index == param::SourceLayerParam(1)) {
        def->u.ld.data = &pixel;
    }
    return PF_Err_NONE;
}
PF_Err CheckinAnything(PF_ProgPtr, PF_ParamDef*) {
    return PF_Err_NONE;
}
PF_Err WideLayer(PF_ProgPtr, PF_ParamIndex, A_long, const PF_RenderRequest*, A_long, A_long,
                 A_u_long, PF_CheckoutResult* result) {
    result->result_rect = {-10, -20, 330, 250};
    return PF_Err_NONE;
}

TEST(PreRenderOutput, PlanHandleComesBackAndTheExtentFollowsTheEffectLayer) {
    test::TestHost host;
    host.in.inter.checkout_param = DefaultParam;
    host.in.inter.checkin_param = CheckinAnything;
    PF_PreRenderInput input{};
    PF_PreRenderOutput output{};
    output.result_rect = output.max_result_rect = {0, 0, 320, 240};
    PF_PreRenderCallbacks callbacks{WideLayer, nullptr};
    PF_PreRenderExtra extra{&input, &output, &callbacks};

    ASSERT_EQ(PreRender(&host.in, &host.out, &extra), PF_Err_NONE);
    ASSERT_NE(output.pre_render_data, nullptr);
    ASSERT_NE(output.delete_pre_render_data_func, nullptr);
    EXPECT_EQ(output.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);
    for (const PF_LRect& rect : {output.result_rect, output.max_result_rect}) {
        EXPECT_EQ(rect.left, -10);
        EXPECT_EQ(rect.top, -20);
        EXPECT_EQ(rect.right, 330);
        EXPECT_EQ(rect.bottom, 250);
    }
    ASSERT_EQ(host.services.handles.leaks().size(), 1u);
    EXPECT_EQ(host.services.handles.leaks()[0].find("locks"), std::string::npos);
    output.delete_pre_render_data_func(output.pre_render_data);
    EXPECT_EQ(host.services.handles.live(), 0u);
    EXPECT_TRUE(host.services.suites.held().empty());

    output = PF_PreRenderOutput{};
    host.faults.fail("host_new_handle", 1, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(PreRender(&host.in, &host.out, &extra), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(output.pre_render_data, nullptr);
    EXPECT_EQ(output.result_rect.right, 0); // no layer requested, no extent reported
    EXPECT_EQ(host.services.handles.live(), 0u);
}

// Layer parameters with extents: the matte (pixels) and the time layer (none) at shutter close,
// "Layer 1" (pixels) and "Layer 2" (none); everything else at its default.
PF_Err ParamWithExtent(PF_ProgPtr ref, PF_ParamIndex index, A_long time, A_long step,
                       A_u_long scale, PF_ParamDef* def) {
    static PF_Pixel pixel;
    DefaultParam(ref, index, time, step, scale, def);
    const std::map<PF_ParamIndex, std::pair<PF_Rect, bool>> layers = {
        {param::kMatteLayer, {{-20, 0, 5, 5}, true}},
        {param::kTimeLayer, {{0, 0, 1000, 1000}, false}},
        {param::SourceLayerParam(1), {{0, 0, 100, 20}, true}},
        {param::SourceLayerParam(2), {{-500, -500, 0, 0}, false}},
    };
    if (const auto layer = layers.find(index); layer != layers.end()) {
        def->u.ld.extent_hint = layer->second.first;
        def->u.ld.data = layer->second.second ? &pixel : nullptr;
    }
    return PF_Err_NONE;
}
std::vector<PF_RenderRequest> requests_seen;
PF_Err RecordRequest(PF_ProgPtr, PF_ParamIndex index, A_long, const PF_RenderRequest* request,
                     A_long, A_long, A_u_long, PF_CheckoutResult* result) {
    requests_seen.push_back(*request);
    result->result_rect = index == 0 ? PF_LRect{0, 0, 320, 240} : PF_LRect{0, 0, 7, 7};
    return PF_Err_NONE;
}

// The request grows by the extents of the layers that carry pixels, whatever the host asked;
// the effect layer's answer is merged into the output extents as the host gave them (an empty
// one is replaced).
TEST(PreRenderOutput, RequestAndOutputExtentsAreMerged) {
    test::TestHost host;
    host.in.inter.checkout_param = ParamWithExtent;
    host.in.inter.checkin_param = CheckinAnything;
    PF_PreRenderInput input{};
    input.output_request.rect = {10, 10, 50, 50};
    input.output_request.field = PF_Field_UPPER;
    input.output_request.channel_mask = PF_ChannelMask_ARGB;
    PF_PreRenderOutput output{};
    output.result_rect = {-5, -5, 5, 5};
    PF_PreRenderCallbacks callbacks{RecordRequest, nullptr};
    PF_PreRenderExtra extra{&input, &output, &callbacks};
    requests_seen.clear();

    ASSERT_EQ(PreRender(&host.in, &host.out, &extra), PF_Err_NONE);
    ASSERT_EQ(requests_seen.size(), 3u); // the effect layer, "Layer 1", the matte
    for (const PF_RenderRequest& request : requests_seen) {
        EXPECT_EQ(request.rect.left, -20);
        EXPECT_EQ(request.rect.top, 0);
        EXPECT_EQ(request.rect.right, 100);
        EXPECT_EQ(request.rect.bottom, 50);
        EXPECT_EQ(request.field, PF_Field_FRAME);
        EXPECT_TRUE(request.preserve_rgb_of_zero_alpha);
        EXPECT_EQ(request.channel_mask, PF_ChannelMask_ARGB);
    }
    EXPECT_EQ(output.result_rect.left, -5);
    EXPECT_EQ(output.result_rect.top, -5);
    EXPECT_EQ(output.result_rect.right, 320);
    EXPECT_EQ(output.result_rect.bottom, 240);
    EXPECT_EQ(output.max_result_rect.left, 0);
    EXPECT_EQ(output.max_result_rect.top, 0);
    EXPECT_EQ(output.max_result_rect.right, 320);
    EXPECT_EQ(output.max_result_rect.bottom, 240);
    output.delete_pre_render_data_func(output.pre_render_data);
    EXPECT_TRUE(host.services.leaks().empty());
}

} // namespace
} // namespace plurion
