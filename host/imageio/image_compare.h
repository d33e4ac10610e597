// Differences between two pictures, for golden-image tests of renders: the largest and the
// mean absolute difference over all samples (straight RGBA, 0 to 1 for integer files) and a
// picture of the differences.
#pragma once

#include "imageio/rgba_image.h"

#include <stdexcept>

namespace plurion::host {

struct ImageDifference {
    double max = 0.0;  // largest absolute difference of any sample
    double mean = 0.0; // mean absolute difference over every sample
    // Per pixel: the largest difference of its colour channels in red, of its alpha in green,
    // scaled so that `scale` shows as 1; opaque.
    RgbaImage picture;
};

// Throws std::invalid_argument when the sizes differ.
ImageDifference CompareImages(const RgbaImage& a, const RgbaImage& b, double scale = 1.0);

} // namespace plurion::host
