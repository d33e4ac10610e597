// Reading and writing through OpenImageIO; compiled only with PLURION_WITH_OIIO.
// Errors throw ImageFileError.
#pragma once

#include "imageio/image_file.h"

#include <vector>

namespace plurion::host {

ImageInfo ReadOiioInfo(const std::filesystem::path& file);
RgbaImage ReadOiio(const std::filesystem::path& file, int subimage = 0);
MovieInfo ReadOiioMovieInfo(const std::filesystem::path& file);

// The bytes of the picture in the format of the file name's extension, made in memory (PNG at
// the compression level of `settings`) from its rows, a strip at a time.
std::vector<char> EncodeOiio(const std::filesystem::path& file, const RgbaRows& rows,
                             SampleFormat samples, const WriteSettings& settings);
std::vector<char> EncodeOiio(const std::filesystem::path& file, const PackedRgba& image,
                             const WriteSettings& settings);

// What OpenImageIO writes for the file's extension; the format name is empty when it writes
// nothing for it.
WritableFormat OiioWritableFormat(const std::filesystem::path& file);

} // namespace plurion::host
