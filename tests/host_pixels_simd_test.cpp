// The vector kernels against the scalar reference: random sources, destinations, matrices,
// opacities, transfer modes, filters and motion, at every depth and every instruction set this
// processor runs. They must agree within one step of the depth, and the instruction sets must
// agree with each other exactly; large draws shared over threads must give the one-thread bytes.
#include "host_pixels_support.h"

#include "blend_modes.h"
#include "simd_kernels.h"
#include "thread_pool.h"
#include "transform_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>

namespace plurion::host {
namespace {

using namespace testing;

// Straight colour, float worlds also over- and underbright. Alpha: a quarter of the pixels
// opaque, some transparent, the rest in between (kMixed); or all opaque, so that whole blocks take
// the kernels' opaque paths; or the left half transparent, so that whole blocks see nothing.
enum class Alphas { kMixed, kOpaque, kLeftClear };

WorldOwner RandomWorld(PF_PixelFormat format, A_long w, A_long h, std::mt19937& rng,
                       Alphas alphas = Alphas::kMixed) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const bool wide = format == PF_PixelFormat_ARGB128;
    std::vector<Rgba> pixels(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        Rgba& p = pixels[i];
        const float kind = alphas == Alphas::kOpaque ? 0.0f : unit(rng);
        p.a = kind < 0.25f ? 1.0f : kind < 0.35f ? 0.0f : unit(rng);
        if (alphas == Alphas::kLeftClear && static_cast<A_long>(i) % w < w / 2) {
            p.a = 0.0f;
        }
        p.r = wide ? unit(rng) * 3.0f - 1.0f : unit(rng);
        p.g = unit(rng);
        p.b = unit(rng);
    }
    return MakeImage(format, w, h, pixels);
}

struct Draw {
    PF_FloatMatrix matrices[2];
    A_long num_matrices = 1;
    PF_CompositeMode mode{};
    PF_Quality quality = PF_Quality_HI;
    PF_ModeFlags flags = PF_MF_Alpha_STRAIGHT;
};

Draw RandomDraw(std::mt19937& rng, A_long src_size, A_long dst_size) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double turn = unit(rng) * 6.283185307179586;
    const double scale = 0.3 + unit(rng) * 2.7;
    const double shear = unit(rng) < 0.3 ? unit(rng) - 0.5 : 0.0;
    const double tx = unit(rng) * dst_size - src_size * scale / 2;
    const double ty = unit(rng) * dst_size - src_size * scale / 2;
    Draw d;
    d.matrices[0] = Matrix(scale * std::cos(turn), scale * std::sin(turn),
                           -scale * std::sin(turn) + shear, scale * std::cos(turn), tx, ty);
    d.matrices[1] = d.matrices[0];
    if (unit(rng) < 0.3) {
        d.num_matrices = 2;
        d.matrices[1].mat[2][0] += unit(rng) * 6.0 - 3.0;
        d.matrices[1].mat[2][1] += unit(rng) * 6.0 - 3.0;
    }
    // Mostly In Front, the mode the vector compositor serves; every other mode samples with the
    // vector kernels and composites with the reference.
    const auto pick = static_cast<std::size_t>(unit(rng) * kBlendModes.size() * 2);
    d.mode.xfer = pick < kBlendModes.size() ? kBlendModes[pick].xfer : PF_Xfer_IN_FRONT;
    d.mode.opacity = unit(rng) < 0.4 ? 255 : static_cast<A_u_char>(unit(rng) * 256);
    d.mode.rgb_only = unit(rng) < 0.15 ? 1 : 0;
    d.mode.rand_seed = 7;
    d.quality = unit(rng) < 0.7 ? PF_Quality_HI : PF_Quality_LO;
    d.flags = unit(rng) < 0.7 ? PF_MF_Alpha_STRAIGHT : PF_MF_Alpha_PREMUL;
    return d;
}

PF_Err Render(const Draw& d, const PF_EffectWorld& src, PF_EffectWorld& dst, bool fast,
              SimdLevel level, ThreadPool* pool = nullptr) {
    TransformRequest r;
    r.quality = d.quality;
    r.m_flags = d.flags;
    r.src = &src;
    r.comp_mode = &d.mode;
    r.matrices = d.matrices;
    r.num_matrices = d.num_matrices;
    r.dst = &dst;
    r.allow_fast_paths = fast;
    r.simd = level;
    r.settings.pool = pool;
    return TransformWorld(r);
}

// The largest difference between two worlds, in steps of the depth (float: relative to the
// larger value, at least 1).
double LargestStep(const PF_EffectWorld& a, const PF_EffectWorld& b, PF_PixelFormat format) {
    const std::vector<Rgba> pa = PixelsOf(a);
    const std::vector<Rgba> pb = PixelsOf(b);
    const double step = format == PF_PixelFormat_ARGB32   ? 1.0 / 255
                        : format == PF_PixelFormat_ARGB64 ? 1.0 / 32768
                                                          : 1e-5;
    double largest = 0;
    for (std::size_t i = 0; i < pa.size(); ++i) {
        for (auto c : {&Rgba::r, &Rgba::g, &Rgba::b, &Rgba::a}) {
            double scale = step;
            if (format == PF_PixelFormat_ARGB128) {
                scale *= std::max({1.0, std::fabs(double{pa[i].*c}), std::fabs(double{pb[i].*c})});
            }
            largest = std::max(largest, std::fabs(double{pa[i].*c} - double{pb[i].*c}) / scale);
        }
    }
    return largest;
}

std::vector<SimdLevel> LevelsHere() {
    std::vector<SimdLevel> levels;
    for (SimdLevel level : {SimdLevel::kSse2, SimdLevel::kAvx2, SimdLevel::kAvx512}) {
        if (static_cast<int>(level) <= static_cast<int>(ProcessorSimdLevel())) {
            levels.push_back(level);
        }
    }
    return levels;
}

class SimdKernels : public ::testing::TestWithParam<PF_PixelFormat> {};

INSTANTIATE_TEST_SUITE_P(Depths, SimdKernels, ::testing::ValuesIn(kFormats),
                         [](const auto& p) { return FormatName(p.param); });

TEST_P(SimdKernels, AgreeWithTheScalarReferenceWithinOneStep) {
    const PF_PixelFormat format = GetParam();
    if (LevelsHere().empty()) {
        GTEST_SKIP() << "this build or processor has no vector kernels";
    }
    std::mt19937 rng(20240611u + static_cast<unsigned>(format));
    std::uniform_int_distribution<A_long> size(1, 40);
    double largest = 0;
    for (int round = 0; round < 150; ++round) {
        const Alphas alphas[] = {Alphas::kOpaque, Alphas::kLeftClear, Alphas::kMixed};
        WorldOwner src = RandomWorld(format, size(rng), size(rng), rng, alphas[round % 3]);
        const A_long dst_size = 48;
        WorldOwner background = RandomWorld(format, dst_size, dst_size, rng);
        const Draw d = RandomDraw(rng, src->width, dst_size);
        WorldOwner reference = RandomWorld(format, dst_size, dst_size, rng);
        for (A_long y = 0; y < dst_size; ++y) {
            std::memcpy(reinterpret_cast<char*>(reference->data) + y * reference->rowbytes,
                        reinterpret_cast<char*>(background->data) + y * background->rowbytes,
                        static_cast<std::size_t>(background->rowbytes));
        }
        ASSERT_EQ(Render(d, src.get(), reference.get(), false, SimdLevel::kNone), PF_Err_NONE);
        std::vector<WorldOwner> fast;
        for (SimdLevel level : LevelsHere()) {
            WorldOwner out = RandomWorld(format, dst_size, dst_size, rng);
            for (A_long y = 0; y < dst_size; ++y) {
                std::memcpy(reinterpret_cast<char*>(out->data) + y * out->rowbytes,
                            reinterpret_cast<char*>(background->data) + y * background->rowbytes,
                            static_cast<std::size_t>(background->rowbytes));
            }
            ASSERT_EQ(Render(d, src.get(), out.get(), true, level), PF_Err_NONE);
            const double steps = LargestStep(reference.get(), out.get(), format);
            largest = std::max(largest, steps);
            // One step, as measured through the float values of the two pixels.
            ASSERT_LE(steps, 1.001)
                << "round " << round << ", " << SimdLevelName(level) << ", xfer " << d.mode.xfer
                << ", opacity " << int{d.mode.opacity} << ", matrices " << d.num_matrices
                << (d.quality == PF_Quality_HI ? ", bilinear" : ", nearest");
            fast.push_back(std::move(out));
        }
        // Every instruction set gives the same bytes.
        for (std::size_t k = 1; k < fast.size(); ++k) {
            for (A_long y = 0; y < dst_size; ++y) {
                ASSERT_EQ(
                    std::memcmp(reinterpret_cast<char*>(fast[0]->data) + y * fast[0]->rowbytes,
                                reinterpret_cast<char*>(fast[k]->data) + y * fast[k]->rowbytes,
                                static_cast<std::size_t>(fast[0]->rowbytes)),
                    0)
                    << "round " << round << " row " << y;
            }
        }
    }
    RecordProperty("largest_step", std::to_string(largest));
}

// A draw large enough to be shared over threads gives the bytes of one thread, also blurred and
// on every field.
TEST(ThreadedDraws, GiveTheBytesOfOneThread) {
    ThreadPool pool(4);
    std::mt19937 rng(99);
    WorldOwner src = RandomWorld(PF_PixelFormat_ARGB32, 200, 150, rng);
    for (int round = 0; round < 6; ++round) {
        Draw d;
        d.matrices[0] = Matrix(1.2, 0.4, -0.4, 1.2, 40 + round, 10);
        d.matrices[1] = Matrix(1.2, 0.4, -0.4, 1.2, 44 + round, 12);
        d.num_matrices = round % 2 == 0 ? 1 : 2;
        d.mode.xfer = round < 3 ? PF_Xfer_IN_FRONT : PF_Xfer_SCREEN;
        d.mode.opacity = 200;
        WorldOwner one = MakeUniform(PF_PixelFormat_ARGB32, 400, 300, {0.2f, 0.3f, 0.4f, 0.5f});
        WorldOwner many = MakeUniform(PF_PixelFormat_ARGB32, 400, 300, {0.2f, 0.3f, 0.4f, 0.5f});
        ASSERT_EQ(Render(d, src.get(), one.get(), true, SimdLevel::kAvx2), PF_Err_NONE);
        ASSERT_EQ(Render(d, src.get(), many.get(), true, SimdLevel::kAvx2, &pool), PF_Err_NONE);
        for (A_long y = 0; y < 300; ++y) {
            ASSERT_EQ(std::memcmp(WorldRow<Pixel8Traits>(one.get(), y),
                                  WorldRow<Pixel8Traits>(many.get(), y), 400 * sizeof(PF_Pixel)),
                      0)
                << "round " << round << " row " << y;
        }
    }
}

TEST(ThreadPool, RunsEveryIndexOnceNestsAndPassesOnTheFirstError) {
    ThreadPool pool(3);
    std::vector<std::atomic<int>> seen(200);
    pool.ParallelFor(20, [&](int outer) {
        pool.ParallelFor(10,
                         [&](int inner) { ++seen[static_cast<std::size_t>(outer * 10 + inner)]; });
    });
    for (const auto& count : seen) {
        EXPECT_EQ(count.load(), 1);
    }
    std::atomic<int> ran{0};
    EXPECT_THROW(pool.ParallelFor(50,
                                  [&](int i) {
                                      ++ran;
                                      if (i == 7) {
                                          throw std::runtime_error("seven");
                                      }
                                  }),
                 std::runtime_error);
    EXPECT_EQ(ran.load(), 50); // the other indices still ran
    pool.ParallelFor(0, [](int) { FAIL(); });
}

} // namespace
} // namespace plurion::host
