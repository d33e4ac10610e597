#include "studio/png_encode.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace plurion::host {
namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

// Length, type, data, and the CRC over type and data.
void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t type_at = out.size();
    out.append(type, 4);
    out += data;
    const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + type_at);
    PutBigEndian(
        out, static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(out.size() - type_at))));
}

} // namespace

std::string EncodePng8(const std::uint8_t* rgba, int width, int height) {
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 4;
    // Each row starts with its filter type, 0 (none).
    std::vector<Bytef> raw((row_bytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        Bytef* row = raw.data() + (row_bytes + 1) * static_cast<std::size_t>(y);
        row[0] = 0;
        std::copy_n(rgba + row_bytes * static_cast<std::size_t>(y), row_bytes, row + 1);
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packed_size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, raw.data(),
                  static_cast<uLong>(raw.size()), Z_BEST_SPEED) != Z_OK) {
        throw std::runtime_error("cannot compress a PNG image");
    }
    packed.resize(packed_size);

    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header +=
        std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, no filter, no interlace
    std::string out(kSignature, 8);
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", "");
    return out;
}

std::string EncodePng(const RgbaImage& image) {
    std::vector<std::uint8_t> bytes(image.rgba.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const float v = std::clamp(image.rgba[i], 0.0f, 1.0f);
        bytes[i] = static_cast<std::uint8_t>(std::lround(v * 255.0f));
    }
    return EncodePng8(bytes.data(), image.width, image.height);
}

PngSize ReadPngSize(const std::string& png) {
    if (png.size() < 24 || png.compare(0, 8, std::string(kSignature, 8)) != 0 ||
        png.compare(12, 4, "IHDR") != 0) {
        throw std::runtime_error("not a PNG file");
    }
    const auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = (value << 8) | static_cast<unsigned char>(png[at + i]);
        }
        return static_cast<int>(value);
    };
    return {word(16), word(20)};
}

} // namespace plurion::host
