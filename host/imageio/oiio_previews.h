// The previews of previews.h drawn and written through OpenImageIO; part of the image-file
// library (image_backend.h). Errors throw ImageFileError.
#pragma once

#include "imageio/image_file.h"

#include <string>
#include <vector>

namespace plurion::host {

// The contact sheet; answers a warning when its labels could not be drawn, else nothing.
std::string OiioContactSheet(const std::filesystem::path& file,
                             const std::vector<RgbaImage>& frames,
                             const std::vector<std::string>& labels, int cell_width);

void OiioAnimatedGif(const std::filesystem::path& file, const std::vector<RgbaImage>& frames,
                     double fps);

} // namespace plurion::host
