#include "imageio/oiio_image_file.h"

#include <OpenImageIO/filesystem.h>
#include <OpenImageIO/imageio.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace plurion::host {
namespace {

std::string Reason(const std::string& message, const char* fallback) {
    return message.empty() ? fallback : message;
}

std::unique_ptr<OIIO::ImageInput> OpenInput(const std::filesystem::path& file) {
    if (!std::filesystem::exists(file)) {
        throw ImageFileError(file, "no such file");
    }
    // Ask for straight colour where the format stores it (PNG, TGA, unassociated TIFF); the
    // reader then marks its ImageSpec, and everything else arrives premultiplied.
    OIIO::ImageSpec config;
    config.attribute("oiio:UnassociatedAlpha", 1);
    auto input = OIIO::ImageInput::open(file.string(), &config);
    if (!input) {
        throw ImageFileError(file, Reason(OIIO::geterror(), "unreadable image"));
    }
    // OpenImageIO tries every other reader on a file that its name's reader refuses, and some of
    // those size a picture from a few bytes of anything: only the format the name says is read.
    const std::string extension = LowerExtension(file);
    const std::string format = input->format_name();
    const auto extensions = OIIO::get_extension_map();
    const auto known = extensions.find(format);
    if (!extension.empty() &&
        (known == extensions.end() || std::find(known->second.begin(), known->second.end(),
                                                extension.substr(1)) == known->second.end())) {
        throw ImageFileError(file, "holds " + format + " data, not what its name says");
    }
    return input;
}

// The alpha channel's index, or -1. A reader may name one past the last channel (OpenImageIO's
// GIF reader does for every picture after the first); the channel called "A" is taken then.
int AlphaChannel(const OIIO::ImageSpec& spec) {
    if (spec.alpha_channel >= 0 && spec.alpha_channel < spec.nchannels) {
        return spec.alpha_channel;
    }
    if (spec.alpha_channel < 0) {
        return -1;
    }
    for (int c = 0; c < spec.nchannels && c < static_cast<int>(spec.channelnames.size()); ++c) {
        if (spec.channelnames[static_cast<std::size_t>(c)] == "A") {
            return c;
        }
    }
    return -1;
}

// Spreads a strip of the file's rows to RGBA: grey to all three, a missing alpha to 1.
void SpreadToRgba(const OIIO::ImageSpec& spec, const std::vector<float>& samples, int first_row,
                  int rows, RgbaImage& image) {
    const int channels = spec.nchannels;
    const int alpha = AlphaChannel(spec);
    std::vector<int> colour;
    for (int c = 0; c < channels && colour.size() < 3; ++c) {
        if (c != alpha) {
            colour.push_back(c);
        }
    }
    const std::size_t pixels =
        static_cast<std::size_t>(spec.width) * static_cast<std::size_t>(rows);
    float* const first = image.rgba.data() + PixelOffset(image, 0, first_row);
    for (std::size_t p = 0; p < pixels; ++p) {
        const float* in = samples.data() + p * static_cast<std::size_t>(channels);
        float* out = first + p * 4;
        for (std::size_t c = 0; c < 3; ++c) {
            out[c] = colour.empty() ? 0.0f : in[colour[std::min(c, colour.size() - 1)]];
        }
        out[3] = alpha >= 0 ? in[alpha] : 1.0f;
    }
}

void Unpremultiply(RgbaImage& image) {
    for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
        const float alpha = image.rgba[i + 3];
        if (alpha > 0.0f) {
            for (std::size_t c = 0; c < 3; ++c) {
                image.rgba[i + c] /= alpha;
            }
        }
    }
}

OIIO::TypeDesc FileType(SampleFormat samples) {
    switch (samples) {
    case SampleFormat::uint8:
        return OIIO::TypeDesc::UINT8;
    case SampleFormat::uint16:
        return OIIO::TypeDesc::UINT16;
    case SampleFormat::half:
        return OIIO::TypeDesc::HALF;
    case SampleFormat::float32:
        return OIIO::TypeDesc::FLOAT;
    }
    return OIIO::TypeDesc::FLOAT;
}

// Scan lines per chunk of each OpenEXR compression method.
int ExrLinesPerChunk(const std::string& compression) {
    const std::string method = compression.substr(0, compression.find(':'));
    if (method == "zip" || method == "pxr24") {
        return 16;
    }
    if (method == "piz" || method == "b44" || method == "b44a" || method == "dwaa") {
        return 32;
    }
    if (method == "dwab") {
        return 256;
    }
    return 1; // none, rle, zips
}

// An OpenEXR file holds a table of 8-byte offsets, one per chunk, and every chunk begins with
// its own header (scan lines: 8 bytes; tiles: 20); without compression the pixel bytes follow
// in full. A header that claims more than that in fewer bytes is refused before any decoding.
void CheckExrPlausible(const std::filesystem::path& file, const OIIO::ImageSpec& spec) {
    const std::string compression = spec.get_string_attribute("compression", "none");
    double chunks = 0.0;
    double chunk_header = 0.0;
    if (spec.tile_width > 0 && spec.tile_height > 0) {
        chunks = std::ceil(static_cast<double>(spec.width) / spec.tile_width) *
                 std::ceil(static_cast<double>(spec.height) / spec.tile_height);
        chunk_header = 20.0;
    } else {
        chunks = std::ceil(static_cast<double>(spec.height) / ExrLinesPerChunk(compression));
        chunk_header = 8.0;
    }
    double least = chunks * (8.0 + chunk_header);
    if (compression == "none") {
        double pixel_bytes = 0.0;
        for (int c = 0; c < spec.nchannels; ++c) {
            pixel_bytes += static_cast<double>(spec.channelformat(c).size());
        }
        least += static_cast<double>(spec.width) * spec.height * pixel_bytes;
    }
    std::error_code error;
    const auto bytes = std::filesystem::file_size(file, error);
    if (!error && static_cast<double>(bytes) < least) {
        ThrowImplausible(file, ImageInfo{spec.width, spec.height}, least, bytes);
    }
}

// A JPEG file codes every 8 x 8 block of its largest component with at least one bit (the
// Huffman code of its DC difference, also in a progressive file's first scan), so a byte holds
// at most 512 pixels.
void CheckJpegPlausible(const std::filesystem::path& file, const OIIO::ImageSpec& spec) {
    constexpr double kMostPixelsPerByte = 512.0;
    const double least = static_cast<double>(spec.width) * spec.height / kMostPixelsPerByte;
    std::error_code error;
    const auto bytes = std::filesystem::file_size(file, error);
    if (!error && static_cast<double>(bytes) < least) {
        ThrowImplausible(file, ImageInfo{spec.width, spec.height}, least, bytes);
    }
}

// The picture's size, checked against what the file can hold.
ImageInfo CheckedInfo(const std::filesystem::path& file, const OIIO::ImageInput& input) {
    const OIIO::ImageSpec& spec = input.spec();
    const std::string format = input.format_name();
    if (format == "openexr") {
        CheckExrPlausible(file, spec);
    } else if (format == "jpeg") {
        CheckJpegPlausible(file, spec);
    }
    return ImageInfo{spec.width, spec.height};
}

// The sample formats each writer stores, shallowest first; a writer not listed gets what it is
// asked for and converts as it must.
std::vector<SampleFormat> StoredSamples(const std::string& format) {
    using S = SampleFormat;
    static const std::vector<std::pair<std::string, std::vector<S>>> kFormats = {
        {"openexr", {S::half, S::float32}},
        {"tiff", {S::uint8, S::uint16, S::float32}},
        {"png", {S::uint8, S::uint16}},
        {"dpx", {S::uint8, S::uint16}},
        {"pnm", {S::uint8, S::uint16}},
        {"sgi", {S::uint8, S::uint16}},
        {"jpeg2000", {S::uint8, S::uint16}},
        {"iff", {S::uint8, S::uint16}},
        {"fits", {S::uint8, S::uint16, S::float32}},
        {"rla", {S::uint8, S::uint16, S::float32}},
        {"hdr", {S::float32}},
        {"zfile", {S::float32}},
        {"jpeg", {S::uint8}},
        {"targa", {S::uint8}},
        {"bmp", {S::uint8}},
        {"webp", {S::uint8}},
        {"gif", {S::uint8}},
        {"heif", {S::uint8}},
        {"ico", {S::uint8}},
    };
    for (const auto& [name, samples] : kFormats) {
        if (name == format) {
            return samples;
        }
    }
    return {S::uint8, S::uint16, S::half, S::float32};
}

// A strip of straight RGBA as a file wants it, in place: premultiplied, or the colour over black
// packed as RGB.
void PrepareStrip(float* rgba, std::size_t pixels, bool alpha, bool premultiplied) {
    if (alpha && !premultiplied) {
        return;
    }
    float* rgb = rgba;
    for (std::size_t i = 0; i < pixels; ++i, rgba += 4) {
        const float a = rgba[3];
        if (alpha) {
            rgba[0] *= a;
            rgba[1] *= a;
            rgba[2] *= a;
        } else {
            // Never ahead of what it reads: pixel i's RGB goes to floats 3i..3i+2.
            for (std::size_t c = 0; c < 3; ++c) {
                *rgb++ = rgba[c] * a;
            }
        }
    }
}

} // namespace

WritableFormat OiioWritableFormat(const std::filesystem::path& file) {
    const auto output = OIIO::ImageOutput::create(file.filename().string());
    OIIO::geterror(); // a format it does not know leaves a message behind
    if (!output) {
        return {};
    }
    return WritableFormat{output->format_name(), StoredSamples(output->format_name()),
                          output->supports("alpha") != 0};
}

ImageInfo ReadOiioInfo(const std::filesystem::path& file) {
    const auto input = OpenInput(file);
    return CheckedInfo(file, *input);
}

RgbaImage ReadOiio(const std::filesystem::path& file, int subimage) {
    const auto input = OpenInput(file);
    if (subimage != 0 && !input->seek_subimage(subimage, 0)) {
        throw ImageFileError(file, "the file holds no such picture");
    }
    const OIIO::ImageSpec spec = input->spec();
    if (spec.width < 1 || spec.height < 1 || spec.nchannels < 1) {
        throw ImageFileError(file, "image has no pixels");
    }
    CheckPictureSize(file, CheckedInfo(file, *input));
    // Strips of rows through a small buffer: the picture is the only full-size copy.
    RgbaImage image = MakeRgbaImage(spec.width, spec.height);
    constexpr int kStripRows = 64;
    std::vector<float> samples(static_cast<std::size_t>(spec.width) * kStripRows *
                               static_cast<std::size_t>(spec.nchannels));
    for (int y = 0; y < spec.height; y += kStripRows) {
        const int rows = std::min(kStripRows, spec.height - y);
        if (!input->read_scanlines(subimage, 0, spec.y + y, spec.y + y + rows, 0, 0, spec.nchannels,
                                   OIIO::TypeDesc::FLOAT, samples.data())) {
            throw ImageFileError(file, Reason(input->geterror(), "cannot read pixels"));
        }
        SpreadToRgba(spec, samples, y, rows, image);
    }
    input->close();
    const bool straight = spec.get_int_attribute("oiio:UnassociatedAlpha", 0) != 0;
    if (AlphaChannel(spec) >= 0 && !straight) {
        Unpremultiply(image);
    }
    return image;
}

MovieInfo ReadOiioMovieInfo(const std::filesystem::path& file) {
    const auto input = OpenInput(file);
    MovieInfo movie;
    // The rate is the first picture's: GIF states it by the delay of each picture.
    const OIIO::ParamValue* rate = input->spec().find_attribute("FramesPerSecond");
    if (rate != nullptr && rate->type() == OIIO::TypeRational) {
        const int* parts = static_cast<const int*>(rate->data());
        if (parts[0] > 0 && parts[1] > 0) {
            movie.fps = static_cast<double>(parts[0]) / parts[1];
        }
    } else if (rate != nullptr && rate->type() == OIIO::TypeFloat) {
        movie.fps = std::max(0.0, static_cast<double>(rate->get_float()));
    }
    for (int subimage = 0; input->seek_subimage(subimage, 0); ++subimage) {
        if (subimage == kMaxMovieFrames) {
            throw ImageFileError(file, "holds more than " + std::to_string(kMaxMovieFrames) +
                                           " pictures");
        }
        movie.frames.push_back(CheckedInfo(file, *input));
    }
    OIIO::geterror(); // seeking past the last picture leaves a message behind
    input->geterror();
    if (movie.frames.empty()) {
        throw ImageFileError(file, "holds no picture");
    }
    return movie;
}

namespace {

constexpr int kPngFilterUp = 0x20;

// Encodes one picture into memory; the caller puts the bytes on disk and checks every write.
// The writer is chosen by the file's name (its extension in any case). OpenEXR files get zip
// compression and premultiplied colour, PNG the level asked for and straight colour, formats
// without alpha the colour over black; every file is tagged with its colour encoding.
class MemoryEncoder {
  public:
    MemoryEncoder(const std::filesystem::path& file, int width, int height, SampleFormat samples,
                  const WriteSettings& settings)
        : file_(file), output_(OIIO::ImageOutput::create(file.filename().string())) {
        if (!output_) {
            throw ImageFileError(file, Reason(OIIO::geterror(), "no writer for this format"));
        }
        alpha_ = output_->supports("alpha") != 0;
        OIIO::ImageSpec spec(width, height, alpha_ ? 4 : 3, FileType(samples));
        spec.alpha_channel = alpha_ ? 3 : -1;
        const char* space = settings.encoding == ColorEncoding::linear ? "linear" : "sRGB";
        spec.attribute("oiio:ColorSpace", space);
        premultiplied_ = std::string(output_->format_name()) == "openexr";
        if (premultiplied_) {
            // OpenEXR has no standard tag for the transfer curve and readers take it as linear
            // light; a header string says which it is.
            spec.attribute("colorspace", space);
            spec.attribute("compression", "zip");
        } else {
            spec.attribute("oiio:UnassociatedAlpha", 1);
            spec.attribute("png:compressionLevel", settings.png_compression);
            // One row filter, "up" (libpng's PNG_FILTER_UP), instead of trying all five on
            // every row: that choice was most of the time libpng spent on a rendered frame.
            spec.attribute("png:filter", kPngFilterUp);
        }
        // PNG and OpenEXR encode into memory; other writers claim to but some (TIFF) leave a
        // damaged file there, so they encode into a private scratch file that is read back.
        const std::string format = output_->format_name();
        if ((format == "png" || format == "openexr") && output_->supports("ioproxy")) {
            void* proxy = &memory_;
            spec.attribute("oiio:ioproxy", OIIO::TypeDesc::PTR, &proxy);
            target_ = file.string();
        } else {
            scratch_ = std::filesystem::temp_directory_path() /
                       ("plurion-encode-" + std::to_string(::getpid()) + "-" +
                        std::to_string(reinterpret_cast<std::uintptr_t>(this)) +
                        file.extension().string());
            target_ = scratch_.string();
        }
        if (!output_->open(target_, spec)) {
            RemoveScratch();
            throw ImageFileError(file, Reason(output_->geterror(), "cannot encode"));
        }
    }
    MemoryEncoder(const MemoryEncoder&) = delete;
    MemoryEncoder& operator=(const MemoryEncoder&) = delete;
    ~MemoryEncoder() { RemoveScratch(); }

    bool premultiplied() const { return premultiplied_; }
    bool alpha() const { return alpha_; }

    std::vector<char> encode(OIIO::TypeDesc type, const void* pixels) {
        if (!output_->write_image(type, pixels)) {
            throw ImageFileError(file_, Reason(output_->geterror(), "cannot encode"));
        }
        return finish();
    }

    // Strips of rows through a small buffer, premultiplied or over black on the way: the rows'
    // owner holds the only full-size picture.
    std::vector<char> encode(const RgbaRows& rows) {
        constexpr int kStripRows = 64;
        const auto width = static_cast<std::size_t>(rows.width);
        std::vector<float> strip(width * kStripRows * 4);
        for (int y = 0; y < rows.height; y += kStripRows) {
            const int count = std::min(kStripRows, rows.height - y);
            if (!rows.read(y, count, strip.data())) {
                throw ImageFileError(file_, kRowsRefused);
            }
            PrepareStrip(strip.data(), width * static_cast<std::size_t>(count), alpha_,
                         premultiplied_);
            if (!output_->write_scanlines(y, y + count, 0, OIIO::TypeDesc::FLOAT, strip.data())) {
                throw ImageFileError(file_, Reason(output_->geterror(), "cannot encode"));
            }
        }
        return finish();
    }

  private:
    std::vector<char> finish() {
        if (!output_->close()) {
            throw ImageFileError(file_, Reason(output_->geterror(), "cannot encode"));
        }
        if (scratch_.empty()) {
            return std::vector<char>(encoded_.begin(), encoded_.end());
        }
        std::ifstream in(scratch_, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            throw ImageFileError(file_, "cannot read the encoded picture back");
        }
        return bytes;
    }

    void RemoveScratch() {
        if (!scratch_.empty()) {
            std::error_code ignored;
            std::filesystem::remove(scratch_, ignored);
        }
    }

    std::filesystem::path file_;
    std::vector<unsigned char> encoded_;
    OIIO::Filesystem::IOVecOutput memory_{encoded_};
    std::unique_ptr<OIIO::ImageOutput> output_;
    std::filesystem::path scratch_;
    std::string target_;
    bool premultiplied_ = false;
    bool alpha_ = true;
};

} // namespace

std::vector<char> EncodeOiio(const std::filesystem::path& file, const RgbaRows& rows,
                             SampleFormat samples, const WriteSettings& settings) {
    MemoryEncoder encoder(file, rows.width, rows.height, samples, settings);
    return encoder.encode(rows);
}

std::vector<char> EncodeOiio(const std::filesystem::path& file, const PackedRgba& image,
                             const WriteSettings& settings) {
    MemoryEncoder encoder(file, image.width, image.height, image.samples, settings);
    if (!encoder.alpha() || encoder.premultiplied()) {
        throw ImageFileError(file, "whole-number samples go to formats with straight alpha");
    }
    return encoder.encode(FileType(image.samples), image.bytes.data());
}

} // namespace plurion::host
