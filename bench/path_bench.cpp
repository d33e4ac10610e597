// The cost of "Path" clones: path sampling alone (ten masks of twenty Bezier segments measured
// through the host's path suites, then the clones placed and their points asked for), and a
// whole 1920 x 1080 frame of 2000 clones along a mask through the stand-in host, beside an empty
// baseline.
#include "layout/clone_random.h"
#include "layout/path_layout.h"
#include "support/frame_bench.h"
#include "support/mask_host.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace plurion {
namespace {

// A closed wavy ring of `segments` Bezier segments about (cx, cy).
host::paths::PathShape Ring(double cx, double cy, double radius, int segments) {
    host::paths::PathShape shape;
    const double step = 2 * std::numbers::pi / segments;
    const double handle = 4.0 / 3 * std::tan(step / 4) * radius;
    for (int s = 0; s < segments; ++s) {
        const double a = s * step;
        const double r = radius * (s % 2 == 0 ? 1.0 : 0.8);
        const host::paths::Point at = {cx + r * std::cos(a), cy + r * std::sin(a)};
        const host::paths::Point along = {-std::sin(a) * handle, std::cos(a) * handle};
        shape.vertices.push_back({at, {-along.x, -along.y}, along});
    }
    return shape;
}

struct SamplingCase {
    const char* name;
    std::int32_t distribution;
    std::int32_t count;
};

const SamplingCase kSamplingCases[] = {
    {"path_sampling/10_masks_20_segments/distance_100px", kByDistance, 0},
    {"path_sampling/10_masks_20_segments/count_2000", kByCount, 2000},
};

void SamplePathsBench(benchmark::State& state, const SamplingCase& c) {
    std::vector<host::paths::PathShape> masks;
    for (int m = 0; m < 10; ++m) {
        masks.push_back(Ring(960, 540, 100 + 40 * m, 20));
    }
    test::MaskHost host(masks);
    ClonePlan plan;
    plan.randoms = BuildRandomTable(0);
    plan.params.set<param::path::kDistribution>(0, c.distribution);
    plan.params.set<param::path::kCount>(0, c.count);
    plan.params.set<param::path::kCloneDistance>(0, 10);
    plan.params.set<param::path::kEnd>(0, 100);
    for (auto _ : state) {
        if (SamplePaths(plan, host.in, 0) != PF_Err_NONE ||
            !host.services().paths.leaks().empty()) {
            state.SkipWithError("path sampling failed or leaked");
            break;
        }
        benchmark::DoNotOptimize(plan.path_clones[0].data());
    }
    state.counters["clones"] = static_cast<double>(plan.path_clones[0].size());
    state.SetItemsProcessed(state.iterations() * 200);
    state.SetLabel("items are segments measured");
}

struct FrameCase {
    const char* name;
    int clones; // 0: the empty baseline (output cleared, nothing drawn)
};

const FrameCase kFrameCases[] = {
    {"path_frame/baseline_no_clones", 0},
    {"path_frame/2000_clones_32px", 2000},
};

host::Scene PathScene(const FrameCase& c) {
    host::Scene scene = bench::FullHdScene(32, false);
    // A closed ellipse of four Bezier segments across the frame.
    host::Mask ellipse;
    const double k = 0.5522847498307936;
    ellipse.vertices = {{0.0, {{1760, 540}, {960, 1000}, {160, 540}, {960, 80}}}};
    ellipse.in_tangents = {{0.0, {{0, -460 * k}, {800 * k, 0}, {0, 460 * k}, {-800 * k, 0}}}};
    ellipse.out_tangents = {{0.0, {{0, 460 * k}, {-800 * k, 0}, {0, -460 * k}, {800 * k, 0}}}};
    scene.masks = {ellipse};
    bench::Hold(scene, param::kCloneType, param::kPath);
    bench::Hold(scene, param::path::kDistribution, kByCount);
    bench::Hold(scene, param::path::kCount, c.clones == 0 ? 1 : c.clones);
    bench::Hold(scene, param::path::kAlignRotation, 1);
    bench::Hold(scene, param::path::kOffsetScale, 50);
    if (c.clones == 0) {
        bench::Hold(scene, param::path::kLocalScale, 0);
    }
    return scene;
}

const bool kCasesRegistered = [] {
    for (const SamplingCase& c : kSamplingCases) {
        benchmark::RegisterBenchmark(c.name, [&c](benchmark::State& state) {
            SamplePathsBench(state, c);
        })->Unit(benchmark::kMicrosecond);
    }
    return bench::RegisterFrameCases(kFrameCases, PathScene);
}();

} // namespace
} // namespace plurion

BENCHMARK_MAIN();
