// Reading and writing through OpenImageIO; compiled only with PLURION_WITH_OIIO.
// Errors throw ImageFileError.
#pragma once

#include "imageio/image_file.h"

namespace plurion::host {

ImageInfo ReadOiioInfo(const std::filesystem::path& file);
RgbaImage ReadOiio(const std::filesystem::path& file);

// Writes in the format of `format_name`'s extension to `file` (a temporary name may be given as
// `file` while `format_name` carries the real extension).
void WriteOiio(const std::filesystem::path& file, const std::filesystem::path& format_name,
               const RgbaImage& image, SampleFormat samples, const WriteSettings& settings);
void WriteOiio(const std::filesystem::path& file, const std::filesystem::path& format_name,
               const PackedRgba& image, const WriteSettings& settings);

} // namespace plurion::host
