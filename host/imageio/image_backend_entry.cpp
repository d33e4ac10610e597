// The image-file library's one export: the table of its functions, each answering failures as
// a reason instead of an exception.
#include "imageio/gif_file.h"
#include "imageio/image_backend.h"
#include "imageio/oiio_image_file.h"
#include "imageio/oiio_previews.h"
#include "imageio/png_file.h"

#include <cstring>
#include <exception>
#include <fstream>
#include <new>

namespace plurion::host {
namespace {

bool HasExtension(const std::filesystem::path& file, const char* wanted) {
    return LowerExtension(file) == wanted;
}

bool IsPng(const std::filesystem::path& file) {
    return HasExtension(file, ".png");
}

// GIFs, known by their signature whatever their name, are read with giflib: OpenImageIO 2.4
// composes the pictures of some GIFs wrongly, and, trying its readers in turn on a file its
// name's reader refuses, sizes a GIF's screen before any check of ours.
bool IsGif(const std::filesystem::path& file) {
    char signature[3] = {};
    std::ifstream in(file, std::ios::binary);
    return (in.read(signature, sizeof signature) &&
            std::memcmp(signature, "GIF", sizeof signature) == 0) ||
           HasExtension(file, ".gif");
}

template <class Work>
bool Answer(std::string& reason, Work&& work) noexcept {
    try {
        work();
        return true;
    } catch (const ImageFileError& error) {
        reason = error.reason();
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    } catch (const std::exception& error) {
        reason = error.what();
    } catch (...) {
        reason = "unknown failure";
    }
    return false;
}

bool ReadInfo(const std::filesystem::path& file, ImageInfo& info, std::string& reason) noexcept {
    return Answer(reason, [&] {
        info = IsPng(file)   ? ReadPngInfo(file)
               : IsGif(file) ? ReadGifInfo(file)
                             : ReadOiioInfo(file);
    });
}

bool Read(const std::filesystem::path& file, int subimage, RgbaImage& image,
          std::string& reason) noexcept {
    return Answer(reason, [&] {
        image = subimage == 0 && IsPng(file) ? ReadPng(file)
                : IsGif(file)                ? ReadGif(file, subimage)
                                             : ReadOiio(file, subimage);
    });
}

bool ReadMovieInfo(const std::filesystem::path& file, MovieInfo& movie,
                   std::string& reason) noexcept {
    return Answer(reason,
                  [&] { movie = IsGif(file) ? ReadGifMovieInfo(file) : ReadOiioMovieInfo(file); });
}

bool Writable(const std::filesystem::path& file, WritableFormat& format,
              std::string& reason) noexcept {
    return Answer(reason, [&] { format = OiioWritableFormat(file); });
}

bool Encode(const std::filesystem::path& file, const RgbaRows& rows, SampleFormat samples,
            const WriteSettings& settings, std::vector<char>& bytes, std::string& reason) noexcept {
    return Answer(reason, [&] { bytes = EncodeOiio(file, rows, samples, settings); });
}

bool EncodePacked(const std::filesystem::path& file, const PackedRgba& image,
                  const WriteSettings& settings, std::vector<char>& bytes,
                  std::string& reason) noexcept {
    return Answer(reason, [&] { bytes = EncodeOiio(file, image, settings); });
}

bool ContactSheet(const std::filesystem::path& file, const std::vector<RgbaImage>& frames,
                  const std::vector<std::string>& labels, int cell_width, std::string& warning,
                  std::string& reason) noexcept {
    return Answer(reason, [&] { warning = OiioContactSheet(file, frames, labels, cell_width); });
}

bool AnimatedGif(const std::filesystem::path& file, const std::vector<RgbaImage>& frames,
                 double fps, std::string& reason) noexcept {
    return Answer(reason, [&] { OiioAnimatedGif(file, frames, fps); });
}

constexpr ImageBackend kBackend{
    kImageBackendVersion, ReadInfo,     Read,        ReadMovieInfo, Writable, Encode,
    EncodePacked,         ContactSheet, AnimatedGif,
};

} // namespace
} // namespace plurion::host

extern "C" __attribute__((visibility("default"))) const plurion::host::ImageBackend*
plurion_image_backend() {
    return &plurion::host::kBackend;
}
