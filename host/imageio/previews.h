// Previews of a render through OpenImageIO: a contact sheet of frames with labels, and an
// animated GIF. Without OpenImageIO both throw ImageFileError.
#pragma once

#include "imageio/image_file.h"

#include <string>
#include <vector>

namespace plurion::host {

// The frames as thumbnails (at most `cell_width` pixels wide, never enlarged) over a dark grey
// sheet, in rows of about the square root of their number, each with its label below it,
// written to `file` (8 bits where the format allows). The frames must be alike in size. The
// labels are drawn in DejaVu Sans; without that font the sheet is written unlabelled and the
// answer is a warning saying so (empty otherwise).
std::string WriteContactSheet(const std::filesystem::path& file,
                              const std::vector<RgbaImage>& frames,
                              const std::vector<std::string>& labels, int cell_width = 256);

// The frames as an animated GIF that loops, at `fps` frames a second.
void WriteAnimatedGif(const std::filesystem::path& file, const std::vector<RgbaImage>& frames,
                      double fps);

} // namespace plurion::host
