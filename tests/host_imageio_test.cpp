#include "imageio/image_compare.h"
#include "imageio/image_file.h"

#include <gtest/gtest.h>

#ifdef PLURION_HAVE_OIIO
#include <OpenImageIO/imageio.h>
#endif

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace plurion::host {
namespace {

namespace fs = std::filesystem;

class ImageFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("plurion_imageio_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // 3 x 2 with straight colour under partial alpha, so that a lost (un)premultiply shows.
    static RgbaImage Sample() {
        RgbaImage image = MakeRgbaImage(3, 2);
        const float pixels[6][4] = {
            {0.8f, 0.4f, 0.2f, 0.5f},  {1, 1, 1, 1},    {0, 0, 0, 0},
            {0.1f, 0.9f, 0.3f, 0.25f}, {0.5f, 0, 1, 1}, {0.6f, 0.6f, 0.6f, 0.75f}};
        for (std::size_t p = 0; p < 6; ++p) {
            std::copy(pixels[p], pixels[p] + 4, image.rgba.begin() + static_cast<long>(p * 4));
        }
        return image;
    }

    std::vector<fs::path> FolderEntries() const {
        std::vector<fs::path> entries;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            entries.push_back(entry.path().filename());
        }
        return entries;
    }

    fs::path folder_;
};

void ExpectNear(const RgbaImage& actual, const RgbaImage& expected, float tolerance) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    for (std::size_t i = 0; i < expected.rgba.size(); ++i) {
        if (expected.rgba[i - i % 4 + 3] == 0.0f && i % 4 != 3) {
            continue; // colour under zero alpha is not kept by premultiplied files
        }
        EXPECT_NEAR(actual.rgba[i], expected.rgba[i], tolerance) << "sample " << i;
    }
}

TEST_F(ImageFileTest, RoundTripsEveryWritableFormat) {
    struct Case {
        const char* name;
        SampleFormat samples;
        float tolerance;
        bool needs_oiio;
    };
    const Case cases[] = {{"raw.rgbaf", SampleFormat::float32, 0.0f, false},
                          {"eight.png", SampleFormat::uint8, 0.51f / 255, true},
                          {"sixteen.png", SampleFormat::uint16, 0.51f / 65535, true},
                          {"half.exr", SampleFormat::half, 2e-3f, true},
                          {"float.exr", SampleFormat::float32, 1e-6f, true}};
    const RgbaImage image = Sample();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needs_oiio && !HasOpenImageIO()) {
            continue;
        }
        const fs::path file = folder_ / c.name;
        WriteImage(file, image, c.samples);
        const ImageInfo info = ReadImageInfo(file);
        EXPECT_EQ(info.width, 3);
        EXPECT_EQ(info.height, 2);
        ExpectNear(ReadImage(file), image, c.tolerance);
    }
    // Nothing but the finished files: the temporary names are gone.
    EXPECT_EQ(FolderEntries().size(), HasOpenImageIO() ? 5u : 1u);
}

#ifdef PLURION_HAVE_OIIO
// What lies in the file, read without our conversions.
std::vector<float> StoredSamples(const fs::path& file) {
    auto input = OIIO::ImageInput::open(file.string());
    std::vector<float> samples(static_cast<std::size_t>(input->spec().image_pixels()) * 4);
    input->read_image(0, 0, 0, 4, OIIO::TypeDesc::FLOAT, samples.data());
    return samples;
}

TEST_F(ImageFileTest, StoresExrPremultipliedAndPngStraight) {
    const RgbaImage image = Sample();
    WriteImage(folder_ / "a.exr", image, SampleFormat::float32);
    WriteImage(folder_ / "a.png", image, SampleFormat::uint16);
    const auto exr = StoredSamples(folder_ / "a.exr");
    EXPECT_NEAR(exr[0], 0.8f * 0.5f, 1e-6f);
    EXPECT_NEAR(exr[12], 0.1f * 0.25f, 1e-6f);
    // OIIO hands PNG over premultiplied unless asked not to; the file itself holds 0.8.
    OIIO::ImageSpec config;
    config.attribute("oiio:UnassociatedAlpha", 1);
    const auto input = OIIO::ImageInput::open((folder_ / "a.png").string(), &config);
    ASSERT_TRUE(input);
    std::vector<std::uint16_t> raw(24);
    input->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT16, raw.data());
    EXPECT_EQ(raw[0], std::lround(0.8 * 65535));
}

// Whole-number samples reach the file as they are, at every compression level; the levels
// differ in size only (a stored file is larger than a deflated one).
TEST_F(ImageFileTest, PackedSamplesReachPngUnchanged) {
    PackedRgba eight{2, 1, SampleFormat::uint8, {}};
    for (int v : {200, 100, 50, 25, 1, 2, 3, 255}) {
        eight.bytes.push_back(static_cast<std::byte>(v));
    }
    PackedRgba sixteen{1, 1, SampleFormat::uint16, std::vector<std::byte>(8)};
    const std::uint16_t wide[4] = {65535, 32768, 1, 40000};
    std::memcpy(sixteen.bytes.data(), wide, sizeof wide);
    std::uintmax_t stored = 0, deflated = 0;
    PackedRgba flat{64, 64, SampleFormat::uint8, std::vector<std::byte>(64 * 64 * 4)};
    for (const int level : {0, 9}) {
        WriteImage(folder_ / "8.png", eight, WriteSettings{level});
        WriteImage(folder_ / "16.png", sixteen, WriteSettings{level});
        WriteImage(folder_ / "flat.png", flat, WriteSettings{level});
        (level == 0 ? stored : deflated) = fs::file_size(folder_ / "flat.png");
        OIIO::ImageSpec config;
        config.attribute("oiio:UnassociatedAlpha", 1);
        auto input = OIIO::ImageInput::open((folder_ / "8.png").string(), &config);
        ASSERT_TRUE(input);
        std::vector<std::uint8_t> bytes(8);
        input->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT8, bytes.data());
        EXPECT_EQ(bytes, (std::vector<std::uint8_t>{200, 100, 50, 25, 1, 2, 3, 255}));
        input = OIIO::ImageInput::open((folder_ / "16.png").string(), &config);
        ASSERT_TRUE(input);
        std::vector<std::uint16_t> words(4);
        input->read_image(0, 0, 0, 4, OIIO::TypeDesc::UINT16, words.data());
        EXPECT_EQ(words, (std::vector<std::uint16_t>{65535, 32768, 1, 40000}));
    }
    // 16 KiB of zeros: stored, they take more than 16 KiB; deflated, well under 1 KiB.
    EXPECT_GT(stored, 16384u);
    EXPECT_LT(deflated, 1024u);
    EXPECT_THROW(WriteImage(folder_ / "x.png", eight, WriteSettings{10}), ImageFileError);
    EXPECT_THROW(WriteImage(folder_ / "x.exr", eight), ImageFileError);
    eight.bytes.pop_back();
    EXPECT_THROW(WriteImage(folder_ / "x.png", eight), ImageFileError);
    EXPECT_FALSE(fs::exists(folder_ / "x.png"));
}
#endif

TEST_F(ImageFileTest, FailuresNameTheFileAndLeaveNothingBehind) {
    const RgbaImage image = Sample();
    const auto expect_failure = [](const auto& action, const std::string& file,
                                   const std::string& reason) {
        try {
            action();
            ADD_FAILURE() << "no error for " << file;
        } catch (const ImageFileError& error) {
            EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    };
    const fs::path missing = folder_ / "none.rgbaf";
    expect_failure([&] { ReadImage(missing); }, missing.string(), "cannot open");
    const fs::path in_missing_folder = folder_ / "no" / "frame.rgbaf";
    expect_failure([&] { WriteImage(in_missing_folder, image, SampleFormat::float32); },
                   in_missing_folder.string(), "");
    expect_failure([&] { WriteImage(folder_ / "x.png", image, SampleFormat::half); }, "x.png",
                   "half float");
    expect_failure([&] { WriteImage(folder_ / "x.psd", image, SampleFormat::uint8); }, "x.psd",
                   "cannot write");
    RgbaImage broken = image;
    broken.rgba.pop_back();
    expect_failure([&] { WriteImage(folder_ / "x.rgbaf", broken, SampleFormat::float32); },
                   "x.rgbaf", "sample count");

    const fs::path truncated = folder_ / "cut.rgbaf";
    WriteImage(truncated, image, SampleFormat::float32);
    fs::resize_file(truncated, fs::file_size(truncated) - 4);
    expect_failure([&] { ReadImage(truncated); }, truncated.string(), "truncated");
    std::ofstream(folder_ / "text.rgbaf") << "hello\n";
    expect_failure([&] { ReadImage(folder_ / "text.rgbaf"); }, "text.rgbaf", "not a raw float");

    // Whole, but wider than the host's largest picture: refused before it is decoded.
    const fs::path wide = folder_ / "wide.rgbaf";
    std::ofstream(wide, std::ios::binary) << "PLURION-RGBAF 30001 1\n"
                                          << std::string(30001 * 16, '\0');
    expect_failure([&] { ReadImage(wide); }, wide.string(),
                   "the picture is 30001 x 1 pixels; at most 30000 on a side are read");

    EXPECT_EQ(FolderEntries().size(), 3u); // cut.rgbaf, text.rgbaf and wide.rgbaf only
}

TEST(ImageCompare, LargestAndMeanDifferenceAndTheirPicture) {
    RgbaImage a = MakeRgbaImage(2, 1);
    RgbaImage b = MakeRgbaImage(2, 1);
    a.rgba = {0.5f, 0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    b.rgba = {0.5f, 0.25f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.125f};
    // Differences 0.25 (green of pixel 0) and 0.125 (alpha of pixel 1): the mean is
    // 0.375 / 8 samples.
    const ImageDifference d = CompareImages(a, b, 0.5);
    EXPECT_DOUBLE_EQ(d.max, 0.25);
    EXPECT_DOUBLE_EQ(d.mean, 0.375 / 8);
    const std::vector<float> picture = {0.5f, 0.0f, 0.0f, 1.0f, 0.0f, 0.25f, 0.0f, 1.0f};
    EXPECT_EQ(d.picture.rgba, picture);
    EXPECT_EQ(CompareImages(a, a).max, 0.0);
    EXPECT_THROW(CompareImages(a, MakeRgbaImage(1, 2)), std::invalid_argument);
}

} // namespace
} // namespace plurion::host
