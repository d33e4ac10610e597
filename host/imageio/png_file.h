// Reading PNG files with libpng itself: its errors come back as messages (never printed to the
// standard error), the rows are decoded one at a time straight into the float picture, and a
// header that claims more pixels than the file could hold is refused before anything is
// allocated. Errors throw ImageFileError.
#pragma once

#include "imageio/image_file.h"

namespace plurion::host {

ImageInfo ReadPngInfo(const std::filesystem::path& file);
RgbaImage ReadPng(const std::filesystem::path& file);

} // namespace plurion::host
