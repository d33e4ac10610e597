// The cost of a "Grid" frame of 100 x 100 cells at 1920 x 1080 through the stand-in host, beside
// an empty baseline. The motion-blur case shows that cells cost the same with blur on, since
// each gets the shutter-open matrix alone.
#include "render/grid_clone.h"
#include "scene/scene.h"
#include "scene/source_cache.h"
#include "session/effect_session.h"
#include "session/frame_render.h"
#include "world.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace plurion {
namespace {

std::string ModulePath() {
    const char* path = std::getenv("PLURION_MODULE");
    return path != nullptr ? path : PLURION_MODULE_PATH;
}

struct GridCase {
    const char* name;
    int cells_per_side; // 0: the empty baseline (output cleared, nothing drawn)
    bool motion_blur;
};

const GridCase kGridCases[] = {
    {"grid_frame/baseline_no_cells", 0, false},
    {"grid_frame/100x100_cells_16px", 100, false},
    {"grid_frame/100x100_cells_16px_motion_blur", 100, true},
};

host::Scene GridScene(const GridCase& c) {
    host::Scene scene;
    scene.composition = {"bench", 1920, 1080, 24.0, 48, 8};
    scene.composition.motion_blur = c.motion_blur;
    scene.composition.shutter_angle = 180;
    scene.composition.shutter_phase = -90;
    scene.effect_layer = {"effect", 1920, 1080, 0, 48, host::SolidSource{}};
    scene.layers = {{"source", 16, 16, 0, 48, host::SolidSource{{0.2f, 0.6f, 1.0f, 1.0f}}}};
    const auto set = [&](int index, double x, double y = 0) {
        scene.effect[index] = {{0.0, {x, y}}};
    };
    set(param::kCloneType, param::kGrid);
    set(param::SourceLayerParam(1), 0);
    const int side = c.cells_per_side == 0 ? 1 : c.cells_per_side;
    set(param::grid::kCountX, side);
    set(param::grid::kCountY, side);
    set(param::grid::kCloneOffsetMode, 2);
    set(param::grid::kSizeX, 1880);
    set(param::grid::kSizeY, 1040);
    set(param::grid::kPosition, 960, 540);
    set(param::grid::kOffsetRotation, 720); // most cells turned: the general resampling path
    set(param::grid::kOffsetOpacityX, 50);
    if (c.cells_per_side == 0) {
        set(param::grid::kLocalScale, 0);
    }
    if (c.motion_blur) {
        scene.effect[param::grid::kGlobalRotation] = {{0.0, {0, 0}}, {1.0, {10, 0}}};
    }
    return scene;
}

void BM_GridFrame(benchmark::State& state, const GridCase& c) {
    host::EffectSession session(ModulePath());
    if (session.global_setup() != PF_Err_NONE || session.params_setup() != PF_Err_NONE) {
        state.SkipWithError("the effect did not set up");
        return;
    }
    const host::Scene scene = GridScene(c);
    host::SourceCache cache;
    for (auto _ : state) {
        host::WorldOwner output;
        host::FrameRenderer renderer(session, scene, cache, host::FrameOptions{});
        if (renderer.render(output) != PF_Err_NONE || !renderer.leaks().empty()) {
            state.SkipWithError("the frame failed or leaked");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
    state.SetLabel("items are output pixels");
}

const bool kGridCasesRegistered = [] {
    for (const GridCase& c : kGridCases) {
        benchmark::RegisterBenchmark(c.name, [&c](benchmark::State& state) {
            BM_GridFrame(state, c);
        })->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
} // namespace plurion

BENCHMARK_MAIN();
