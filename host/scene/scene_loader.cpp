#include "scene/scene_loader.h"

#include "scene/scene_parts.h"

#include "scene/json_reader.h"

#include <fstream>
#include <set>

namespace plurion::host {
namespace {

constexpr const char* kDefaultEffectLayerName = "Effect Layer";

Composition ParseComposition(const JsonNode& node, const std::string& default_name) {
    node.ExpectObject({"name", "width", "height", "fps", "frames", "bpc", "pixel_aspect",
                       "background", "motion_blur", "shutter_angle", "shutter_phase",
                       "motion_blur_samples_per_frame", "motion_blur_samples",
                       "motion_blur_adaptive_limit", "quality", "field"});
    Composition composition;
    const auto name = node.Optional("name");
    composition.name = name ? name->NonEmptyString() : default_name;
    composition.width = node.Required("width").Integer(1, 30000);
    composition.height = node.Required("height").Integer(1, 30000);
    composition.fps = node.Required("fps").Number(1.0, 999.0);
    composition.frames = node.Required("frames").Integer(1, kMaxCompositionFrames);
    const JsonNode bpc = node.Required("bpc");
    composition.bpc = bpc.Integer();
    if (composition.bpc != 8 && composition.bpc != 16 && composition.bpc != 32) {
        bpc.Fail("bits per channel must be 8, 16 or 32, not " + bpc.Text());
    }
    if (const auto aspect = node.Optional("pixel_aspect")) {
        composition.pixel_aspect = aspect->Number(0.01, 100.0);
    }
    composition.background = ColourOr(node, "background", composition.background);
    composition.motion_blur = BooleanOr(node, "motion_blur", false);
    if (const auto angle = node.Optional("shutter_angle")) {
        composition.shutter_angle = angle->Number(0.0, 720.0);
    }
    if (const auto phase = node.Optional("shutter_phase")) {
        composition.shutter_phase = phase->Number(-360.0, 360.0);
    }
    // "motion_blur_samples" is the older name of "motion_blur_samples_per_frame".
    const auto samples = node.Optional("motion_blur_samples_per_frame");
    const auto older = node.Optional("motion_blur_samples");
    if (samples && older) {
        older->Fail("give either motion_blur_samples_per_frame or its older name "
                    "motion_blur_samples, not both");
    }
    if (const auto given = samples ? samples : older) {
        composition.motion_blur_samples_per_frame = given->Integer(1, 256);
    }
    if (const auto limit = node.Optional("motion_blur_adaptive_limit")) {
        composition.motion_blur_adaptive_limit = limit->Integer(0, 256);
        if (composition.motion_blur_adaptive_limit == 1) {
            limit->Fail("the adaptive limit is 0 (adaptive sampling off) or 2 to 256, not 1");
        }
    }
    if (const auto quality = node.Optional("quality")) {
        const std::string text = quality->String();
        if (text != "draft" && text != "high") {
            quality->Fail("the quality must be \"draft\" or \"high\", not " + quality->Text());
        }
        composition.quality = text == "draft" ? Quality::draft : Quality::high;
    }
    if (const auto field = node.Optional("field")) {
        const std::string text = field->String();
        if (text != "frame" && text != "upper" && text != "lower") {
            field->Fail("the field must be \"frame\", \"upper\" or \"lower\", not " +
                        field->Text());
        }
        composition.field = text == "upper"   ? FieldOrder::upper
                            : text == "lower" ? FieldOrder::lower
                                              : FieldOrder::frame;
    }
    return composition;
}

// A named layer; frames default to the rest of the composition from its in point.
Layer ParseLayer(const JsonNode& node, const Composition& composition,
                 const std::filesystem::path& base_dir) {
    node.ExpectObject({"name", "width", "height", "in_point", "duration", "source"});
    Layer layer;
    layer.name = node.Required("name").NonEmptyString();
    if (const auto in_point = node.Optional("in_point")) {
        layer.in_point = in_point->Number(-kMaxLayerFrames, kMaxLayerFrames);
    }
    const auto duration = node.Optional("duration");
    if (duration) {
        layer.duration = duration->Number(-kMaxLayerFrames, 2 * kMaxLayerFrames);
        if (layer.duration <= 0.0) {
            duration->Fail("the duration must be above 0 frames, not " + duration->Text());
        }
    } else {
        layer.duration = composition.frames - layer.in_point;
        if (layer.duration <= 0.0) {
            node.Required("in_point")
                .Fail("the layer starts after the composition ends; give a "
                      "duration");
        }
    }
    SizedSource sized = ParseLayerSource(node, composition, base_dir);
    layer.source = std::move(sized.source);
    layer.width = sized.width;
    layer.height = sized.height;
    return layer;
}

std::vector<Layer> ParseLayers(const JsonNode& node, const Composition& composition,
                               const std::filesystem::path& base_dir) {
    std::vector<Layer> layers;
    std::set<std::string> names;
    for (const JsonNode& item : node.Items()) {
        Layer layer = ParseLayer(item, composition, base_dir);
        if (!names.insert(layer.name).second) {
            item.Required("name").Fail("a layer named \"" + layer.name + "\" exists already");
        }
        layers.push_back(std::move(layer));
    }
    return layers;
}

// A list of `min_count` to `max_count` points, fixed or keyed as {"keys": [[frame, list], ...]}
// with increasing frames; every key holds the same number of points.
MaskPointsTrack ParsePointsTrack(const JsonNode& node, std::size_t min_count,
                                 std::size_t max_count) {
    const auto points = [](const JsonNode& list, std::size_t min, std::size_t max) {
        std::vector<Vec2> out;
        for (const JsonNode& point : list.Items(min, max)) {
            out.push_back(point.Point());
        }
        return out;
    };
    if (!node.IsObject()) {
        return {{0.0, points(node, min_count, max_count)}};
    }
    MaskPointsTrack track;
    ReadKeys(node, [&](double frame, const JsonNode& value) {
        // Later keys have as many points as the first.
        const std::size_t count = track.empty() ? 0 : track.front().points.size();
        track.push_back({frame, track.empty() ? points(value, min_count, max_count)
                                              : points(value, count, count)});
    });
    return track;
}

Mask ParseMask(const JsonNode& node, std::size_t index) {
    node.ExpectObject({"name", "closed", "vertices", "in_tangents", "out_tangents"});
    Mask mask;
    const auto name = node.Optional("name");
    mask.name = name ? name->NonEmptyString() : "Mask " + std::to_string(index + 1);
    mask.closed = BooleanOr(node, "closed", true);
    mask.vertices = ParsePointsTrack(node.Required("vertices"), mask.closed ? 1 : 2, SIZE_MAX);
    const std::size_t count = mask.vertices.front().points.size();
    if (const auto in = node.Optional("in_tangents")) {
        mask.in_tangents = ParsePointsTrack(*in, count, count);
    }
    if (const auto out = node.Optional("out_tangents")) {
        mask.out_tangents = ParsePointsTrack(*out, count, count);
    }
    return mask;
}

void ParseEffectLayer(const JsonNode& node, Scene& scene) {
    node.ExpectObject({"name", "width", "height", "source", "masks"});
    Layer& layer = scene.effect_layer;
    const auto name = node.Optional("name");
    layer.name = name ? name->NonEmptyString() : kDefaultEffectLayerName;
    for (const Layer& other : scene.layers) {
        if (other.name == layer.name) {
            (name ? *name : node)
                .Fail("the effect layer's name \"" + layer.name +
                      "\" is taken by a layer; give the effect layer a \"name\"");
        }
    }
    SizedSource sized = ParseLayerSource(node, scene.composition, scene.base_dir);
    layer.source = std::move(sized.source);
    layer.width = sized.width;
    layer.height = sized.height;
    if (const auto masks = node.Optional("masks")) {
        const auto items = masks->Items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            scene.masks.push_back(ParseMask(items[i], i));
        }
    }
}

} // namespace

Scene ParseScene(const nlohmann::json& document, const std::string& origin_name,
                 const std::filesystem::path& base_dir, const ParamRegistry& registry) {
    const JsonNode root(document, origin_name);
    root.ExpectObject({"description", "composition", "layers", "effect_layer", "effect", "edits"});
    if (const auto description = root.Optional("description")) {
        description->String();
    }
    Scene scene;
    scene.base_dir = base_dir;
    scene.composition = ParseComposition(root.Required("composition"),
                                         std::filesystem::path(origin_name).stem().string());
    if (const auto layers = root.Optional("layers")) {
        scene.layers = ParseLayers(*layers, scene.composition, base_dir);
    }
    const nlohmann::json no_settings = nlohmann::json::object();
    const auto effect_layer = root.Optional("effect_layer");
    ParseEffectLayer(
        effect_layer ? *effect_layer : JsonNode(no_settings, origin_name, "/effect_layer"), scene);
    scene.effect_layer.in_point = 0.0;
    scene.effect_layer.duration = scene.composition.frames;
    if (const auto effect = root.Optional("effect")) {
        scene.effect = ParseEffectValues(*effect, registry, scene.layers, scene.effect_layer.name);
    }
    if (const auto edits = root.Optional("edits")) {
        scene.edits = ParseEdits(*edits, registry, scene.layers, scene.effect_layer.name);
    }
    return scene;
}

Scene LoadScene(const std::filesystem::path& file, const ParamRegistry& registry) {
    const std::string origin = file.string();
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        throw SceneError(origin, "", "is a folder, not a scene file");
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw SceneError(origin, "", "cannot open the scene file");
    }
    constexpr std::uintmax_t kMaxSceneBytes = std::uintmax_t{64} << 20;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxSceneBytes) {
        throw SceneError(origin, "", "the scene file is larger than 64 MiB");
    }
    std::string text(error ? 0 : static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad() || static_cast<std::size_t>(in.gcount()) != text.size()) {
        throw SceneError(origin, "", "cannot read the scene file");
    }
    return ParseScene(ReadJsonText(text, origin), origin, file.parent_path(), registry);
}

} // namespace plurion::host
