// The damaged and lying picture files of tests/data/damaged (see make.py there), each with the
// answer expected.json gives: refused at load with the scene's JSON pointer, or failing its
// frame with the layer, the file and the reason, and the effect holding nothing afterwards.
#include "scene/scene_loader.h"
#include "session/render_job.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace plurion::host {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class DamagedFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(session_.global_setup(), PF_Err_NONE);
        ASSERT_EQ(session_.params_setup(), PF_Err_NONE);
        folder_ = fs::temp_directory_path() /
                  ("plurion_damaged_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // One layer showing the file as the clones' source.
    static json SceneWith(const json& source) {
        return {{"composition",
                 {{"width", 48}, {"height", 48}, {"fps", 24}, {"frames", 2}, {"bpc", 8}}},
                {"layers", {{{"name", "Pic"}, {"source", source}}}},
                {"effect", {{"Layers/Selection/Layer 1", "Pic"}, {"Linear Mode/Count", 2}}}};
    }
    Scene Load(const json& document) {
        return ParseScene(document, "scene.json", kDamaged, session_.params());
    }
    RenderSummary Render(const Scene& scene) {
        RenderOptions options;
        options.output_pattern = (folder_ / "frame_#.png").string();
        options.frames = {0, 1};
        options.threads = 1;
        return RenderScene(session_, scene, options);
    }

    const fs::path kDamaged = PLURION_DAMAGED_DIR;
    EffectSession session_{test::ModulePath()};
    fs::path folder_;
};

TEST_F(DamagedFiles, EachGivesItsError) {
    const json cases = json::parse(std::ifstream(kDamaged / "expected.json"));
    ASSERT_GE(cases.size(), 10u);
    for (const json& c : cases) {
        const std::string file = c["file"];
        const std::string fails = c["fails"];
        const std::string reason = c["reason"];
        SCOPED_TRACE(file);
        const fs::path path = kDamaged / file;
        try {
            const Scene scene = Load(SceneWith({{"kind", "image"}, {"path", file}}));
            EXPECT_NE(fails, "load") << "accepted at load";
            Render(scene);
            EXPECT_EQ(fails, "never") << "rendered";
        } catch (const SceneError& error) {
            EXPECT_EQ(fails, "load") << error.what();
            EXPECT_EQ(error.where(), "/layers/0/source/path");
            EXPECT_EQ(error.reason().rfind("cannot read \"" + path.string() + "\": " + reason, 0),
                      0u)
                << error.reason();
        } catch (const RenderError& error) {
            EXPECT_EQ(fails, "render") << error.what();
            const std::string what = error.what();
            const std::string start = "frame 0: layer \"Pic\" at its frame 0: " + path.string();
            EXPECT_EQ(what.rfind(start, 0), 0u) << what;
            EXPECT_NE(what.find(reason), std::string::npos) << what;
            EXPECT_NE(what.find("(the effect stopped with error 512)"), std::string::npos);
            // Nothing is left held by the effect, and the message stays on one line.
            EXPECT_EQ(what.find("did not give back"), std::string::npos) << what;
            EXPECT_EQ(what.find('\n'), std::string::npos) << what;
            EXPECT_FALSE(fs::exists(folder_ / "frame_0.png"));
        }
    }
}

TEST_F(DamagedFiles, SequencesHoldOnePictureSize) {
    fs::copy_file(kDamaged / "good_32.png", folder_ / "seq_1.png");
    fs::copy_file(kDamaged / "good_32.png", folder_ / "seq_2.png");
    fs::copy_file(kDamaged / "good_16.png", folder_ / "seq_3.png");
    const json sequence = {{"kind", "sequence"},
                           {"path", (folder_ / "seq_#.png").string()},
                           {"first", 1},
                           {"last", 3}};
    try {
        Load(SceneWith(sequence));
        ADD_FAILURE() << "accepted";
    } catch (const SceneError& error) {
        EXPECT_EQ(error.where(), "/layers/0/source/path");
        EXPECT_EQ(error.reason(), "\"" + (folder_ / "seq_3.png").string() +
                                      "\" is 16 x 16, but the sequence's first file is 32 x 32");
    }
}

} // namespace
} // namespace plurion::host
