// Files of several pictures as layer sources: a multi-page TIFF and an animated GIF written here
// through OpenImageIO, one solid colour per picture, played through the effect at the file's
// rate or the composition's, held or looped past the end.
#include "imageio/image_file.h"
#include "render_frame_support.h"
#include "scene/layer_render.h"
#include "scene/scene_loader.h"
#include "scene/scene_writer.h"
#include "session/render_job.h"

#include <OpenImageIO/imageio.h>
#include <gif_lib.h>

#include <filesystem>
#include <fstream>

namespace plurion::test {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 32;
constexpr int kHeight = 16;
// Picture k of every file: red, green, blue, as 8-bit samples that OpenImageIO stores exactly.
constexpr std::array<std::array<float, 3>, 3> kColours = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

// Writes the pictures as subimages of one file; `fps` > 0 states a rate (GIF keeps it as the
// delay of each picture, in hundredths of a second).
void WriteMovie(const fs::path& file, double fps, std::size_t pictures = kColours.size(),
                int odd_width = 0) {
    auto output = OIIO::ImageOutput::create(file.string());
    ASSERT_TRUE(output) << OIIO::geterror();
    std::vector<OIIO::ImageSpec> specs;
    for (std::size_t k = 0; k < pictures; ++k) {
        const int width = (k + 1 == pictures && odd_width > 0) ? odd_width : kWidth;
        OIIO::ImageSpec spec(width, kHeight, 4, OIIO::TypeDesc::UINT8);
        spec.alpha_channel = 3;
        if (fps > 0.0) {
            const int rate[2] = {static_cast<int>(fps * 100), 100};
            spec.attribute("FramesPerSecond", OIIO::TypeRational, rate);
        }
        specs.push_back(spec);
    }
    ASSERT_TRUE(output->open(file.string(), static_cast<int>(specs.size()), specs.data()))
        << output->geterror();
    for (std::size_t k = 0; k < pictures; ++k) {
        if (k > 0) {
            ASSERT_TRUE(output->open(file.string(), specs[k], OIIO::ImageOutput::AppendSubimage));
        }
        const auto& colour = kColours[k % kColours.size()];
        std::vector<unsigned char> pixels;
        for (int i = 0; i < specs[k].width * kHeight; ++i) {
            for (const float c : colour) {
                pixels.push_back(static_cast<unsigned char>(c * 255));
            }
            pixels.push_back(255);
        }
        ASSERT_TRUE(output->write_image(OIIO::TypeDesc::UINT8, pixels.data()))
            << output->geterror();
    }
    ASSERT_TRUE(output->close());
}

class MovieSource : public RenderFixture {
  protected:
    MovieSource() {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~MovieSource() override { fs::remove_all(folder_); }

    // A scene of one clone, the movie layer, over the whole effect layer, at `fps`.
    json MovieScene(const std::string& file, double fps, bool loop) const {
        return {
            {"composition",
             {{"width", kWidth}, {"height", kHeight}, {"fps", fps}, {"frames", 12}, {"bpc", 8}}},
            {"layers",
             {{{"name", "Movie"},
               {"source", {{"kind", "movie"}, {"path", file}, {"loop", loop}}}}}},
            {"effect",
             {{"Clone Type", "Linear"},
              {"Linear Mode/Count", 1},
              {"Linear Mode/Transform/Local/Position", {kWidth / 2, kHeight / 2}},
              {"Layers/Selection/Layer 1", "Movie"}}}};
    }

    void Load(const json& document) {
        scene = host::ParseScene(document, "movie", folder_, session().params());
    }

    // The picture the render shows at composition frame `frame`, by its colour.
    int PictureShownAt(double frame) {
        EXPECT_EQ(render(frame).err, PF_Err_NONE);
        const auto pixel = output_pixel(kWidth / 2, kHeight / 2);
        for (std::size_t k = 0; k < kColours.size(); ++k) {
            if (std::abs(pixel[0] - kColours[k][0]) < 0.01f &&
                std::abs(pixel[1] - kColours[k][1]) < 0.01f &&
                std::abs(pixel[2] - kColours[k][2]) < 0.01f && pixel[3] > 0.99f) {
                return static_cast<int>(k);
            }
        }
        ADD_FAILURE() << "frame " << frame << " shows " << pixel[0] << ", " << pixel[1] << ", "
                      << pixel[2] << ", " << pixel[3];
        return -1;
    }

    // One folder per test: CTest runs them side by side.
    fs::path folder_ = fs::temp_directory_path() /
                       (std::string("plurion_movie_test_") +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(MovieSource, PlaysTheFilesPicturesAtTheCompositionRateHeldOrLooped) {
    WriteMovie(folder_ / "pages.tif", 0.0);
    Load(MovieScene("pages.tif", 24, false));
    const auto& movie = std::get<host::MovieSource>(scene.layers[0].source);
    EXPECT_EQ(movie.frames, 3);
    EXPECT_EQ(scene.layers[0].width, kWidth);
    // A TIFF states no rate: picture k at frame k, then the last one held.
    for (const auto& [frame, picture] :
         std::vector<std::pair<double, int>>{{0, 0}, {1, 1}, {2, 2}, {2.5, 2}, {3, 2}, {7, 2}}) {
        EXPECT_EQ(PictureShownAt(frame), picture) << "frame " << frame;
    }
    Load(MovieScene("pages.tif", 24, true));
    // Looped: 0, 1, 2, 0, 1, 2, ...
    for (const auto& [frame, picture] :
         std::vector<std::pair<double, int>>{{3, 0}, {4, 1}, {5, 2}, {9, 0}, {11, 2}}) {
        EXPECT_EQ(PictureShownAt(frame), picture) << "frame " << frame;
    }
}

TEST_F(MovieSource, AnAnimatedGifPlaysAtItsOwnRate) {
    // 12.5 pictures a second (a delay of 8 hundredths) in a composition of 25 frames a second:
    // each picture shows for two frames.
    WriteMovie(folder_ / "clip.gif", 12.5);
    Load(MovieScene("clip.gif", 25, false));
    EXPECT_DOUBLE_EQ(std::get<host::MovieSource>(scene.layers[0].source).file_fps, 12.5);
    for (const auto& [frame, picture] : std::vector<std::pair<double, int>>{
             {0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 2}, {11, 2}}) {
        EXPECT_EQ(PictureShownAt(frame), picture) << "frame " << frame;
    }
    // A saved scene keeps the source as it was given.
    const json saved = host::SceneAsJson(scene, session().params(), folder_);
    EXPECT_EQ(saved["layers"][0]["source"],
              json({{"kind", "movie"}, {"path", "clip.gif"}, {"loop", false}}));
    // The decoded-file cache may hold all three pictures.
    EXPECT_EQ(host::FileCacheBytes(scene, host::FileCacheBudget(0)),
              3u * kWidth * kHeight * 4 * sizeof(float));
}

// What a picture shows at each of its pixels: 'r', 'g', 'b', 'k' (black), 'w' (white) or '.'
// (transparent), row by row.
std::string PixelLetters(const host::RgbaImage& image) {
    std::string letters;
    for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
        const float* p = &image.rgba[i];
        letters += p[3] < 0.5f                                 ? '.'
                   : p[0] > 0.5f && p[1] > 0.5f && p[2] > 0.5f ? 'w'
                   : p[0] > 0.5f                               ? 'r'
                   : p[1] > 0.5f                               ? 'g'
                   : p[2] > 0.5f                               ? 'b'
                                                               : 'k';
    }
    return letters;
}

// OpenImageIO writes an animation as pictures that store only what changed. Four pictures each
// lighting one quadrant of an 8 x 8 square, white on black: each picture read back shows its own
// quadrant alone, also where a pixel goes back to what it showed two pictures earlier.
TEST_F(MovieSource, AGifThatStoresOnlyChangesShowsEachWholePicture) {
    const fs::path file = folder_ / "quadrants.gif";
    auto writer = OIIO::ImageOutput::create(file.string());
    ASSERT_TRUE(writer);
    std::vector<OIIO::ImageSpec> specs(4, OIIO::ImageSpec(8, 8, 3, OIIO::TypeDesc::UINT8));
    ASSERT_TRUE(writer->open(file.string(), 4, specs.data()));
    std::vector<std::string> expected;
    for (int k = 0; k < 4; ++k) {
        if (k > 0) {
            ASSERT_TRUE(writer->open(file.string(), specs[0], OIIO::ImageOutput::AppendSubimage));
        }
        std::vector<unsigned char> pixels;
        std::string letters;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool lit = x / 4 == k % 2 && y / 4 == k / 2;
                pixels.insert(pixels.end(), 3, lit ? 255 : 0);
                letters += lit ? 'w' : 'k';
            }
        }
        expected.push_back(letters);
        ASSERT_TRUE(writer->write_image(OIIO::TypeDesc::UINT8, pixels.data()));
    }
    ASSERT_TRUE(writer->close());
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(PixelLetters(host::ReadMovieFrame(file, k)),
                  expected[static_cast<std::size_t>(k)])
            << "picture " << k;
    }
}

// One picture of a GIF written with giflib: a rectangle of indices into black, red, green and
// blue, how it leaves the screen for the next one, its delay and its transparent index.
struct GifPicture {
    int disposal, transparent, left, top, width, height;
    std::vector<GifPixelType> indices; // row by row
    int delay = 10;                    // hundredths of a second
};

void WriteGif(const fs::path& file, int width, int height,
              const std::vector<GifPicture>& pictures) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(file.c_str(), false, &error);
    ASSERT_NE(gif, nullptr) << GifErrorString(error);
    EGifSetGifVersion(gif, true);
    const GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    ASSERT_EQ(EGifPutScreenDesc(gif, width, height, 2, 0, map), GIF_OK);
    for (const GifPicture& picture : pictures) {
        GraphicsControlBlock control{picture.disposal, false, picture.delay, picture.transparent};
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        ASSERT_EQ(
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension),
            GIF_OK);
        ASSERT_EQ(EGifPutImageDesc(gif, picture.left, picture.top, picture.width, picture.height,
                                   false, nullptr),
                  GIF_OK);
        for (int row = 0; row < picture.height; ++row) {
            std::vector<GifPixelType> line(picture.indices.begin() + row * picture.width,
                                           picture.indices.begin() + (row + 1) * picture.width);
            ASSERT_EQ(EGifPutLine(gif, line.data(), picture.width), GIF_OK);
        }
    }
    ASSERT_EQ(EGifCloseFile(gif, &error), GIF_OK);
    GifFreeMapObject(map);
}

// Each picture a rectangle with its own way of leaving the screen for the next: kept (1), put
// back as it was before the picture (3), cleared to transparent (2). The expected screens are
// worked by hand.
TEST_F(MovieSource, AGifsPicturesLeaveTheScreenAsTheirDisposalSays) {
    const fs::path file = folder_ / "disposal.gif";
    WriteGif(
        file, 4, 4,
        {
            {DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR, 0, 0, 4, 4, std::vector<GifPixelType>(16, 1)},
            {DISPOSE_PREVIOUS, NO_TRANSPARENT_COLOR, 0, 0, 2, 2, {2, 2, 2, 2}},
            {DISPOSE_BACKGROUND, 0, 2, 2, 2, 2, {0, 3, 3, 3}}, // first pixel transparent
            {DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR, 0, 0, 1, 1, {0}},
        });
    const char* const screens[] = {
        "rrrr"
        "rrrr"
        "rrrr"
        "rrrr",
        "ggrr" // green over the corner
        "ggrr"
        "rrrr"
        "rrrr",
        "rrrr" // the corner put back; blue but where the picture is transparent
        "rrrr"
        "rrrb"
        "rrbb",
        "krrr" // the blue square cleared
        "rrrr"
        "rr.."
        "rr..",
    };
    const host::MovieInfo movie = host::ReadMovieInfo(file);
    ASSERT_EQ(movie.frames.size(), 4u);
    EXPECT_DOUBLE_EQ(movie.fps, 10.0); // a delay of 10 hundredths
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(PixelLetters(host::ReadMovieFrame(file, k)), screens[k]) << "picture " << k;
    }
}

// Pictures of red, green and blue shown for 10, 30 and 20 hundredths of a second: in a
// composition of 10 frames a second they start at frames 0, 1 and 4, and the file lasts 6.
TEST_F(MovieSource, AGifWhoseDelaysDifferShowsEachPictureForItsOwnTime) {
    std::vector<GifPicture> pictures;
    for (const int k : {1, 2, 3}) {
        pictures.push_back({DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR, 0, 0, kWidth, kHeight,
                            std::vector<GifPixelType>(kWidth * kHeight, GifPixelType(k)),
                            k == 1   ? 10
                            : k == 2 ? 30
                                     : 20});
    }
    WriteGif(folder_ / "delays.gif", kWidth, kHeight, pictures);
    Load(MovieScene("delays.gif", 10, false));
    for (const auto& [frame, picture] : std::vector<std::pair<double, int>>{
             {0, 0}, {1, 1}, {3, 1}, {3.5, 1}, {4, 2}, {5, 2}, {6, 2}, {11, 2}}) {
        EXPECT_EQ(PictureShownAt(frame), picture) << "frame " << frame;
    }
    Load(MovieScene("delays.gif", 10, true));
    for (const auto& [frame, picture] :
         std::vector<std::pair<double, int>>{{6, 0}, {7, 1}, {9, 1}, {10, 2}, {11, 2}}) {
        EXPECT_EQ(PictureShownAt(frame), picture) << "looped, frame " << frame;
    }
}

TEST_F(MovieSource, RefusesFilesItCannotPlay) {
    const auto message = [&](const std::string& file) {
        try {
            Load(MovieScene(file, 24, false));
        } catch (const std::exception& error) {
            return std::string(error.what());
        }
        return std::string("loaded");
    };
    EXPECT_NE(message("none.tif").find("no such file"), std::string::npos);
    // Pictures of another size than the first.
    WriteMovie(folder_ / "sizes.tif", 0.0, 3, 20);
    EXPECT_NE(message("sizes.tif").find("frame 2 is 20 x 16, but frame 0 is 32 x 16"),
              std::string::npos)
        << message("sizes.tif");
    std::ofstream(folder_ / "junk.gif") << "GIF89a but nothing else";
    EXPECT_NE(message("junk.gif").find("junk.gif"), std::string::npos);
    EXPECT_NE(message("junk.gif").find("/layers/0/source/path"), std::string::npos);
    // A picture that cannot be decoded at render time names the file, the picture and why.
    WriteMovie(folder_ / "cut.tif", 0.0);
    Load(MovieScene("cut.tif", 24, false));
    fs::resize_file(folder_ / "cut.tif", fs::file_size(folder_ / "cut.tif") / 2);
    try {
        host::ReadMovieFrame(folder_ / "cut.tif", 2);
        ADD_FAILURE() << "a cut file decoded";
    } catch (const host::ImageFileError& error) {
        EXPECT_NE(std::string(error.what()).find("cut.tif: frame 2: "), std::string::npos)
            << error.what();
    }
}

} // namespace
} // namespace plurion::test
