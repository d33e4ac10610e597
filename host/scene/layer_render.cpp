#include "scene/layer_render.h"

#include "imageio/image_file.h"
#include "scene/procedural.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace plurion::host {
namespace {

// Host times become frames through a division; a frame that lands a hair below a whole number
// still shows that number.
constexpr double kFrameTolerance = 1e-6;

std::shared_ptr<const RgbaImage> CheckedSize(const Layer& layer, const std::filesystem::path& file,
                                             std::shared_ptr<const RgbaImage> picture) {
    if (picture->width != layer.width || picture->height != layer.height) {
        throw ImageFileError(file, "size " + std::to_string(picture->width) + " x " +
                                       std::to_string(picture->height) + " differs from layer \"" +
                                       layer.name + "\" (" + std::to_string(layer.width) + " x " +
                                       std::to_string(layer.height) + ")");
    }
    return picture;
}

std::shared_ptr<const RgbaImage> FilePicture(const Layer& layer, const std::filesystem::path& file,
                                             SourceCache& cache) {
    return CheckedSize(layer, file, cache.Get(file));
}

} // namespace

double LayerFrameAt(const Layer& layer, double comp_frame) {
    return comp_frame - layer.in_point;
}

bool LayerShowsAt(const Layer& layer, double layer_frame) {
    return layer_frame >= -kFrameTolerance && layer_frame < layer.duration - kFrameTolerance;
}

bool ShowsNothing(const Layer& layer, double layer_frame) {
    return !LayerShowsAt(layer, layer_frame) || std::holds_alternative<EmptySource>(layer.source);
}

int WholeFrame(double layer_frame) {
    return static_cast<int>(std::floor(layer_frame + kFrameTolerance));
}

int SequenceNumberAt(const SequenceSource& sequence, double layer_frame) {
    const double shown = std::floor(layer_frame + kFrameTolerance);
    if (sequence.loop) {
        const double count = double(sequence.last) - sequence.first + 1.0;
        return sequence.first + static_cast<int>(shown - count * std::floor(shown / count));
    }
    const double number = sequence.first + shown;
    return static_cast<int>(std::clamp(number, double(sequence.first), double(sequence.last)));
}

int MoviePictureAt(const MovieSource& movie, double layer_frame) {
    const double shown = std::floor(layer_frame + kFrameTolerance);
    if (!movie.picture_starts.empty() && movie.picture_end > 0.0) {
        // Pictures of their own times: the last one starting at or before the frame.
        const double end = movie.picture_end;
        const double at = movie.loop ? shown - end * std::floor(shown / end) : shown;
        const auto after = std::upper_bound(movie.picture_starts.begin(),
                                            movie.picture_starts.end(), at + kFrameTolerance);
        return static_cast<int>(
            std::max<std::ptrdiff_t>(after - movie.picture_starts.begin() - 1, 0));
    }
    const double picture = std::floor(shown * movie.pictures_per_frame + kFrameTolerance);
    const double count = movie.frames;
    if (movie.loop) {
        return static_cast<int>(picture - count * std::floor(picture / count));
    }
    return static_cast<int>(std::clamp(picture, 0.0, count - 1.0));
}

std::filesystem::path SequenceFrameFile(const SequenceSource& sequence, int number) {
    std::string pattern = sequence.pattern.filename().string();
    const std::size_t run = pattern.find('#');
    if (run == std::string::npos) {
        return sequence.pattern;
    }
    const std::size_t width = pattern.find_first_not_of('#', run) == std::string::npos
                                  ? pattern.size() - run
                                  : pattern.find_first_not_of('#', run) - run;
    std::string digits = std::to_string(std::abs(static_cast<long long>(number)));
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    pattern.replace(run, width, (number < 0 ? "-" : "") + digits);
    return sequence.pattern.parent_path() / pattern;
}

std::shared_ptr<const RgbaImage> LayerPicture(const Layer& layer, double layer_frame,
                                              SourceCache& cache) {
    if (LayerShowsAt(layer, layer_frame)) {
        if (const auto* image = std::get_if<ImageSource>(&layer.source)) {
            return FilePicture(layer, image->file, cache);
        }
        if (const auto* sequence = std::get_if<SequenceSource>(&layer.source)) {
            return FilePicture(
                layer, SequenceFrameFile(*sequence, SequenceNumberAt(*sequence, layer_frame)),
                cache);
        }
        if (const auto* movie = std::get_if<MovieSource>(&layer.source)) {
            return CheckedSize(
                layer, movie->file,
                cache.GetMovieFrame(movie->file, MoviePictureAt(*movie, layer_frame)));
        }
    }
    RgbaImage image = MakeRgbaImage(layer.width, layer.height);
    if (!LayerShowsAt(layer, layer_frame)) {
        return std::make_shared<const RgbaImage>(std::move(image));
    }
    struct Draw {
        double frame;
        RgbaImage& image;
        void operator()(const EmptySource&) const {}
        void operator()(const SolidSource& s) const { DrawSolid(image, s); }
        void operator()(const RectangleSource& s) const { DrawRectangle(image, s); }
        void operator()(const EllipseSource& s) const { DrawEllipse(image, s); }
        void operator()(const StarSource& s) const { DrawStar(image, s); }
        void operator()(const GradientSource& s) const { DrawGradient(image, s); }
        void operator()(const CounterSource& s) const {
            DrawCounter(image, s, s.first + WholeFrame(frame));
        }
        void operator()(const ImageSource&) const {}
        void operator()(const SequenceSource&) const {}
        void operator()(const MovieSource&) const {}
    };
    std::visit(Draw{layer_frame, image}, layer.source);
    return std::make_shared<const RgbaImage>(std::move(image));
}

RgbaImage RenderLayerFrame(const Layer& layer, double layer_frame, SourceCache& cache) {
    return *LayerPicture(layer, layer_frame, cache);
}

long long PictureKey(const Layer& layer, double layer_frame) {
    if (!LayerShowsAt(layer, layer_frame)) {
        return -1;
    }
    if (const auto* sequence = std::get_if<SequenceSource>(&layer.source)) {
        return SequenceNumberAt(*sequence, layer_frame);
    }
    if (const auto* movie = std::get_if<MovieSource>(&layer.source)) {
        return MoviePictureAt(*movie, layer_frame);
    }
    if (std::holds_alternative<CounterSource>(layer.source)) {
        return WholeFrame(layer_frame);
    }
    return 0;
}

RgbaImage ReduceImage(const RgbaImage& image, int factor) {
    if (factor <= 1) {
        return image;
    }
    RgbaImage small =
        MakeRgbaImage((image.width + factor - 1) / factor, (image.height + factor - 1) / factor);
    const float share = 1.0f / static_cast<float>(factor * factor);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float* from = &image.rgba[PixelOffset(image, x, y)];
            float* to = &small.rgba[PixelOffset(small, x / factor, y / factor)];
            const float alpha = from[3] * share;
            for (int c = 0; c < 3; ++c) {
                to[c] += from[c] * alpha;
            }
            to[3] += alpha;
        }
    }
    for (std::size_t i = 0; i < small.rgba.size(); i += 4) {
        const float alpha = small.rgba[i + 3];
        for (int c = 0; c < 3; ++c) {
            small.rgba[i + c] = alpha > 0 ? small.rgba[i + c] / alpha : 0.0f;
        }
    }
    return small;
}

} // namespace plurion::host
