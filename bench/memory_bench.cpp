// Peak memory of one frame: "Linear" with 1000 clones of a full-HD still layer and Random Time
// 0, 10, 100 and 1000 (every distinct time is a checkout of its own), a 16384 x 16384 image
// file as the source, and a whole 3840 x 2160 float frame as `plurion render` makes it: drawn,
// composed over the background and written to an OpenEXR file. The peak resident size of the
// process is reset before each frame (Linux: /proc/self/clear_refs) and read after it; the counter
// peak_MiB is what the frame added on top of what the process held before. The allocator keeps
// freed pages, so only the first case of a run reads true; run one case at a time, e.g.
//   build/bench/memory_bench --benchmark_filter=BM_RandomTime/1000/
// The test run in CI keeps to the small-clone case.
#include "imageio/image_file.h"
#include "params/param_index.h"
#include "session/render_job.h"
#include "support/frame_bench.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

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

// A 3840 x 2160 composition at 32 bits whose effect layer is empty, with 100 clones in the Random
// order of twenty 256 x 256 shapes (stars, discs and squares in turn), one frame rendered as
// `plurion render` renders it: the effect's frame, composed over the background and written to
// an OpenEXR file (the default at 32 bits) beside the system's temporary files. One full-size
// float picture is 3840 * 2160 * 16 bytes, 127 MiB. The image-file library is loaded first, so
// that what is counted is the frame's.
host::Scene UhdFloatScene() {
    host::Scene scene;
    scene.composition = {"uhd", 3840, 2160, 24.0, 1, 32};
    scene.composition.background = {0.06f, 0.06f, 0.08f, 1.0f};
    scene.effect_layer = {"effect", 3840, 2160, 0, 1, host::EmptySource{}};
    for (int i = 0; i < 20; ++i) {
        const float f = static_cast<float>(i);
        const host::Color color{0.2f + 0.04f * f, 1.0f - 0.04f * f, 0.3f + 0.02f * (i % 7), 1.0f};
        host::LayerSource source = host::StarSource{color, {128, 128}, 5 + i % 4, 115.2, 46.08, 0};
        if (i % 3 == 1) {
            source = host::EllipseSource{color, {128, 128}, {256, 256}};
        } else if (i % 3 == 2) {
            source = host::RectangleSource{color, {128, 128}, {200, 200}};
        }
        scene.layers.push_back({"shape " + std::to_string(i + 1), 256, 256, 0, 1, source});
        scene.effect[param::SourceLayerParam(i + 1)] = {{0.0, {static_cast<double>(i), 0}}};
    }
    constexpr int kRandomOrder = 3;
    constexpr int kStepOffsets = 1;
    bench::Hold(scene, param::linear::kCount, 100);
    bench::Hold(scene, param::linear::kCloneOrder, kRandomOrder);
    bench::Hold(scene, param::linear::kCloneOffsetMode, kStepOffsets);
    bench::Hold(scene, param::linear::kPosition, 1920, 1080);
    bench::Hold(scene, param::linear::kOffsetPosition, 36, 0);
    bench::Hold(scene, param::linear::kRandomSeed, 11);
    return scene;
}

void BM_UhdFloatFrame(benchmark::State& state) {
    host::EffectSession session(bench::ModulePath());
    if (session.global_setup() != PF_Err_NONE || session.params_setup() != PF_Err_NONE) {
        state.SkipWithError("the effect did not set up");
        return;
    }
    const host::Scene scene = UhdFloatScene();
    const fs::path folder =
        fs::temp_directory_path() / ("plurion_memory_bench_" + std::to_string(::getpid()));
    host::RenderOptions options;
    options.output_pattern = (folder / "uhd_#.exr").string();
    options.bpc = 32;
    host::WritableFormatOf(options.output_pattern);
    long peak = 0;
    for (auto _ : state) {
        const long before = StatusKiB("VmRSS:");
        if (!ResetPeak()) {
            state.SkipWithError("the peak resident size cannot be reset here");
            break;
        }
        try {
            host::RenderScene(session, scene, options);
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            break;
        }
        peak = std::max(peak, StatusKiB("VmHWM:") - before);
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}

BENCHMARK(BM_RandomTime)
    ->Arg(0)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomTimeSmallClones)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeImageFile)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UhdFloatFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace plurion

BENCHMARK_MAIN();
