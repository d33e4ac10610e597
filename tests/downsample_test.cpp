// A frame rendered at 1/2 of its size is the full-size frame reduced by 2: the host hands points
// in the pixels of the downsampled layer and the effect divides only its own lengths, so every
// clone lands where the full frame puts it, twice as close to the corner. A clone type joins
// with one line of kScenes. (Grid cells are whole pixels at every size, so a factor that does
// not divide the cell size moves the cells; the example grids divide by 2.)
#include "scene/scene_loader.h"
#include "session/frame_render.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace plurion::host {
namespace {

// Example scenes that move clones by every kind of point: "Position", "Anchor Point",
// "Offset Position", "Random Position", and lengths of the effect's own.
const char* const kScenes[] = {
    "linear_random.json",      // Position, Offset Position, Random Position
    "linear_motion_blur.json", // Anchor Point, a blurred global rotation
    "radial_circle.json",      // the ring about Position, offsets in percent of the radius
    "grid_shear.json",         // whole cells, a shear by Offset Position
    "grid_blending.json",      // Random Position of the cells
    "path_circle.json",        // clones on a mask path, which the host scales as points
    "path_per_segment.json",   // two masks, clones per segment
};
// "Object" is not among them: its cell step is a whole number of output pixels, (width +
// height) / 2 / "Resolution" truncated, so at 1/2 the cells are not the full frame's halved.

// Premultiplied float RGBA of the effect's output, `width` pixels a row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;
};

Picture Render(EffectSession& session, const Scene& scene, double frame, int downsample) {
    SourceCache cache;
    FrameRenderer renderer(session, scene, cache, {frame, 32, downsample, nullptr});
    WorldOwner output;
    EXPECT_EQ(renderer.render(output), PF_Err_NONE);
    EXPECT_TRUE(renderer.leaks().empty());
    Picture picture{output->width, output->height, {}};
    picture.rgba.resize(static_cast<std::size_t>(output->width) * output->height * 4);
    EXPECT_EQ(WriteFloatRgba(output.get(), picture.rgba.data(), 0), PF_Err_NONE);
    for (std::size_t i = 0; i < picture.rgba.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            picture.rgba[i + c] *= picture.rgba[i + 3];
        }
    }
    return picture;
}

// Each pixel the mean of an N x N block; blocks past the edge count as transparent.
Picture Reduce(const Picture& full, int n) {
    Picture small{(full.width + n - 1) / n, (full.height + n - 1) / n, {}};
    small.rgba.assign(static_cast<std::size_t>(small.width) * small.height * 4, 0.0f);
    for (int y = 0; y < full.height; ++y) {
        for (int x = 0; x < full.width; ++x) {
            for (int c = 0; c < 4; ++c) {
                small.rgba[((y / n) * small.width + x / n) * 4 + c] +=
                    full.rgba[(y * full.width + x) * 4 + c] / static_cast<float>(n * n);
            }
        }
    }
    return small;
}

// Where the drawn alpha lies, on average, in pixels of the picture.
std::pair<double, double> AlphaCentre(const Picture& picture) {
    double sum = 0, x_sum = 0, y_sum = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double a = picture.rgba[(y * picture.width + x) * 4 + 3];
            sum += a;
            x_sum += a * (x + 0.5);
            y_sum += a * (y + 0.5);
        }
    }
    return {x_sum / sum, y_sum / sum};
}

TEST(Downsample, HalfSizeFramesAreTheFullFrameReducedByTwo) {
    EffectSession session(test::ModulePath());
    ASSERT_EQ(session.global_setup(), PF_Err_NONE);
    ASSERT_EQ(session.params_setup(), PF_Err_NONE);
    for (const char* name : kScenes) {
        const Scene scene =
            LoadScene(std::filesystem::path(PLURION_SCENES_DIR) / name, session.params());
        const double frame = scene.composition.frames / 2;
        const Picture full = Render(session, scene, frame, 1);
        const Picture expected = Reduce(full, 2);
        const Picture half = Render(session, scene, frame, 2);
        ASSERT_EQ(half.width, expected.width) << name;
        ASSERT_EQ(half.height, expected.height) << name;
        // Resampling tolerance: at 1/2 each clone's edges are filtered twice (the layer, then the
        // clone), so edge pixels differ by part of their coverage. With every clone at the same
        // size and place the mean difference stays below 0.008 (0.001 to 0.004 here; a clone
        // set at full-size coordinates gives 0.03 and more) and the drawn alpha keeps its
        // centre to within a tenth of a pixel.
        double total = 0;
        for (std::size_t i = 0; i < half.rgba.size(); ++i) {
            total += std::abs(half.rgba[i] - expected.rgba[i]);
        }
        EXPECT_LT(total / static_cast<double>(half.rgba.size()), 0.008) << name;
        const auto [x, y] = AlphaCentre(half);
        const auto [ex, ey] = AlphaCentre(expected);
        EXPECT_NEAR(x, ex, 0.1) << name;
        EXPECT_NEAR(y, ey, 0.1) << name;
    }
}

} // namespace
} // namespace plurion::host
