// Frames of the built module through the stand-in host: a small scene of solid source layers,
// the effect's parameters set by index, and the host's trace read back as JSON lines.
#pragma once

#include "params/param_index.h"
#include "scene/scene.h"
#include "scene/source_cache.h"
#include "session/effect_session.h"
#include "session/frame_render.h"
#include "session/trace.h"
#include "support/test_host.h"
#include "world.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace plurion::test {

using nlohmann::json;

inline host::Layer SolidLayer(const char* name, int width, int height) {
    host::Layer layer;
    layer.name = name;
    layer.width = width;
    layer.height = height;
    layer.duration = 1000;
    layer.source = host::SolidSource{{1.0f, 0.5f, 0.25f, 1.0f}};
    return layer;
}

struct FrameResult {
    PF_Err err = PF_Err_NONE;
    std::vector<json> calls; // the trace, one object per host call
    std::vector<std::string> leaks;
    std::map<A_long, host::FrameRenderer::LayerRequest> requests;

    std::vector<json> named(const std::string& function) const {
        std::vector<json> out;
        for (const json& call : calls) {
            if (call["function"] == function) {
                out.push_back(call);
            }
        }
        return out;
    }
};

class RenderFixture : public ::testing::Test {
  protected:
    RenderFixture() {
        restart();
        scene.composition.name = "clones";
        scene.composition.width = 320;
        scene.composition.height = 240;
        scene.composition.fps = 24;
        scene.composition.frames = 48;
        scene.effect_layer = SolidLayer("effect", 320, 240);
        scene.layers = {SolidLayer("wide", 40, 20), SolidLayer("square", 16, 16),
                        SolidLayer("tall", 10, 30)};
    }

    // A fresh instance of the effect, with nothing held from earlier frames.
    void restart() {
        session_ = std::make_unique<host::EffectSession>(ModulePath());
        EXPECT_EQ(session_->global_setup(), PF_Err_NONE);
        EXPECT_EQ(session_->params_setup(), PF_Err_NONE);
    }
    host::EffectSession& session() { return *session_; }

    // A fixed value of parameter `index`; points take x and y.
    void set(int index, double x, double y = 0) { scene.effect[index] = {{0.0, {x, y}}}; }
    // The value at frame 0 and at frame 1, for settings that move during the shutter.
    void key(int index, double at0, double at1) {
        scene.effect[index] = {{0.0, {at0, 0}}, {1.0, {at1, 0}}};
    }
    void use_layer(int slot, int scene_layer) { set(param::SourceLayerParam(slot), scene_layer); }
    // Every source layer becomes a counter, whose picture changes each frame: the host and the
    // effect share one picture of a still layer across times, so only a changing layer lets the
    // trace tell time-shifted images apart.
    void animate_layers() {
        for (host::Layer& layer : scene.layers) {
            const double w = layer.width;
            const double h = layer.height;
            layer.source = host::CounterSource{
                {1.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}, {w / 2, h / 2}, h / 2, 0};
        }
    }

    // At `bpc`, or at the depth of this run of the tests (PLURION_TEST_BPC, else 8) when 0.
    FrameResult render(double frame = 0, int bpc = 0) {
        std::ostringstream text;
        host::Trace trace(text);
        host::FrameOptions options;
        options.frame = frame;
        options.bpc = bpc != 0 ? bpc : RunDepth();
        options.trace = &trace;
        host::FrameRenderer renderer(*session_, scene, cache, options);
        FrameResult result;
        result.err = renderer.render(output);
        result.leaks = renderer.leaks();
        result.requests = renderer.layer_requests();
        std::istringstream lines(text.str());
        for (std::string line; std::getline(lines, line);) {
            result.calls.push_back(json::parse(line));
        }
        return result;
    }

    static constexpr PF_Err kInjected = 77;
    struct FailureCase {
        const char* function;
        PF_Err expected;
        std::size_t leaks; // at most this many things the host refused to take back
    };
    // What the frame answers when call `n` of a case's function fails, where that differs from
    // the case's own expectation.
    using ExpectedAt = std::function<PF_Err(const FailureCase&, int n)>;

    // Makes each host function the frame uses fail once, at every call or at a sample of its
    // calls, and checks the frame's error and that everything comes back (a failed give-back
    // still gives back). `what` names the configuration in failure messages; `extra` adds
    // functions of the configuration.
    void expect_every_failure_cleaned_up(const std::string& what,
                                         const std::vector<FailureCase>& extra = {},
                                         const ExpectedAt& expected_at = nullptr) {
        using Case = FailureCase;
        std::vector<Case> cases = {
            {"checkout_param", kInjected, 0},
            {"checkin_param", kInjected, 0},
            {"checkout_layer", kInjected, 0},
            {"host_new_handle", PF_Err_OUT_OF_MEMORY, 0},
            {"AcquireSuite", PF_Err_BAD_CALLBACK_PARAM, 0},
            {"checkout_layer_pixels", kInjected, 0},
            {"checkin_layer_pixels", kInjected, 0},
            {"PF_GetPixelFormat", kInjected, 0},
            {"PF_NewWorld", kInjected, 0},
            {"copy", PF_Err_NONE, 0}, // the render does not look at its own copies
            {"checkout_output", kInjected, 0},
            {"fill", kInjected, 0},
            {"transform_world", kInjected, 0},
            {"abort", kInjected, 0},
            {"PF_DisposeWorld", kInjected, 0},
            {"ReleaseSuite", PF_Err_NONE, 0},
        };
        cases.insert(cases.end(), extra.begin(), extra.end());
        for (const Case& c : cases) {
            const int before = session().faults().calls(c.function);
            ASSERT_EQ(render().err, PF_Err_NONE) << what;
            const int calls = session().faults().calls(c.function) - before;
            ASSERT_GT(calls, 0) << what << ": " << c.function;
            for (int n = 1; n <= calls; ++n) {
                if (calls > 12 && n > 3 && n != calls / 2 && n < calls - 2) {
                    continue;
                }
                session().faults().fail(c.function, n, kInjected);
                const FrameResult frame = render();
                session().faults().clear();
                const PF_Err expected = expected_at ? expected_at(c, n) : c.expected;
                EXPECT_EQ(frame.err, expected) << what << ": " << c.function << " call " << n;
                EXPECT_LE(frame.leaks.size(), c.leaks)
                    << what << ": " << c.function << " call " << n << ": " << frame.leaks.front();
                if (!frame.leaks.empty()) {
                    restart();
                }
            }
        }
    }

    // The depth this run of the tests renders at.
    static int RunDepth() {
        const char* bpc = std::getenv("PLURION_TEST_BPC");
        return bpc != nullptr ? std::atoi(bpc) : 8;
    }

    // Straight RGBA of the last frame's output at (x, y), at any depth.
    std::array<float, 4> output_pixel(int x, int y) const {
        std::vector<float> rgba(static_cast<std::size_t>(output.get().width) * output.get().height *
                                4);
        EXPECT_EQ(host::WriteFloatRgba(output.get(), rgba.data(), 0), PF_Err_NONE);
        const std::size_t at = (static_cast<std::size_t>(y) * output.get().width + x) * 4;
        return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
    }

    std::unique_ptr<host::EffectSession> session_;
    host::SourceCache cache;
    host::Scene scene;
    host::WorldOwner output;
};

} // namespace plurion::test
