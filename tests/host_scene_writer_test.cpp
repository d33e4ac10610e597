// Saving scenes: the written document, defaults filled in as the loader fills them, file names
// relative to the folder written to, values in the scene's forms, and a document that loads back
// into the same scene.
#include "imageio/image_file.h"
#include "scene/scene_loader.h"
#include "scene/scene_writer.h"
#include "session/effect_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace plurion::host;

class SceneWriterTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        session_ = new EffectSession(PLURION_MODULE_PATH);
        ASSERT_EQ(session_->global_setup(), PF_Err_NONE);
        ASSERT_EQ(session_->params_setup(), PF_Err_NONE);
    }
    static void TearDownTestSuite() { delete session_; }
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("plurion_writer_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_ / "pictures");
        WriteImage(folder_ / "pictures" / "dot.png", MakeRgbaImage(6, 4), SampleFormat::uint8);
    }
    void TearDown() override { fs::remove_all(folder_); }

    Scene Parse(const json& document) const {
        return ParseScene(document, "writer.json", folder_, session_->params());
    }

    static json Document() {
        return json::parse(R"({
            "composition": {"width": 64, "height": 32, "fps": 25, "frames": 10, "bpc": 16},
            "layers": [
                {"name": "star", "width": 40, "height": 30, "source": {"kind": "star"}},
                {"name": "dot", "in_point": 2, "source": {"kind": "image", "path": "pictures/dot.png"}}
            ],
            "effect_layer": {"masks": [{"vertices": [[1, 2], [3, 4], [5, 6]]}]},
            "effect": {
                "Clone Type": "Radial",
                "Radial Mode/Count": 7,
                "Radial Mode/Look at Center": true,
                "Radial Mode/Transform/Local/Position": [12.5, -3],
                "Radial Mode/Transform/Global/Rotation": {"keys": [[0, 10], [4, 90.5]]},
                "Layers/Selection/Layer 1": "dot",
                "Layers/Selection/Layer 2": "star"
            },
            "edits": [{"Clone Type": "Grid"}]
        })");
    }

    static EffectSession* session_;
    fs::path folder_;
};

EffectSession* SceneWriterTest::session_ = nullptr;

TEST_F(SceneWriterTest, WritesEveryPartInTheLoadersForms) {
    const json out = SceneAsJson(Parse(Document()), session_->params(), folder_);

    // Composition settings not given are written with the loader's defaults.
    const json& comp = out["composition"];
    EXPECT_EQ(comp["name"], "writer");
    EXPECT_EQ(comp["bpc"], 16);
    EXPECT_EQ(comp["pixel_aspect"], 1.0);
    EXPECT_EQ(comp["background"], json({0.0, 0.0, 0.0, 0.0}));
    EXPECT_EQ(comp["motion_blur"], false);
    EXPECT_EQ(comp["shutter_angle"], 180.0);
    EXPECT_EQ(comp["shutter_phase"], -90.0);
    // Samples under their current names (the older "motion_blur_samples" is read only).
    EXPECT_EQ(comp["motion_blur_samples_per_frame"], 16);
    EXPECT_EQ(comp["motion_blur_adaptive_limit"], 128);
    EXPECT_FALSE(comp.contains("motion_blur_samples"));
    EXPECT_EQ(comp["quality"], "high");
    EXPECT_EQ(comp["field"], "frame");

    // A star without settings: white, centred, outer radius 0.45 x the shorter side (13.5),
    // inner 0.4 x that (5.4), five points, no rotation; over the rest of the composition.
    const json star = out["layers"][0];
    EXPECT_EQ(star["width"], 40);
    EXPECT_EQ(star["height"], 30);
    EXPECT_EQ(star["in_point"], 0.0);
    EXPECT_EQ(star["duration"], 10.0);
    EXPECT_EQ(star["source"]["kind"], "star");
    EXPECT_EQ(star["source"]["color"], json({1.0, 1.0, 1.0, 1.0}));
    EXPECT_EQ(star["source"]["center"], json({20.0, 15.0}));
    EXPECT_EQ(star["source"]["points"], 5);
    EXPECT_DOUBLE_EQ(star["source"]["outer_radius"].get<double>(), 13.5);
    EXPECT_DOUBLE_EQ(star["source"]["inner_radius"].get<double>(), 5.4);

    // A file source takes its size from the file: no width or height; from frame 2, 8 frames.
    const json dot = out["layers"][1];
    EXPECT_FALSE(dot.contains("width"));
    EXPECT_EQ(dot["source"], json({{"kind", "image"}, {"path", "pictures/dot.png"}}));
    EXPECT_EQ(dot["in_point"], 2.0);
    EXPECT_EQ(dot["duration"], 8.0);

    EXPECT_EQ(out["effect_layer"]["name"], "Effect Layer");
    EXPECT_EQ(out["effect_layer"]["masks"][0]["name"], "Mask 1");
    EXPECT_EQ(out["effect_layer"]["masks"][0]["vertices"],
              json({{1.0, 2.0}, {3.0, 4.0}, {5.0, 6.0}}));

    const json& effect = out["effect"];
    EXPECT_EQ(effect["Clone Type"], "Radial");
    EXPECT_EQ(effect["Radial Mode/Count"], 7);
    EXPECT_EQ(effect["Radial Mode/Look at Center"], true);
    EXPECT_EQ(effect["Radial Mode/Transform/Local/Position"], json({12.5, -3.0}));
    EXPECT_EQ(effect["Radial Mode/Transform/Global/Rotation"],
              json({{"keys", {{0.0, 10.0}, {4.0, 90.5}}}}));
    EXPECT_EQ(effect["Layers/Selection/Layer 1"], "dot");
    EXPECT_EQ(effect["Layers/Selection/Layer 2"], "star");
    EXPECT_EQ(effect.size(), 7u); // parameters at their defaults stay out
    EXPECT_EQ(out["edits"], json({{{"Clone Type", "Grid"}}}));
}

TEST_F(SceneWriterTest, FileNamesAreRelativeOnlyBesideOrUnderTheFolder) {
    const Scene scene = Parse(Document());
    const json under = SceneAsJson(scene, session_->params(), folder_);
    EXPECT_EQ(under["layers"][1]["source"]["path"], "pictures/dot.png");
    const json beside = SceneAsJson(scene, session_->params(), folder_ / "pictures");
    EXPECT_EQ(beside["layers"][1]["source"]["path"], "dot.png");
    const json elsewhere = SceneAsJson(scene, session_->params(), folder_ / "other");
    EXPECT_EQ(elsewhere["layers"][1]["source"]["path"],
              (folder_ / "pictures" / "dot.png").generic_string());
}

TEST_F(SceneWriterTest, ASavedSceneLoadsBackTheSame) {
    const Scene scene = Parse(Document());
    fs::create_directories(folder_ / "saved");
    const fs::path file = folder_ / "saved" / "scene.json";
    SaveScene(scene, session_->params(), file);
    // Only the scene is left in its folder: no temporary beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "saved"), fs::directory_iterator()),
              1);
    const Scene loaded = LoadScene(file, session_->params());
    EXPECT_EQ(SceneAsJson(loaded, session_->params(), folder_),
              SceneAsJson(scene, session_->params(), folder_));
    ASSERT_EQ(loaded.edits.size(), 1u);
    EXPECT_EQ(loaded.edits[0].value.x, 3.0); // "Grid"

    // A folder that does not exist: an error naming the file, and nothing written.
    const fs::path nowhere = folder_ / "missing" / "scene.json";
    try {
        SaveScene(scene, session_->params(), nowhere);
        FAIL() << "saved into a missing folder";
    } catch (const SceneError& error) {
        EXPECT_EQ(error.file(), nowhere.string());
    }
    EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

// Keys that ease or hold are written as objects that say so, and load back the same; straight
// keys keep the short [frame, value] form.
TEST_F(SceneWriterTest, EasedAndHeldKeysKeepTheirEase) {
    Scene scene = Parse(Document());
    const RegisteredParam* scale = session_->params().find("Linear Mode/Transform/Local/Scale");
    ASSERT_NE(scale, nullptr);
    scene.effect[scale->index] = {
        {0.0, {50.0}, Ease::ease}, {10.0, {80.0}, Ease::hold}, {20.0, {100.0}, Ease::linear}};
    const nlohmann::json written = SceneAsJson(scene, session_->params(), folder_);
    EXPECT_EQ(written["effect"]["Linear Mode/Transform/Local/Scale"],
              nlohmann::json::parse(R"({"keys": [{"frame": 0.0, "value": 50.0, "ease": "ease"},
                                                 {"frame": 10.0, "value": 80.0, "ease": "hold"},
                                                 [20.0, 100.0]]})"));
    const fs::path file = folder_ / "eased.json";
    SaveScene(scene, session_->params(), file);
    const Scene loaded = LoadScene(file, session_->params());
    const ParamTrack& track = loaded.effect.at(scale->index);
    ASSERT_EQ(track.size(), 3u);
    EXPECT_EQ(track[0].ease, Ease::ease);
    EXPECT_EQ(track[1].ease, Ease::hold);
    EXPECT_EQ(track[2].ease, Ease::linear);
}

} // namespace
