#include "imageio/raw_rgba_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <fstream>
#include <sstream>

namespace plurion::host {
namespace {

constexpr const char* kMagic = "PLURION-RGBAF";
constexpr int kMaxSide = 1 << 16;

// Reads and checks the header line, leaving the stream at the first pixel byte.
ImageInfo ReadHeader(std::istream& in, const std::filesystem::path& file) {
    std::string line;
    if (!std::getline(in, line)) {
        throw ImageFileError(file, "empty file, expected a \"PLURION-RGBAF\" header");
    }
    std::istringstream header(line);
    std::string magic;
    ImageInfo info;
    header >> magic >> info.width >> info.height;
    if (magic != kMagic || header.fail()) {
        throw ImageFileError(file, "not a raw float image (header \"" + line + "\")");
    }
    if (info.width < 1 || info.height < 1 || info.width > kMaxSide || info.height > kMaxSide) {
        throw ImageFileError(file, "unsupported size " + std::to_string(info.width) + " x " +
                                       std::to_string(info.height));
    }
    return info;
}

float FloatFromLittleEndian(const std::array<unsigned char, 4>& bytes) {
    const std::uint32_t bits = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                               (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
    return std::bit_cast<float>(bits);
}

std::array<char, 4> LittleEndianBytes(float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
            static_cast<char>((bits >> 16) & 0xFF), static_cast<char>((bits >> 24) & 0xFF)};
}

// Opens the file and reads its header; a header that claims more pixel bytes than the file
// holds is refused before anything is allocated. The stream is left at the first pixel byte.
ImageInfo OpenChecked(std::ifstream& in, const std::filesystem::path& file) {
    in.open(file, std::ios::binary);
    if (!in) {
        throw ImageFileError(file, "cannot open for reading");
    }
    const ImageInfo info = ReadHeader(in, file);
    const auto wanted = static_cast<std::uintmax_t>(info.width) * info.height * 16;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    const auto header = static_cast<std::uintmax_t>(in.tellg());
    if (!error && size - header < wanted) {
        throw ImageFileError(file, "truncated: " + std::to_string(size - header) + " of " +
                                       std::to_string(wanted) + " pixel bytes");
    }
    return info;
}

} // namespace

ImageInfo ReadRawRgbaInfo(const std::filesystem::path& file) {
    std::ifstream in;
    return OpenChecked(in, file);
}

RgbaImage ReadRawRgba(const std::filesystem::path& file) {
    std::ifstream in;
    const ImageInfo info = OpenChecked(in, file);
    CheckPictureSize(file, info);
    RgbaImage image = MakeRgbaImage(info.width, info.height);
    // One row of bytes at a time: the picture is the only full-size buffer.
    const std::size_t row_samples = static_cast<std::size_t>(info.width) * 4;
    std::vector<char> bytes(row_samples * 4);
    for (int y = 0; y < info.height; ++y) {
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
            throw ImageFileError(file, "truncated in row " + std::to_string(y));
        }
        float* out = image.rgba.data() + static_cast<std::size_t>(y) * row_samples;
        for (std::size_t i = 0; i < row_samples; ++i) {
            std::array<unsigned char, 4> sample{};
            for (std::size_t b = 0; b < 4; ++b) {
                sample[b] = static_cast<unsigned char>(bytes[i * 4 + b]);
            }
            out[i] = FloatFromLittleEndian(sample);
        }
    }
    return image;
}

std::vector<char> EncodeRawRgba(const RgbaRows& rows) {
    std::ostringstream header;
    header << kMagic << ' ' << rows.width << ' ' << rows.height << '\n';
    const std::string text = header.str();
    std::vector<char> bytes(text.begin(), text.end());
    const std::size_t row_samples = static_cast<std::size_t>(rows.width) * 4;
    bytes.reserve(text.size() + row_samples * static_cast<std::size_t>(rows.height) * 4);
    constexpr int kStripRows = 64;
    std::vector<float> strip(row_samples * kStripRows);
    for (int y = 0; y < rows.height; y += kStripRows) {
        const int count = std::min(kStripRows, rows.height - y);
        if (!rows.read(y, count, strip.data())) {
            throw ImageFileError({}, kRowsRefused);
        }
        for (std::size_t i = 0; i < row_samples * static_cast<std::size_t>(count); ++i) {
            const auto sample = LittleEndianBytes(strip[i]);
            bytes.insert(bytes.end(), sample.begin(), sample.end());
        }
    }
    return bytes;
}

} // namespace plurion::host
