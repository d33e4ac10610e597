// A picture in memory as the scene sources and the file readers and writers exchange it:
// straight (not premultiplied) float RGBA, four floats per pixel, rows from top to bottom,
// nominal range 0..1 (values outside it are kept as they are).
#pragma once

#include <cstddef>
#include <vector>

namespace plurion::host {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<float> rgba; // width * height * 4 floats
};

// A transparent black image of the given size.
inline RgbaImage MakeRgbaImage(int width, int height) {
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0.0f);
    return image;
}

// Offset of the first float of pixel (x, y).
inline std::size_t PixelOffset(const RgbaImage& image, int x, int y) {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
            static_cast<std::size_t>(x)) *
           4;
}

} // namespace plurion::host
