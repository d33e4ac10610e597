// Whole frames of the effect through the stand-in host, for the frame benchmarks: a 1920 x 1080
// scene with one solid source layer, and the loop that renders it and checks every frame.
#pragma once

#include "params/param_index.h"
#include "scene/scene.h"
#include "scene/source_cache.h"
#include "session/effect_session.h"
#include "session/frame_render.h"
#include "thread_pool.h"
#include "world.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdlib>
#include <string>

namespace plurion::bench {

inline std::string ModulePath() {
    const char* path = std::getenv("PLURION_MODULE");
    return path != nullptr ? path : PLURION_MODULE_PATH;
}

// A full-HD composition whose "Layer 1" is a solid square of `source_size` pixels; with motion
// blur the shutter is 180 degrees from -90.
inline host::Scene FullHdScene(int source_size, bool motion_blur) {
    host::Scene scene;
    scene.composition = {"bench", 1920, 1080, 24.0, 48, 8};
    scene.composition.motion_blur = motion_blur;
    scene.composition.shutter_angle = 180;
    scene.composition.shutter_phase = -90;
    scene.effect_layer = {"effect", 1920, 1080, 0, 48, host::SolidSource{}};
    scene.layers = {
        {"source", source_size, source_size, 0, 48, host::SolidSource{{0.2f, 0.6f, 1.0f, 1.0f}}}};
    scene.effect[param::SourceLayerParam(1)] = {{0.0, {0, 0}}};
    return scene;
}

// Sets a parameter to a value held over the whole scene.
inline void Hold(host::Scene& scene, int index, double x, double y = 0) {
    scene.effect[index] = {{0.0, {x, y}}};
}

// Renders frame 0 of the scene once per iteration; output pixels are the items. With more than
// one thread the frame's large draws share their rows over a pool of that many.
inline void RenderFrames(benchmark::State& state, const host::Scene& scene, int threads = 1) {
    host::EffectSession session(ModulePath());
    if (session.global_setup() != PF_Err_NONE || session.params_setup() != PF_Err_NONE) {
        state.SkipWithError("the effect did not set up");
        return;
    }
    host::SourceCache cache;
    host::ThreadPool pool(threads);
    host::FrameOptions options;
    options.pool = threads > 1 ? &pool : nullptr;
    for (auto _ : state) {
        host::WorldOwner output;
        host::FrameRenderer renderer(session, scene, cache, options);
        if (renderer.render(output) != PF_Err_NONE || !renderer.leaks().empty()) {
            state.SkipWithError("the frame failed or leaked");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * scene.composition.width *
                            scene.composition.height);
    state.SetLabel("items are output pixels");
}

// Registers one frame benchmark per case (a record with a `name`), each rendering the scene that
// `make_scene` builds for it, timed in milliseconds.
template <class Case, std::size_t N, class MakeScene>
bool RegisterFrameCases(const Case (&cases)[N], MakeScene make_scene) {
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(c.name, [&c, make_scene](benchmark::State& state) {
            RenderFrames(state, make_scene(c));
        })->Unit(benchmark::kMillisecond);
    }
    return true;
}

} // namespace plurion::bench
