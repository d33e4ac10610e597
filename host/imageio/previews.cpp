#include "imageio/previews.h"

#ifdef PLURION_HAVE_OIIO
#include "imageio/image_backend.h"
#endif

namespace plurion::host {

#ifdef PLURION_HAVE_OIIO

std::string WriteContactSheet(const std::filesystem::path& file,
                              const std::vector<RgbaImage>& frames,
                              const std::vector<std::string>& labels, int cell_width) {
    std::string warning;
    std::string reason;
    if (!LoadedImageBackend(file).contact_sheet(file, frames, labels, cell_width, warning,
                                                reason)) {
        throw ImageFileError(file, reason);
    }
    return warning;
}

void WriteAnimatedGif(const std::filesystem::path& file, const std::vector<RgbaImage>& frames,
                      double fps) {
    std::string reason;
    if (!LoadedImageBackend(file).animated_gif(file, frames, fps, reason)) {
        throw ImageFileError(file, reason);
    }
}

#else

std::string WriteContactSheet(const std::filesystem::path& file, const std::vector<RgbaImage>&,
                              const std::vector<std::string>&, int) {
    throw ImageFileError(file, "contact sheets need a build with OpenImageIO");
}

void WriteAnimatedGif(const std::filesystem::path& file, const std::vector<RgbaImage>&, double) {
    throw ImageFileError(file, "animations need a build with OpenImageIO");
}

#endif

} // namespace plurion::host
