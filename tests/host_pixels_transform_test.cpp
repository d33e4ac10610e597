// The transform kernel: placement, filtering, opacity, every transfer mode at every depth,
// motion blur, and the fast path against the general kernels.
#include "host_pixels_support.h"

#include "blend_modes.h"
#include "sampling.h"
#include "transform_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace plurion::host {
namespace {

using namespace testing;

PF_CompositeMode Mode(PF_TransferMode xfer, A_u_char opacity = 255) {
    PF_CompositeMode m{};
    m.xfer = xfer;
    m.opacity = opacity;
    return m;
}

PF_Err Draw(const PF_EffectWorld& src, PF_EffectWorld& dst, const PF_FloatMatrix* matrices,
            A_long count, const PF_CompositeMode& mode, PF_Quality quality = PF_Quality_HI,
            bool fast = true, int samples = 16) {
    TransformRequest r;
    r.quality = quality;
    r.src = &src;
    r.comp_mode = &mode;
    r.matrices = matrices;
    r.num_matrices = count;
    r.dst = &dst;
    r.settings.motion_blur = {samples, 0}; // a fixed count of samples per step
    r.allow_fast_paths = fast;
    return TransformWorld(r);
}

std::vector<Rgba> RandomPixels(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<Rgba> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        // A third opaque, a third transparent, a third in between.
        const float a = i % 3 == 0 ? 1.0f : i % 3 == 1 ? 0.0f : unit(rng);
        out[i] = {unit(rng), unit(rng), unit(rng), a};
    }
    return out;
}

struct Placement {
    PF_PixelFormat format;
    PF_Quality quality;
};

class TransformPlacement : public ::testing::TestWithParam<Placement> {};

INSTANTIATE_TEST_SUITE_P(DepthsAndQualities, TransformPlacement,
                         ::testing::Values(Placement{PF_PixelFormat_ARGB32, PF_Quality_LO},
                                           Placement{PF_PixelFormat_ARGB32, PF_Quality_HI},
                                           Placement{PF_PixelFormat_ARGB64, PF_Quality_LO},
                                           Placement{PF_PixelFormat_ARGB64, PF_Quality_HI},
                                           Placement{PF_PixelFormat_ARGB128, PF_Quality_LO},
                                           Placement{PF_PixelFormat_ARGB128, PF_Quality_HI}),
                         [](const auto& p) {
                             return FormatName(p.param.format) +
                                    (p.param.quality == PF_Quality_HI ? "_hi" : "_lo");
                         });

// Identity, a whole-pixel move and a quarter turn put every source pixel exactly on one
// destination pixel (float may differ by rounding of the premultiplied round trip).
TEST_P(TransformPlacement, WholePixelPlacementsAreExact) {
    const auto [format, quality] = GetParam();
    const float tol = format == PF_PixelFormat_ARGB128 ? 1e-6f : 0.0f;
    const std::vector<Rgba> pixels = RandomPixels(4 * 3, 3);
    WorldOwner src = MakeImage(format, 4, 3, pixels);
    const PF_CompositeMode copy = Mode(PF_Xfer_COPY);
    const std::vector<Rgba> held = PixelsOf(src.get());
    auto source = [&](A_long x, A_long y) {
        const Rgba p = held[static_cast<std::size_t>(y) * 4 + x];
        return p.a == 0.0f ? Rgba{} : p; // colour under zero alpha is not kept
    };

    struct Case {
        PF_FloatMatrix m;
        // Where source pixel (x, y) lands.
        A_long (*to_x)(A_long, A_long);
        A_long (*to_y)(A_long, A_long);
    };
    const Case cases[] = {
        {Matrix(1, 0, 0, 1, 0, 0), [](A_long x, A_long) { return x; },
         [](A_long, A_long y) { return y; }},
        {Translation(3, 2), [](A_long x, A_long) { return x + 3; },
         [](A_long, A_long y) { return y + 2; }},
        // (x, y) -> (7 - y, x + 1): the unit square of (x, y) covers pixel (6 - y, x + 1).
        {Matrix(0, 1, -1, 0, 7, 1), [](A_long, A_long y) { return 6 - y; },
         [](A_long x, A_long) { return x + 1; }},
    };
    for (const Case& c : cases) {
        WorldOwner dst = MakeUniform(format, 9, 7, {0.2f, 0.4f, 0.6f, 1.0f});
        const Rgba before = PixelAt(dst.get(), 0, 0);
        ASSERT_EQ(Draw(src.get(), dst.get(), &c.m, 1, copy, quality), PF_Err_NONE);
        std::set<std::pair<A_long, A_long>> covered;
        for (A_long y = 0; y < 3; ++y) {
            for (A_long x = 0; x < 4; ++x) {
                const Rgba got = PixelAt(dst.get(), c.to_x(x, y), c.to_y(x, y));
                EXPECT_TRUE(Near(got, source(x, y), tol)) << x << "," << y << " " << Show(got);
                covered.insert({c.to_x(x, y), c.to_y(x, y)});
            }
        }
        // Pixels the source cannot reach keep their colour.
        for (A_long y = 0; y < 7; ++y) {
            for (A_long x = 0; x < 9; ++x) {
                if (!covered.count({x, y})) {
                    EXPECT_TRUE(Near(PixelAt(dst.get(), x, y), before, 0.0f)) << x << "," << y;
                }
            }
        }
    }
}

// Black and white doubled in size: pixel centres fall at a quarter and three quarters between
// source centres, and the outer half-pixel fades against the transparent outside.
TEST_P(TransformPlacement, DoublingInterpolatesAtHighQualityAndRepeatsAtLow) {
    const auto [format, quality] = GetParam();
    WorldOwner src = MakeImage(format, 2, 1, {{0, 0, 0, 1}, {1, 1, 1, 1}});
    WorldOwner dst = MakeUniform(format, 4, 2, {});
    const PF_FloatMatrix twice = Matrix(2, 0, 0, 2, 0, 0);
    ASSERT_EQ(Draw(src.get(), dst.get(), &twice, 1, Mode(PF_Xfer_IN_FRONT), quality), PF_Err_NONE);
    const bool hi = quality == PF_Quality_HI;
    const float grey[] = {0.0f, hi ? 0.25f : 0.0f, hi ? 0.75f : 1.0f, 1.0f};
    const float alpha[] = {0.5625f, 0.75f, 0.75f, 0.5625f}; // 0.75 across x 0.75 down at the ends
    for (A_long y = 0; y < 2; ++y) {
        for (A_long x = 0; x < 4; ++x) {
            const float a = hi ? alpha[x] : 1.0f;
            const Rgba expected{grey[x], grey[x], grey[x], a};
            EXPECT_TRUE(Near(PixelAt(dst.get(), x, y), expected, Tolerance(format)))
                << x << "," << y << " " << Show(PixelAt(dst.get(), x, y));
        }
    }
}

TEST_P(TransformPlacement, OpacityRgbOnlyPremultipliedSourcesAndTheDestinationRectangle) {
    const auto [format, quality] = GetParam();
    const float tol = Tolerance(format);
    const PF_FloatMatrix identity = Matrix(1, 0, 0, 1, 0, 0);
    WorldOwner red = MakeUniform(format, 3, 1, {1, 0, 0, 1});

    WorldOwner dst = MakeUniform(format, 3, 1, {0, 0, 1, 1});
    ASSERT_EQ(Draw(red.get(), dst.get(), &identity, 1, Mode(PF_Xfer_IN_FRONT, 51), quality),
              PF_Err_NONE);
    EXPECT_TRUE(Near(PixelAt(dst.get(), 1, 0), {0.2f, 0, 0.8f, 1}, tol));

    // Every opacity byte draws as byte / 255 at every depth when only the 8-bit field is filled
    // in: 1 is faintly visible, 0 draws nothing. Only the destination's own rounding differs.
    const float step = format == PF_PixelFormat_ARGB32   ? 0.51f / 255
                       : format == PF_PixelFormat_ARGB64 ? 0.51f / 32768
                                                         : 1e-6f;
    for (int byte = 0; byte <= 255; ++byte) {
        WorldOwner clear = MakeUniform(format, 1, 1, {});
        ASSERT_EQ(Draw(red.get(), clear.get(), &identity, 1,
                       Mode(PF_Xfer_IN_FRONT, static_cast<A_u_char>(byte)), quality),
                  PF_Err_NONE);
        EXPECT_NEAR(PixelAt(clear.get(), 0, 0).a, byte / 255.0f, step) << byte;
    }
    // 16-bit worlds take the finer opacitySu where the byte is its 8-bit rounding
    // (16384 / 32768 x 255 = 127.5 rounds to 128); a byte that disagrees wins.
    PF_CompositeMode half = Mode(PF_Xfer_IN_FRONT, 128);
    half.opacitySu = 16384;
    EXPECT_FLOAT_EQ(EffectiveOpacity(half, format),
                    format == PF_PixelFormat_ARGB64 ? 0.5f : 128.0f / 255.0f);
    half.opacity = 127;
    EXPECT_FLOAT_EQ(EffectiveOpacity(half, format), 127.0f / 255.0f);

    // rgb_only: colour over a half-transparent destination, its alpha kept.
    WorldOwner faint = MakeUniform(format, 3, 1, {0, 0, 1, 0.5f});
    PF_CompositeMode rgb = Mode(PF_Xfer_IN_FRONT);
    rgb.rgb_only = 1;
    ASSERT_EQ(Draw(red.get(), faint.get(), &identity, 1, rgb, quality), PF_Err_NONE);
    EXPECT_TRUE(Near(PixelAt(faint.get(), 0, 0), {1, 0, 0, 0.5f}, tol));

    // A premultiplied half-transparent 0.25 grey is a straight 0.5 grey.
    WorldOwner premul = MakeUniform(format, 3, 1, {0.25f, 0.25f, 0.25f, 0.5f});
    WorldOwner clear = MakeUniform(format, 3, 1, {});
    TransformRequest r;
    const PF_CompositeMode in_front = Mode(PF_Xfer_IN_FRONT);
    const PF_Rect first_two{0, 0, 2, 1};
    r.quality = quality;
    r.m_flags = PF_MF_Alpha_PREMUL;
    r.src = &premul.get();
    r.comp_mode = &in_front;
    r.matrices = &identity;
    r.num_matrices = 1;
    r.dest_rect = &first_two;
    r.dst = &clear.get();
    ASSERT_EQ(TransformWorld(r), PF_Err_NONE);
    EXPECT_TRUE(Near(PixelAt(clear.get(), 1, 0), {0.5f, 0.5f, 0.5f, 0.5f}, tol));
    EXPECT_TRUE(Near(PixelAt(clear.get(), 2, 0), {}, 0.0f)); // outside the rectangle
}

// One blend case: backdrop and source (colour, alpha) and the expected result; `overbright` is
// the float result where it differs because float does not clamp.
struct BlendCase {
    PF_TransferMode xfer;
    Rgba backdrop, source, expected;
    std::optional<Rgba> overbright = std::nullopt;
};

Rgba Grey(float v, float a = 1.0f) {
    return {v, v, v, a};
}

// Known values of each mode (W3C examples where it gives them, otherwise worked by hand).
const BlendCase kBlendCases[] = {
    {PF_Xfer_COPY, Grey(0.25f), Grey(0.5f, 0.5f), Grey(0.5f, 0.5f)},
    {PF_Xfer_IN_FRONT, Grey(0.25f), Grey(0.75f), Grey(0.75f)},
    {PF_Xfer_IN_FRONT, Grey(1.0f, 0.5f), Grey(0.0f, 0.5f), Grey(1.0f / 3, 0.75f)},
    {PF_Xfer_BEHIND, Grey(0.25f, 0.5f), Grey(1.0f), Grey(0.625f, 1.0f)},
    {PF_Xfer_DISSOLVE, Grey(0.25f), Grey(0.75f), Grey(0.75f)},
    {PF_Xfer_DARKEN, Grey(0.25f), Grey(0.75f), Grey(0.25f)},
    {PF_Xfer_LIGHTEN, Grey(0.25f), Grey(0.75f), Grey(0.75f)},
    {PF_Xfer_MULTIPLY, Grey(0.5f), Grey(0.5f), Grey(0.25f)},
    // Blending counts only where the backdrop covers: half a multiply, half the source.
    {PF_Xfer_MULTIPLY, Grey(0.5f, 0.5f), Grey(0.5f), Grey(0.375f)},
    {PF_Xfer_MULTIPLY, Grey(0.5f), Grey(0.5f, 0.5f), Grey(0.375f)},
    {PF_Xfer_SCREEN, Grey(0.5f), Grey(0.5f), Grey(0.75f)},
    {PF_Xfer_OVERLAY, Grey(0.25f), Grey(0.75f), Grey(0.375f)},
    {PF_Xfer_OVERLAY, Grey(0.75f), Grey(0.25f), Grey(0.625f)},
    {PF_Xfer_SOFT_LIGHT, Grey(0.5f), Grey(0.25f), Grey(0.375f)},
    {PF_Xfer_SOFT_LIGHT, Grey(0.25f), Grey(0.75f), Grey(0.375f)},
    {PF_Xfer_HARD_LIGHT, Grey(0.75f), Grey(0.25f), Grey(0.375f)},
    {PF_Xfer_HARD_LIGHT, Grey(0.25f), Grey(0.75f), Grey(0.625f)},
    {PF_Xfer_COLOR_DODGE2, Grey(0.25f), Grey(0.5f), Grey(0.5f)},
    {PF_Xfer_COLOR_DODGE2, Grey(0.0f), Grey(1.0f), Grey(0.0f)},
    {PF_Xfer_COLOR_DODGE, Grey(0.0f), Grey(1.0f), Grey(1.0f)},
    {PF_Xfer_COLOR_DODGE, Grey(0.25f), Grey(0.5f), Grey(0.5f)},
    {PF_Xfer_COLOR_BURN2, Grey(0.75f), Grey(0.5f), Grey(0.5f)},
    {PF_Xfer_COLOR_BURN2, Grey(1.0f), Grey(0.0f), Grey(1.0f)},
    {PF_Xfer_COLOR_BURN, Grey(1.0f), Grey(0.0f), Grey(0.0f)},
    {PF_Xfer_COLOR_BURN, Grey(0.75f), Grey(0.5f), Grey(0.5f)},
    {PF_Xfer_LINEAR_BURN, Grey(0.75f), Grey(0.5f), Grey(0.25f)},
    {PF_Xfer_LINEAR_BURN, Grey(0.25f), Grey(0.5f), Grey(0.0f), Grey(-0.25f)},
    {PF_Xfer_ADD, Grey(0.25f), Grey(0.5f), Grey(0.75f)},
    {PF_Xfer_ADD, Grey(0.75f), Grey(0.5f), Grey(1.0f), Grey(1.25f)},
    {PF_Xfer_LINEAR_DODGE, Grey(0.75f), Grey(0.5f), Grey(1.0f), Grey(1.25f)},
    {PF_Xfer_LINEAR_LIGHT, Grey(0.25f), Grey(0.75f), Grey(0.75f)},
    {PF_Xfer_VIVID_LIGHT, Grey(0.5f), Grey(0.75f), Grey(1.0f)},
    {PF_Xfer_VIVID_LIGHT, Grey(0.5f), Grey(0.25f), Grey(0.0f)},
    {PF_Xfer_PIN_LIGHT, Grey(0.5f), Grey(0.125f), Grey(0.25f)},
    {PF_Xfer_PIN_LIGHT, Grey(0.5f), Grey(0.875f), Grey(0.75f)},
    {PF_Xfer_HARD_MIX, Grey(0.5f), Grey(0.625f), Grey(1.0f)},
    {PF_Xfer_HARD_MIX, Grey(0.5f), Grey(0.375f), Grey(0.0f)},
    {PF_Xfer_DIFFERENCE2, Grey(0.25f), Grey(0.75f), Grey(0.5f)},
    {PF_Xfer_DIFFERENCE2, Grey(1.0f), Grey(0.25f), Grey(0.75f)},
    {PF_Xfer_DIFFERENCE, Grey(0.25f), Grey(0.75f), Grey(0.5f)},
    {PF_Xfer_EXCLUSION, Grey(0.25f), Grey(1.0f), Grey(0.75f)},
    {PF_Xfer_SUBTRACT, Grey(0.75f), Grey(0.25f), Grey(0.5f)},
    {PF_Xfer_SUBTRACT, Grey(0.25f), Grey(0.75f), Grey(0.0f), Grey(-0.5f)},
    {PF_Xfer_DIVIDE, Grey(0.25f), Grey(0.5f), Grey(0.5f)},
    {PF_Xfer_DIVIDE, Grey(0.75f), Grey(0.5f), Grey(1.0f), Grey(1.5f)},
    {PF_Xfer_DARKER_COLOR, Grey(0.2f), {0.9f, 0, 0, 1}, Grey(0.2f)}, // luma 0.27 > 0.2
    {PF_Xfer_LIGHTER_COLOR, Grey(0.2f), {0.9f, 0, 0, 1}, {0.9f, 0, 0, 1}},
    // Grey has no hue or saturation to give or to take.
    {PF_Xfer_HUE, Grey(0.5f), {1, 0, 0, 1}, Grey(0.5f)},
    {PF_Xfer_SATURATION, {0.8f, 0.4f, 0.2f, 1}, Grey(0.5f), Grey(0.498f)},
    {PF_Xfer_LUMINOSITY, Grey(0.5f), {1, 0, 0, 1}, Grey(0.3f)},
    // Red lifted to luma 0.5 is (1.2, 0.2, 0.2); integer depths pull it back within white.
    {PF_Xfer_COLOR,
     Grey(0.5f),
     {1, 0, 0, 1},
     {1.0f, 0.5f - 0.3f * 5 / 7, 0.5f - 0.3f * 5 / 7, 1},
     Rgba{1.2f, 0.2f, 0.2f, 1}},
};

struct BlendParam {
    PF_PixelFormat format;
    std::size_t index;
};

class TransferModes : public ::testing::TestWithParam<BlendParam> {};

std::vector<BlendParam> AllBlendParams() {
    std::vector<BlendParam> out;
    for (PF_PixelFormat f : kFormats) {
        for (std::size_t i = 0; i < std::size(kBlendCases); ++i) {
            out.push_back({f, i});
        }
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(DepthsAndModes, TransferModes, ::testing::ValuesIn(AllBlendParams()),
                         [](const auto& p) {
                             const BlendCase& c = kBlendCases[p.param.index];
                             std::string name = FindBlendMode(c.xfer)->name;
                             name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                             return FormatName(p.param.format) + "_" + name + "_" +
                                    std::to_string(p.param.index);
                         });

TEST_P(TransferModes, KnownPairsGiveKnownResults) {
    const auto [format, index] = GetParam();
    const BlendCase& c = kBlendCases[index];
    WorldOwner src = MakeUniform(format, 1, 1, c.source);
    WorldOwner dst = MakeUniform(format, 1, 1, c.backdrop);
    const PF_FloatMatrix identity = Matrix(1, 0, 0, 1, 0, 0);
    ASSERT_EQ(Draw(src.get(), dst.get(), &identity, 1, Mode(c.xfer)), PF_Err_NONE);
    const Rgba expected =
        format == PF_PixelFormat_ARGB128 && c.overbright ? *c.overbright : c.expected;
    const Rgba got = PixelAt(dst.get(), 0, 0);
    EXPECT_TRUE(Near(got, expected, Tolerance(format) + 1e-3f))
        << "got " << Show(got) << " expected " << Show(expected);
}

TEST(TransferModeTable, EveryModeOfTheTableIsCheckedAndTheRestAreRefused) {
    std::set<PF_TransferMode> checked;
    for (const BlendCase& c : kBlendCases) {
        checked.insert(c.xfer);
    }
    for (const BlendMode& mode : kBlendModes) {
        EXPECT_TRUE(checked.count(mode.xfer)) << mode.name;
    }
    EXPECT_EQ(FindBlendMode(PF_Xfer_MULTIPLY_ALPHA), nullptr);
}

TEST(TransferModeTable, DissolveFollowsItsSeedAndTheSourceAlpha) {
    WorldOwner src = MakeUniform(PF_PixelFormat_ARGB32, 64, 64, {1, 1, 1, 0.5f});
    const PF_FloatMatrix identity = Matrix(1, 0, 0, 1, 0, 0);
    auto draw = [&](A_long seed) {
        WorldOwner dst = MakeUniform(PF_PixelFormat_ARGB32, 64, 64, {0, 0, 0, 1});
        PF_CompositeMode mode = Mode(PF_Xfer_DISSOLVE);
        mode.rand_seed = seed;
        EXPECT_EQ(Draw(src.get(), dst.get(), &identity, 1, mode), PF_Err_NONE);
        std::vector<bool> white;
        for (const Rgba& p : PixelsOf(dst.get())) {
            EXPECT_TRUE(p.r == 0.0f || p.r == 1.0f); // each pixel all or nothing
            white.push_back(p.r == 1.0f);
        }
        return white;
    };
    const std::vector<bool> a = draw(1);
    EXPECT_EQ(a, draw(1));
    EXPECT_NE(a, draw(2));
    const auto shown = std::count(a.begin(), a.end(), true);
    EXPECT_NEAR(static_cast<double>(shown) / a.size(), 0.5, 0.05);
}

class MotionBlur : public ::testing::TestWithParam<PF_PixelFormat> {};

INSTANTIATE_TEST_SUITE_P(Depths, MotionBlur, ::testing::ValuesIn(kFormats),
                         [](const auto& p) { return FormatName(p.param); });

// A 4 x 4 white square moving 15 pixels right, 16 samples: one sample per whole pixel, so the
// coverage of a pixel is the share of the 16 positions whose square contains it.
TEST_P(MotionBlur, AMovingSquareSmearsIntoARamp) {
    const PF_PixelFormat format = GetParam();
    WorldOwner square = MakeUniform(format, 4, 4, {1, 1, 1, 1});
    WorldOwner dst = MakeUniform(format, 24, 6, {});
    const PF_FloatMatrix path[2] = {Translation(2, 1), Translation(17, 1)};
    ASSERT_EQ(
        Draw(square.get(), dst.get(), path, 2, Mode(PF_Xfer_IN_FRONT), PF_Quality_HI, true, 16),
        PF_Err_NONE);
    for (A_long x = 0; x < 24; ++x) {
        int hits = 0;
        for (int k = 0; k < 16; ++k) {
            hits += x >= 2 + k && x < 6 + k ? 1 : 0;
        }
        const Rgba got = PixelAt(dst.get(), x, 2);
        const Rgba expected = hits > 0 ? Rgba{1, 1, 1, hits / 16.0f} : Rgba{};
        EXPECT_TRUE(Near(got, expected, Tolerance(format))) << x << " " << Show(got);
        EXPECT_TRUE(Near(PixelAt(dst.get(), x, 5), {}, 0.0f)); // below the square
    }

    // Two equal matrices draw as one.
    WorldOwner still = MakeUniform(format, 24, 6, {});
    WorldOwner once = MakeUniform(format, 24, 6, {});
    const PF_FloatMatrix same[2] = {Translation(2.5, 1), Translation(2.5, 1)};
    ASSERT_EQ(Draw(square.get(), still.get(), same, 2, Mode(PF_Xfer_IN_FRONT)), PF_Err_NONE);
    ASSERT_EQ(Draw(square.get(), once.get(), same, 1, Mode(PF_Xfer_IN_FRONT)), PF_Err_NONE);
    const auto a = PixelsOf(still.get());
    const auto b = PixelsOf(once.get());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_TRUE(Near(a[i], b[i], 0.0f)) << i;
    }
}

// Adaptive sampling against the full 16 samples per step: a disc moving 3 pixels (4 samples, a
// pixel apart) differs by at most 10 % of full scale where its edge passes and 0.5 % on average
// (measured: 8.5 % and 0.15 %); one moving 40 pixels (the limit of 16 samples here) not at all.
TEST(MotionBlur, AdaptiveSamplingStaysCloseToSixteenSamples) {
    WorldOwner disc = MakeImage(PF_PixelFormat_ARGB128, 24, 24, [] {
        std::vector<Rgba> pixels;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                const float r = std::hypot(x - 11.5f, y - 11.5f);
                pixels.push_back({1.0f, x / 24.0f, 0.5f, std::clamp(11.0f - r, 0.0f, 1.0f)});
            }
        }
        return pixels;
    }());
    for (const double distance : {3.0, 40.0}) {
        const PF_FloatMatrix path[2] = {Translation(4, 3), Translation(4 + distance, 3 + 0.5)};
        auto draw = [&](MotionBlurSettings settings) {
            WorldOwner dst = MakeUniform(PF_PixelFormat_ARGB128, 80, 30, {});
            TransformRequest r;
            r.src = &disc.get();
            const PF_CompositeMode mode = Mode(PF_Xfer_IN_FRONT);
            r.comp_mode = &mode;
            r.matrices = path;
            r.num_matrices = 2;
            r.dst = &dst.get();
            r.settings.motion_blur = settings;
            EXPECT_EQ(TransformWorld(r), PF_Err_NONE);
            return PixelsOf(dst.get());
        };
        const std::vector<Rgba> full = draw({16, 0});
        const std::vector<Rgba> adaptive = draw({16, 16});
        float largest = 0;
        double sum = 0;
        for (std::size_t i = 0; i < full.size(); ++i) {
            for (auto c : {&Rgba::r, &Rgba::g, &Rgba::b, &Rgba::a}) {
                const float d = std::fabs(full[i].*c * full[i].a - adaptive[i].*c * adaptive[i].a);
                largest = std::max(largest, d);
                sum += d;
            }
        }
        if (distance < 10) {
            EXPECT_LE(largest, 0.1f);
            EXPECT_LE(sum / static_cast<double>(full.size() * 4), 0.005);
        } else {
            EXPECT_EQ(largest, 0.0f);
        }
    }
}

// The opaque 8-bit interpolation of the reference sampler: its vector form gives the sums of the
// plain one, and a sum is what the weights say (worked from the taps directly).
TEST(OpaqueBilinear8, VectorAndPlainFormsGiveTheSameSums) {
    std::vector<Rgba> opaque = RandomPixels(37 * 29, 6);
    for (Rgba& p : opaque) {
        p.a = 1.0f;
    }
    WorldOwner solid = MakeImage(PF_PixelFormat_ARGB32, 37, 29, opaque);
    const SourceImage<Pixel8Traits> image(solid.get());
    for (A_long iy = 0; iy < 28; ++iy) {
        for (A_long ix = 0; ix < 36; ++ix) {
            const BilinearPlace8 p{ix, iy, (ix * 37) % 128, (iy * 53) % 128};
            const OpaqueSums8 v = OpaqueBilinear8(image, p);
            const OpaqueSums8 s = OpaqueBilinear8Plain(image, p);
            ASSERT_TRUE(v.red == s.red && v.green == s.green && v.blue == s.blue)
                << ix << "," << iy;
            const PF_Pixel* top = WorldRow<Pixel8Traits>(solid.get(), iy) + ix;
            const PF_Pixel* below = WorldRow<Pixel8Traits>(solid.get(), iy + 1) + ix;
            const int wx = p.fx, wy = p.fy;
            const int green = top[0].green * (128 - wx) * (128 - wy) +
                              top[1].green * wx * (128 - wy) + below[0].green * (128 - wx) * wy +
                              below[1].green * wx * wy;
            ASSERT_EQ(s.green, green) << ix << "," << iy;
        }
    }
}

// Places in whole numbers: the 1/128 step of u = (x + 0.5) * du + row_u, rounded (8-bit
// bilinear) and floored (nearest), worked here by hand with numbers that doubles hold exactly,
// also where column 0 maps so far away that the sums wrap.
TEST(FixedPlaces, GiveTheRoundedAndTheFlooredStepFarFromColumnZero) {
    struct Case {
        double row_u, du;
        A_long x;
        std::int32_t rounded, floored; // floor(u * 128 + 0.5), floor(u * 128)
    };
    const Case cases[] = {
        // u = 3.5 * 0.5 + 0.25 = 2: 256 steps.
        {0.25, 0.5, 3, 256, 256},
        // u = 2.5 * 1.25 - 4 = -0.875: -112.
        {-4.0, 1.25, 2, -112, -112},
        // u = 10.5 / 256 = 0.041015625: 5.25 steps.
        {0.0, 1.0 / 256, 10, 5, 5},
        // Half a step rounds up: u = 0.5 * 3 / 256 = 0.005859375 is 0.75 steps; -1/256 is -0.5.
        {0.0, 3.0 / 256, 0, 1, 0},
        {-3.0 / 512 - 1.0 / 256, 3.0 / 256, 0, 0, -1},
        // Column 0 maps 750 million pixels away: u = (1e9 + 0.5) * 0.75 - 749999999.8125 +
        // 3 / 512 = 0.568359375, 72.75 steps, the sums having wrapped past 2^64.
        {-749999999.8125 + 3.0 / 512, 0.75, 1000000000, 73, 72},
        // A source shrunk 2^20 times, column 0 about 2^50 pixels away:
        // u = (2^30 - 2.5) * 2^20 + row_u = 0.75, 96 steps.
        {-1125899906842624.0 + 2621440.0 + 0.75, 1048576.0, (1 << 30) - 3, 96, 96},
    };
    for (const Case& c : cases) {
        for (const bool rounded : {true, false}) {
            const FixedRow row = FixedRowOf(c.row_u, c.du, c.row_u, c.du, rounded);
            std::int32_t ux = 0, vy = 0;
            FixedSteps(row, c.x, ux, vy);
            const std::int32_t expected = rounded ? c.rounded : c.floored;
            EXPECT_TRUE(ux == expected && vy == expected)
                << "row_u " << c.row_u << " du " << c.du << " x " << c.x << ": " << ux;
            if (rounded) {
                const BilinearPlace8 p = PlaceOf8(row, c.x);
                EXPECT_TRUE(p.ix == expected >> 7 && p.fx == (expected & 127));
            }
        }
    }
}

TEST(TransformLimits, MasksAndFieldsLimitWhatIsDrawn) {
    WorldOwner white = MakeUniform(PF_PixelFormat_ARGB32, 4, 2, {1, 1, 1, 1});
    // A float mask of two pixels at (1, 0): opaque, then half transparent and dark grey.
    WorldOwner mask =
        MakeImage(PF_PixelFormat_ARGB128, 2, 1, {{1, 1, 1, 1}, {0.25f, 0.25f, 0.25f, 0.5f}});
    const PF_FloatMatrix identity = Matrix(1, 0, 0, 1, 0, 0);
    const PF_CompositeMode in_front = Mode(PF_Xfer_IN_FRONT);
    struct Case {
        PF_MaskFlags flags;
        float alpha[4];
    };
    const Case cases[] = {{PF_MaskFlag_NONE, {0, 1, 0.5f, 0}},
                          {PF_MaskFlag_INVERTED, {1, 0, 0.5f, 1}},
                          {PF_MaskFlag_LUMINANCE, {0, 1, 0.25f, 0}}};
    for (const Case& c : cases) {
        WorldOwner dst = MakeUniform(PF_PixelFormat_ARGB32, 4, 2, {});
        const PF_MaskWorld m{mask.get(), {1, 0}, c.flags};
        ASSERT_EQ(TransformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, &white.get(),
                                 &in_front, &m, &identity, 1, 1, nullptr, &dst.get()),
                  PF_Err_NONE);
        for (A_long x = 0; x < 4; ++x) {
            EXPECT_NEAR(PixelAt(dst.get(), x, 0).a, c.alpha[x], 1.0 / 255) << c.flags << " " << x;
            EXPECT_NEAR(PixelAt(dst.get(), x, 1).a, c.flags & PF_MaskFlag_INVERTED ? 1 : 0, 0.0)
                << "row 1 lies beyond the mask";
        }
    }
    for (PF_Field field : {PF_Field_UPPER, PF_Field_LOWER}) {
        WorldOwner dst = MakeUniform(PF_PixelFormat_ARGB32, 4, 2, {});
        ASSERT_EQ(TransformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, field, &white.get(),
                                 &in_front, nullptr, &identity, 1, 1, nullptr, &dst.get()),
                  PF_Err_NONE);
        EXPECT_EQ(PixelAt(dst.get(), 2, 0).a, field == PF_Field_UPPER ? 1.0f : 0.0f);
        EXPECT_EQ(PixelAt(dst.get(), 2, 1).a, field == PF_Field_LOWER ? 1.0f : 0.0f);
    }
}

// A nearest draw moved half a pixel puts the source's left edge on the centre of destination
// column 0, which it does not reach (u > 0 strictly): columns 1 to 3 take source columns 1 to 3,
// at every depth and with the vector kernels too. Blurred between two such places (0.5 and 2.5
// pixels), the two samples of a column count half each where each reaches it.
TEST(TransformLimits, NearestLeavesAPixelOnTheSourcesEdge) {
    for (PF_PixelFormat format : kFormats) {
        WorldOwner ramp = MakeImage(format, 4, 1,
                                    {{0.25f, 0.25f, 0.25f, 1},
                                     {0.5f, 0.5f, 0.5f, 1},
                                     {0.75f, 0.75f, 0.75f, 1},
                                     {1, 1, 1, 1}});
        const PF_CompositeMode in_front = Mode(PF_Xfer_IN_FRONT);
        const PF_FloatMatrix moves[2] = {Matrix(1, 0, 0, 1, 0.5, 0), Matrix(1, 0, 0, 1, 2.5, 0)};
        WorldOwner dst = MakeUniform(format, 8, 1, {});
        ASSERT_EQ(TransformWorld(PF_Quality_LO, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, &ramp.get(),
                                 &in_front, nullptr, moves, 1, 1, nullptr, &dst.get()),
                  PF_Err_NONE);
        const float still[8] = {0, 0.5f, 0.75f, 1, 0, 0, 0, 0};
        for (A_long x = 0; x < 8; ++x) {
            EXPECT_EQ(PixelAt(dst.get(), x, 0).a, still[x] > 0 ? 1.0f : 0.0f)
                << FormatName(format) << " column " << x;
            EXPECT_NEAR(PixelAt(dst.get(), x, 0).r, still[x], 1.0 / 255)
                << FormatName(format) << " " << x;
        }
        // Blurred: column 3 takes source 3 (first place) and source 1 (second), half each;
        // column 1 only the first place's source 1, at half coverage.
        MotionBlurSettings two;
        two.adaptive_limit = 2;
        WorldOwner blurred = MakeUniform(format, 8, 1, {});
        ASSERT_EQ(TransformWorld(PF_Quality_LO, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, &ramp.get(),
                                 &in_front, nullptr, moves, 2, 1, nullptr, &blurred.get(),
                                 {two, nullptr}),
                  PF_Err_NONE);
        const float alpha[8] = {0, 0.5f, 0.5f, 1, 0.5f, 0.5f, 0, 0};
        const float red[8] = {0, 0.5f, 0.75f, 0.75f, 0.75f, 1, 0, 0};
        for (A_long x = 0; x < 8; ++x) {
            EXPECT_NEAR(PixelAt(blurred.get(), x, 0).a, alpha[x], 1.0 / 255)
                << FormatName(format) << " column " << x;
            if (alpha[x] > 0) {
                EXPECT_NEAR(PixelAt(blurred.get(), x, 0).r, red[x], 1.0 / 255)
                    << FormatName(format) << " column " << x;
            }
        }
    }
}

TEST(TransformErrors, BadArgumentsAreRefusedWithoutTouchingTheDestination) {
    WorldOwner src = MakeUniform(PF_PixelFormat_ARGB32, 2, 2, {1, 1, 1, 1});
    WorldOwner dst = MakeUniform(PF_PixelFormat_ARGB32, 2, 2, {});
    WorldOwner deep = MakeUniform(PF_PixelFormat_ARGB64, 2, 2, {});
    const PF_FloatMatrix identity = Matrix(1, 0, 0, 1, 0, 0);
    PF_FloatMatrix projective = identity;
    projective.mat[0][2] = 0.5;
    const PF_CompositeMode in_front = Mode(PF_Xfer_IN_FRONT);
    EXPECT_EQ(Draw(src.get(), dst.get(), &identity, 0, in_front), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(Draw(src.get(), dst.get(), &identity, 1, Mode(PF_Xfer_ALPHA_ADD)),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(Draw(src.get(), deep.get(), &identity, 1, in_front), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(Draw(src.get(), dst.get(), &projective, 1, in_front), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(TransformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, nullptr,
                             &in_front, nullptr, &identity, 1, 1, nullptr, &dst.get()),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(TransformWorld(PF_Quality_HI, PF_MF_Alpha_STRAIGHT, PF_Field_FRAME, &src.get(),
                             nullptr, nullptr, &identity, 1, 1, nullptr, &dst.get()),
              PF_Err_BAD_CALLBACK_PARAM);
    for (const Rgba& p : PixelsOf(dst.get())) {
        EXPECT_TRUE(Near(p, {}, 0.0f));
    }
}

} // namespace
} // namespace plurion::host
