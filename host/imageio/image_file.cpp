#include "imageio/image_file.h"

#include "imageio/file_output.h"
#include "imageio/raw_rgba_file.h"
#ifdef PLURION_HAVE_OIIO
#include "imageio/image_backend.h"
#endif

#include <algorithm>
#include <cstdio>

namespace plurion::host {
namespace {

bool IsRaw(const std::filesystem::path& file) {
    return LowerExtension(file) == kRawRgbaExtension;
}

#ifdef PLURION_HAVE_OIIO
// Calls a function of the image-file library, which answers a failure as its reason.
template <class Call>
void ThroughLibrary(const std::filesystem::path& file, Call&& call) {
    std::string reason;
    if (!call(LoadedImageBackend(file), reason)) {
        throw ImageFileError(file, reason);
    }
}
#else
[[noreturn]] void ThrowWithoutOiio(const std::filesystem::path& file) {
    throw ImageFileError(file, "this build reads and writes only raw float images (\".rgbaf\"); "
                               "it was built without OpenImageIO");
}
#endif

// Refuses a format and sample combination before any file is touched.
void CheckWritable(const std::filesystem::path& file, SampleFormat samples) {
    const WritableFormat format = WritableFormatOf(file);
    if (std::find(format.samples.begin(), format.samples.end(), samples) == format.samples.end()) {
        throw ImageFileError(file, std::string("cannot write ") + SampleFormatName(samples) +
                                       " samples to a \"" + LowerExtension(file) + "\" file");
    }
}

void CheckCompression(const std::filesystem::path& file, const WriteSettings& settings) {
    if (settings.png_compression < 0 || settings.png_compression > 9) {
        throw ImageFileError(file, "PNG compression must be 0 to 9");
    }
}

// Encodes through `encode()` and writes the bytes whole, or nothing; the name in an encoder's
// error is the file the caller asked for.
template <class Encode>
void EncodeAndWrite(const std::filesystem::path& file, Encode&& encode) {
    std::vector<char> bytes;
    try {
        bytes = encode();
    } catch (const ImageFileError& error) {
        throw ImageFileError(file, error.reason());
    }
    WriteFileAtomically(file, bytes);
}

} // namespace

const char* SampleFormatName(SampleFormat samples) {
    switch (samples) {
    case SampleFormat::uint8:
        return "8-bit";
    case SampleFormat::uint16:
        return "16-bit";
    case SampleFormat::half:
        return "half float";
    case SampleFormat::float32:
        return "float";
    }
    return "unknown";
}

WritableFormat WritableFormatOf(const std::filesystem::path& file) {
    if (IsRaw(file)) {
        return WritableFormat{"rgbaf", {SampleFormat::float32}, true};
    }
#ifdef PLURION_HAVE_OIIO
    WritableFormat format;
    ThroughLibrary(file, [&](const ImageBackend& library, std::string& reason) {
        return library.writable_format(file, format, reason);
    });
    if (format.name.empty()) {
        throw ImageFileError(file, "cannot write \"" + LowerExtension(file) +
                                       "\" files; use a format OpenImageIO writes, such as .png, "
                                       ".exr, .tif, .jpg or .dpx");
    }
    return format;
#else
    ThrowWithoutOiio(file);
#endif
}

bool HasOpenImageIO() {
#ifdef PLURION_HAVE_OIIO
    return true;
#else
    return false;
#endif
}

ImageInfo ReadImageInfo(const std::filesystem::path& file) {
    if (IsRaw(file)) {
        return ReadRawRgbaInfo(file);
    }
#ifdef PLURION_HAVE_OIIO
    ImageInfo info;
    ThroughLibrary(file, [&](const ImageBackend& library, std::string& reason) {
        return library.read_info(file, info, reason);
    });
    return info;
#else
    ThrowWithoutOiio(file);
#endif
}

RgbaImage ReadImage(const std::filesystem::path& file) {
    if (IsRaw(file)) {
        return ReadRawRgba(file);
    }
#ifdef PLURION_HAVE_OIIO
    RgbaImage image;
    ThroughLibrary(file, [&](const ImageBackend& library, std::string& reason) {
        return library.read(file, 0, image, reason);
    });
    return image;
#else
    ThrowWithoutOiio(file);
#endif
}

MovieInfo ReadMovieInfo(const std::filesystem::path& file) {
    if (IsRaw(file)) {
        return MovieInfo{{ReadRawRgbaInfo(file)}, 0.0, {}};
    }
#ifdef PLURION_HAVE_OIIO
    MovieInfo movie;
    ThroughLibrary(file, [&](const ImageBackend& library, std::string& reason) {
        return library.read_movie_info(file, movie, reason);
    });
    return movie;
#else
    ThrowWithoutOiio(file);
#endif
}

RgbaImage ReadMovieFrame(const std::filesystem::path& file, int frame) {
    try {
        if (frame == 0) {
            return ReadImage(file);
        }
#ifdef PLURION_HAVE_OIIO
        if (!IsRaw(file)) {
            RgbaImage image;
            ThroughLibrary(file, [&](const ImageBackend& library, std::string& reason) {
                return library.read(file, frame, image, reason);
            });
            return image;
        }
#endif
        throw ImageFileError(file, "the file holds no such picture");
    } catch (const ImageFileError& error) {
        throw ImageFileError(file, "frame " + std::to_string(frame) + ": " + error.reason());
    }
}

void WriteImage(const std::filesystem::path& file, const RgbaImage& image, SampleFormat samples,
                const WriteSettings& settings) {
    if (image.rgba.size() != static_cast<std::size_t>(std::max(image.width, 0)) *
                                 static_cast<std::size_t>(std::max(image.height, 0)) * 4) {
        throw ImageFileError(file, "image has no pixels or a wrong sample count");
    }
    const std::size_t row = static_cast<std::size_t>(image.width) * 4;
    const RgbaRows rows{image.width, image.height, [&](int first, int count, float* rgba) {
                            std::copy_n(image.rgba.data() + row * first, row * count, rgba);
                            return true;
                        }};
    WriteImage(file, rows, samples, settings);
}

void WriteImage(const std::filesystem::path& file, const RgbaRows& rows, SampleFormat samples,
                const WriteSettings& settings) {
    if (rows.width < 1 || rows.height < 1 || !rows.read) {
        throw ImageFileError(file, "image has no pixels or a wrong sample count");
    }
    CheckWritable(file, samples);
    CheckCompression(file, settings);
    EncodeAndWrite(file, [&]() -> std::vector<char> {
        if (IsRaw(file)) {
            return EncodeRawRgba(rows);
        }
#ifdef PLURION_HAVE_OIIO
        std::vector<char> bytes;
        ThroughLibrary(file, [&](const ImageBackend& library, std::string& reason) {
            return library.encode(file, rows, samples, settings, bytes, reason);
        });
        return bytes;
#else
        ThrowWithoutOiio(file);
#endif
    });
}

void WriteImage(const std::filesystem::path& file, const PackedRgba& image,
                const WriteSettings& settings) {
    const std::size_t sample_bytes = image.samples == SampleFormat::uint16 ? 2 : 1;
    if (image.width < 1 || image.height < 1 ||
        image.bytes.size() !=
            static_cast<std::size_t>(image.width) * image.height * 4 * sample_bytes) {
        throw ImageFileError(file, "image has no pixels or a wrong sample count");
    }
    if (image.samples != SampleFormat::uint8 && image.samples != SampleFormat::uint16) {
        throw ImageFileError(file, "whole-number samples are 8 or 16 bits");
    }
    CheckWritable(file, image.samples);
    CheckCompression(file, settings);
    EncodeAndWrite(file, [&]() -> std::vector<char> {
#ifdef PLURION_HAVE_OIIO
        std::vector<char> bytes;
        ThroughLibrary(file, [&](const ImageBackend& library, std::string& reason) {
            return library.encode_packed(file, image, settings, bytes, reason);
        });
        return bytes;
#else
        ThrowWithoutOiio(file);
#endif
    });
}

} // namespace plurion::host
