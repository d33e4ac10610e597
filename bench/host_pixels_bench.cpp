// Throughput of the host's pixel operations, in destination pixels covered per second: a clone
// (256 x 256, turned by 30 degrees and scaled by 1.3) drawn into a 1920 x 1080 frame, and copies
// that resize a layer.
#include "copy_world.h"
#include "transform_world.h"
#include "world.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace plurion::host;

enum class Operation { kNothing, kTransform, kCopy };

struct Case {
    const char* name;
    Operation operation;
    PF_PixelFormat format;
    PF_Quality quality;
    PF_TransferMode xfer;
    bool blurred;        // two matrices, the second moved and turned further
    A_long src_w, src_h; // copies: the source size; the destination is 1920 x 1080
};

// clang-format off
const Case kCases[] = {
    {"empty",                  Operation::kNothing,   PF_PixelFormat_ARGB32,  PF_Quality_HI, PF_Xfer_IN_FRONT, false, 0, 0},
    {"transform_8_in_front",   Operation::kTransform, PF_PixelFormat_ARGB32,  PF_Quality_HI, PF_Xfer_IN_FRONT, false, 256, 256},
    {"transform_8_nearest",    Operation::kTransform, PF_PixelFormat_ARGB32,  PF_Quality_LO, PF_Xfer_IN_FRONT, false, 256, 256},
    {"transform_8_multiply",   Operation::kTransform, PF_PixelFormat_ARGB32,  PF_Quality_HI, PF_Xfer_MULTIPLY, false, 256, 256},
    {"transform_8_hue",        Operation::kTransform, PF_PixelFormat_ARGB32,  PF_Quality_HI, PF_Xfer_HUE,      false, 256, 256},
    {"transform_8_blur",       Operation::kTransform, PF_PixelFormat_ARGB32,  PF_Quality_HI, PF_Xfer_IN_FRONT, true,  256, 256},
    {"transform_16_in_front",  Operation::kTransform, PF_PixelFormat_ARGB64,  PF_Quality_HI, PF_Xfer_IN_FRONT, false, 256, 256},
    {"transform_32_in_front",  Operation::kTransform, PF_PixelFormat_ARGB128, PF_Quality_HI, PF_Xfer_IN_FRONT, false, 256, 256},
    {"transform_32_blur",      Operation::kTransform, PF_PixelFormat_ARGB128, PF_Quality_HI, PF_Xfer_IN_FRONT, true,  256, 256},
    {"copy_8_same_size",       Operation::kCopy,      PF_PixelFormat_ARGB32,  PF_Quality_HI, PF_Xfer_COPY,     false, 1920, 1080},
    {"copy_8_enlarge",         Operation::kCopy,      PF_PixelFormat_ARGB32,  PF_Quality_HI, PF_Xfer_COPY,     false, 640, 360},
    {"copy_8_reduce",          Operation::kCopy,      PF_PixelFormat_ARGB32,  PF_Quality_HI, PF_Xfer_COPY,     false, 3840, 2160},
    {"copy_32_reduce",         Operation::kCopy,      PF_PixelFormat_ARGB128, PF_Quality_HI, PF_Xfer_COPY,     false, 3840, 2160},
};
// clang-format on

constexpr A_long kFrameW = 1920;
constexpr A_long kFrameH = 1080;

WorldOwner MakeLayer(const Case& c) {
    PF_Err err = PF_Err_NONE;
    WorldOwner w = MakeWorld(c.src_w, c.src_h, c.format, err);
    std::vector<float> rgba(static_cast<std::size_t>(c.src_w) * c.src_h * 4);
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const auto x = static_cast<float>((i / 4) % static_cast<std::size_t>(c.src_w));
        const auto y = static_cast<float>((i / 4) / static_cast<std::size_t>(c.src_w));
        rgba[i] = x / static_cast<float>(c.src_w);
        rgba[i + 1] = y / static_cast<float>(c.src_h);
        rgba[i + 2] = 0.5f;
        rgba[i + 3] = 1.0f;
    }
    ReadFloatRgba(rgba.data(), 0, w.get());
    return w;
}

// Row-vector matrix: turn by `degrees` and scale about the source centre, then move to (x, y).
PF_FloatMatrix Placement(double degrees, double scale, double x, double y, const Case& c) {
    const double a = degrees * 0.017453292519943295;
    const double cs = std::cos(a) * scale;
    const double sn = std::sin(a) * scale;
    const double cx = c.src_w / 2.0;
    const double cy = c.src_h / 2.0;
    PF_FloatMatrix m{};
    m.mat[0][0] = cs;
    m.mat[0][1] = sn;
    m.mat[1][0] = -sn;
    m.mat[1][1] = cs;
    m.mat[2][0] = x - (cx * cs - cy * sn);
    m.mat[2][1] = y - (cx * sn + cy * cs);
    m.mat[2][2] = 1.0;
    return m;
}

A_long CountCovered(const PF_EffectWorld& frame) {
    std::vector<float> rgba(static_cast<std::size_t>(frame.width) * frame.height * 4);
    WriteFloatRgba(frame, rgba.data(), 0);
    A_long covered = 0;
    for (std::size_t i = 3; i < rgba.size(); i += 4) {
        covered += rgba[i] > 0.0f ? 1 : 0;
    }
    return covered;
}

void RunTransform(benchmark::State& state, const Case& c) {
    WorldOwner layer = MakeLayer(c);
    PF_Err err = PF_Err_NONE;
    WorldOwner frame = MakeWorld(kFrameW, kFrameH, c.format, err);
    const PF_FloatMatrix matrices[2] = {Placement(30, 1.3, 960, 540, c),
                                        Placement(40, 1.3, 1000, 560, c)};
    PF_CompositeMode mode{};
    mode.xfer = c.xfer;
    mode.opacity = 255;
    mode.opacitySu = PF_MAX_CHAN16;
    TransformRequest r;
    r.quality = c.quality;
    r.src = &layer.get();
    r.comp_mode = &mode;
    r.matrices = matrices;
    r.num_matrices = c.blurred ? 2 : 1;
    r.dst = &frame.get();
    if (TransformWorld(r) != PF_Err_NONE) {
        state.SkipWithError("transform failed");
        return;
    }
    const A_long covered = CountCovered(frame.get());
    for (auto _ : state) {
        benchmark::DoNotOptimize(TransformWorld(r));
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(covered),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void RunCopy(benchmark::State& state, const Case& c) {
    WorldOwner layer = MakeLayer(c);
    PF_Err err = PF_Err_NONE;
    WorldOwner frame = MakeWorld(kFrameW, kFrameH, c.format, err);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CopyWorld(&layer.get(), &frame.get(), nullptr, nullptr));
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(kFrameW) * kFrameH,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void RunNothing(benchmark::State& state, const Case&) {
    PF_Err err = PF_Err_NONE;
    for (auto _ : state) {
        benchmark::DoNotOptimize(err);
    }
}

void RunCase(benchmark::State& state, const Case& c) {
    switch (c.operation) {
    case Operation::kNothing:
        RunNothing(state, c);
        break;
    case Operation::kTransform:
        RunTransform(state, c);
        break;
    case Operation::kCopy:
        RunCopy(state, c);
        break;
    }
}

const bool kRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark(c.name, [&c](benchmark::State& s) {
            RunCase(s, c);
        })->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
