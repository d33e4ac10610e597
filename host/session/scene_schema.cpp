#include "session/scene_schema.h"

#include "session/param_reference.h"

namespace plurion::host {
namespace {

using nlohmann::json;

json Number(double minimum, double maximum) {
    return {{"type", "number"}, {"minimum", minimum}, {"maximum", maximum}};
}

json Integer(double minimum, double maximum) {
    return {{"type", "integer"}, {"minimum", minimum}, {"maximum", maximum}};
}

json Object(json properties, json required = json::array()) {
    json out = {
        {"type", "object"}, {"properties", std::move(properties)}, {"additionalProperties", false}};
    if (!required.empty()) {
        out["required"] = std::move(required);
    }
    return out;
}

json Ref(const char* name) {
    return {{"$ref", std::string("#/$defs/") + name}};
}

json KeysOf(const json& key) {
    return Object({{"keys", {{"type", "array"}, {"minItems", 1}, {"items", key}}}},
                  json::array({"keys"}));
}

json KeyPair(const json& value) {
    return {{"type", "array"},
            {"prefixItems", json::array({{{"type", "number"}}, value})},
            {"minItems", 2},
            {"maxItems", 2}};
}

// A fixed value, or keys in increasing frame order: [frame, value], or an object that also
// says how the value leaves the key.
json Animatable(const json& value) {
    const json eased = Object({{"frame", {{"type", "number"}}},
                               {"value", value},
                               {"ease", {{"enum", json::array({"linear", "hold", "ease"})}}}},
                              json::array({"frame", "value"}));
    return {
        {"anyOf", json::array({value, KeysOf({{"anyOf", json::array({KeyPair(value), eased})}})})}};
}

json ParamValueSchema(const RegisteredParam& param) {
    const PF_ParamDef& def = param.def;
    switch (def.param_type) {
    case PF_Param_LAYER:
        return {{"type", json::array({"string", "null"})}};
    case PF_Param_POPUP: {
        json names = json::array();
        for (const std::string& choice : param.choices) {
            if (choice != "(-") {
                names.push_back(choice);
            }
        }
        return {{"anyOf", json::array({{{"enum", names}},
                                       Integer(1, static_cast<double>(param.choices.size()))})}};
    }
    case PF_Param_SLIDER:
        return Integer(def.u.sd.valid_min, def.u.sd.valid_max);
    case PF_Param_FLOAT_SLIDER:
        return Number(def.u.fs_d.valid_min, def.u.fs_d.valid_max);
    case PF_Param_ANGLE:
        return {{"type", "number"}};
    case PF_Param_POINT:
        return Ref("point");
    case PF_Param_CHECKBOX:
        return {{"type", "boolean"}};
    default:
        return nullptr;
    }
}

// The text an editor shows beside a key.
std::string Description(const RegisteredParam& param) {
    return ParamDescription(param) + " Unit: " + ParamUnit(param) + "; default " +
           ParamDefaultText(param) + ".";
}

// The "effect" object: every parameter by its scene key.
json EffectSchema(const ParamRegistry& registry) {
    json properties = json::object();
    for (const RegisteredParam& param : registry.params()) {
        json value = param.index == 0 ? json(nullptr) : ParamValueSchema(param);
        if (value.is_null()) {
            continue;
        }
        const bool fixed = (param.def.flags & PF_ParamFlag_CANNOT_TIME_VARY) != 0;
        json entry = fixed ? value : Animatable(value);
        entry["description"] = Description(param);
        properties[SceneKey(param)] = std::move(entry);
    }
    return Object(std::move(properties));
}

// "edits": a list of single-key objects, each one value (no keys) of one parameter.
json EditsSchema(const ParamRegistry& registry) {
    json choices = json::array();
    for (const RegisteredParam& param : registry.params()) {
        json value = param.index == 0 ? json(nullptr) : ParamValueSchema(param);
        if (value.is_null()) {
            continue;
        }
        value["description"] = Description(param);
        choices.push_back(
            Object({{SceneKey(param), std::move(value)}}, json::array({SceneKey(param)})));
    }
    return {{"type", "array"}, {"items", {{"oneOf", std::move(choices)}}}};
}

json SourceSchema() {
    const json colour = Ref("color");
    const json point = Ref("point");
    const auto kind = [](const char* name) { return json{{"const", name}}; };
    return {
        {"oneOf", json::array({
                      Object({{"kind", kind("solid")}, {"color", colour}}), // colour required below
                      Object({{"kind", kind("rectangle")},
                              {"color", colour},
                              {"center", point},
                              {"size", point}}),
                      Object({{"kind", kind("ellipse")},
                              {"color", colour},
                              {"center", point},
                              {"size", point}}),
                      Object({{"kind", kind("star")},
                              {"color", colour},
                              {"center", point},
                              {"points", Integer(2, 1000)},
                              {"outer_radius", Number(0, 1e9)},
                              {"inner_radius", Number(0, 1e9)},
                              {"rotation", {{"type", "number"}}}}),
                      Object({{"kind", kind("gradient")},
                              {"start_color", colour},
                              {"end_color", colour},
                              {"start", point},
                              {"end", point}},
                             json::array({"kind", "start_color", "end_color"})),
                      Object({{"kind", kind("counter")},
                              {"color", colour},
                              {"background", colour},
                              {"center", point},
                              {"digit_height", Number(1, 1e6)},
                              {"first", {{"type", "integer"}}}}),
                      Object({{"kind", kind("image")}, {"path", {{"type", "string"}}}},
                             json::array({"kind", "path"})),
                      Object({{"kind", kind("sequence")},
                              {"path", {{"type", "string"}}},
                              {"first", Integer(0, 1 << 30)},
                              {"last", {{"type", "integer"}}},
                              {"loop", {{"type", "boolean"}}}},
                             json::array({"kind", "path", "first", "last"})),
                      Object({{"kind", kind("movie")},
                              {"path", {{"type", "string"}}},
                              {"loop", {{"type", "boolean"}}}},
                             json::array({"kind", "path"})),
                  })}};
}

// Mask points: a list, or keys of lists ([frame, list] only).
json PointsTrack() {
    const json list = {{"type", "array"}, {"items", Ref("point")}};
    return {{"anyOf", json::array({list, KeysOf(KeyPair(list))})}};
}

} // namespace

json SceneSchema(const ParamRegistry& registry) {
    json source = SourceSchema();
    for (json& choice : source["oneOf"]) {
        if (!choice.contains("required")) {
            choice["required"] = json::array({"kind"});
        }
    }
    source["oneOf"][0]["required"] = json::array({"kind", "color"});
    const json layer_size = Integer(1, 30000);
    const json mask = Object({{"name", {{"type", "string"}}},
                              {"closed", {{"type", "boolean"}}},
                              {"vertices", PointsTrack()},
                              {"in_tangents", PointsTrack()},
                              {"out_tangents", PointsTrack()}},
                             json::array({"vertices"}));
    json schema = Object(
        {{"description", {{"type", "string"}}},
         {"composition", Object({{"name", {{"type", "string"}}},
                                 {"width", layer_size},
                                 {"height", layer_size},
                                 {"fps", Number(1, 999)},
                                 {"frames", Integer(1, 1000000)},
                                 {"bpc", {{"enum", json::array({8, 16, 32})}}},
                                 {"pixel_aspect", Number(0.01, 100)},
                                 {"background", Ref("color")},
                                 {"motion_blur", {{"type", "boolean"}}},
                                 {"shutter_angle", Number(0, 720)},
                                 {"shutter_phase", Number(-360, 360)},
                                 {"motion_blur_samples_per_frame", Integer(1, 256)},
                                 {"motion_blur_samples", Integer(1, 256)},
                                 {"motion_blur_adaptive_limit", Integer(0, 256)},
                                 {"quality", {{"enum", json::array({"high", "draft"})}}},
                                 {"field", {{"enum", json::array({"frame", "upper", "lower"})}}}},
                                json::array({"width", "height", "fps", "frames", "bpc"}))},
         {"layers",
          {{"type", "array"},
           {"items", Object({{"name", {{"type", "string"}, {"minLength", 1}}},
                             {"width", layer_size},
                             {"height", layer_size},
                             {"in_point", {{"type", "number"}}},
                             {"duration", {{"type", "number"}, {"exclusiveMinimum", 0}}},
                             {"source", Ref("source")}},
                            json::array({"name"}))}}},
         {"effect_layer", Object({{"name", {{"type", "string"}}},
                                  {"width", layer_size},
                                  {"height", layer_size},
                                  {"source", Ref("source")},
                                  {"masks", {{"type", "array"}, {"items", mask}}}})},
         {"effect", EffectSchema(registry)},
         {"edits", EditsSchema(registry)}},
        json::array({"composition"}));
    json out = {{"$schema", "https://json-schema.org/draft/2020-12/schema"},
                {"title", "Plurion scene"}};
    out.update(schema);
    out["$defs"] = {
        {"point",
         {{"type", "array"}, {"items", {{"type", "number"}}}, {"minItems", 2}, {"maxItems", 2}}},
        {"color", {{"type", "array"}, {"items", Number(0, 1)}, {"minItems", 3}, {"maxItems", 4}}},
        {"source", source}};
    return out;
}

} // namespace plurion::host
