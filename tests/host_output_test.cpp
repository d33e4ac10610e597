// Frame lists and output plans: what a render accepts and refuses before its first frame, and
// what lands in the files it writes.
#include "session/frame_list.h"
#include "session/output_plan.h"

#include <gtest/gtest.h>

#ifdef PLURION_HAVE_OIIO
#include <OpenImageIO/filesystem.h>
#include <OpenImageIO/imageio.h>
#endif

#include <filesystem>
#include <fstream>
#include <random>

namespace plurion::host {
namespace {

namespace fs = std::filesystem;

TEST(FrameList, ReadsTheSequenceSyntaxAndRefusesEverythingElse) {
    using V = std::vector<int>;
    EXPECT_EQ(ParseFrameList("1,5,9", 48), (V{1, 5, 9}));
    EXPECT_EQ(ParseFrameList("0-20x5", 48), (V{0, 5, 10, 15, 20}));
    EXPECT_EQ(ParseFrameList("7", 48), (V{7}));
    EXPECT_EQ(ParseFrameList("4-1", 48), (V{4, 3, 2, 1}));
    EXPECT_EQ(ParseFrameList("1-10y3", 48), (V{2, 3, 5, 6, 8, 9})); // 1, 4, 7, 10 left out
    EXPECT_EQ(ParseFrameList(" 2 , 0-3", 48), (V{2, 0, 1, 3}));     // a repeat keeps its place
    EXPECT_EQ(ParseFrameList("47", 48), (V{47}));

    const auto refused = [](const std::string& text, const std::string& why) {
        try {
            ParseFrameList(text, 48);
            ADD_FAILURE() << text << " was accepted";
        } catch (const FrameListError& error) {
            EXPECT_NE(std::string(error.what()).find(why), std::string::npos) << error.what();
        }
    };
    refused("5:10", "\"5:10\": expected \"-\"");
    refused("2.9", "\"2.9\"");
    refused("1-", "last frame");
    refused("", "empty item");
    refused("1,,2", "empty item");
    refused("0-10x0", "step must be 1 or more");
    refused("0-10x", "step");
    refused("0-10z2", "\"x\" or \"y\"");
    refused("48", "frame 48 is outside the composition's frames 0-47");
    refused("-1", "frame -1 is outside");
    refused("a", "expected a frame number");

#ifdef PLURION_HAVE_OIIO
    // The accepted lists mean what OpenImageIO's own reading of the syntax means.
    for (const char* text : {"1,5,9", "0-20x2", "3-11x4", "10-1", "1-10y3", "12-2x3", "5"}) {
        std::vector<int> theirs;
        ASSERT_TRUE(OIIO::Filesystem::enumerate_sequence(text, theirs)) << text;
        EXPECT_EQ(ParseFrameList(text, 48), theirs) << text;
    }
#endif
    EXPECT_EQ(FrameRunsText({0, 1, 2, 5, 7, 8}), "0-2, 5, 7-8");
}

TEST(OutputPattern, TakesOnePlaceholderOfAnyKind) {
    EXPECT_EQ(ParseOutputPattern("out/a_####.png").file(7), "out/a_0007.png");
    EXPECT_EQ(ParseOutputPattern("b#.exr").file(123), "b123.exr");
    EXPECT_EQ(ParseOutputPattern("c.%04d.tif").file(12), "c.0012.tif");
    EXPECT_EQ(ParseOutputPattern("d_%d.png").file(9), "d_9.png");
    EXPECT_EQ(ParseOutputPattern("e_@@@.jpg").file(5), "e_005.jpg");
    EXPECT_EQ(ParseOutputPattern("f/####/x.png").file(3), "f/0003/x.png");
    EXPECT_EQ(ParseOutputPattern("still.png").file(3), "still.png");
    EXPECT_FALSE(ParseOutputPattern("still.png").numbered);
    for (const char* bad : {"a_##_##.png", "a_#_%04d.png", "a_%4d.png", "a_%s.png", "a_%.png"}) {
        EXPECT_THROW(ParseOutputPattern(bad), OutputPlanError) << bad;
    }
}

class OutputPlanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("plurion_output_" + std::to_string(std::random_device{}()));
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string pattern(const std::string& name) const { return (folder_ / name).string(); }
    fs::path folder_;
};

TEST_F(OutputPlanTest, RefusesBeforeWritingAndWarnsOfLostDepth) {
    EXPECT_THROW(PlanOutput(pattern("still.png"), 12, 8, ColorEncoding::srgb), OutputPlanError);
    EXPECT_NO_THROW(PlanOutput(pattern("still.png"), 1, 8, ColorEncoding::srgb));
    EXPECT_THROW(PlanOutput(pattern("a_#"), 2, 8, ColorEncoding::srgb), OutputPlanError);
    EXPECT_THROW(PlanOutput(pattern("a_#.nosuchformat"), 2, 8, ColorEncoding::srgb),
                 OutputPlanError);
    const OutputPlan raw = PlanOutput(pattern("r_#.rgbaf"), 2, 8, ColorEncoding::srgb);
    EXPECT_EQ(raw.samples, SampleFormat::float32);
    EXPECT_TRUE(raw.warnings.empty());
    // A file where the folder should be.
    fs::create_directories(folder_);
    std::ofstream(folder_ / "taken") << "x";
    EXPECT_THROW(PlanOutput(pattern("taken/a_#.rgbaf"), 2, 8, ColorEncoding::srgb),
                 OutputPlanError);
#ifdef PLURION_HAVE_OIIO
    struct Case {
        const char* name;
        int bpc;
        SampleFormat samples;
        std::size_t warnings;
    };
    const Case cases[] = {
        {"a_#.PNG", 8, SampleFormat::uint8, 0},    {"a_#.png", 16, SampleFormat::uint16, 0},
        {"a_#.png", 32, SampleFormat::uint16, 1},  {"a_#.exr", 8, SampleFormat::half, 0},
        {"a_#.exr", 32, SampleFormat::float32, 0}, {"a_#.tif", 32, SampleFormat::float32, 0},
        {"a_#.dpx", 32, SampleFormat::uint16, 1},  {"a_#.jpg", 8, SampleFormat::uint8, 1},
        {"a_#.jpg", 16, SampleFormat::uint8, 2},   {"a_#.tga", 8, SampleFormat::uint8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.bpc));
        const OutputPlan plan = PlanOutput(pattern(c.name), 3, c.bpc, ColorEncoding::srgb);
        EXPECT_EQ(plan.samples, c.samples);
        EXPECT_EQ(plan.warnings.size(), c.warnings);
    }
    EXPECT_THROW(PlanOutput(pattern("a_#.png"), 2, 16, ColorEncoding::linear), OutputPlanError);
    EXPECT_NO_THROW(PlanOutput(pattern("a_#.exr"), 2, 16, ColorEncoding::linear));
#endif
}

TEST(LinearLight, UndoesTheSrgbCurveOnColourOnly) {
    // ((0.5 + 0.055) / 1.055)^2.4 = 0.214041; 0.04 is on the straight part: 0.04 / 12.92.
    std::vector<float> rgba = {0.5f, 0.04f, 1.0f, 0.5f, 0.0f, 0.2f, 0.04045f, 0.3f};
    ToLinearLight(rgba);
    EXPECT_NEAR(rgba[0], 0.214041f, 1e-6f);
    EXPECT_NEAR(rgba[1], 0.0030960f, 1e-7f);
    EXPECT_FLOAT_EQ(rgba[2], 1.0f);
    EXPECT_FLOAT_EQ(rgba[3], 0.5f); // alpha stays
    EXPECT_FLOAT_EQ(rgba[4], 0.0f);
    EXPECT_NEAR(rgba[5], 0.0331048f, 1e-6f); // ((0.2 + 0.055) / 1.055)^2.4
    EXPECT_NEAR(rgba[6], 0.0031308f, 1e-6f);
    EXPECT_FLOAT_EQ(rgba[7], 0.3f);
}

#ifdef PLURION_HAVE_OIIO
TEST_F(OutputPlanTest, FilesHoldWhatThePlanSays) {
    fs::create_directories(folder_);
    RgbaImage image = MakeRgbaImage(2, 1);
    image.rgba = {0.5f, 0.25f, 1.0f, 0.5f, 1.0f, 1.0f, 1.0f, 1.0f};
    const auto stored = [&](const std::string& name) {
        auto input = OIIO::ImageInput::open((folder_ / name).string());
        EXPECT_TRUE(input) << name;
        return input ? input->spec() : OIIO::ImageSpec();
    };
    WriteImage(folder_ / "a.jpg", image, SampleFormat::uint8);
    const OIIO::ImageSpec jpeg = stored("a.jpg");
    EXPECT_EQ(jpeg.nchannels, 3); // over black: no alpha channel
    WriteImage(folder_ / "a.tif", image, SampleFormat::float32);
    EXPECT_EQ(stored("a.tif").format, OIIO::TypeDesc::FLOAT);
    WriteImage(folder_ / "a.dpx", image, SampleFormat::uint16);
    EXPECT_EQ(stored("a.dpx").format, OIIO::TypeDesc::UINT16);
    WriteImage(folder_ / "A.PNG", image, SampleFormat::uint16);
    EXPECT_EQ(stored("A.PNG").format, OIIO::TypeDesc::UINT16);

    // OpenEXR: the header says which values it holds.
    WriteImage(folder_ / "s.exr", image, SampleFormat::float32,
               WriteSettings{kDefaultPngCompression, ColorEncoding::srgb});
    EXPECT_EQ(stored("s.exr").get_string_attribute("colorspace"), "sRGB");
    WriteImage(folder_ / "l.exr", image, SampleFormat::float32,
               WriteSettings{kDefaultPngCompression, ColorEncoding::linear});
    EXPECT_EQ(stored("l.exr").get_string_attribute("colorspace"), "linear");
}
#endif

} // namespace
} // namespace plurion::host
