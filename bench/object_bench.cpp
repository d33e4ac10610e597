// The cost of an "Object" frame at 1920 x 1080 through the stand-in host: a 3000 x 1500 matte
// read in cells of 15 pixels ("Resolution" 100), 200 x 100 = 20,000 drawn cells, from one
// source layer ("Alpha") or from the ten frames of a time layer ("Alpha - Time").
#include "support/frame_bench.h"

#include <benchmark/benchmark.h>

namespace plurion {
namespace {

struct ObjectCase {
    const char* name;
    int based_on;
};

const ObjectCase kObjectCases[] = {
    {"object_frame/20000_cells_alpha", param::object::kAlpha},
    {"object_frame/20000_cells_alpha_time", param::object::kAlphaTime},
};

host::Scene ObjectScene(const ObjectCase& c) {
    host::Scene scene = bench::FullHdScene(16, false);
    const int matte = static_cast<int>(scene.layers.size());
    scene.layers.push_back(
        {"matte", 3000, 1500, 0, 48, host::SolidSource{{1.0f, 1.0f, 1.0f, 1.0f}}});
    scene.layers.push_back(
        {"counter", 16, 16, 0, 10,
         host::CounterSource{{1, 1, 1, 1}, {0.2f, 0.3f, 0.7f, 1}, {8, 8}, 12, 0}});
    bench::Hold(scene, param::kCloneType, param::kObject);
    bench::Hold(scene, param::object::kBasedOn, c.based_on);
    bench::Hold(scene, param::kMatteLayer, matte);
    bench::Hold(scene, param::kTimeLayer, matte + 1);
    bench::Hold(scene, param::object::kResolution, 100);
    // A spacing of 60 / 100 x 3000 / 200 = 9 pixels keeps the cells on the frame.
    bench::Hold(scene, param::object::kGlobalScale, 60);
    bench::Hold(scene, param::object::kRandomRotation, 90); // most clones turned: general path
    return scene;
}

const bool kObjectCasesRegistered = bench::RegisterFrameCases(kObjectCases, ObjectScene);

} // namespace
} // namespace plurion

BENCHMARK_MAIN();
