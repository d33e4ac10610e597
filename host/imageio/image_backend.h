// The image-file library: everything that reads and writes formats through OpenImageIO and
// libpng lives in a shared library of its own (libplurion_imagefiles.so), loaded on the first
// use of such a file, so that commands that touch no picture file start without loading
// OpenImageIO and the many libraries behind it.
//
// The library exports one C function, kImageBackendEntry, that answers this table. No exception
// crosses between the library and the program: each function answers false with the reason of
// the failure (for ImageFileError, its reason without the file name), and the program throws.
#pragma once

#include "imageio/image_file.h"

#include <filesystem>
#include <string>
#include <vector>

namespace plurion::host {

struct ImageBackend {
    int version = 0; // kImageBackendVersion: the program and the library are built together

    bool (*read_info)(const std::filesystem::path& file, ImageInfo& info,
                      std::string& reason) noexcept;
    // Picture `subimage` of a file (0 for a still picture).
    bool (*read)(const std::filesystem::path& file, int subimage, RgbaImage& image,
                 std::string& reason) noexcept;
    bool (*read_movie_info)(const std::filesystem::path& file, MovieInfo& movie,
                            std::string& reason) noexcept;
    // Empty name: the library writes nothing for the file's extension.
    bool (*writable_format)(const std::filesystem::path& file, WritableFormat& format,
                            std::string& reason) noexcept;
    // The rows are asked for a strip at a time; a strip they refuse ends the encoding.
    bool (*encode)(const std::filesystem::path& file, const RgbaRows& rows, SampleFormat samples,
                   const WriteSettings& settings, std::vector<char>& bytes,
                   std::string& reason) noexcept;
    bool (*encode_packed)(const std::filesystem::path& file, const PackedRgba& image,
                          const WriteSettings& settings, std::vector<char>& bytes,
                          std::string& reason) noexcept;
    // `warning` is set when the sheet was written without its labels.
    bool (*contact_sheet)(const std::filesystem::path& file, const std::vector<RgbaImage>& frames,
                          const std::vector<std::string>& labels, int cell_width,
                          std::string& warning, std::string& reason) noexcept;
    bool (*animated_gif)(const std::filesystem::path& file, const std::vector<RgbaImage>& frames,
                         double fps, std::string& reason) noexcept;
};

inline constexpr int kImageBackendVersion = 2;
inline constexpr const char* kImageBackendEntry = "plurion_image_backend";
inline constexpr const char* kImageBackendFileName = "libplurion_imagefiles.so";

// The library's table, loaded on first use from beside the program, from lib/plurion/ beside
// the program's folder (as `cmake --install` lays them out), or from where the build made it.
// Throws ImageFileError naming `file` (the picture being read or written) when it cannot load.
const ImageBackend& LoadedImageBackend(const std::filesystem::path& file);

} // namespace plurion::host
