// Feeds arbitrary bytes to the picture readers as a file: PNG, OpenEXR, raw float, TIFF, JPEG or
// GIF by the bytes' own signature (anything else by its size). Every input must give a picture of
// the size its header told, or one ImageFileError; a GIF's last picture too.
#include "imageio/image_file.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string ExtensionFor(const std::uint8_t* data, std::size_t size) {
    const auto starts = [&](const char* magic, std::size_t length) {
        return size >= length && std::memcmp(data, magic, length) == 0;
    };
    if (starts("\x89PNG", 4)) {
        return ".png";
    }
    if (starts("\x76\x2f\x31\x01", 4)) {
        return ".exr";
    }
    if (starts("PLURION-RGBAF", 13)) {
        return ".rgbaf";
    }
    if (starts("II*", 3) || starts("MM\0*", 4)) {
        return ".tif";
    }
    if (starts("\xff\xd8", 2)) {
        return ".jpg";
    }
    if (starts("GIF8", 4)) {
        return ".gif";
    }
    static const char* const kOthers[] = {".png", ".exr", ".rgbaf", ".tif", ".jpg", ".gif"};
    return kOthers[size % 6];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("plurion_fuzz_" + std::to_string(getpid()) + ExtensionFor(data, size));
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        const plurion::host::ImageInfo info = plurion::host::ReadImageInfo(file);
        const plurion::host::RgbaImage image = plurion::host::ReadImage(file);
        if (image.width != info.width || image.height != info.height ||
            image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
            std::abort();
        }
        if (file.extension() == ".gif") {
            const plurion::host::MovieInfo movie = plurion::host::ReadMovieInfo(file);
            const plurion::host::RgbaImage last =
                plurion::host::ReadMovieFrame(file, static_cast<int>(movie.frames.size()) - 1);
            if (last.width != info.width || last.height != info.height) {
                std::abort();
            }
        }
    } catch (const plurion::host::ImageFileError&) {
    }
    return 0;
}
