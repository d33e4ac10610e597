// The parameters as the host holds them, as JSON (one object per index) or a readable table.
#pragma once

#include "scene/param_registry.h"

#include <nlohmann/json.hpp>

#include <string>

namespace plurion::host {

// "layer", "popup", "slider", "float_slider", "angle", "point", "checkbox", "group_start",
// "group_end", or "type <n>" for a type the effect does not use.
std::string ParamTypeName(PF_ParamType type);

// One object per parameter with the keys index, id, name, group, type, valid_min, valid_max,
// slider_min, slider_max, default, precision, percent, choices, flags, ui_flags; keys that do
// not apply to a type are null.
nlohmann::json ParamsAsJson(const ParamRegistry& registry);

} // namespace plurion::host
