// Every example scene renders the same picture at 8, 16 and 32 bits, within the rounding of the
// smaller depths; a formula or a scale that differs between depths shows up here.
#include "scene/scene_loader.h"
#include "session/frame_render.h"
#include "session/param_panel.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace plurion::host {
namespace {

std::vector<float> RenderAt(EffectSession& session, const Scene& scene, double frame, int bpc) {
    SourceCache cache;
    FrameRenderer renderer(session, scene, cache, {frame, bpc, 2, nullptr});
    WorldOwner output;
    EXPECT_EQ(renderer.render(output), PF_Err_NONE);
    EXPECT_TRUE(renderer.leaks().empty());
    std::vector<float> rgba(static_cast<std::size_t>(output->width) * output->height * 4);
    EXPECT_EQ(WriteFloatRgba(output.get(), rgba.data(), 0), PF_Err_NONE);
    // Compare premultiplied colour: where alpha is near 0 straight colour means little.
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            rgba[i + c] = std::clamp(rgba[i + c], 0.0f, 1.0f) * rgba[i + 3];
        }
    }
    return rgba;
}

TEST(SceneDepths, EveryExampleSceneAgreesAcrossDepths) {
    EffectSession session(test::ModulePath());
    ASSERT_EQ(session.global_setup(), PF_Err_NONE);
    ASSERT_EQ(session.params_setup(), PF_Err_NONE);
    int scenes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PLURION_SCENES_DIR)) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        ++scenes;
        // The scene's edits are made through the effect first, as a render makes them.
        const ParamPanel panel(session, LoadScene(entry.path(), session.params()));
        const Scene& scene = panel.scene();
        const double frame = scene.composition.frames / 2;
        const std::vector<float> deep = RenderAt(session, scene, frame, 32);
        double coverage = 0;
        for (std::size_t i = 3; i < deep.size(); i += 4) {
            coverage += deep[i];
        }
        EXPECT_GT(coverage, 1.0) << entry.path() << " draws nothing";
        for (const int bpc : {8, 16}) {
            const std::vector<float> shallow = RenderAt(session, scene, frame, bpc);
            ASSERT_EQ(shallow.size(), deep.size());
            double total = 0;
            for (std::size_t i = 0; i < deep.size(); ++i) {
                total += std::abs(shallow[i] - deep[i]);
            }
            // Each 8-bit composite rounds once; many overlapping clones add a few steps at most.
            const double mean = total / static_cast<double>(deep.size());
            EXPECT_LT(mean, bpc == 8 ? 1.0 / 255 : 1.0 / 4096) << entry.path() << " at " << bpc;
        }
    }
    EXPECT_GT(scenes, 0);
}

} // namespace
} // namespace plurion::host
