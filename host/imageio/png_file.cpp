#include "imageio/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace plurion::host {
namespace {

// Deflate turns at most 258 bytes into one code of at least 2 bits: no stream holds more than
// 1032 bytes of data per byte, so a file can hold at most that much pixel data per byte.
constexpr double kMostDeflateRatio = 1032.0;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// One read through libpng. libpng reports a fault by calling the error function, which must not
// return: it keeps the message and jumps back to the setjmp in the caller's frame.
struct PngReader {
    explicit PngReader(const std::filesystem::path& path) : file(path) {
        handle.reset(std::fopen(path.string().c_str(), "rb"));
        if (!handle) {
            throw ImageFileError(path, "cannot open for reading");
        }
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
        info = png != nullptr ? png_create_info_struct(png) : nullptr;
        if (info == nullptr) {
            png_destroy_read_struct(png != nullptr ? &png : nullptr, nullptr, nullptr);
            throw std::bad_alloc();
        }
        png_set_read_fn(png, this, OnRead);
        // Text, profile and unknown chunks are held to 8 MB each (libpng's own suggestion, which
        // Debian's build leaves off): a chunk's length field alone would otherwise size them.
        png_set_chunk_malloc_max(png, kMostChunkBytes);
    }
    static constexpr png_alloc_size_t kMostChunkBytes = 8000000;
    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    [[noreturn]] void fail() const {
        throw ImageFileError(file, message.empty() ? "not a readable PNG file" : message);
    }

    static void OnError(png_structp png, png_const_charp text) {
        auto* self = static_cast<PngReader*>(png_get_error_ptr(png));
        self->message = text != nullptr ? text : "";
        png_longjmp(png, 1);
    }
    static void OnWarning(png_structp, png_const_charp) {}
    // libpng's own reader says only "Read Error" when the file ends early.
    static void OnRead(png_structp png, png_bytep data, std::size_t length) {
        auto* self = static_cast<PngReader*>(png_get_io_ptr(png));
        if (std::fread(data, 1, length, self->handle.get()) != length) {
            png_error(png, std::ferror(self->handle.get()) != 0 ? "cannot read the file"
                                                                : "the file ends early");
        }
    }

    std::filesystem::path file;
    std::unique_ptr<std::FILE, FileCloser> handle;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string message;
};

// libpng sizes a text chunk from its length field before reading a byte of it (Debian's build
// does not hold text to the chunk memory limit), so a chunk that claims more bytes than the rest
// of the file holds is refused first. Pixel data is streamed, not sized, and a short one is
// found as the file ending early when the rows are read.
void CheckChunkLengths(const PngReader& reader) {
    std::FILE* f = reader.handle.get();
    std::error_code error;
    const auto size = std::filesystem::file_size(reader.file, error);
    const long start = std::ftell(f);
    if (error || start < 0) {
        return;
    }
    std::uint64_t at = static_cast<std::uint64_t>(start);
    unsigned char header[8] = {};
    while (std::fseek(f, static_cast<long>(at), SEEK_SET) == 0 &&
           std::fread(header, 1, sizeof header, f) == sizeof header) {
        const std::uint64_t length = std::uint64_t{header[0]} << 24 |
                                     std::uint64_t{header[1]} << 16 |
                                     std::uint64_t{header[2]} << 8 | header[3];
        const std::string kind(reinterpret_cast<const char*>(header + 4), 4);
        if (kind == "IEND") {
            break;
        }
        if (kind != "IDAT" && at + 12 + length > size) {
            throw ImageFileError(reader.file, "the file ends early: its " + kind +
                                                  " chunk claims " + std::to_string(length) +
                                                  " bytes");
        }
        at += 12 + length;
    }
    std::fseek(f, start, SEEK_SET);
}

// Checks the signature and reads the header; the caller has set the jump point.
ImageInfo ReadHeader(PngReader& reader) {
    unsigned char signature[8] = {};
    const std::size_t got = std::fread(signature, 1, sizeof signature, reader.handle.get());
    // The reader's callback reads on from here.
    if (got != sizeof signature || png_sig_cmp(signature, 0, sizeof signature) != 0) {
        throw ImageFileError(reader.file, "not a PNG file");
    }
    CheckChunkLengths(reader);
    png_set_sig_bytes(reader.png, sizeof signature);
    png_read_info(reader.png, reader.info);
    const png_uint_32 width = png_get_image_width(reader.png, reader.info);
    const png_uint_32 height = png_get_image_height(reader.png, reader.info);
    return ImageInfo{static_cast<int>(std::min<png_uint_32>(width, 0x7FFFFFFF)),
                     static_cast<int>(std::min<png_uint_32>(height, 0x7FFFFFFF))};
}

// Refuses a header whose pixels could not fit in the file even at deflate's best.
void CheckPlausible(PngReader& reader, const ImageInfo& info) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(reader.file, error);
    const int bits =
        png_get_bit_depth(reader.png, reader.info) * png_get_channels(reader.png, reader.info);
    const double row_bytes = 1.0 + (static_cast<double>(info.width) * bits + 7) / 8;
    const double least = row_bytes * info.height / kMostDeflateRatio;
    if (!error && static_cast<double>(bytes) < least) {
        ThrowImplausible(reader.file, info, least, bytes);
    }
}

// Runs libpng calls. When libpng reports an error it jumps back here, past the frames of
// `steps`, which therefore hold nothing that needs destroying; the error is then thrown.
template <class Steps>
void Protected(PngReader& reader, Steps&& steps) {
    if (setjmp(png_jmpbuf(reader.png)) != 0) {
        reader.fail();
    }
    steps();
}

} // namespace

ImageInfo ReadPngInfo(const std::filesystem::path& file) {
    PngReader reader(file);
    ImageInfo info;
    Protected(reader, [&] { info = ReadHeader(reader); });
    CheckPlausible(reader, info);
    return info;
}

RgbaImage ReadPng(const std::filesystem::path& file) {
    PngReader reader(file);
    ImageInfo info;
    Protected(reader, [&] { info = ReadHeader(reader); });
    CheckPlausible(reader, info);
    CheckPictureSize(file, info);
    int passes = 1;
    std::size_t row_bytes = 0;
    Protected(reader, [&] {
        // Every kind of PNG arrives as RGBA with 16 bits per sample in this machine's byte
        // order; colour stays as stored (straight, no gamma applied).
        png_set_expand_16(reader.png);
        png_set_palette_to_rgb(reader.png);
        png_set_tRNS_to_alpha(reader.png);
        png_set_gray_to_rgb(reader.png);
        png_set_add_alpha(reader.png, 0xFFFF, PNG_FILLER_AFTER);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        png_set_swap(reader.png);
#endif
        passes = png_set_interlace_handling(reader.png);
        png_read_update_info(reader.png, reader.info);
        row_bytes = png_get_rowbytes(reader.png, reader.info);
    });
    if (row_bytes != static_cast<std::size_t>(info.width) * 8) {
        throw ImageFileError(file, "unexpected row layout after conversion");
    }
    RgbaImage image = MakeRgbaImage(info.width, info.height);
    // Interlaced files need the whole picture at 16 bits for the passes to build on; others are
    // read and spread one row at a time.
    const std::size_t samples_per_row = static_cast<std::size_t>(info.width) * 4;
    std::vector<png_uint_16> rows(passes > 1 ? image.rgba.size() : samples_per_row);
    png_uint_16* const buffer = rows.data();
    float* const pixels = image.rgba.data();
    const int height = info.height;
    Protected(reader, [&] {
        for (int pass = 0; pass + 1 < passes; ++pass) {
            for (int y = 0; y < height; ++y) {
                png_read_row(reader.png, reinterpret_cast<png_bytep>(buffer + y * samples_per_row),
                             nullptr);
            }
        }
        for (int y = 0; y < height; ++y) {
            png_uint_16* samples = passes > 1 ? buffer + y * samples_per_row : buffer;
            png_read_row(reader.png, reinterpret_cast<png_bytep>(samples), nullptr);
            float* out = pixels + y * samples_per_row;
            for (std::size_t i = 0; i < samples_per_row; ++i) {
                out[i] = samples[i] / 65535.0f;
            }
        }
        png_read_end(reader.png, nullptr);
    });
    return image;
}

} // namespace plurion::host
