#include "imageio/image_compare.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace plurion::host {

ImageDifference CompareImages(const RgbaImage& a, const RgbaImage& b, double scale) {
    if (a.width != b.width || a.height != b.height) {
        throw std::invalid_argument("the sizes differ: " + std::to_string(a.width) + " x " +
                                    std::to_string(a.height) + " and " + std::to_string(b.width) +
                                    " x " + std::to_string(b.height));
    }
    ImageDifference out;
    out.picture = MakeRgbaImage(a.width, a.height);
    double sum = 0.0;
    for (std::size_t p = 0; p < a.rgba.size(); p += 4) {
        double colour = 0.0;
        for (std::size_t c = 0; c < 4; ++c) {
            const double d = std::abs(static_cast<double>(a.rgba[p + c]) - b.rgba[p + c]);
            sum += d;
            out.max = std::max(out.max, d);
            if (c < 3) {
                colour = std::max(colour, d);
            }
        }
        const double alpha = std::abs(static_cast<double>(a.rgba[p + 3]) - b.rgba[p + 3]);
        out.picture.rgba[p] = static_cast<float>(std::min(1.0, colour / scale));
        out.picture.rgba[p + 1] = static_cast<float>(std::min(1.0, alpha / scale));
        out.picture.rgba[p + 2] = 0.0f;
        out.picture.rgba[p + 3] = 1.0f;
    }
    out.mean = a.rgba.empty() ? 0.0 : sum / static_cast<double>(a.rgba.size());
    return out;
}

} // namespace plurion::host
