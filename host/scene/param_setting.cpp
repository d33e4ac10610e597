#include "scene/param_setting.h"

#include "scene/scene_parts.h"

namespace plurion::host {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

ParamEdit ParseParamSetting(const std::string& setting, const ParamRegistry& registry,
                            const Scene& scene) {
    const std::string origin = "--set \"" + setting + "\"";
    const auto equals = setting.find('=');
    if (equals == std::string::npos || Trimmed(setting.substr(0, equals)).empty()) {
        throw SceneError(origin, "", "expected KEY=VALUE, as \"Clone Type=Grid\"");
    }
    const std::string key = Trimmed(setting.substr(0, equals));
    const std::string text = Trimmed(setting.substr(equals + 1));
    nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
    if (value.is_discarded()) {
        value = text;
    }
    const JsonNode node(value, origin);
    const RegisteredParam& param = SceneParam(node, key, registry);
    return {param.index, ParseParamValue(node, param, scene.layers, scene.effect_layer.name),
            origin};
}

} // namespace plurion::host
