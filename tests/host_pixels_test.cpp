// Worlds, fill, copy and the geometry of the transform kernel.
#include "host_pixels_support.h"

#include "copy_world.h"
#include "geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>

namespace plurion::host {
namespace {

using namespace testing;

class PixelsByDepth : public ::testing::TestWithParam<PF_PixelFormat> {};

INSTANTIATE_TEST_SUITE_P(Depths, PixelsByDepth, ::testing::ValuesIn(kFormats),
                         [](const auto& p) { return FormatName(p.param); });

TEST_P(PixelsByDepth, CreatedWorldsAreClearedPaddedAndKnowTheirFormat) {
    const PF_PixelFormat format = GetParam();
    PF_Err err = PF_Err_NONE;
    WorldOwner w = MakeWorld(7, 3, format, err);
    ASSERT_EQ(err, PF_Err_NONE);
    EXPECT_EQ(PixelFormatOf(w.get()), format);
    EXPECT_EQ((w->world_flags & PF_WorldFlag_DEEP) != 0, format == PF_PixelFormat_ARGB64);
    EXPECT_GE(static_cast<std::size_t>(w->rowbytes), 7 * BytesPerPixel(format));
    EXPECT_EQ(w->rowbytes % 16, 0);
    for (const Rgba& p : PixelsOf(w.get())) {
        EXPECT_TRUE(Near(p, Rgba{}, 0.0f));
    }

    WorldOwner moved = std::move(w);
    EXPECT_EQ(w->data, nullptr);
    EXPECT_EQ(moved->width, 7);

    PF_EffectWorld bad{};
    EXPECT_EQ(CreateWorld(-1, 3, format, bad), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(CreateWorld(3, 3, PF_PixelFormat_INVALID, bad), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(bad.data, nullptr);
}

TEST_P(PixelsByDepth, FloatImagesRoundTripRoundingAndClampingOnlyAtIntegerDepths) {
    const PF_PixelFormat format = GetParam();
    // 100.6 / 255 must become 101, not 100; 1.5 is clamped only by integer worlds.
    const std::vector<Rgba> in = {{100.6f / 255, 0.5f, 1.5f, 1.0f}, {-0.25f, 0.2f, 0.0f, 0.5f}};
    WorldOwner w = MakeImage(format, 2, 1, in);
    const std::vector<Rgba> out = PixelsOf(w.get());
    if (format == PF_PixelFormat_ARGB128) {
        EXPECT_TRUE(Near(out[0], in[0], 0.0f)) << Show(out[0]);
        EXPECT_TRUE(Near(out[1], in[1], 0.0f)) << Show(out[1]);
        return;
    }
    const float white = format == PF_PixelFormat_ARGB32 ? 255.0f : 32768.0f;
    const auto* row8 = reinterpret_cast<const PF_Pixel*>(w->data);
    if (format == PF_PixelFormat_ARGB32) {
        EXPECT_EQ(row8[0].red, 101);
        EXPECT_EQ(row8[0].green, 128); // 127.5 rounds up
    } else {
        EXPECT_EQ(reinterpret_cast<const PF_Pixel16*>(w->data)[0].green, 16384);
    }
    EXPECT_FLOAT_EQ(out[0].b, 1.0f);
    EXPECT_FLOAT_EQ(out[1].r, 0.0f);
    EXPECT_NEAR(out[1].g, std::round(0.2f * white) / white, 1e-7);
}

TEST_P(PixelsByDepth, FillPaintsOnlyTheClippedRectangle) {
    const PF_PixelFormat format = GetParam();
    WorldOwner w = MakeUniform(format, 5, 4, {0.1f, 0.2f, 0.3f, 1.0f});
    const PF_Pixel orange{255, 255, 128, 0};
    const PF_Rect rect{3, 2, 9, 9}; // reaches past the right and bottom edges
    ASSERT_EQ(FillWorld(&orange, &rect, &w.get()), PF_Err_NONE);
    const float tol = Tolerance(format);
    for (A_long y = 0; y < 4; ++y) {
        for (A_long x = 0; x < 5; ++x) {
            const bool inside = x >= 3 && y >= 2;
            const Rgba expected =
                inside ? Rgba{1.0f, 128.0f / 255, 0.0f, 1.0f} : Rgba{0.1f, 0.2f, 0.3f, 1.0f};
            EXPECT_TRUE(Near(PixelAt(w.get(), x, y), expected, tol)) << x << "," << y;
        }
    }
    ASSERT_EQ(FillWorld(nullptr, nullptr, &w.get()), PF_Err_NONE);
    EXPECT_TRUE(Near(PixelAt(w.get(), 4, 3), Rgba{}, 0.0f));
    const PF_Pixel16 half{16384, 16384, 0, 32768};
    ASSERT_EQ(FillWorld16(&half, nullptr, &w.get()), PF_Err_NONE);
    EXPECT_TRUE(Near(PixelAt(w.get(), 0, 0), Rgba{0.5f, 0.0f, 1.0f, 0.5f}, tol));
    EXPECT_EQ(FillWorld(&orange, nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
}

TEST_P(PixelsByDepth, CopyOfEqualSizesIsExactAndKeepsRectangles) {
    const PF_PixelFormat format = GetParam();
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<Rgba> pixels(6 * 5);
    for (Rgba& p : pixels) {
        p = {unit(rng), unit(rng), unit(rng), unit(rng)};
    }
    WorldOwner src = MakeImage(format, 6, 5, pixels);
    WorldOwner dst = MakeUniform(format, 6, 5, {});
    ASSERT_EQ(CopyWorld(&src.get(), &dst.get(), nullptr, nullptr), PF_Err_NONE);
    EXPECT_EQ(std::memcmp(PixelsOf(src.get()).data(), PixelsOf(dst.get()).data(),
                          pixels.size() * sizeof(Rgba)),
              0);

    // A 2 x 2 block from (1, 1) lands at (4, 3); nothing else moves.
    WorldOwner target = MakeUniform(format, 6, 5, {});
    const PF_Rect from{1, 1, 3, 3};
    const PF_Rect to{4, 3, 6, 5};
    ASSERT_EQ(CopyWorld(&src.get(), &target.get(), &from, &to), PF_Err_NONE);
    EXPECT_TRUE(Near(PixelAt(target.get(), 5, 4), PixelAt(src.get(), 2, 2), 0.0f));
    EXPECT_TRUE(Near(PixelAt(target.get(), 3, 3), Rgba{}, 0.0f));
    const PF_Rect outside{4, 3, 7, 5};
    EXPECT_EQ(CopyWorld(&src.get(), &target.get(), &from, &outside), PF_Err_BAD_CALLBACK_PARAM);
}

TEST_P(PixelsByDepth, CopyReductionAveragesAndEnlargementInterpolates) {
    const PF_PixelFormat format = GetParam();
    const float tol = Tolerance(format);
    // A one-pixel checkerboard reduced eight times becomes an even grey, without aliasing.
    std::vector<Rgba> checker(64 * 64);
    for (std::size_t i = 0; i < checker.size(); ++i) {
        const float v = static_cast<float>((i % 64 + i / 64) % 2);
        checker[i] = {v, v, v, 1.0f};
    }
    WorldOwner board = MakeImage(format, 64, 64, checker);
    WorldOwner small = MakeUniform(format, 8, 8, {});
    ASSERT_EQ(CopyWorld(&board.get(), &small.get(), nullptr, nullptr), PF_Err_NONE);
    for (const Rgba& p : PixelsOf(small.get())) {
        EXPECT_TRUE(Near(p, {0.5f, 0.5f, 0.5f, 1.0f}, tol)) << Show(p);
    }

    // Black and white doubled: centres at 0.25 and 0.75 between them, edges repeat.
    WorldOwner pair = MakeImage(format, 2, 1, {{0, 0, 0, 1}, {1, 1, 1, 1}});
    WorldOwner wide = MakeUniform(format, 4, 1, {});
    ASSERT_EQ(CopyWorld(&pair.get(), &wide.get(), nullptr, nullptr), PF_Err_NONE);
    const float expected[] = {0.0f, 0.25f, 0.75f, 1.0f};
    for (A_long x = 0; x < 4; ++x) {
        const float v = expected[x];
        EXPECT_TRUE(Near(PixelAt(wide.get(), x, 0), {v, v, v, 1}, tol)) << x;
    }

    // Averaging weighs colour by coverage: red beside a transparent green stays red.
    WorldOwner mixed = MakeImage(format, 2, 1, {{1, 0, 0, 1}, {0, 1, 0, 0}});
    WorldOwner one = MakeUniform(format, 1, 1, {});
    ASSERT_EQ(CopyWorld(&mixed.get(), &one.get(), nullptr, nullptr), PF_Err_NONE);
    EXPECT_TRUE(Near(PixelAt(one.get(), 0, 0), {1, 0, 0, 0.5f}, tol))
        << Show(PixelAt(one.get(), 0, 0));
}

TEST(PixelsCopy, ConvertsBetweenDepths) {
    WorldOwner src = MakeImage(PF_PixelFormat_ARGB32, 1, 1, {{51 / 255.0f, 1, 0, 1}});
    WorldOwner dst = MakeUniform(PF_PixelFormat_ARGB64, 1, 1, {});
    ASSERT_EQ(CopyWorld(&src.get(), &dst.get(), nullptr, nullptr), PF_Err_NONE);
    EXPECT_EQ(reinterpret_cast<const PF_Pixel16*>(dst->data)->red, 6554); // 0.2 x 32768, rounded
}

// Packed samples for image files: 8 bits reordered to R G B A, 16 bits rescaled to white 65535
// (v x 65535 / 32768 to nearest: 1 -> 1.99997 -> 2, 16384 -> 32767.5 -> 32768, 12345 ->
// 24689.6 -> 24690), values past white held at white; float worlds refused.
TEST(PixelsPacked, EightAndSixteenBitsAsFilesHoldThem) {
    WorldOwner eight = MakeUniform(PF_PixelFormat_ARGB32, 2, 2, {});
    reinterpret_cast<PF_Pixel*>(eight->data)[1] = {10, 20, 30, 40};
    std::uint8_t bytes[16] = {};
    ASSERT_EQ(WritePackedRgba(eight.get(), bytes), PF_Err_NONE);
    EXPECT_EQ(bytes[4], 20);
    EXPECT_EQ(bytes[5], 30);
    EXPECT_EQ(bytes[6], 40);
    EXPECT_EQ(bytes[7], 10);
    EXPECT_EQ(bytes[8], 0); // the second row starts past the first row's padding

    WorldOwner sixteen = MakeUniform(PF_PixelFormat_ARGB64, 1, 2, {});
    auto* row1 =
        reinterpret_cast<PF_Pixel16*>(reinterpret_cast<char*>(sixteen->data) + sixteen->rowbytes);
    *row1 = {32768, 1, 16384, 12345};
    reinterpret_cast<PF_Pixel16*>(sixteen->data)->alpha = 40000;
    std::uint16_t words[8] = {};
    ASSERT_EQ(WritePackedRgba(sixteen.get(), words), PF_Err_NONE);
    EXPECT_EQ(words[3], 65535);
    EXPECT_EQ(words[4], 2);
    EXPECT_EQ(words[5], 32768);
    EXPECT_EQ(words[6], 24690);
    EXPECT_EQ(words[7], 65535);

    WorldOwner wide = MakeUniform(PF_PixelFormat_ARGB128, 1, 1, {});
    EXPECT_EQ(WritePackedRgba(wide.get(), words), PF_Err_BAD_CALLBACK_PARAM);
}

TEST(PixelsGeometry, MotionSamplesSpanTheMatricesEvenly) {
    const Affine a{1, 0, 0, 1, 0, 0};
    const Affine b{1, 0, 0, 1, 8, 0};
    const Affine c{1, 0, 0, 1, 8, 4};
    const std::vector<Affine> samples = MotionSamples({a, b, c}, 5);
    ASSERT_EQ(samples.size(), 9u); // 2 steps x 4 + 1 shared end
    EXPECT_DOUBLE_EQ(samples[1].tx, 2.0);
    EXPECT_DOUBLE_EQ(samples[4].tx, 8.0);
    EXPECT_DOUBLE_EQ(samples[6].ty, 2.0);
    EXPECT_DOUBLE_EQ(samples[8].ty, 4.0);
    EXPECT_EQ(MotionSamples({a, a}, 16).size(), 1u);
    EXPECT_EQ(MotionSamples({a, b}, 1).size(), 1u);
}

// Adaptive sampling: about one sample per pixel of motion, from 2 up to the limit; a still draw
// once; with the limit 0 the fixed count per frame.
TEST(PixelsGeometry, AdaptiveMotionSamplesFollowTheMotion) {
    const Affine still{1, 0, 0, 1, 5, 5};
    const Affine moved{1, 0, 0, 1, 8, 5};    // 3 pixels
    const Affine turned{0, 1, -1, 0, 15, 5}; // a quarter turn of the 10 x 10 about its centre
    const MotionBlurSettings settings{16, 128};
    EXPECT_EQ(MotionSamples({still, still}, settings, 10, 10).size(), 1u);
    EXPECT_EQ(MotionSamples({still, moved}, settings, 10, 10).size(), 4u);
    EXPECT_EQ(MotionSamples({still, Affine{1, 0, 0, 1, 5.2, 5}}, settings, 10, 10).size(), 2u);
    // Each corner is 5 * sqrt(2) from the centre and turns by 90 degrees: a chord of 10 pixels.
    EXPECT_NEAR(LargestShift(still, turned, 10, 10), 10.0, 1e-12);
    EXPECT_EQ(MotionSamples({still, turned}, settings, 10, 10).size(), 11u);
    const Affine far{1, 0, 0, 1, 5005, 5};
    EXPECT_EQ(MotionSamples({still, far}, settings, 10, 10).size(), 128u);
    EXPECT_EQ(MotionSamples({still, far}, MotionBlurSettings{16, 8}, 10, 10).size(), 8u);
    EXPECT_EQ(MotionSamples({still, moved}, MotionBlurSettings{16, 0}, 10, 10).size(), 16u);
    // Steps count alone: 3 pixels, then 9.
    const std::vector<Affine> two =
        MotionSamples({still, moved, Affine{1, 0, 0, 1, 17, 5}}, settings, 10, 10);
    ASSERT_EQ(two.size(), 3u + 9u + 1u);
    EXPECT_DOUBLE_EQ(two[1].tx, 6.0);
    EXPECT_DOUBLE_EQ(two[3].tx, 8.0);
    EXPECT_DOUBLE_EQ(two.back().tx, 17.0);
}

TEST(PixelsGeometry, ReachableRunsMatchAPixelByPixelSearch) {
    auto check = [](const Affine& inv, int trial) {
        const RunFinder finder(inv, -0.5, 6.5, -0.5, 4.5);
        for (A_long y = -5; y < 25; ++y) {
            const RowRun run = ReachableRun(inv, y, -10, 30, -0.5, 6.5, -0.5, 4.5);
            const RowRun found = finder(y, -10, 30);
            ASSERT_TRUE(found.begin == run.begin && found.end == run.end) << "trial " << trial;
            // The runs from the bounds alone: Within may lose a pixel at either end, Around may
            // add one; the clip's ends are no bound to lose a pixel at.
            const RowRun within = finder.Within(y, -10, 30);
            const RowRun around = finder.Around(y, -10, 30);
            if (run.end > run.begin) {
                ASSERT_TRUE(within.begin >= run.begin && within.begin <= run.begin + 1 &&
                            within.end <= run.end && within.end >= run.end - 1)
                    << "trial " << trial << " row " << y;
                ASSERT_TRUE(around.begin <= run.begin && around.begin >= run.begin - 1 &&
                            around.end >= run.end && around.end <= run.end + 1)
                    << "trial " << trial << " row " << y;
                ASSERT_TRUE((run.begin > -10 || within.begin == -10) &&
                            (run.end < 30 || within.end == 30))
                    << "trial " << trial << " row " << y;
            } else {
                ASSERT_LE(within.end - within.begin, 0) << "trial " << trial << " row " << y;
                ASSERT_LE(around.end - around.begin, 2) << "trial " << trial << " row " << y;
            }
            for (A_long x = -10; x < 30; ++x) {
                const Point p = SourceOfPixel(inv, x, y);
                const bool inside = p.x > -0.5 && p.x < 6.5 && p.y > -0.5 && p.y < 4.5;
                ASSERT_EQ(inside, x >= run.begin && x < run.end)
                    << "trial " << trial << " pixel " << x << "," << y;
            }
        }
    };
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> any(-2.0, 2.0);
    for (int trial = 0; trial < 200; ++trial) {
        const Affine m{any(rng), any(rng), any(rng), any(rng), any(rng) * 10, any(rng) * 10};
        if (const std::optional<Affine> inv = Inverse(m)) {
            check(*inv, trial);
        }
    }
    // Rows along which u or v stays put, or moves too little to divide by (1 / 1e-310 is
    // infinite): only the exact test can find those runs.
    check(Affine{0, 0.5, 1, 0, 2.25, 1}, 1000);
    check(Affine{1e-310, 0.5, 1, -0.25, 3, 2}, 1001);
    check(Affine{0.7, -1e-310, 0, 1, 1, -2.5}, 1002);
    // Whole-pixel moves put the region's edges on pixel centres, which lie outside it.
    check(Affine{1, 0, 0, 1, -2, -1}, 1003);
    check(Affine{0.5, 0, 0, 0.5, -1.25, 0.25}, 1004);
}

TEST(PixelsGeometry, InverseUndoesTheMapAndRejectsSingularOnes) {
    const Affine m{0.8, 0.6, -1.2, 1.6, 5, -3};
    const Affine inv = *Inverse(m);
    const Point back = Apply(inv, Apply(m, {3.5, -2.25}));
    EXPECT_NEAR(back.x, 3.5, 1e-12);
    EXPECT_NEAR(back.y, -2.25, 1e-12);
    EXPECT_FALSE(Inverse(Affine{1, 2, 2, 4, 0, 0}));
    EXPECT_TRUE(AffineFromMatrix(Matrix(1, 0, 0, 1, 0, 0)));
    PF_FloatMatrix projective = Matrix(1, 0, 0, 1, 0, 0);
    projective.mat[0][2] = 0.01;
    EXPECT_FALSE(AffineFromMatrix(projective));
}

} // namespace
} // namespace plurion::host
