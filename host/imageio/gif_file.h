// Reading GIF files with giflib itself, composing each picture over the ones before it as the
// format's disposal methods say (a picture that stores only what changed shows the whole frame,
// as browsers show it). A header or picture rectangle larger than the host's largest picture is
// refused before anything is allocated. Errors throw ImageFileError.
#pragma once

#include "imageio/image_file.h"

namespace plurion::host {

ImageInfo ReadGifInfo(const std::filesystem::path& file);
// Picture `picture` (from 0), composed.
RgbaImage ReadGif(const std::filesystem::path& file, int picture = 0);
// The number of pictures, each the size of the logical screen, and the rate the first
// picture's delay states (hundredths of a second; 0 when it states none); when the delays
// differ, each picture's time, a delay of 0 or 1 hundredth counting as 10 as browsers play it.
MovieInfo ReadGifMovieInfo(const std::filesystem::path& file);

} // namespace plurion::host
