#include "imageio/raw_rgba_file.h"

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

} // namespace

ImageInfo ReadRawRgbaInfo(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
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

RgbaImage ReadRawRgba(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw ImageFileError(file, "cannot open for reading");
    }
    const ImageInfo info = ReadHeader(in, file);
    // A header that claims more than the file holds is refused before anything is allocated.
    const auto wanted = static_cast<std::uintmax_t>(info.width) * info.height * 16;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    const auto header = static_cast<std::uintmax_t>(in.tellg());
    if (!error && size - header < wanted) {
        throw ImageFileError(file, "truncated: " + std::to_string(size - header) + " of " +
                                       std::to_string(wanted) + " pixel bytes");
    }
    RgbaImage image = MakeRgbaImage(info.width, info.height);
    std::vector<char> bytes(image.rgba.size() * 4);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        throw ImageFileError(file, "truncated: " + std::to_string(in.gcount()) + " of " +
                                       std::to_string(bytes.size()) + " pixel bytes");
    }
    for (std::size_t i = 0; i < image.rgba.size(); ++i) {
        std::array<unsigned char, 4> sample{};
        for (std::size_t b = 0; b < 4; ++b) {
            sample[b] = static_cast<unsigned char>(bytes[i * 4 + b]);
        }
        image.rgba[i] = FloatFromLittleEndian(sample);
    }
    return image;
}

std::vector<char> EncodeRawRgba(const RgbaImage& image) {
    std::ostringstream header;
    header << kMagic << ' ' << image.width << ' ' << image.height << '\n';
    const std::string text = header.str();
    std::vector<char> bytes(text.begin(), text.end());
    bytes.reserve(text.size() + image.rgba.size() * 4);
    for (const float value : image.rgba) {
        const auto sample = LittleEndianBytes(value);
        bytes.insert(bytes.end(), sample.begin(), sample.end());
    }
    return bytes;
}

} // namespace plurion::host
