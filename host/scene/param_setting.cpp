#include "scene/param_setting.h"

#include "scene/scene_parts.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace plurion::host {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A decimal number, starting with a digit or "-"; anything after it is refused.
bool ReadNumber(const std::string& text, double& value) {
    const std::string trimmed = Trimmed(text);
    const std::size_t digit = !trimmed.empty() && trimmed[0] == '-' ? 1 : 0;
    if (trimmed.size() <= digit || !std::isdigit(static_cast<unsigned char>(trimmed[digit]))) {
        return false; // ".5", "+1" and "inf" are not written as numbers here
    }
    const char* end = trimmed.data() + trimmed.size();
    const auto [ptr, ec] = std::from_chars(trimmed.data(), end, value);
    return !trimmed.empty() && ec == std::errc() && ptr == end && std::isfinite(value);
}

// The shortest text that reads back as the value: 2, 0.25, 1e+20.
std::string NumberText(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
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

std::string Wedge::setting(std::size_t i) const {
    return key + "=" + NumberText(values.at(i));
}

Wedge ParseWedge(const std::string& text) {
    const std::string where = "--wedge \"" + text + "\": ";
    const auto equals = text.find('=');
    Wedge wedge;
    wedge.key = equals == std::string::npos ? "" : Trimmed(text.substr(0, equals));
    if (wedge.key.empty()) {
        throw WedgeError(where + "expected KEY=A..B:STEP, as \"Linear Mode/Count=2..10:2\"");
    }
    const std::string range = text.substr(equals + 1);
    const auto dots = range.find("..");
    if (dots == std::string::npos) {
        throw WedgeError(where + "expected a range A..B after \"=\"");
    }
    const auto colon = range.find(':', dots);
    const std::string last_text =
        range.substr(dots + 2, colon == std::string::npos ? std::string::npos : colon - dots - 2);
    double first = 0.0;
    double last = 0.0;
    double step = 1.0;
    if (!ReadNumber(range.substr(0, dots), first)) {
        throw WedgeError(where + "the range's start is not a number");
    }
    if (!ReadNumber(last_text, last)) {
        throw WedgeError(where + "the range's end is not a number");
    }
    if (colon != std::string::npos && !ReadNumber(range.substr(colon + 1), step)) {
        throw WedgeError(where + "the step is not a number");
    }
    if (step <= 0.0) {
        throw WedgeError(where + "the step must be above 0");
    }
    // Values are first + i * step, not sums, so that 0..1:0.1 ends on 1 and not short of it; a
    // value within a millionth of a step of the end counts as reaching it.
    const double steps = std::floor(std::abs(last - first) / step + 1e-6);
    if (steps + 1.0 > static_cast<double>(kMaxWedgeValues)) {
        throw WedgeError(where + "more than " + std::to_string(kMaxWedgeValues) + " values");
    }
    const double direction = last < first ? -1.0 : 1.0;
    for (int i = 0; i <= static_cast<int>(steps); ++i) {
        // Nine decimals: 0..1:0.1 gives 0.3, not 0.30000000000000004.
        wedge.values.push_back(std::round((first + direction * step * i) * 1e9) / 1e9);
    }
    return wedge;
}

} // namespace plurion::host
