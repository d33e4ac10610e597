// The raw float format (".rgbaf"): a one-line text header and the pixels as little-endian
// 32-bit floats. Layout in image_file.h. Errors throw ImageFileError.
#pragma once

#include "imageio/image_file.h"

#include <vector>

namespace plurion::host {

inline constexpr const char* kRawRgbaExtension = ".rgbaf";

ImageInfo ReadRawRgbaInfo(const std::filesystem::path& file);
RgbaImage ReadRawRgba(const std::filesystem::path& file);
// The file's bytes for the picture, read from its rows a strip at a time.
std::vector<char> EncodeRawRgba(const RgbaRows& rows);

} // namespace plurion::host
