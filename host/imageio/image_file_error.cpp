// The errors and checks that the readers share, in the program and in the image-file library.
#include "imageio/image_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace plurion::host {
namespace {

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

} // namespace

std::string LowerExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
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

} // namespace plurion::host
