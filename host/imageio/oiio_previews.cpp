#include "imageio/oiio_previews.h"

#include <OpenImageIO/imagebuf.h>
#include <OpenImageIO/imagebufalgo.h>

#include <algorithm>
#include <cmath>

namespace plurion::host {

namespace {

OIIO::ImageBuf Premultiplied(const RgbaImage& image) {
    OIIO::ImageBuf buf(OIIO::ImageSpec(image.width, image.height, 4, OIIO::TypeDesc::FLOAT));
    std::vector<float> pixels = image.rgba;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        for (std::size_t c = 0; c < 3; ++c) {
            pixels[i + c] *= pixels[i + 3];
        }
    }
    buf.set_pixels(OIIO::ROI::All(), OIIO::TypeDesc::FLOAT, pixels.data());
    buf.specmod().alpha_channel = 3;
    return buf;
}

void Check(bool ok, const std::filesystem::path& file, const std::string& what,
           const std::string& error) {
    if (!ok) {
        throw ImageFileError(file, what + (error.empty() ? "" : ": " + error));
    }
}

// A hidden name beside the file, renamed over it once the picture is whole. Appended piece by
// piece: GCC 12 misreads a chain of + here as overlapping copies.
std::filesystem::path TemporaryBeside(const std::filesystem::path& file) {
    std::string name = ".";
    name.append(file.filename().string()).append(".tmp");
    return file.parent_path() / name;
}

} // namespace

std::string OiioContactSheet(const std::filesystem::path& file,
                             const std::vector<RgbaImage>& frames,
                             const std::vector<std::string>& labels, int cell_width) {
    constexpr const char* kLabelFont = "DejaVuSans";
    std::string missing_font;
    if (frames.empty()) {
        throw ImageFileError(file, "no frames for the contact sheet");
    }
    const int width = std::min(cell_width, frames.front().width);
    const int height = std::max(1, static_cast<int>(std::lround(1.0 * frames.front().height *
                                                                width / frames.front().width)));
    constexpr int kGap = 8;
    constexpr int kLabel = 20;
    const int count = static_cast<int>(frames.size());
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / columns;
    OIIO::ImageBuf sheet(OIIO::ImageSpec(kGap + columns * (width + kGap),
                                         kGap + rows * (height + kLabel + kGap), 4,
                                         OIIO::TypeDesc::FLOAT));
    const float grey[4] = {0.12f, 0.12f, 0.12f, 1.0f};
    OIIO::ImageBufAlgo::fill(sheet, grey);
    for (int i = 0; i < count; ++i) {
        const OIIO::ImageBuf frame = Premultiplied(frames[static_cast<std::size_t>(i)]);
        const int x = kGap + (i % columns) * (width + kGap);
        const int y = kGap + (i / columns) * (height + kLabel + kGap);
        const OIIO::ROI area(0, width, 0, height, 0, 1, 0, 4);
        const OIIO::ImageBuf thumb = OIIO::ImageBufAlgo::resize(frame, "", 0.0f, area);
        OIIO::ImageBuf backdrop(OIIO::ImageSpec(width, height, 4, OIIO::TypeDesc::FLOAT));
        OIIO::ImageBufAlgo::fill(backdrop, grey);
        const OIIO::ImageBuf cell = OIIO::ImageBufAlgo::over(thumb, backdrop);
        OIIO::ImageBufAlgo::paste(sheet, x, y, 0, 0, cell);
        if (static_cast<std::size_t>(i) < labels.size() && missing_font.empty()) {
            const float white[4] = {0.9f, 0.9f, 0.9f, 1.0f};
            if (!OIIO::ImageBufAlgo::render_text(sheet, x, y + height + kLabel - 5,
                                                 labels[static_cast<std::size_t>(i)], 14,
                                                 kLabelFont, white)) {
                // Without the font the sheet still shows the frames, unlabelled.
                const std::string reason = sheet.geterror();
                missing_font = "the contact sheet has no labels: cannot draw text in the font \"" +
                               std::string(kLabelFont) + "\" (Debian's fonts-dejavu-core)" +
                               (reason.empty() ? "" : ": " + reason);
            }
            OIIO::geterror();
        }
    }
    sheet.specmod().attribute("oiio:ColorSpace", "sRGB");
    const std::filesystem::path temporary = TemporaryBeside(file);
    const bool ok =
        sheet.write(temporary.string(), OIIO::TypeDesc::UINT8, file.extension().string().substr(1));
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
    Check(ok, file, "cannot write the contact sheet", sheet.geterror());
    std::filesystem::rename(temporary, file);
    return missing_font;
}

void OiioAnimatedGif(const std::filesystem::path& file, const std::vector<RgbaImage>& frames,
                     double fps) {
    if (frames.empty()) {
        throw ImageFileError(file, "no frames for the animation");
    }
    auto output = OIIO::ImageOutput::create("gif");
    Check(output != nullptr, file, "no GIF writer", OIIO::geterror());
    std::vector<OIIO::ImageSpec> specs;
    for (const RgbaImage& frame : frames) {
        OIIO::ImageSpec spec(frame.width, frame.height, 4, OIIO::TypeDesc::UINT8);
        spec.alpha_channel = 3;
        const int rate[2] = {static_cast<int>(std::lround(fps * 1000)), 1000};
        spec.attribute("FramesPerSecond", OIIO::TypeRational, rate);
        spec.attribute("gif:LoopCount", 0);
        specs.push_back(spec);
    }
    const std::filesystem::path temporary = TemporaryBeside(file);
    bool ok = output->open(temporary.string(), static_cast<int>(specs.size()), specs.data());
    for (std::size_t i = 0; ok && i < frames.size(); ++i) {
        ok = (i == 0 ||
              output->open(temporary.string(), specs[i], OIIO::ImageOutput::AppendSubimage)) &&
             output->write_image(OIIO::TypeDesc::FLOAT, frames[i].rgba.data());
    }
    const std::string error = output->geterror();
    ok = output->close() && ok;
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
    Check(ok, file, "cannot write the animation", error);
    std::filesystem::rename(temporary, file);
}

} // namespace plurion::host
