#include "imageio/gif_file.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include <memory>
#include <string>
#include <vector>

namespace plurion::host {
namespace {

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

std::string GifReason(int error) {
    const char* text = GifErrorString(error);
    return text != nullptr ? text : "unreadable GIF";
}

GifHandle OpenGif(const std::filesystem::path& file) {
    int code = 0;
    GifHandle gif(DGifOpenFileName(file.c_str(), &code));
    if (!gif) {
        throw ImageFileError(file, GifReason(code));
    }
    const ImageInfo screen{gif->SWidth, gif->SHeight};
    CheckPictureSize(file, screen);
    // A 12-bit LZW code stands for at most 4096 pixels, so no byte of the file fills more than
    // about 2731 of them: a screen larger than that is refused before its pixels are allocated.
    constexpr double kMostPixelsPerByte = 4096 / 1.5;
    const double least = std::ceil(double(screen.width) * screen.height / kMostPixelsPerByte);
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(file, error);
    if (!error && static_cast<double>(bytes) < least) {
        ThrowImplausible(file, screen, least, bytes);
    }
    return gif;
}

void Check(const std::filesystem::path& file, const GifFileType& gif, int result) {
    if (result == GIF_ERROR) {
        throw ImageFileError(file, GifReason(gif.Error));
    }
}

// The logical screen as straight RGBA floats, transparent where no picture has drawn.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;
};

void ClearRect(Canvas& canvas, const GifImageDesc& desc) {
    for (int y = std::max(desc.Top, 0); y < std::min(desc.Top + desc.Height, canvas.height); ++y) {
        for (int x = std::max(desc.Left, 0); x < std::min(desc.Left + desc.Width, canvas.width);
             ++x) {
            float* pixel = &canvas.rgba[(static_cast<std::size_t>(y) * canvas.width + x) * 4];
            pixel[0] = pixel[1] = pixel[2] = pixel[3] = 0.0f;
        }
    }
}

// Decodes the picture whose descriptor was just read onto the canvas: its rows in the file's
// order (four passes when interlaced), transparent indices and indices past the colour table
// leaving the canvas as it was, pixels outside the screen dropped.
void DrawPicture(const std::filesystem::path& file, GifFileType& gif, int transparent,
                 Canvas& canvas) {
    const GifImageDesc& desc = gif.Image;
    const ColorMapObject* colours = desc.ColorMap != nullptr ? desc.ColorMap : gif.SColorMap;
    if (colours == nullptr) {
        throw ImageFileError(file, "a picture has no colour table");
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(std::max(desc.Width, 1)));
    const auto draw_row = [&](int row) {
        Check(file, gif, DGifGetLine(&gif, line.data(), desc.Width));
        const int y = desc.Top + row;
        if (y < 0 || y >= canvas.height) {
            return;
        }
        for (int i = 0; i < desc.Width; ++i) {
            const int x = desc.Left + i;
            const int index = line[static_cast<std::size_t>(i)];
            if (x < 0 || x >= canvas.width || index == transparent ||
                index >= colours->ColorCount) {
                continue;
            }
            const GifColorType& colour = colours->Colors[index];
            float* pixel = &canvas.rgba[(static_cast<std::size_t>(y) * canvas.width + x) * 4];
            pixel[0] = colour.Red / 255.0f;
            pixel[1] = colour.Green / 255.0f;
            pixel[2] = colour.Blue / 255.0f;
            pixel[3] = 1.0f;
        }
    };
    if (desc.Interlace) {
        constexpr int kStart[] = {0, 4, 2, 1};
        constexpr int kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (int row = kStart[pass]; row < desc.Height; row += kStep[pass]) {
                draw_row(row);
            }
        }
    } else {
        for (int row = 0; row < desc.Height; ++row) {
            draw_row(row);
        }
    }
}

// Skips a picture's compressed data.
void SkipPicture(const std::filesystem::path& file, GifFileType& gif) {
    int code_size = 0;
    GifByteType* block = nullptr;
    Check(file, gif, DGifGetCode(&gif, &code_size, &block));
    while (block != nullptr) {
        Check(file, gif, DGifGetCodeNext(&gif, &block));
    }
}

// Walks the file's records up to picture `last` (all of them when negative), composing the
// pictures when `canvas` is given; calls `seen(index, delay)` after each picture. Returns the
// number of pictures walked.
template <class Seen>
int WalkPictures(const std::filesystem::path& file, GifFileType& gif, int last, Canvas* canvas,
                 Seen seen) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    int pictures = 0;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        Check(file, gif, DGifGetRecordType(&gif, &record));
        if (record == TERMINATE_RECORD_TYPE) {
            return pictures;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            Check(file, gif, DGifGetExtension(&gif, &code, &block));
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr &&
                DGifExtensionToGCB(block[0], block + 1, &control) == GIF_ERROR) {
                throw ImageFileError(file, "a damaged graphic control block");
            }
            while (block != nullptr) {
                Check(file, gif, DGifGetExtensionNext(&gif, &block));
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) {
            continue;
        }
        Check(file, gif, DGifGetImageDesc(&gif));
        if (pictures == kMaxMovieFrames) {
            throw ImageFileError(file, "holds more than " + std::to_string(kMaxMovieFrames) +
                                           " pictures");
        }
        const GifImageDesc desc = gif.Image;
        CheckPictureSize(file, ImageInfo{std::max(desc.Width, 1), std::max(desc.Height, 1)});
        if (canvas == nullptr) {
            SkipPicture(file, gif);
        } else {
            std::vector<float> before;
            if (control.DisposalMode == DISPOSE_PREVIOUS) {
                before = canvas->rgba;
            }
            DrawPicture(file, gif, control.TransparentColor, *canvas);
            // What the next picture is drawn over.
            if (pictures != last) {
                if (control.DisposalMode == DISPOSE_BACKGROUND) {
                    ClearRect(*canvas, desc);
                } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
                    canvas->rgba = std::move(before);
                }
            }
        }
        seen(pictures, control.DelayTime);
        if (pictures++ == last) {
            return pictures;
        }
        control = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    }
}

} // namespace

ImageInfo ReadGifInfo(const std::filesystem::path& file) {
    const GifHandle gif = OpenGif(file);
    return ImageInfo{gif->SWidth, gif->SHeight};
}

RgbaImage ReadGif(const std::filesystem::path& file, int picture) {
    const GifHandle gif = OpenGif(file);
    Canvas canvas{gif->SWidth, gif->SHeight, {}};
    canvas.rgba.assign(static_cast<std::size_t>(canvas.width) * canvas.height * 4, 0.0f);
    const int walked = WalkPictures(file, *gif, picture, &canvas, [](int, int) {});
    if (picture < 0 || walked <= picture) {
        throw ImageFileError(file,
                             walked == 0 ? "holds no picture" : "the file holds no such picture");
    }
    return RgbaImage{canvas.width, canvas.height, std::move(canvas.rgba)};
}

MovieInfo ReadGifMovieInfo(const std::filesystem::path& file) {
    const GifHandle gif = OpenGif(file);
    MovieInfo movie;
    std::vector<int> delays;
    const int pictures =
        WalkPictures(file, *gif, -1, nullptr, [&](int, int delay) { delays.push_back(delay); });
    if (pictures == 0) {
        throw ImageFileError(file, "holds no picture");
    }
    if (delays.front() > 0) {
        movie.fps = 100.0 / delays.front();
    }
    if (std::adjacent_find(delays.begin(), delays.end(), std::not_equal_to<>()) != delays.end()) {
        for (const int delay : delays) {
            movie.durations.push_back((delay <= 1 ? 10 : delay) / 100.0);
        }
    }
    movie.frames.assign(static_cast<std::size_t>(pictures), ImageInfo{gif->SWidth, gif->SHeight});
    return movie;
}

} // namespace plurion::host
