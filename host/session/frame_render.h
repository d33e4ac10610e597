// One frame through the smart-render protocol: PF_Cmd_SMART_PRE_RENDER with the layer requests
// recorded by checkout id, PF_Cmd_SMART_RENDER serving those layers' pixels, then the pre-render
// data's delete function. Each frame has its own host services, so frames render on several
// threads at once and each one's leaks are its own.
//
// The host is as strict as a real one: a layer checkout answers the part of the layer inside the
// rectangle asked for; the output is as large as the extent the pre-render reported and arrives
// uncleared (copy_world.h's pattern); layer pixels are counted per checkout id, so a check-in
// of an id that is not out is a fault and one still out at the end a leak.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectPixelFormat.h"
#include "scene/scene.h"
#include "scene/source_cache.h"
#include "session/call_target.h"
#include "session/effect_session.h"
#include "session/memory_estimate.h"
#include "session/scene_aegp.h"
#include "world.h"

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plurion::host {

struct FrameOptions {
    double frame = 0.0; // composition frame
    int bpc = 8;        // 8, 16 or 32
    int downsample = 1; // layers and output at 1/downsample of their size
    Trace* trace = nullptr;
    ThreadPool* pool = nullptr; // the render threads the frame's large draws may share
    const std::atomic<int>* interrupted = nullptr; // non-zero: abort answers PF_Interrupt_CANCEL
};

PF_PixelFormat PixelFormatForBpc(int bpc);

class FrameRenderer final : public HostCallTarget {
  public:
    FrameRenderer(EffectSession& session, const Scene& scene, SourceCache& cache,
                  FrameOptions options);
    ~FrameRenderer() override;
    FrameRenderer(const FrameRenderer&) = delete;
    FrameRenderer& operator=(const FrameRenderer&) = delete;

    // The pre-render alone: afterwards the layer requests and the output's extent are known,
    // and memory_estimate() can be asked before any pixels are made.
    PF_Err pre_render();
    // What the frame is expected to hold at its peak, from its pre-render.
    MemoryEstimate memory_estimate() const;
    // Runs the frame (its pre-render first, when that has not run). On success `output` holds
    // the effect's output for the effect layer (at the downsampled size). The effect's error is
    // returned as it gave it.
    PF_Err render(WorldOwner& output);
    // Gives the effect's pre-render data back through its own function; render() does so itself,
    // and so does the destructor when only the pre-render ran.
    void release_pre_render_data();

    // Everything the effect did not give back (checkouts, worlds, handles, suites) and every
    // misuse of the protocol, one line each.
    std::vector<std::string> leaks() const;
    // The host's own account of the first thing it could not do for the effect, or "".
    std::string host_failure() const { return services_.failures.first(); }

    // The layer requests of the pre-render, by checkout id, with the part of the layer given.
    struct LayerRequest {
        PF_ParamIndex index = 0;
        A_long time = 0;
        A_long time_step = 0;
        A_u_long time_scale = 0;
        PF_LRect rect{}; // the layer's pixels inside the request, in layer pixels
    };
    const std::map<A_long, LayerRequest>& layer_requests() const { return requests_; }

    // How many times the effect drew with transform_world in this frame.
    int drawings() const { return drawings_; }

    // HostCallTarget
    HostServices& services() override { return services_; }
    void count_drawing() override { ++drawings_; }
    Trace* trace() override { return options_.trace; }
    const char* command() const override { return command_; }
    DrawSettings draw_settings() const override;
    bool interrupted() const override;
    PF_Err checkout_param(PF_ParamIndex index, A_long time, A_long time_step, A_u_long time_scale,
                          PF_ParamDef& param) override;
    PF_Err checkin_param(PF_ParamDef& param) override;
    PF_Err checkout_layer(PF_ParamIndex index, A_long checkout_id, const PF_RenderRequest& request,
                          A_long time, A_long time_step, A_u_long time_scale,
                          PF_CheckoutResult& result) override;
    PF_Err checkout_layer_pixels(A_long checkout_id, PF_EffectWorld** pixels) override;
    PF_Err checkin_layer_pixels(A_long checkout_id) override;
    PF_Err checkout_output(PF_EffectWorld** output) override;
    std::int32_t mask_count() const override;
    std::string mask_name(std::int32_t index) const override;
    paths::PathShape mask_shape(std::int32_t index, A_long time,
                                A_u_long time_scale) const override;
    std::string source_of(const PF_EffectWorld& world) const override;
    void set_source(const PF_EffectWorld& world, const std::string& source) override;

  private:
    PF_InData make_in_data();
    PF_Err send(PF_Cmd cmd, PF_InData& in, PF_OutData& out, void* extra);
    // The scene layer a layer parameter shows at a time: index into scene.layers,
    // kEffectLayerIndex, or kNoLayer.
    int layer_of(PF_ParamIndex index, double frame) const;
    const Layer& scene_layer(int layer) const;
    // The layer's pixels at a composition frame, at this frame's depth and downsampling.
    // Failures are answered with their error code and noted in the frame's services.
    PF_Err make_layer_world(int layer, double frame, WorldOwner& world);
    PF_Err make_layer_world(const Layer& source, double frame, WorldOwner& world);
    PF_Err make_output(const PF_LRect& extent);
    double frame_of(A_long time, A_u_long time_scale) const;
    A_long scaled(A_long size) const;

    EffectSession& session_;
    const Scene& scene_;
    SourceCache& cache_;
    FrameOptions options_;
    SceneAegp aegp_scene_; // what the AEGP suites answer from
    HostServices services_;
    PF_UtilCallbacks utils_{};
    const char* command_ = "";

    std::map<A_long, LayerRequest> requests_;
    PF_PreRenderOutput pre_output_{};
    PF_RenderRequest output_request_{};
    bool pre_rendered_ = false;
    PF_Err pre_render_err_ = PF_Err_NONE;
    // The pictures of layers at times: checkouts of the same layer showing the same picture get
    // the same pixels, which live as long as one of them is checked out.
    using SharedWorld = std::shared_ptr<WorldOwner>;
    PF_Err shared_layer_world(int layer, double frame, SharedWorld& world);
    std::map<std::pair<int, long long>, std::weak_ptr<WorldOwner>> pictures_;
    // A checkout's own world record over its pixels (the shared picture, or the part of it that
    // was requested), so that the trace can tell which layer and time each checkout stands for.
    struct Checkout {
        SharedWorld pixels;
        PF_EffectWorld world{};
        std::string source;
    };
    PF_Err make_request_world(const LayerRequest& request, Checkout& checkout);
    std::map<A_long, Checkout> layer_pixels_;              // checked-out layer pixels by id
    std::map<A_long, int> layer_checkouts_;                // checkouts not yet checked in, by id
    std::vector<std::string> faults_;                      // misuses of the protocol
    std::multimap<const void*, SharedWorld> param_layers_; // layer parameters checked out
    int params_out_ = 0;                                   // checkout_param not yet checked in
    std::map<const void*, std::string> sources_;           // pixel address -> where they came from
    WorldOwner output_;
    bool output_made_ = false;
    int drawings_ = 0;
};

} // namespace plurion::host
