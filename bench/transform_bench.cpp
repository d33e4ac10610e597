// transform_world beside pixman on the same work, in the same run: the same source drawn through
// the same matrices onto the same 1920 x 1080 destination, over exactly the pixels our kernel
// visits (pixman gets them as its destination clip, one box per row, so neither draws the empty
// corners of a turned clone). Each iteration draws ours, then pixman's, timing each on the
// thread's CPU clock, so a busy machine slows both alike; the counters give both times and
// x_pixman = pixman's time / ours. One thread: the figures are per core.
//
// Sources: "opaque" (a colour ramp, alpha 1), "soft" (a disc whose edge fades over 32 pixels,
// transparent corners) and "half" (the opaque ramp at opacity 128). Draws: one 256 x 256 clone
// turned 30 degrees and scaled 1.3, or 1000 clones of 128 x 128 at seeded places, turns and
// scales. Our 16-bit and float draws are set against pixman's 8-bit one. The "blur" cases draw
// each clone moving 2 to 4 pixels during the shutter (adaptive sampling: 3 to 5 samples) and
// report blur_over_still, the cost beside the same still draw. Ours runs the best vector kernels
// the processor has (the label names them); the "avx2" cases hold it to AVX2.
#include "geometry.h"
#include "simd_kernels.h"
#include "transform_world.h"
#include "world.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace plurion::host;

constexpr A_long kFrameW = 1920;
constexpr A_long kFrameH = 1080;

enum class Source { kOpaque, kSoft, kHalf };
enum class Set { kOne256, kMany128 };

struct Case {
    const char* name;
    Set set;
    Source source;
    PF_Quality quality;
    PF_PixelFormat format; // ours; pixman always draws 8 bits
    double motion;         // pixels each clone moves during the shutter; 0: still
    SimdLevel simd = SimdLevel::kAvx512; // capped at what the processor runs
};

// clang-format off
const Case kCases[] = {
    {"256/opaque/bilinear",      Set::kOne256,  Source::kOpaque, PF_Quality_HI, PF_PixelFormat_ARGB32,  0},
    {"256/soft/bilinear",        Set::kOne256,  Source::kSoft,   PF_Quality_HI, PF_PixelFormat_ARGB32,  0},
    {"256/half/bilinear",        Set::kOne256,  Source::kHalf,   PF_Quality_HI, PF_PixelFormat_ARGB32,  0},
    {"256/opaque/nearest",       Set::kOne256,  Source::kOpaque, PF_Quality_LO, PF_PixelFormat_ARGB32,  0},
    {"256/soft/nearest",         Set::kOne256,  Source::kSoft,   PF_Quality_LO, PF_PixelFormat_ARGB32,  0},
    {"256/half/nearest",         Set::kOne256,  Source::kHalf,   PF_Quality_LO, PF_PixelFormat_ARGB32,  0},
    {"1000x128/opaque/bilinear", Set::kMany128, Source::kOpaque, PF_Quality_HI, PF_PixelFormat_ARGB32,  0},
    {"1000x128/soft/bilinear",   Set::kMany128, Source::kSoft,   PF_Quality_HI, PF_PixelFormat_ARGB32,  0},
    {"1000x128/half/bilinear",   Set::kMany128, Source::kHalf,   PF_Quality_HI, PF_PixelFormat_ARGB32,  0},
    {"1000x128/soft/nearest",    Set::kMany128, Source::kSoft,   PF_Quality_LO, PF_PixelFormat_ARGB32,  0},
    {"256/soft/bilinear/16bit",  Set::kOne256,  Source::kSoft,   PF_Quality_HI, PF_PixelFormat_ARGB64,  0},
    {"256/soft/bilinear/float",  Set::kOne256,  Source::kSoft,   PF_Quality_HI, PF_PixelFormat_ARGB128, 0},
    {"256/soft/bilinear/blur_3px",      Set::kOne256,  Source::kSoft, PF_Quality_HI, PF_PixelFormat_ARGB32, 3},
    {"1000x128/soft/bilinear/blur_2px", Set::kMany128, Source::kSoft, PF_Quality_HI, PF_PixelFormat_ARGB32, 2},
    {"1000x128/soft/bilinear/blur_4px", Set::kMany128, Source::kSoft, PF_Quality_HI, PF_PixelFormat_ARGB32, 4},
    {"256/soft/bilinear/avx2",   Set::kOne256,  Source::kSoft,   PF_Quality_HI, PF_PixelFormat_ARGB32,  0, SimdLevel::kAvx2},
    {"1000x128/soft/bilinear/avx2", Set::kMany128, Source::kSoft, PF_Quality_HI, PF_PixelFormat_ARGB32, 0, SimdLevel::kAvx2},
};
// clang-format on

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Straight RGBA of the source kind, 0..1.
std::vector<float> SourcePixels(Source source, A_long size) {
    std::vector<float> rgba(static_cast<std::size_t>(size) * size * 4);
    const double centre = (size - 1) / 2.0;
    for (A_long y = 0; y < size; ++y) {
        for (A_long x = 0; x < size; ++x) {
            float* p = &rgba[(static_cast<std::size_t>(y) * size + x) * 4];
            p[0] = static_cast<float>(x) / size;
            p[1] = static_cast<float>(y) / size;
            p[2] = 0.5f;
            p[3] = 1.0f;
            if (source == Source::kSoft) {
                const double r = std::hypot(x - centre, y - centre);
                p[3] = static_cast<float>(std::clamp((size / 2.0 - r) / 32.0, 0.0, 1.0));
            }
        }
    }
    return rgba;
}

// Row-vector matrix: turn by `degrees` and scale about the source centre, then move to (x, y).
PF_FloatMatrix Placement(double degrees, double scale, double x, double y, A_long size) {
    const double a = degrees * 0.017453292519943295;
    const double cs = std::cos(a) * scale;
    const double sn = std::sin(a) * scale;
    const double c = size / 2.0;
    PF_FloatMatrix m{};
    m.mat[0][0] = cs;
    m.mat[0][1] = sn;
    m.mat[1][0] = -sn;
    m.mat[1][1] = cs;
    m.mat[2][0] = x - (c * cs - c * sn);
    m.mat[2][1] = y - (c * sn + c * cs);
    m.mat[2][2] = 1.0;
    return m;
}

struct Clone {
    PF_FloatMatrix still;
    PF_FloatMatrix moved[2];  // the shutter: 3 pixels apart
    pixman_region32_t region; // the destination pixels our kernel visits
    pixman_transform_t transform;
};

std::vector<Clone> MakeClones(Set set, double motion) {
    std::vector<Clone> clones;
    if (set == Set::kOne256) {
        clones.push_back({Placement(30, 1.3, 960, 540, 256), {}, {}, {}});
    } else {
        std::uint32_t state = 12345;
        auto next = [&state] {
            state = state * 1664525u + 1013904223u;
            return static_cast<double>(state >> 8) / 16777216.0;
        };
        for (int i = 0; i < 1000; ++i) {
            const double x = 64 + next() * (kFrameW - 128);
            const double y = 64 + next() * (kFrameH - 128);
            clones.push_back({Placement(next() * 360, 0.8 + 0.4 * next(), x, y, 128), {}, {}, {}});
        }
    }
    for (Clone& c : clones) {
        c.moved[0] = c.still;
        c.moved[1] = c.still;
        c.moved[1].mat[2][0] += 0.8 * motion;
        c.moved[1].mat[2][1] += 0.6 * motion;
    }
    return clones;
}

// pixman's side of a clone: its inverse map and the pixels our kernel visits.
void PreparePixman(Clone& c, A_long size, bool bilinear) {
    const Affine inv = *Inverse(*AffineFromMatrix(c.still));
    pixman_transform_init_identity(&c.transform);
    c.transform.matrix[0][0] = pixman_double_to_fixed(inv.xx);
    c.transform.matrix[0][1] = pixman_double_to_fixed(inv.yx);
    c.transform.matrix[0][2] = pixman_double_to_fixed(inv.tx);
    c.transform.matrix[1][0] = pixman_double_to_fixed(inv.xy);
    c.transform.matrix[1][1] = pixman_double_to_fixed(inv.yy);
    c.transform.matrix[1][2] = pixman_double_to_fixed(inv.ty);
    const double reach = bilinear ? 0.5 : 0.0;
    std::vector<pixman_box32_t> boxes;
    for (A_long y = 0; y < kFrameH; ++y) {
        const RowRun run =
            ReachableRun(inv, y, 0, kFrameW, -reach, size + reach, -reach, size + reach);
        if (run.end > run.begin) {
            boxes.push_back({run.begin, y, run.end, y + 1});
        }
    }
    pixman_region32_init_rects(&c.region, boxes.data(), static_cast<int>(boxes.size()));
}

struct PixmanImage {
    std::vector<std::uint32_t> pixels;
    pixman_image_t* image = nullptr;
    ~PixmanImage() {
        if (image != nullptr) {
            pixman_image_unref(image);
        }
    }
};

// The 8-bit world as premultiplied a8r8g8b8, rounded.
void ToPixman(const PF_EffectWorld& world, PixmanImage& out) {
    out.pixels.resize(static_cast<std::size_t>(world.width) * world.height);
    for (A_long y = 0; y < world.height; ++y) {
        const PF_Pixel* row = WorldRow<Pixel8Traits>(world, y);
        for (A_long x = 0; x < world.width; ++x) {
            const PF_Pixel p = row[x];
            auto mul = [&](int c) { return static_cast<std::uint32_t>((c * p.alpha + 127) / 255); };
            out.pixels[static_cast<std::size_t>(y) * world.width + x] =
                std::uint32_t{p.alpha} << 24 | mul(p.red) << 16 | mul(p.green) << 8 | mul(p.blue);
        }
    }
    out.image = pixman_image_create_bits(PIXMAN_a8r8g8b8, world.width, world.height,
                                         out.pixels.data(), world.width * 4);
}

void Run(benchmark::State& state, const Case& c) {
    const A_long size = c.set == Set::kOne256 ? 256 : 128;
    const bool bilinear = c.quality == PF_Quality_HI;
    std::vector<Clone> clones = MakeClones(c.set, c.motion);
    const bool blurred = c.motion > 0;
    for (Clone& clone : clones) {
        PreparePixman(clone, size, bilinear);
    }
    const std::vector<float> rgba = SourcePixels(c.source, size);
    PF_Err err = PF_Err_NONE;
    WorldOwner src = MakeWorld(size, size, c.format, err);
    WorldOwner src8 = MakeWorld(size, size, PF_PixelFormat_ARGB32, err);
    WorldOwner ours = MakeWorld(kFrameW, kFrameH, c.format, err);
    ReadFloatRgba(rgba.data(), 0, src.get());
    ReadFloatRgba(rgba.data(), 0, src8.get());

    PixmanImage psrc;
    ToPixman(src8.get(), psrc);
    pixman_image_set_filter(psrc.image, bilinear ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST,
                            nullptr, 0);
    pixman_image_set_repeat(psrc.image, PIXMAN_REPEAT_NONE);
    PixmanImage pdst;
    pdst.pixels.assign(static_cast<std::size_t>(kFrameW) * kFrameH, 0);
    pdst.image = pixman_image_create_bits(PIXMAN_a8r8g8b8, kFrameW, kFrameH, pdst.pixels.data(),
                                          kFrameW * 4);
    const A_u_char opacity = c.source == Source::kHalf ? 128 : 255;
    const pixman_color_t half{0, 0, 0, static_cast<std::uint16_t>(opacity * 257)};
    pixman_image_t* mask = opacity < 255 ? pixman_image_create_solid_fill(&half) : nullptr;

    PF_CompositeMode mode{};
    mode.xfer = PF_Xfer_IN_FRONT;
    mode.opacity = opacity;
    TransformRequest r;
    r.quality = c.quality;
    r.simd = c.simd;
    r.src = &src.get();
    r.comp_mode = &mode;
    r.dst = &ours.get();

    auto draw_ours = [&](bool moving) {
        for (const Clone& clone : clones) {
            r.matrices = moving ? clone.moved : &clone.still;
            r.num_matrices = moving ? 2 : 1;
            if (TransformWorld(r) != PF_Err_NONE) {
                state.SkipWithError("transform_world failed");
            }
        }
    };
    auto draw_pixman = [&] {
        for (Clone& clone : clones) {
            pixman_image_set_transform(psrc.image, &clone.transform);
            pixman_image_set_clip_region32(pdst.image, &clone.region);
            const pixman_box32_t* box = pixman_region32_extents(&clone.region);
            pixman_image_composite32(PIXMAN_OP_OVER, psrc.image, mask, pdst.image, box->x1, box->y1,
                                     0, 0, box->x1, box->y1, box->x2 - box->x1, box->y2 - box->y1);
        }
    };

    double ours_s = 0, other_s = 0;
    for (auto _ : state) {
        double t = ThreadSeconds();
        draw_ours(blurred);
        const double t1 = ThreadSeconds();
        ours_s += t1 - t;
        if (blurred) {
            draw_ours(false); // the still draw, for blur_over_still
        } else {
            draw_pixman();
        }
        other_s += ThreadSeconds() - t1;
        benchmark::ClobberMemory();
    }
    const auto n = static_cast<double>(state.iterations());
    const SimdLevel used = static_cast<int>(c.simd) < static_cast<int>(ProcessorSimdLevel())
                               ? c.simd
                               : ProcessorSimdLevel();
    state.SetLabel(SimdLevelName(used));
    state.counters["ours_us"] = ours_s / n * 1e6;
    if (blurred) {
        state.counters["still_us"] = other_s / n * 1e6;
        state.counters["blur_over_still"] = ours_s / other_s;
    } else {
        state.counters["pixman_us"] = other_s / n * 1e6;
        state.counters["x_pixman"] = other_s / ours_s;
    }
    if (mask != nullptr) {
        pixman_image_unref(mask);
    }
    for (Clone& clone : clones) {
        pixman_region32_fini(&clone.region);
    }
}

const bool kRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("transform_vs_pixman/") + c.name).c_str(),
                                     [&c](benchmark::State& s) { Run(s, c); })
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
