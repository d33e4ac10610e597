// PNG files in memory, for frames sent to a browser: 8-bit straight RGBA, rows unfiltered,
// compressed for speed rather than size.
#pragma once

#include "imageio/rgba_image.h"

#include <cstdint>
#include <string>

namespace plurion::host {

// The image's floats (straight RGBA, 0..1) rounded to 8 bits.
std::string EncodePng(const RgbaImage& image);

// Rows of 8-bit RGBA, `width` * 4 bytes each.
std::string EncodePng8(const std::uint8_t* rgba, int width, int height);

// What a decoder needs to check a file: the size from the header chunk.
struct PngSize {
    int width = 0;
    int height = 0;
};
// Throws std::runtime_error when the bytes do not start as a PNG file.
PngSize ReadPngSize(const std::string& png);

} // namespace plurion::host
