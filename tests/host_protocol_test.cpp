// The host's smart-render protocol, accounting, trace and render runs, driven through a small
// test effect (tests/modules/protocol_effect.cpp) so that they are checked apart from Plurion.
#include "AE_EffectCBSuites.h"
#include "imageio/image_file.h"
#include "scene/scene_loader.h"
#include "session/frame_render.h"
#include "session/render_job.h"
#include "session/time_units.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace plurion::host {
namespace {

nlohmann::json SceneJson(bool motion_blur) {
    auto scene = nlohmann::json::parse(R"({
      "composition": {"width": 8, "height": 4, "fps": 24, "frames": 4, "bpc": 8},
      "layers": [{"name": "red", "width": 2, "height": 2, "in_point": 0, "duration": 4,
                  "source": {"kind": "solid", "color": [1, 0, 0, 1]}}],
      "effect": {"Source": "red", "Opacity": 50,
                 "Shift": {"keys": [[0, [3, 1]], [1, [4, 1]]]}}
    })");
    scene["composition"]["motion_blur"] = motion_blur;
    return scene;
}

struct Fixture {
    explicit Fixture(bool motion_blur = false) : Fixture(SceneJson(motion_blur)) {}
    explicit Fixture(const nlohmann::json& scene_json) : session(test::ProtocolModulePath()) {
        EXPECT_EQ(session.global_setup(), PF_Err_NONE);
        EXPECT_EQ(session.params_setup(), PF_Err_NONE);
        scene = ParseScene(scene_json, "test.json", ".", session.params());
    }
    PF_Err render(double frame, int bpc, WorldOwner& output, std::vector<std::string>* leaks) {
        FrameRenderer renderer(session, scene, cache, {frame, bpc, 1, &trace});
        const PF_Err err = renderer.render(output);
        *leaks = renderer.leaks();
        return err;
    }
    std::vector<nlohmann::json> lines(const std::string& function) const {
        std::vector<nlohmann::json> out;
        std::istringstream in(trace_text.str());
        for (std::string line; std::getline(in, line);) {
            auto parsed = nlohmann::json::parse(line);
            if (parsed["function"] == function) {
                out.push_back(parsed);
            }
        }
        return out;
    }

    EffectSession session;
    Scene scene;
    SourceCache cache;
    std::ostringstream trace_text;
    Trace trace{trace_text};
};

float Channel(const PF_EffectWorld& world, int x, int y, int channel) {
    float rgba[4 * 8 * 4];
    EXPECT_EQ(WriteFloatRgba(world, rgba, 0), PF_Err_NONE);
    return rgba[(y * world.width + x) * 4 + channel];
}

TEST(FrameProtocol, ServesRequestedLayersAndCompositesAtEveryDepth) {
    for (const int bpc : {8, 16, 32}) {
        Fixture fixture;
        WorldOwner output;
        std::vector<std::string> leaks;
        ASSERT_EQ(fixture.render(0, bpc, output, &leaks), PF_Err_NONE) << bpc;
        EXPECT_TRUE(leaks.empty()) << leaks.front();
        const float tolerance = bpc == 32 ? 1e-6f : 1.0f / 255;
        // The 2 x 2 source lands at (3, 1) with half opacity (the 16-bit field is exact, the
        // others have 128/255); everything else is clear.
        const float half = bpc == 16 ? 0.5f : 128.0f / 255;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 3 && x < 5 && y >= 1 && y < 3;
                EXPECT_NEAR(Channel(output.get(), x, y, 3), inside ? half : 0.0f, tolerance)
                    << bpc << " at " << x << "," << y;
            }
        }
        EXPECT_NEAR(Channel(output.get(), 3, 1, 0), 1.0f, tolerance);

        const auto layers = fixture.lines("checkout_layer");
        ASSERT_EQ(layers.size(), 2u);
        EXPECT_EQ(layers[0]["checkout_id"], 7);
        EXPECT_EQ(layers[1]["checkout_id"], 8);
        EXPECT_EQ(layers[1]["time"], kUnitsPerFrame);
        const auto draws = fixture.lines("transform_world");
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0]["num_matrices"], 1);
        EXPECT_EQ(draws[0]["src"]["from"], "red, frame 0");
        EXPECT_EQ(draws[0]["matrices"][0][6], 3.0);
        EXPECT_EQ(draws[0]["opacity"], 128);
    }
}

TEST(FrameProtocol, ShutterTimesReachTheKeyframesOfBothMatrices) {
    Fixture fixture(true);
    WorldOwner output;
    std::vector<std::string> leaks;
    ASSERT_EQ(fixture.render(1, 8, output, &leaks), PF_Err_NONE);
    // Shutter 180 degrees from -90: open at frame 0.75 (x = 3.75), close at 1.25 (held at 4).
    const auto params = fixture.lines("checkout_param");
    ASSERT_GE(params.size(), 3u);
    EXPECT_EQ(params[1]["time"], kUnitsPerFrame * 3 / 4);
    EXPECT_EQ(params[2]["time"], kUnitsPerFrame * 5 / 4);
    const auto draws = fixture.lines("transform_world");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]["num_matrices"], 2);
    EXPECT_DOUBLE_EQ(draws[0]["matrices"][0][6].get<double>(), 3.75);
    EXPECT_DOUBLE_EQ(draws[0]["matrices"][1][6].get<double>(), 4.0);
}

TEST(FrameProtocol, InjectedFailuresComeBackAndEverythingIsGivenBack) {
    for (const char* function :
         {"checkout_param", "checkin_param", "checkout_layer", "AcquireSuite",
          "checkout_layer_pixels", "checkout_output", "PF_GetPixelFormat", "PF_NewWorld", "copy",
          "fill", "transform_world", "checkin_layer_pixels", "PF_DisposeWorld"}) {
        Fixture fixture;
        fixture.session.faults().fail(function, 1, PF_Err_OUT_OF_MEMORY);
        WorldOwner output;
        std::vector<std::string> leaks;
        EXPECT_EQ(fixture.render(0, 16, output, &leaks), PF_Err_OUT_OF_MEMORY) << function;
        EXPECT_TRUE(leaks.empty()) << function << ": " << leaks.front();
    }
    // PF_GetPixelFormat can answer a format the host cannot make a world of.
    Fixture fixture;
    fixture.session.faults().answer("PF_GetPixelFormat", 1, PF_PixelFormat_INVALID);
    WorldOwner output;
    std::vector<std::string> leaks;
    EXPECT_EQ(fixture.render(0, 8, output, &leaks), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(leaks.empty());
}

TEST(FrameProtocol, RefusesWhatThePreRenderDidNotAskFor) {
    Fixture fixture;
    FrameRenderer renderer(fixture.session, fixture.scene, fixture.cache, {});
    PF_EffectWorld* pixels = nullptr;
    EXPECT_EQ(renderer.checkout_layer_pixels(7, &pixels), PF_Err_BAD_CALLBACK_PARAM);
    PF_ParamDef def{};
    EXPECT_EQ(renderer.checkout_param(99, 0, kUnitsPerFrame, 24 * kUnitsPerFrame, def),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(renderer.checkin_param(def), PF_Err_BAD_CALLBACK_PARAM);
    PF_RenderRequest request{};
    PF_CheckoutResult result{};
    EXPECT_EQ(renderer.checkout_layer(1, 7, request, 0, kUnitsPerFrame, 0, result),
              PF_Err_BAD_CALLBACK_PARAM); // outside a pre-render
}

TEST(HostAccounting, WorldsMadeThroughTheCallbacksAreCounted) {
    Fixture fixture;
    FrameRenderer renderer(fixture.session, fixture.scene, fixture.cache, {});
    PF_UtilCallbacks utils{};
    FillUtilCallbacks(utils);
    PF_EffectWorld world{};
    ASSERT_EQ(utils.new_world(renderer.effect_ref(), 3, 2, PF_NewWorldFlag_DEEP_PIXELS, &world),
              PF_Err_NONE);
    EXPECT_EQ(PixelFormatOf(world), PF_PixelFormat_ARGB64);
    const PF_Pixel16 grey{32768, 16384, 16384, 16384};
    EXPECT_EQ(utils.fill16(renderer.effect_ref(), &grey, nullptr, &world), PF_Err_NONE);
    EXPECT_EQ(reinterpret_cast<const PF_Pixel16*>(world.data)[5].red, 16384);
    EXPECT_EQ(renderer.leaks().size(), 1u);
    EXPECT_EQ(utils.dispose_world(renderer.effect_ref(), &world), PF_Err_NONE);
    EXPECT_TRUE(renderer.leaks().empty());

    // Only a world asked for cleared is cleared; the others hold the uncleared bands.
    ActiveHostScope active(renderer.services());
    const void* table = nullptr;
    ASSERT_EQ(renderer.services().basic.AcquireSuite(kPFWorldSuite, kPFWorldSuiteVersion2, &table),
              kSPNoError);
    const auto& suite = *static_cast<const PF_WorldSuite2*>(table);
    for (const bool clear : {false, true}) {
        PF_EffectWorld made{};
        ASSERT_EQ(utils.new_world(renderer.effect_ref(), 2, 2,
                                  clear ? PF_NewWorldFlag_CLEAR_PIXELS : PF_NewWorldFlag_NONE,
                                  &made),
                  PF_Err_NONE);
        EXPECT_EQ(Channel(made, 0, 0, 3), clear ? 0.0f : 1.0f);
        EXPECT_EQ(utils.dispose_world(renderer.effect_ref(), &made), PF_Err_NONE);
        ASSERT_EQ(
            suite.PF_NewWorld(renderer.effect_ref(), 2, 2, clear, PF_PixelFormat_ARGB128, &made),
            PF_Err_NONE);
        EXPECT_EQ(Channel(made, 1, 1, 0), clear ? 0.0f : 1.0f);
        EXPECT_EQ(suite.PF_DisposeWorld(renderer.effect_ref(), &made), PF_Err_NONE);
    }
    renderer.services().basic.ReleaseSuite(kPFWorldSuite, kPFWorldSuiteVersion2);
    EXPECT_TRUE(renderer.leaks().empty());
}

TEST(HostAccounting, ReportsWhatWasNotGivenBack) {
    FaultInjector faults;
    HostServices services(faults);
    const void* table = nullptr;
    ASSERT_EQ(services.basic.AcquireSuite("PF ANSI Suite", 1, &table), kSPBadParameterError);
    ActiveHostScope active(services);
    ASSERT_EQ(services.basic.AcquireSuite("PF ANSI Suite", 1, &table), kSPNoError);
    EXPECT_EQ(services.basic.AcquireSuite("PF ANSI Suite", 2, &table), kSPSuiteNotFoundError);
    EXPECT_EQ(table, nullptr);
    PF_Handle handle = services.handles.create(16);
    services.handles.lock(handle);
    PF_EffectWorld world{};
    ASSERT_EQ(services.worlds.create(4, 4, PF_PixelFormat_ARGB64, true, world), PF_Err_NONE);
    EXPECT_EQ(services.leaks().size(), 3u);

    EXPECT_EQ(services.basic.ReleaseSuite("PF ANSI Suite", 1), kSPNoError);
    EXPECT_EQ(services.basic.ReleaseSuite("PF ANSI Suite", 1), kSPBadParameterError);
    services.handles.unlock(handle);
    EXPECT_TRUE(services.handles.dispose(handle));
    EXPECT_EQ(services.worlds.dispose(world), PF_Err_NONE);
    EXPECT_TRUE(services.leaks().empty());

    // Giving back what the host does not hold is a fault it reports.
    EXPECT_EQ(services.worlds.dispose(world), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_FALSE(services.handles.dispose(handle));
    const std::vector<std::string> reported = services.leaks();
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_NE(reported[0].find("host_dispose_handle of a handle this host did not make"),
              std::string::npos);
    EXPECT_NE(reported[1].find("PF_DisposeWorld of a world of 0 x 0"), std::string::npos);
}

// The effect breaks one rule per run; the frame's accounting names what went wrong, as a real
// host would fail on it.
TEST(FrameProtocol, CatchesEveryMisuseOfCheckoutsHandlesAndTheOutput) {
    struct Case {
        int misuse;
        const char* reported;
    };
    const Case cases[] = {
        {1, "checkin_layer_pixels of checkout id 7, which is not checked out"},
        {2, "checkin_layer_pixels of checkout id 99, which was never requested"},
        {3, "layer pixels of checkout id 8 not checked in"},
        {5, "handle of 16 bytes disposed while locked"},
        {6, "handle of 16 bytes not disposed and still locked (1 locks held)"},
        {7, "host_unlock_handle of a handle of 16 bytes that is not locked"},
    };
    for (const Case& c : cases) {
        nlohmann::json scene = SceneJson(false);
        scene["effect"]["Misuse"] = c.misuse;
        Fixture fixture(scene);
        WorldOwner output;
        std::vector<std::string> leaks;
        EXPECT_EQ(fixture.render(0, 8, output, &leaks), PF_Err_NONE) << c.misuse;
        ASSERT_EQ(leaks.size(), 1u) << c.misuse;
        EXPECT_EQ(leaks[0], c.reported) << c.misuse;
    }
}

// The output arrives uncleared: an effect that does not clear it shows the host's bands (opaque
// magenta in rows 0 to 3) around what it draws, at every depth.
TEST(FrameProtocol, TheOutputArrivesUnclearedAndOnlyTheEffectClearsIt) {
    for (const int bpc : {8, 16, 32}) {
        for (const bool clears : {true, false}) {
            nlohmann::json scene = SceneJson(false);
            scene["effect"]["Opacity"] = 100;
            scene["effect"]["Misuse"] = clears ? 0 : 4;
            Fixture fixture(scene);
            WorldOwner output;
            std::vector<std::string> leaks;
            ASSERT_EQ(fixture.render(0, bpc, output, &leaks), PF_Err_NONE);
            EXPECT_TRUE(leaks.empty());
            const float tolerance = 1.0f / 255;
            EXPECT_NEAR(Channel(output.get(), 0, 0, 3), clears ? 0.0f : 1.0f, tolerance) << bpc;
            EXPECT_NEAR(Channel(output.get(), 0, 0, 2), clears ? 0.0f : 1.0f, tolerance) << bpc;
            EXPECT_NEAR(Channel(output.get(), 3, 1, 0), 1.0f, tolerance) << bpc; // drawn red
            EXPECT_NEAR(Channel(output.get(), 3, 1, 2), 0.0f, tolerance) << bpc;
        }
    }
}

// A layer checkout answers the part of the layer inside the request; the output covers the
// extent the pre-render reported, with its origin there.
TEST(FrameProtocol, CheckoutsAnswerTheRequestAndTheOutputFollowsTheExtent) {
    nlohmann::json scene = SceneJson(false);
    scene["layers"][0]["width"] = 12; // wider and taller than the 8 x 4 request
    scene["layers"][0]["height"] = 6;
    Fixture fixture(scene);
    WorldOwner output;
    std::vector<std::string> leaks;
    ASSERT_EQ(fixture.render(0, 8, output, &leaks), PF_Err_NONE);
    EXPECT_TRUE(leaks.empty());
    const auto layers = fixture.lines("checkout_layer");
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_EQ(layers[0]["request_rect"], nlohmann::json({0, 0, 8, 4}));
    EXPECT_EQ(layers[0]["result_rect"], nlohmann::json({0, 0, 8, 4}));
    const auto copies = fixture.lines("copy");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0]["src"]["width"], 8);
    EXPECT_EQ(copies[0]["src"]["height"], 4);
    EXPECT_EQ(output->width, 8);
    EXPECT_EQ(output->origin_x, 0);

    scene["effect"]["Misuse"] = 8; // reports (-2, -1) to (4, 3)
    Fixture shifted(scene);
    ASSERT_EQ(shifted.render(0, 8, output, &leaks), PF_Err_NONE);
    EXPECT_EQ(output->width, 6);
    EXPECT_EQ(output->height, 4);
    EXPECT_EQ(output->origin_x, -2);
    EXPECT_EQ(output->origin_y, -1);
}

// A block the host cannot give answers the published out-of-memory code, 0xFFFFFF6C (-148);
// a failed resize leaves the block as it was.
TEST(HostAccounting, MemoryBlocksAnswerOutOfMemoryWithThePublishedCode) {
    FaultInjector faults;
    HostServices services(faults);
    constexpr SPErr kPublishedOutOfMemory = static_cast<SPErr>(0xFFFFFF6Cu);
    EXPECT_EQ(kSPOutOfMemoryError, kPublishedOutOfMemory);
    void* block = nullptr;
    EXPECT_EQ(services.basic.AllocateBlock(SIZE_MAX, &block), kPublishedOutOfMemory);
    EXPECT_EQ(block, nullptr);
    ASSERT_EQ(services.basic.AllocateBlock(8, &block), kSPNoError);
    static_cast<char*>(block)[7] = 'x';
    void* resized = nullptr;
    EXPECT_EQ(services.basic.ReallocateBlock(block, SIZE_MAX, &resized), kPublishedOutOfMemory);
    EXPECT_EQ(resized, nullptr);
    EXPECT_EQ(static_cast<char*>(block)[7], 'x');
    EXPECT_EQ(services.basic.FreeBlock(block), kSPNoError);
}

TEST(TimeUnits, WholeDegreesGiveWholeShutterTimes) {
    for (int degrees = -720; degrees <= 720; ++degrees) {
        const long long units = static_cast<long long>(kUnitsPerFrame) * ShutterFixed(degrees);
        EXPECT_EQ(units / 65536, 100LL * degrees) << degrees;
    }
    EXPECT_EQ(TimeScaleFor(29.97) * 1000 % static_cast<A_u_long>(kUnitsPerFrame), 0u);
}

TEST(RenderJob, WritesEveryFrameInParallel) {
    Fixture fixture;
    const auto folder = std::filesystem::temp_directory_path() / "plurion_render_job_test";
    std::filesystem::remove_all(folder);
    RenderOptions options;
    options.output_pattern = (folder / "f_##.png").string();
    options.frames = {0, 1, 2, 3};
    options.threads = 3;
    const RenderSummary summary = RenderScene(fixture.session, fixture.scene, options);
    EXPECT_EQ(summary.files.size(), 4u);
    const RgbaImage frame = ReadImage(folder / "f_02.png");
    ASSERT_EQ(frame.width, 8);
    EXPECT_NEAR(frame.rgba[PixelOffset(frame, 4, 2) + 3], 0.5f, 1.0f / 255);
    EXPECT_EQ(frame.rgba[PixelOffset(frame, 0, 0) + 3], 0.0f);
    std::filesystem::remove_all(folder);
}

// A render writes its frame a strip of rows at a time: a frame 150 rows tall, a source drawn
// across rows 30 to 129 (over the strip edges at 64 and 128), in front of a half-transparent
// background, read back from each kind of file: 8- and 16-bit PNG (whole-number samples),
// OpenEXR (premultiplied on the way) and raw float converted to linear light.
TEST(RenderJob, WritesTheFrameWholeAcrossItsStrips) {
    nlohmann::json scene = SceneJson(false);
    scene["composition"]["width"] = 24;
    scene["composition"]["height"] = 150;
    scene["composition"]["background"] = {0.25, 0.5, 0.75, 0.5};
    scene["layers"][0]["width"] = 4;
    scene["layers"][0]["height"] = 100;
    scene["effect"]["Opacity"] = 100;
    scene["effect"]["Shift"] = {10, 30};
    Fixture fixture(scene);
    // sRGB 0.25, 0.5 and 0.75 in linear light: ((v + 0.055) / 1.055) ^ 2.4.
    constexpr float kLinear[3] = {0.0508761f, 0.2140411f, 0.5225216f};
    struct Case {
        const char* name;
        int bpc;
        ColorEncoding encoding;
        float tolerance;
    };
    for (const Case& c : {Case{"frame.png", 8, ColorEncoding::srgb, 1.0f / 255},
                          Case{"frame.png", 16, ColorEncoding::srgb, 1e-4f},
                          Case{"frame.exr", 32, ColorEncoding::srgb, 1e-4f},
                          Case{"frame.rgbaf", 32, ColorEncoding::linear, 1e-6f}}) {
        const auto folder = std::filesystem::temp_directory_path() / "plurion_render_strips_test";
        std::filesystem::remove_all(folder);
        RenderOptions options;
        options.output_pattern = (folder / c.name).string();
        options.bpc = c.bpc;
        options.encoding = c.encoding;
        RenderScene(fixture.session, fixture.scene, options);
        const RgbaImage frame = ReadImage(folder / c.name);
        std::filesystem::remove_all(folder);
        ASSERT_EQ(frame.width, 24);
        ASSERT_EQ(frame.height, 150);
        const bool linear = c.encoding == ColorEncoding::linear;
        const float background[4] = {linear ? kLinear[0] : 0.25f, linear ? kLinear[1] : 0.5f,
                                     linear ? kLinear[2] : 0.75f, 0.5f};
        const float red[4] = {1, 0, 0, 1};
        int wrong = 0;
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                const bool inside = x >= 10 && x < 14 && y >= 30 && y < 130;
                for (int k = 0; k < 4; ++k) {
                    const float expected = inside ? red[k] : background[k];
                    const float got = frame.rgba[PixelOffset(frame, x, y) + k];
                    if (std::abs(got - expected) > c.tolerance && ++wrong <= 3) {
                        ADD_FAILURE() << c.name << " at " << c.bpc << " bits: (" << x << ", " << y
                                      << ") channel " << k << " is " << got << ", not " << expected;
                    }
                }
            }
        }
        EXPECT_EQ(wrong, 0) << c.name << " at " << c.bpc << " bits";
    }
}

} // namespace
} // namespace plurion::host
