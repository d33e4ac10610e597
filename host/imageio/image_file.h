// Reading and writing picture files, the one place that knows about file formats.
//
// With OpenImageIO (built with PLURION_WITH_OIIO): reads and writes every format it knows (PNG,
// OpenEXR, TIFF, JPEG, DPX, ...), each with the sample formats it can hold. Files that keep
// premultiplied colour by convention (OpenEXR, associated-alpha TIFF) are unpremultiplied on
// read and premultiplied on write; PNG keeps straight colour both ways. A format without alpha
// (JPEG, HDR, PNM) gets the colour over black.
//
// Always, with or without OpenImageIO: the raw float format, extension ".rgbaf", so that a build
// without OpenImageIO can still read sources and write frames. Its layout:
//   the ASCII line "PLURION-RGBAF <width> <height>\n", then width * height * 4 IEEE 754 32-bit
//   floats, little-endian, straight RGBA, rows from top to bottom, nothing after them.
//
// The format written is chosen by the file's extension, in any case (".png", ".PNG", ".exr",
// ".rgbaf"). A file is encoded in memory, then written whole or not at all (file_output.h): a
// failed write, a full disk included, leaves no half-written file. Every failure throws
// ImageFileError naming the file and reason.
#pragma once

#include "imageio/rgba_image.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace plurion::host {

class ImageFileError : public std::runtime_error {
  public:
    ImageFileError(const std::filesystem::path& file, const std::string& reason);
    const std::string& reason() const { return reason_; }

  private:
    std::string reason_;
};

// A file name's extension in lower case, with its dot ("" for none).
std::string LowerExtension(const std::filesystem::path& file);

// How samples are stored in the file written.
enum class SampleFormat {
    uint8,   // PNG
    uint16,  // PNG
    half,    // OpenEXR
    float32, // OpenEXR, raw float
};

// "8-bit", "16-bit", "half float", "float".
const char* SampleFormatName(SampleFormat samples);

// What a format can hold, to choose the samples before anything renders.
struct WritableFormat {
    std::string name;                  // OpenImageIO's name for it ("png", "openexr"), or "rgbaf"
    std::vector<SampleFormat> samples; // the sample formats it stores, shallowest first
    bool alpha = true;                 // false: colour over black, no alpha channel
};

// How the colour values of a frame relate to light: the composition's own (display-referred,
// sRGB-encoded) values, or converted to linear light.
enum class ColorEncoding { srgb, linear };

struct ImageInfo {
    int width = 0;
    int height = 0;
};

// The largest picture the host decodes, on either side (also its largest layer).
inline constexpr int kMaxPictureSide = 30000;

// Refuses, naming the file, a picture of no pixels or one larger than kMaxPictureSide on a side:
// readers call it before they allocate the picture.
void CheckPictureSize(const std::filesystem::path& file, const ImageInfo& info);

// Refuses a header that claims more pixels than the file's bytes could hold: at least `least`
// bytes would be needed and the file holds `bytes`.
[[noreturn]] void ThrowImplausible(const std::filesystem::path& file, const ImageInfo& claimed,
                                   double least, std::uintmax_t bytes);

// Whether this build reads and writes formats other than the raw float one.
bool HasOpenImageIO();

// The size of the picture in a file, read from its header only.
ImageInfo ReadImageInfo(const std::filesystem::path& file);

// The first picture of a file, as straight float RGBA (grey is spread to RGB, missing alpha is 1).
RgbaImage ReadImage(const std::filesystem::path& file);

// A file of several pictures shown one after another: an animated GIF, a multi-page TIFF, any
// file whose pictures OpenImageIO reads as subimages (a raw float file is one picture).
struct MovieInfo {
    std::vector<ImageInfo> frames; // the size of each picture, in order
    double fps = 0.0;              // the rate the file states (GIF: its delay), 0 when none
    // Where the pictures' own times differ (a GIF's delays): each picture's time in seconds,
    // in order; empty otherwise.
    std::vector<double> durations;
};

// The most pictures read from one file.
inline constexpr int kMaxMovieFrames = 100000;

// The sizes and rate of a file's pictures, from their headers only; a file of more than
// kMaxMovieFrames pictures is refused.
MovieInfo ReadMovieInfo(const std::filesystem::path& file);

// Picture `frame` (from 0) of such a file, as ReadImage gives the first; an error's reason
// names the frame.
RgbaImage ReadMovieFrame(const std::filesystem::path& file, int frame);

// PNG's zlib level (0 = stored, 9 = smallest) when none is asked for: level 1 deflates a
// rendered frame several times faster than the library's usual 6, for files about a fifth larger.
inline constexpr int kDefaultPngCompression = 1;

// The file is tagged with the colour encoding ("oiio:ColorSpace" where the format keeps it, a
// "colorspace" header string in OpenEXR); the values are written as they are.
struct WriteSettings {
    int png_compression = kDefaultPngCompression; // 0 to 9
    ColorEncoding encoding = ColorEncoding::srgb;
};

// The format a file name asks for by its extension; throws ImageFileError when this build
// cannot write it.
WritableFormat WritableFormatOf(const std::filesystem::path& file);

// A picture already in a file's whole-number samples: interleaved straight R, G, B, A, rows from
// top to bottom, one byte a sample (uint8) or two in the machine's order (uint16, white 65535).
struct PackedRgba {
    int width = 0;
    int height = 0;
    SampleFormat samples = SampleFormat::uint8; // uint8 or uint16
    std::vector<std::byte> bytes;               // width * height * 4 samples
};

// A picture handed to a writer a strip of rows at a time, so that it never needs to be whole in
// memory as float: `read(first, count, rgba)` puts rows first .. first + count - 1 into `rgba`
// (count * width * 4 floats, straight RGBA as in RgbaImage) and answers false when it cannot,
// which stops the write. The rows are asked for once each, from the top down.
struct RgbaRows {
    int width = 0;
    int height = 0;
    std::function<bool(int first, int count, float* rgba)> read;
};

// The reason a write gives when the rows refused a strip.
inline constexpr const char* kRowsRefused = "the picture's rows could not be made";

// Writes the image to the file's format with the sample format given; a combination the format
// cannot hold (PNG in half floats, say) is refused before anything is written.
void WriteImage(const std::filesystem::path& file, const RgbaImage& image, SampleFormat samples,
                const WriteSettings& settings = {});
// The same from rows made as the writer asks for them.
void WriteImage(const std::filesystem::path& file, const RgbaRows& rows, SampleFormat samples,
                const WriteSettings& settings = {});
// The same for whole-number samples (PNG), without a float copy.
void WriteImage(const std::filesystem::path& file, const PackedRgba& image,
                const WriteSettings& settings = {});

} // namespace plurion::host
