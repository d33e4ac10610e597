// Peak memory of one frame: "Linear" with 1000 clones of a full-HD still layer and Random Time
// 0, 10, 100 and 1000 (every distinct time is a checkout of its own), and a 16384 x 16384 image
// file as the source. The peak resident size of the process is reset before each frame (Linux:
// /proc/self/clear_refs) and read after it; the counter peak_MiB is what the frame added on top
// of what the process held before. The allocator keeps freed pages, so only the first case of a
// run reads true; run one case at a time, e.g.
//   build/bench/memory_bench --benchmark_filter=BM_RandomTime/1000/
// The test run in CI keeps to the small-clone case.
#include "imageio/image_file.h"
#include "params/param_index.h"
#include "support/frame_bench.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace plurion {
namespace {

namespace fs = std::filesystem;

// The process's resident size and its peak, in KiB.
long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::string(field).size()));
        }
    }
    return -1;
}

bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

// Renders frame 0 once per iteration and reports the largest peak above the starting size.
void MeasureFrames(benchmark::State& state, const host::Scene& scene) {
    host::EffectSession session(bench::ModulePath());
    if (session.global_setup() != PF_Err_NONE || session.params_setup() != PF_Err_NONE) {
        state.SkipWithError("the effect did not set up");
        return;
    }
    long peak = 0;
    for (auto _ : state) {
        host::SourceCache cache;
        const long before = StatusKiB("VmRSS:");
        if (!ResetPeak()) {
            state.SkipWithError("the peak resident size cannot be reset here");
            break;
        }
        host::WorldOwner output;
        host::FrameRenderer renderer(session, scene, cache, host::FrameOptions{});
        if (renderer.render(output) != PF_Err_NONE || !renderer.leaks().empty()) {
            state.SkipWithError("the frame failed or leaked");
            break;
        }
        peak = std::max(peak, StatusKiB("VmHWM:") - before);
    }
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}

host::Scene RandomTimeScene(int random_time) {
    host::Scene scene = bench::FullHdScene(16, false);
    scene.layers[0].width = 1920;
    scene.layers[0].height = 1080;
    bench::Hold(scene, param::linear::kCount, 1000);
    bench::Hold(scene, param::linear::kRandomTime, random_time);
    bench::Hold(scene, param::linear::kOffsetPosition, 1600, 700);
    return scene;
}

void BM_RandomTime(benchmark::State& state) {
    MeasureFrames(state, RandomTimeScene(static_cast<int>(state.range(0))));
}

// The same with clones at 5%: the effect's own resampled copies are small, so what shows is the
// host's share, one picture of the still layer however many times the clones ask for.
void BM_RandomTimeSmallClones(benchmark::State& state) {
    host::Scene scene = RandomTimeScene(static_cast<int>(state.range(0)));
    bench::Hold(scene, param::linear::kLocalScale, 5);
    MeasureFrames(state, scene);
}

// A 16384 x 16384 PNG as the only source, written once beside the system's temporary files.
void BM_LargeImageFile(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / "plurion_memory_bench_16k.png";
    constexpr int kSide = 16384;
    if (!fs::exists(file)) {
        host::RgbaImage image = host::MakeRgbaImage(kSide, kSide);
        for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
            image.rgba[i] = image.rgba[i + 3] = 1.0f;
        }
        host::WriteImage(file, image, host::SampleFormat::uint8);
    }
    host::Scene scene = bench::FullHdScene(16, false);
    scene.layers[0] = {"photo", kSide, kSide, 0, 48, host::ImageSource{file}};
    bench::Hold(scene, param::linear::kCount, 4);
    MeasureFrames(state, scene);
}

BENCHMARK(BM_RandomTime)->Arg(0)->Arg(10)->Arg(100)->Arg(1000)->Iterations(1)->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_RandomTimeSmallClones)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeImageFile)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace plurion

BENCHMARK_MAIN();
