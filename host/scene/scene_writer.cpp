#include "scene/scene_writer.h"

#include "imageio/file_output.h"
#include "scene/json_node.h"

#include <system_error>
#include <type_traits>

namespace plurion::host {
namespace {

using nlohmann::json;

json ColourJson(const Color& colour) {
    return {colour[0], colour[1], colour[2], colour[3]};
}

json PointJson(const Vec2& point) {
    return {point.x, point.y};
}

// A file name as the loader resolves it against the scene's folder.
std::string FileName(const std::filesystem::path& file, const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    const std::filesystem::path relative =
        std::filesystem::relative(absolute, std::filesystem::absolute(folder, error), error);
    if (error || relative.empty() || *relative.begin() == "..") {
        return absolute.generic_string();
    }
    return relative.generic_string();
}

json SourceJson(const LayerSource& source, const std::filesystem::path& folder) {
    return std::visit(
        [&](const auto& s) -> json {
            using S = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<S, EmptySource>) {
                return nullptr;
            } else if constexpr (std::is_same_v<S, SolidSource>) {
                return {{"kind", "solid"}, {"color", ColourJson(s.color)}};
            } else if constexpr (std::is_same_v<S, RectangleSource> ||
                                 std::is_same_v<S, EllipseSource>) {
                return {{"kind", std::is_same_v<S, RectangleSource> ? "rectangle" : "ellipse"},
                        {"color", ColourJson(s.color)},
                        {"center", PointJson(s.center)},
                        {"size", PointJson(s.size)}};
            } else if constexpr (std::is_same_v<S, StarSource>) {
                return {{"kind", "star"},
                        {"color", ColourJson(s.color)},
                        {"center", PointJson(s.center)},
                        {"points", s.points},
                        {"outer_radius", s.outer_radius},
                        {"inner_radius", s.inner_radius},
                        {"rotation", s.rotation}};
            } else if constexpr (std::is_same_v<S, GradientSource>) {
                return {{"kind", "gradient"},
                        {"start_color", ColourJson(s.start_color)},
                        {"end_color", ColourJson(s.end_color)},
                        {"start", PointJson(s.start)},
                        {"end", PointJson(s.end)}};
            } else if constexpr (std::is_same_v<S, CounterSource>) {
                return {{"kind", "counter"},
                        {"color", ColourJson(s.color)},
                        {"background", ColourJson(s.background)},
                        {"center", PointJson(s.center)},
                        {"digit_height", s.digit_height},
                        {"first", s.first}};
            } else if constexpr (std::is_same_v<S, ImageSource>) {
                return {{"kind", "image"}, {"path", FileName(s.file, folder)}};
            } else if constexpr (std::is_same_v<S, MovieSource>) {
                return {{"kind", "movie"}, {"path", FileName(s.file, folder)}, {"loop", s.loop}};
            } else {
                return {{"kind", "sequence"},
                        {"path", FileName(s.pattern, folder)},
                        {"first", s.first},
                        {"last", s.last},
                        {"loop", s.loop}};
            }
        },
        source);
}

bool HasFileSource(const Layer& layer) {
    return std::holds_alternative<ImageSource>(layer.source) ||
           std::holds_alternative<SequenceSource>(layer.source) ||
           std::holds_alternative<MovieSource>(layer.source);
}

// name, size (file sources take theirs from the file) and source.
void PutLayer(json& out, const Layer& layer, const std::filesystem::path& folder) {
    out["name"] = layer.name;
    if (!HasFileSource(layer)) {
        out["width"] = layer.width;
        out["height"] = layer.height;
    }
    if (json source = SourceJson(layer.source, folder); !source.is_null()) {
        out["source"] = std::move(source);
    }
}

json CompositionJson(const Composition& c) {
    return {{"name", c.name},
            {"width", c.width},
            {"height", c.height},
            {"fps", c.fps},
            {"frames", c.frames},
            {"bpc", c.bpc},
            {"pixel_aspect", c.pixel_aspect},
            {"background", ColourJson(c.background)},
            {"motion_blur", c.motion_blur},
            {"shutter_angle", c.shutter_angle},
            {"shutter_phase", c.shutter_phase},
            {"motion_blur_samples_per_frame", c.motion_blur_samples_per_frame},
            {"motion_blur_adaptive_limit", c.motion_blur_adaptive_limit},
            {"quality", c.quality == Quality::draft ? "draft" : "high"},
            {"field", c.field == FieldOrder::upper   ? "upper"
                      : c.field == FieldOrder::lower ? "lower"
                                                     : "frame"}};
}

json PointsTrackJson(const MaskPointsTrack& track) {
    const auto list = [](const std::vector<Vec2>& points) {
        json out = json::array();
        for (const Vec2& point : points) {
            out.push_back(PointJson(point));
        }
        return out;
    };
    if (track.size() == 1 && track.front().frame == 0.0) {
        return list(track.front().points);
    }
    json keys = json::array();
    for (const MaskPointsKey& key : track) {
        keys.push_back({key.frame, list(key.points)});
    }
    return {{"keys", keys}};
}

json MaskJson(const Mask& mask) {
    json out = {
        {"name", mask.name}, {"closed", mask.closed}, {"vertices", PointsTrackJson(mask.vertices)}};
    if (!mask.in_tangents.empty()) {
        out["in_tangents"] = PointsTrackJson(mask.in_tangents);
    }
    if (!mask.out_tangents.empty()) {
        out["out_tangents"] = PointsTrackJson(mask.out_tangents);
    }
    return out;
}

} // namespace

json ParamValueJson(const RegisteredParam& param, const ParamValue& value, const Scene& scene) {
    switch (param.def.param_type) {
    case PF_Param_POPUP: {
        const auto choice = static_cast<std::size_t>(value.x);
        if (choice >= 1 && choice <= param.choices.size()) {
            return param.choices[choice - 1];
        }
        return value.x;
    }
    case PF_Param_SLIDER:
        return static_cast<long long>(value.x);
    case PF_Param_CHECKBOX:
        return value.x != 0.0;
    case PF_Param_POINT:
        return {value.x, value.y};
    case PF_Param_LAYER: {
        const int layer = static_cast<int>(value.x);
        if (layer == kEffectLayerIndex) {
            return scene.effect_layer.name;
        }
        if (layer >= 0 && static_cast<std::size_t>(layer) < scene.layers.size()) {
            return scene.layers[static_cast<std::size_t>(layer)].name;
        }
        return nullptr;
    }
    case PF_Param_FLOAT_SLIDER:
    case PF_Param_ANGLE:
        return value.x;
    default:
        return nullptr;
    }
}

json SceneAsJson(const Scene& scene, const ParamRegistry& registry,
                 const std::filesystem::path& folder) {
    json document;
    document["composition"] = CompositionJson(scene.composition);
    json layers = json::array();
    for (const Layer& layer : scene.layers) {
        json item;
        PutLayer(item, layer, folder);
        item["in_point"] = layer.in_point;
        item["duration"] = layer.duration;
        layers.push_back(std::move(item));
    }
    document["layers"] = std::move(layers);
    json effect_layer;
    PutLayer(effect_layer, scene.effect_layer, folder);
    if (!scene.masks.empty()) {
        json masks = json::array();
        for (const Mask& mask : scene.masks) {
            masks.push_back(MaskJson(mask));
        }
        effect_layer["masks"] = std::move(masks);
    }
    document["effect_layer"] = std::move(effect_layer);
    json effect = json::object();
    for (const auto& [index, track] : scene.effect) {
        if (index <= 0 || static_cast<std::size_t>(index) >= registry.size() || track.empty()) {
            continue;
        }
        const RegisteredParam& param = registry.at(index);
        if (track.size() == 1 && track.front().frame == 0.0) {
            effect[ParamPath(param)] = ParamValueJson(param, track.front().value, scene);
            continue;
        }
        json keys = json::array();
        for (const ParamKey& key : track) {
            json value = ParamValueJson(param, key.value, scene);
            if (key.ease == Ease::linear) {
                keys.push_back({key.frame, std::move(value)});
            } else {
                // An eased or held key keeps how the value leaves it.
                keys.push_back({{"frame", key.frame},
                                {"value", std::move(value)},
                                {"ease", key.ease == Ease::hold ? "hold" : "ease"}});
            }
        }
        effect[ParamPath(param)] = {{"keys", keys}};
    }
    document["effect"] = std::move(effect);
    if (!scene.edits.empty()) {
        json edits = json::array();
        for (const ParamEdit& edit : scene.edits) {
            const RegisteredParam& param = registry.at(edit.index);
            edits.push_back({{ParamPath(param), ParamValueJson(param, edit.value, scene)}});
        }
        document["edits"] = std::move(edits);
    }
    return document;
}

void SaveScene(const Scene& scene, const ParamRegistry& registry,
               const std::filesystem::path& file) {
    const std::string origin = file.string();
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    const std::string text = SceneAsJson(scene, registry, folder).dump(2) + "\n";
    try {
        WriteFileAtomically(file, text);
    } catch (const ImageFileError& failure) {
        throw SceneError(origin, "", "cannot write the scene file: " + failure.reason());
    }
}

} // namespace plurion::host
