#include "imageio/image_file.h"
#include "scene/layer_render.h"
#include "scene/scene_parts.h"

#include <algorithm>

namespace plurion::host {
namespace {

constexpr int kMaxSequenceFiles = 100000;
constexpr Color kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Color kTransparent{0.0f, 0.0f, 0.0f, 0.0f};

bool IsFileKind(const std::string& kind) {
    return kind == "image" || kind == "sequence" || kind == "movie";
}

std::string SourceKind(const JsonNode& source) {
    const JsonNode node = source.Required("kind");
    const std::string kind = node.String();
    for (const char* known : {"solid", "rectangle", "ellipse", "star", "gradient", "counter",
                              "image", "sequence", "movie"}) {
        if (kind == known) {
            return kind;
        }
    }
    node.Fail("unknown source kind \"" + kind +
              "\" (expected solid, rectangle, ellipse, star, gradient, counter, image, sequence or "
              "movie)");
}

Vec2 Centre(int width, int height) {
    return {width / 2.0, height / 2.0};
}

Vec2 NonNegativeSize(const JsonNode& source, const char* key, Vec2 fallback) {
    const auto node = source.Optional(key);
    if (!node) {
        return fallback;
    }
    const auto items = node->Items(2, 2);
    return {items[0].Number(0.0, 1e9), items[1].Number(0.0, 1e9)};
}

LayerSource ParseProcedural(const JsonNode& source, const std::string& kind, int width,
                            int height) {
    const Vec2 centre = Centre(width, height);
    const Vec2 layer_size{double(width), double(height)};
    if (kind == "solid") {
        source.ExpectObject({"kind", "color"});
        return SolidSource{source.Required("color").Colour()};
    }
    if (kind == "rectangle" || kind == "ellipse") {
        source.ExpectObject({"kind", "color", "center", "size"});
        const Color color = ColourOr(source, "color", kWhite);
        const Vec2 center = PointOr(source, "center", centre);
        const Vec2 size = NonNegativeSize(source, "size", layer_size);
        if (kind == "rectangle") {
            return RectangleSource{color, center, size};
        }
        return EllipseSource{color, center, size};
    }
    if (kind == "star") {
        source.ExpectObject(
            {"kind", "color", "center", "points", "outer_radius", "inner_radius", "rotation"});
        StarSource star;
        star.color = ColourOr(source, "color", kWhite);
        star.center = PointOr(source, "center", centre);
        const auto points = source.Optional("points");
        star.points = points ? points->Integer(2, 1000) : 5;
        const auto outer = source.Optional("outer_radius");
        star.outer_radius = outer ? outer->Number(0.0, 1e9) : 0.45 * std::min(width, height);
        const auto inner = source.Optional("inner_radius");
        star.inner_radius = inner ? inner->Number(0.0, 1e9) : 0.4 * star.outer_radius;
        star.rotation = NumberOr(source, "rotation", 0.0);
        return star;
    }
    if (kind == "gradient") {
        source.ExpectObject({"kind", "start_color", "end_color", "start", "end"});
        GradientSource gradient;
        gradient.start_color = source.Required("start_color").Colour();
        gradient.end_color = source.Required("end_color").Colour();
        gradient.start = PointOr(source, "start", {0.0, centre.y});
        gradient.end = PointOr(source, "end", {double(width), centre.y});
        return gradient;
    }
    // counter
    source.ExpectObject({"kind", "color", "background", "center", "digit_height", "first"});
    CounterSource counter;
    counter.color = ColourOr(source, "color", kWhite);
    counter.background = ColourOr(source, "background", kTransparent);
    counter.center = PointOr(source, "center", centre);
    const auto digit_height = source.Optional("digit_height");
    counter.digit_height = digit_height ? digit_height->Number(1.0, 1e6) : 0.6 * height;
    // Layer frames stay within a few million, so the number shown always fits an int.
    const auto first = source.Optional("first");
    counter.first = first ? first->Integer(-1000000000, 1000000000) : 0;
    return counter;
}

std::string Quoted(const std::filesystem::path& file) {
    std::string text(1, '"');
    text.append(file.string()).push_back('"');
    return text;
}

std::string SizeText(const ImageInfo& info) {
    std::string text = std::to_string(info.width);
    text.append(" x ").append(std::to_string(info.height));
    return text;
}

void CheckExists(const JsonNode& where, const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        where.Fail("no such file \"" + file.string() + "\"");
    }
}

void CheckLayerSize(const JsonNode& where, const std::filesystem::path& file,
                    const ImageInfo& info) {
    if (info.width < 1 || info.height < 1 || info.width > kMaxLayerSide ||
        info.height > kMaxLayerSide) {
        where.Fail(Quoted(file) + " is " + SizeText(info) + " pixels; layers are 1 to " +
                   std::to_string(kMaxLayerSide) + " pixels on a side");
    }
}

// Checks that a file can be read and gives its size; faults are reported at `where`.
ImageInfo ProbeFile(const JsonNode& where, const std::filesystem::path& file) {
    CheckExists(where, file);
    ImageInfo info;
    try {
        info = ReadImageInfo(file);
    } catch (const ImageFileError& failure) {
        where.Fail("cannot read \"" + file.string() + "\": " + failure.reason());
    }
    CheckLayerSize(where, file, info);
    return info;
}

// A file of several pictures: every one of the first one's size, the rate the file's or the
// composition's.
SizedSource ParseMovie(const JsonNode& source, const Composition& composition,
                       const std::filesystem::path& base_dir) {
    source.ExpectObject({"kind", "path", "loop"});
    const JsonNode path = source.Required("path");
    MovieSource movie;
    movie.file = base_dir / path.NonEmptyString();
    if (const auto loop = source.Optional("loop")) {
        movie.loop = loop->Boolean();
    }
    CheckExists(path, movie.file);
    MovieInfo info;
    try {
        info = ReadMovieInfo(movie.file);
    } catch (const ImageFileError& failure) {
        path.Fail("cannot read \"" + movie.file.string() + "\": " + failure.reason());
    }
    const ImageInfo first = info.frames.front();
    CheckLayerSize(path, movie.file, first);
    for (std::size_t i = 1; i < info.frames.size(); ++i) {
        const ImageInfo& other = info.frames[i];
        if (other.width != first.width || other.height != first.height) {
            path.Fail(Quoted(movie.file) + ": frame " + std::to_string(i) + " is " +
                      SizeText(other) + ", but frame 0 is " + SizeText(first));
        }
    }
    movie.frames = static_cast<int>(info.frames.size());
    movie.file_fps = info.fps;
    movie.pictures_per_frame = info.fps > 0.0 ? info.fps / composition.fps : 1.0;
    if (info.durations.size() == info.frames.size()) {
        for (const double seconds : info.durations) {
            movie.picture_starts.push_back(movie.picture_end);
            movie.picture_end += seconds * composition.fps;
        }
    }
    return {movie, first.width, first.height};
}

SizedSource ParseFileSource(const JsonNode& source, const std::string& kind,
                            const Composition& composition, const std::filesystem::path& base_dir) {
    if (kind == "movie") {
        return ParseMovie(source, composition, base_dir);
    }
    if (kind == "image") {
        source.ExpectObject({"kind", "path"});
        const JsonNode path = source.Required("path");
        const auto file = base_dir / path.NonEmptyString();
        const ImageInfo info = ProbeFile(path, file);
        return {ImageSource{file}, info.width, info.height};
    }
    source.ExpectObject({"kind", "path", "first", "last", "loop"});
    const JsonNode path = source.Required("path");
    SequenceSource sequence;
    sequence.pattern = base_dir / path.NonEmptyString();
    const std::string name = sequence.pattern.filename().string();
    const std::size_t run = name.find('#');
    if (run == std::string::npos ||
        name.find('#', name.find_first_not_of('#', run)) != std::string::npos) {
        path.Fail("the file name needs one run of '#' for the frame number");
    }
    sequence.first = source.Required("first").Integer(0, 1 << 30);
    sequence.last =
        source.Required("last").Integer(sequence.first, sequence.first + kMaxSequenceFiles - 1);
    if (const auto loop = source.Optional("loop")) {
        sequence.loop = loop->Boolean();
    }
    const ImageInfo info = ProbeFile(path, SequenceFrameFile(sequence, sequence.first));
    // Every file of a sequence is one picture size: the layer's.
    for (int number = sequence.first + 1; number <= sequence.last; ++number) {
        const auto file = SequenceFrameFile(sequence, number);
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            path.Fail("no such file \"" + file.string() + "\" (frame " + std::to_string(number) +
                      ")");
        }
        const ImageInfo other = ProbeFile(path, file);
        if (other.width != info.width || other.height != info.height) {
            path.Fail(Quoted(file) + " is " + SizeText(other) +
                      ", but the sequence's first file is " + SizeText(info));
        }
    }
    return {sequence, info.width, info.height};
}

int LayerSide(const JsonNode& layer, const char* key, int fallback) {
    const auto node = layer.Optional(key);
    return node ? node->Integer(1, kMaxLayerSide) : fallback;
}

} // namespace

SizedSource ParseLayerSource(const JsonNode& layer, const Composition& composition,
                             const std::filesystem::path& base_dir) {
    const auto source = layer.Optional("source");
    if (!source) {
        return {EmptySource{}, LayerSide(layer, "width", composition.width),
                LayerSide(layer, "height", composition.height)};
    }
    const std::string kind = SourceKind(*source);
    if (IsFileKind(kind)) {
        for (const char* key : {"width", "height"}) {
            if (const auto side = layer.Optional(key)) {
                side->Fail("a layer with a file source (\"" + kind +
                           "\") takes its size from the file; remove \"" + key + "\"");
            }
        }
        return ParseFileSource(*source, kind, composition, base_dir);
    }
    const int width = LayerSide(layer, "width", composition.width);
    const int height = LayerSide(layer, "height", composition.height);
    return {ParseProcedural(*source, kind, width, height), width, height};
}

} // namespace plurion::host
