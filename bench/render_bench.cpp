// The cost of one frame of clones: the pre-render pass alone against a minimal host double,
// and whole "Linear" frames through the stand-in host, each beside an empty baseline.
#include "layout/pre_render.h"
#include "params/param_index.h"
#include "params/param_table.h"
#include "scene/scene.h"
#include "scene/source_cache.h"
#include "session/effect_session.h"
#include "session/frame_render.h"
#include "suites/host_services.h"
#include "support/frame_bench.h"
#include "world.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace plurion {
namespace {

// ---- The pre-render pass against a host double ------------------------------------------------

// Default values for every parameter but the "Linear" count, two source layers with pixels,
// layer requests accepted.
struct PreRenderDouble {
    explicit PreRenderDouble(int clones = 10) : count(clones) {
        std::memset(&in, 0, sizeof in);
        in.effect_ref = reinterpret_cast<PF_ProgPtr>(this);
        in.inter.checkout_param = CheckoutParam;
        in.inter.checkin_param = CheckinParam;
        in.pica_basicP = &services.basic;
        in.time_step = 100;
        in.local_time_step = 100;
        in.time_scale = 2400;
        in.shutter_angle = 1 << 15;
        callbacks.checkout_layer = CheckoutLayer;
        input.output_request.rect = {0, 0, 1920, 1080};
        extra = {&input, &output, &callbacks};
    }

    static PF_Err CheckoutParam(PF_ProgPtr ref, PF_ParamIndex index, A_long, A_long, A_u_long,
                                PF_ParamDef* def) {
        static PF_Pixel pixels[1];
        std::memset(def, 0, sizeof *def);
        const ParamRow& row = RowOf(index);
        switch (row.kind) {
        case ParamKind::Popup:
        case ParamKind::Slider:
        case ParamKind::Checkbox:
            def->u.sd.value = index == param::linear::kCount
                                  ? reinterpret_cast<PreRenderDouble*>(ref)->count
                                  : static_cast<A_long>(row.default_x);
            break;
        case ParamKind::FloatSlider:
            def->u.fs_d.value = row.default_x;
            break;
        case ParamKind::Angle:
            def->u.ad.value = static_cast<PF_Fixed>(row.default_x * 65536);
            break;
        case ParamKind::Layer:
            if (index == param::SourceLayerParam(1) || index == param::SourceLayerParam(2)) {
                def->u.ld.data = pixels;
                def->u.ld.extent_hint = {0, 0, 128, 128};
            }
            break;
        default:
            break;
        }
        return PF_Err_NONE;
    }
    static PF_Err CheckinParam(PF_ProgPtr, PF_ParamDef*) { return PF_Err_NONE; }
    static PF_Err CheckoutLayer(PF_ProgPtr, PF_ParamIndex, A_long, const PF_RenderRequest*, A_long,
                                A_long, A_u_long, PF_CheckoutResult* result) {
        result->result_rect = {0, 0, 1920, 1080};
        return PF_Err_NONE;
    }

    int count;
    host::FaultInjector faults;
    host::HostServices services{faults};
    host::ActiveHostScope active{services};
    PF_InData in;
    PF_OutData out{};
    PF_PreRenderInput input{};
    PF_PreRenderOutput output{};
    PF_PreRenderCallbacks callbacks{};
    PF_PreRenderExtra extra{};
};

// One pre-render call for a "Linear" Count of state.range(0): the random table is built as far as
// the clones read it.
void BM_PreRender(benchmark::State& state) {
    PreRenderDouble host(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        host.output = PF_PreRenderOutput{};
        const PF_Err err = PreRender(&host.in, &host.out, &host.extra);
        if (err != PF_Err_NONE) {
            state.SkipWithError("the pre-render failed");
            break;
        }
        host.output.delete_pre_render_data_func(host.output.pre_render_data);
    }
    state.SetItemsProcessed(state.iterations());
}

// Baseline: the double's own share, the 520 parameter checkouts and check-ins alone.
void BM_PreRenderHostDoubleAlone(benchmark::State& state) {
    PreRenderDouble host;
    PF_ParamDef def{};
    for (auto _ : state) {
        for (int index = 1; index <= kEffectParamCount; ++index) {
            for (int times = RowOf(index).kind == ParamKind::Layer ? 1 : 2; times > 0; --times) {
                host.in.inter.checkout_param(host.in.effect_ref, index, 0, 0, 0, &def);
                host.in.inter.checkin_param(nullptr, &def);
            }
        }
        benchmark::DoNotOptimize(def);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_PreRender)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreRenderHostDoubleAlone)->Unit(benchmark::kMicrosecond);

// ---- Whole "Linear" frames through the stand-in host ------------------------------------------

struct FrameCase {
    const char* name;
    int clones; // 0: the empty baseline (output cleared, nothing drawn)
    bool motion_blur;
};

const FrameCase kFrameCases[] = {
    {"linear_frame/baseline_no_clones", 0, false},
    {"linear_frame/1000_clones_128px", 1000, false},
    {"linear_frame/1000_clones_128px_motion_blur_3px", 1000, true},
};

host::Scene FrameScene(const FrameCase& c) {
    host::Scene scene = bench::FullHdScene(128, c.motion_blur);
    bench::Hold(scene, param::linear::kCount, c.clones == 0 ? 1 : c.clones);
    bench::Hold(scene, param::linear::kCloneOffsetMode, 2);
    bench::Hold(scene, param::linear::kOffsetPosition, 1600, 700);
    bench::Hold(scene, param::linear::kOffsetRotation, 720);
    bench::Hold(scene, param::linear::kOffsetOpacity, 50);
    if (c.clones == 0) {
        bench::Hold(scene, param::linear::kLocalScale, 0);
    }
    if (c.motion_blur) {
        // The row moves 6 pixels a frame: 3 while the 180-degree shutter is open.
        scene.effect[param::linear::kPosition] = {{0.0, {960, 540}}, {1.0, {966, 540}}};
    }
    return scene;
}

const bool kFramesRegistered = bench::RegisterFrameCases(kFrameCases, FrameScene);

// Latency of the 1000-clone frame on one and on two render threads, in wall time.
const bool kLatencyRegistered = [] {
    for (const int threads : {1, 2}) {
        benchmark::RegisterBenchmark(
            ("linear_frame/1000_clones_128px/latency/threads:" + std::to_string(threads)).c_str(),
            [threads](benchmark::State& state) {
                bench::RenderFrames(state, FrameScene(kFrameCases[1]), threads);
            })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    return true;
}();

} // namespace
} // namespace plurion

BENCHMARK_MAIN();
