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

    FrameResult render(double frame = 0, int bpc = 8) {
        std::ostringstream text;
        host::Trace trace(text);
        host::FrameOptions options;
        options.frame = frame;
        options.bpc = bpc;
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

    std::unique_ptr<host::EffectSession> session_;
    host::SourceCache cache;
    host::Scene scene;
    host::WorldOwner output;
};

} // namespace plurion::test
