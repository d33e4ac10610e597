// The cost of a "Grid" frame of 100 x 100 cells at 1920 x 1080 through the stand-in host, beside
// an empty baseline. The motion-blur case shows that cells cost the same with blur on, since
// each gets the shutter-open matrix alone.
#include "support/frame_bench.h"

#include <benchmark/benchmark.h>

namespace plurion {
namespace {

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
    host::Scene scene = bench::FullHdScene(16, c.motion_blur);
    const int side = c.cells_per_side == 0 ? 1 : c.cells_per_side;
    bench::Hold(scene, param::kCloneType, param::kGrid);
    bench::Hold(scene, param::grid::kCountX, side);
    bench::Hold(scene, param::grid::kCountY, side);
    bench::Hold(scene, param::grid::kCloneOffsetMode, 2);
    bench::Hold(scene, param::grid::kSizeX, 1880);
    bench::Hold(scene, param::grid::kSizeY, 1040);
    bench::Hold(scene, param::grid::kPosition, 960, 540);
    bench::Hold(scene, param::grid::kOffsetRotation, 720); // most cells turned: general path
    bench::Hold(scene, param::grid::kOffsetOpacityX, 50);
    if (c.cells_per_side == 0) {
        bench::Hold(scene, param::grid::kLocalScale, 0);
    }
    if (c.motion_blur) {
        scene.effect[param::grid::kGlobalRotation] = {{0.0, {0, 0}}, {1.0, {10, 0}}};
    }
    return scene;
}

const bool kGridCasesRegistered = bench::RegisterFrameCases(kGridCases, GridScene);

} // namespace
} // namespace plurion

BENCHMARK_MAIN();
