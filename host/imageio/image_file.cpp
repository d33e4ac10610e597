#include "imageio/image_file.h"

#include "imageio/file_output.h"
#include "imageio/raw_rgba_file.h"
#ifdef PLURION_HAVE_OIIO
#include "imageio/oiio_image_file.h"
#include "imageio/png_file.h"
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace plurion::host {
namespace {

std::string LowerExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool IsRaw(const std::filesystem::path& file) {
    return LowerExtension(file) == kRawRgbaExtension;
}

#ifdef PLURION_HAVE_OIIO
bool IsPng(const std::filesystem::path& file) {
    return LowerExtension(file) == ".png";
}
#endif

// Libraries write multi-line reasons; a message is one line.
std::string OneLine(const std::string& reason) {
    std::string line;
    bool pending_break = false;
    for (const char c : reason) {
        if (c == '\n' || c == '\r') {
            pending_break = !line.empty();
            continue;
        }
        if (pending_break) {
            line += "; ";
            pending_break = false;
        }
        line += c;
    }
    return line;
}

#ifndef PLURION_HAVE_OIIO
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
    WritableFormat format = OiioWritableFormat(file);
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

ImageFileError::ImageFileError(const std::filesystem::path& file, const std::string& reason)
    : std::runtime_error(file.string() + ": " + OneLine(reason)), reason_(OneLine(reason)) {}

void CheckPictureSize(const std::filesystem::path& file, const ImageInfo& info) {
    if (info.width < 1 || info.height < 1 || info.width > kMaxPictureSide ||
        info.height > kMaxPictureSide) {
        throw ImageFileError(file, "the picture is " + std::to_string(info.width) + " x " +
                                       std::to_string(info.height) + " pixels; at most " +
                                       std::to_string(kMaxPictureSide) + " on a side are read");
    }
}

void ThrowImplausible(const std::filesystem::path& file, const ImageInfo& claimed, double least,
                      std::uintmax_t bytes) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "claims %d x %d pixels, which need at least %.0f bytes, but the file holds %llu",
                  claimed.width, claimed.height, least, static_cast<unsigned long long>(bytes));
    throw ImageFileError(file, text);
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
    if (IsPng(file)) {
        return ReadPngInfo(file);
    }
    return ReadOiioInfo(file);
#else
    ThrowWithoutOiio(file);
#endif
}

RgbaImage ReadImage(const std::filesystem::path& file) {
    if (IsRaw(file)) {
        return ReadRawRgba(file);
    }
#ifdef PLURION_HAVE_OIIO
    if (IsPng(file)) {
        return ReadPng(file);
    }
    return ReadOiio(file);
#else
    ThrowWithoutOiio(file);
#endif
}

void WriteImage(const std::filesystem::path& file, const RgbaImage& image, SampleFormat samples,
                const WriteSettings& settings) {
    if (image.width < 1 || image.height < 1 ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        throw ImageFileError(file, "image has no pixels or a wrong sample count");
    }
    CheckWritable(file, samples);
    CheckCompression(file, settings);
    EncodeAndWrite(file, [&]() -> std::vector<char> {
        if (IsRaw(file)) {
            return EncodeRawRgba(image);
        }
#ifdef PLURION_HAVE_OIIO
        return EncodeOiio(file, image, samples, settings);
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
        return EncodeOiio(file, image, settings);
#else
        ThrowWithoutOiio(file);
#endif
    });
}

} // namespace plurion::host
