#include "scene/scene_parts.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace plurion::host {
namespace {

constexpr std::string_view kSeparator = "(-";

struct LayerNames {
    const std::vector<Layer>& layers;
    const std::string& effect_layer;
};

std::string ParamName(const RegisteredParam& param) {
    return ParamPath(param);
}

// Parameters inside groups whose own name is the last part of `path`, to hint at the full name.
std::string SimilarNames(const ParamRegistry& registry, const std::string& path) {
    const std::string_view last = std::string_view(path).substr(path.rfind('/') + 1);
    if (last.empty()) {
        return "";
    }
    std::string similar;
    int listed = 0;
    for (const RegisteredParam& param : registry.params()) {
        if (param.index != 0 && param.def.param_type != PF_Param_GROUP_END &&
            last == param.def.name && listed < 5) {
            similar.append(similar.empty() ? "\"" : ", \"").append(ParamName(param)).append("\"");
            ++listed;
        }
    }
    return similar.empty() ? "" : "; did you mean " + similar + "?";
}

std::string ChoiceList(const RegisteredParam& param) {
    std::string list;
    for (const std::string& choice : param.choices) {
        if (choice != kSeparator) {
            list.append(list.empty() ? "" : ", ").append(choice);
        }
    }
    return list;
}

double PopupChoice(const JsonNode& node, const RegisteredParam& param) {
    const int count = param.def.u.pd.num_choices;
    if (node.IsString()) {
        const std::string text = node.String();
        for (std::size_t i = 0; i < param.choices.size() && static_cast<int>(i) < count; ++i) {
            if (param.choices[i] == text && text != kSeparator) {
                return static_cast<double>(i + 1);
            }
        }
        node.Fail("\"" + text + "\" is not a choice of \"" + ParamName(param) + "\" (" +
                  ChoiceList(param) + ")");
    }
    if (!node.IsNumber()) {
        node.Fail("expected a choice name or number, found " + node.Text());
    }
    const int choice = node.Integer();
    if (choice < 1 || choice > count) {
        node.Fail(node.Text() + " is not a choice number of \"" + ParamName(param) + "\" (1 to " +
                  std::to_string(count) + ")");
    }
    if (static_cast<std::size_t>(choice) <= param.choices.size() &&
        param.choices[static_cast<std::size_t>(choice) - 1] == kSeparator) {
        node.Fail("choice " + node.Text() + " of \"" + ParamName(param) +
                  "\" is a separator line, not a choice");
    }
    return choice;
}

void CheckValidRange(const JsonNode& node, double value, double min, double max) {
    if (value < min) {
        node.Fail(node.Text() + " is below the valid minimum " + FormatNumber(min));
    }
    if (value > max) {
        node.Fail(node.Text() + " is above the valid maximum " + FormatNumber(max));
    }
}

double FloatSliderValue(const JsonNode& node, const PF_FloatSliderDef& slider) {
    const double value = node.Number();
    // The limits are single floats: compare at that precision so that 0.1 meets a limit of 0.1f.
    const auto rounded = static_cast<float>(value);
    if (rounded < slider.valid_min || rounded > slider.valid_max) {
        CheckValidRange(node, value, slider.valid_min, slider.valid_max);
    }
    return value;
}

// Angles and point coordinates reach the effect as 16.16 fixed-point numbers.
double FixedValue(const JsonNode& node) {
    constexpr double kLargest = 32767.0;
    const double value = node.Number();
    if (value < -kLargest || value > kLargest) {
        node.Fail(node.Text() + " is outside -32767 to 32767, the range of a fixed-point value");
    }
    return value;
}

double LayerReference(const JsonNode& node, const LayerNames& names) {
    if (node.IsNull()) {
        return kNoLayer;
    }
    const std::string name = node.String();
    for (std::size_t i = 0; i < names.layers.size(); ++i) {
        if (names.layers[i].name == name) {
            return static_cast<double>(i);
        }
    }
    if (name == names.effect_layer) {
        return kEffectLayerIndex;
    }
    node.Fail("no layer named \"" + name + "\"");
}

ParamValue ParseValue(const JsonNode& node, const RegisteredParam& param, const LayerNames& names) {
    const PF_ParamDef& def = param.def;
    switch (def.param_type) {
    case PF_Param_POPUP:
        return {PopupChoice(node, param)};
    case PF_Param_SLIDER: {
        const int value = node.Integer();
        CheckValidRange(node, value, def.u.sd.valid_min, def.u.sd.valid_max);
        return {double(value)};
    }
    case PF_Param_FLOAT_SLIDER:
        return {FloatSliderValue(node, def.u.fs_d)};
    case PF_Param_ANGLE:
        return {FixedValue(node)};
    case PF_Param_POINT: {
        const auto items = node.Items(2, 2);
        return {FixedValue(items[0]), FixedValue(items[1])};
    }
    case PF_Param_CHECKBOX:
        return {node.Boolean() ? 1.0 : 0.0};
    case PF_Param_LAYER:
        return {LayerReference(node, names)};
    case PF_Param_GROUP_START:
        node.Fail("\"" + ParamName(param) + "\" is a group and holds no value");
    default:
        node.Fail("\"" + ParamName(param) + "\" is of a type (" + std::to_string(def.param_type) +
                  ") that scenes cannot set");
    }
}

ParamTrack ParseKeys(const JsonNode& node, const RegisteredParam& param, const LayerNames& names) {
    node.ExpectObject({"keys"});
    if ((param.def.flags & PF_ParamFlag_CANNOT_TIME_VARY) != 0) {
        // Appended piece by piece: GCC 12 misreads a chain of + here as overlapping copies.
        std::string reason = "\"";
        reason.append(ParamName(param)).append("\" cannot vary over time; give one value");
        node.Fail(reason);
    }
    ParamTrack track;
    ReadEasedKeys(node, [&](double frame, const JsonNode& value, Ease ease) {
        track.push_back({frame, ParseValue(value, param, names), ease});
    });
    return track;
}

} // namespace

namespace {

// One key: [frame, value], or with `eases` also {"frame": f, "value": v, "ease": e}.
void ReadKeyItems(const JsonNode& node, bool eases,
                  const std::function<void(double, const JsonNode&, Ease)>& add) {
    node.ExpectObject({"keys"});
    bool first = true;
    double previous = 0;
    for (const JsonNode& key : node.Required("keys").Items(1)) {
        std::optional<JsonNode> frame_node;
        std::optional<JsonNode> value_node;
        Ease ease = Ease::linear;
        if (eases && key.IsObject()) {
            key.ExpectObject({"frame", "value", "ease"});
            frame_node = key.Required("frame");
            value_node = key.Required("value");
            if (const auto how = key.Optional("ease")) {
                const std::string text = how->String();
                if (text != "linear" && text != "hold" && text != "ease") {
                    how->Fail("the ease must be \"linear\", \"hold\" or \"ease\", not " +
                              how->Text());
                }
                ease = text == "hold" ? Ease::hold : text == "ease" ? Ease::ease : Ease::linear;
            }
        } else {
            const auto pair = key.Items(2, 2);
            frame_node = pair[0];
            value_node = pair[1];
        }
        const double frame = frame_node->Number(-kMaxLayerFrames, kMaxLayerFrames);
        if (!first && frame <= previous) {
            frame_node->Fail("key frames must increase: " + frame_node->Text() + " follows " +
                             FormatNumber(previous));
        }
        add(frame, *value_node, ease);
        first = false;
        previous = frame;
    }
}

} // namespace

void ReadKeys(const JsonNode& node, const std::function<void(double, const JsonNode&)>& add) {
    ReadKeyItems(node, false,
                 [&](double frame, const JsonNode& value, Ease) { add(frame, value); });
}

void ReadEasedKeys(const JsonNode& node,
                   const std::function<void(double, const JsonNode&, Ease)>& add) {
    ReadKeyItems(node, true, add);
}

std::map<int, ParamTrack> ParseEffectValues(const JsonNode& effect, const ParamRegistry& registry,
                                            const std::vector<Layer>& layers,
                                            const std::string& effect_layer_name) {
    const LayerNames names{layers, effect_layer_name};
    std::map<int, ParamTrack> values;
    for (const auto& [path, node] : effect.Members()) {
        const RegisteredParam& param = SceneParam(node, path, registry);
        values[param.index] = node.IsObject() ? ParseKeys(node, param, names)
                                              : ParamTrack{{0.0, ParseValue(node, param, names)}};
    }
    return values;
}

const RegisteredParam& SceneParam(const JsonNode& node, const std::string& path,
                                  const ParamRegistry& registry) {
    const RegisteredParam* param = registry.find(path);
    if (param == nullptr || param->index == 0) {
        node.Fail("unknown parameter \"" + path + "\"" + SimilarNames(registry, path));
    }
    return *param;
}

ParamValue ParseParamValue(const JsonNode& node, const RegisteredParam& param,
                           const std::vector<Layer>& layers, const std::string& effect_layer_name) {
    if (node.IsObject()) {
        node.Fail("an edit takes one value, not keys");
    }
    return ParseValue(node, param, LayerNames{layers, effect_layer_name});
}

std::vector<ParamEdit> ParseEdits(const JsonNode& edits, const ParamRegistry& registry,
                                  const std::vector<Layer>& layers,
                                  const std::string& effect_layer_name) {
    std::vector<ParamEdit> out;
    for (const JsonNode& item : edits.Items()) {
        const auto members =
            item.IsObject() ? item.Members() : std::vector<std::pair<std::string, JsonNode>>{};
        if (members.size() != 1) {
            item.Fail("an edit is one parameter and its value, as {\"Clone Type\": \"Grid\"}");
        }
        const auto& [path, node] = members.front();
        const RegisteredParam& param = SceneParam(node, path, registry);
        out.push_back({param.index, ParseParamValue(node, param, layers, effect_layer_name),
                       item.file() + ": " + item.pointer()});
    }
    return out;
}

} // namespace plurion::host
