// Reading and writing picture files, the one place that knows about file formats.
//
// With OpenImageIO (built with PLURION_WITH_OIIO): reads every format it knows (PNG, OpenEXR,
// TIFF, JPEG, ...) and writes PNG (8 or 16 bits) and OpenEXR (half or float). Files that keep
// premultiplied colour by convention (OpenEXR, associated-alpha TIFF) are unpremultiplied on
// read and premultiplied on write; PNG keeps straight colour both ways.
//
// Always, with or without OpenImageIO: the raw float format, extension ".rgbaf", so that a build
// without OpenImageIO can still read sources and write frames. Its layout:
//   the ASCII line "PLURION-RGBAF <width> <height>\n", then width * height * 4 IEEE 754 32-bit
//   floats, little-endian, straight RGBA, rows from top to bottom, nothing after them.
//
// The format written is chosen by the file's extension (".png", ".exr", ".rgbaf"). Files are
// written to a temporary name in the same folder and renamed into place, so a failed write
// leaves no half-written file. Every failure throws ImageFileError naming the file and reason.
#pragma once

#include "imageio/rgba_image.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace plurion::host {

class ImageFileError : public std::runtime_error {
  public:
    ImageFileError(const std::filesystem::path& file, const std::string& reason);
    const std::string& reason() const { return reason_; }

  private:
    std::string reason_;
};

// How samples are stored in the file written.
enum class SampleFormat {
    uint8,   // PNG
    uint16,  // PNG
    half,    // OpenEXR
    float32, // OpenEXR, raw float
};

struct ImageInfo {
    int width = 0;
    int height = 0;
};

// Whether this build reads and writes formats other than the raw float one.
bool HasOpenImageIO();

// The size of the picture in a file, read from its header only.
ImageInfo ReadImageInfo(const std::filesystem::path& file);

// The first picture of a file, as straight float RGBA (grey is spread to RGB, missing alpha is 1).
RgbaImage ReadImage(const std::filesystem::path& file);

// Writes the image to the file's format with the sample format given; a combination the format
// cannot hold (PNG in half floats, say) is refused before anything is written.
void WriteImage(const std::filesystem::path& file, const RgbaImage& image, SampleFormat samples);

} // namespace plurion::host
