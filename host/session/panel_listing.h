// The effect's panel as text and as JSON: the visible parameters with their values, indented by
// group, and what each edit made the effect do. Values are written as scenes write them, so
// they can go back into a scene or a --set.
#pragma once

#include "session/param_panel.h"

#include <nlohmann/json.hpp>

#include <string>

namespace plurion::host {

// A value in the scene's form: a popup's choice name, a layer's name (null for none), true or
// false for a checkbox, [x, y] for a point, a number otherwise; null for a group.
nlohmann::json SceneValueJson(const RegisteredParam& param, const ParamValue& value,
                              const Scene& scene);

// The same as text: names bare, numbers shortest, "None" for no layer.
std::string SceneValueText(const nlohmann::json& value);

// The visible parameters, one a line: the name indented by its groups, then the value.
std::string PanelAsText(const ParamPanel& panel);

// The edit, then one line per value the effect changed (or its error).
std::string EditAsText(const ParamPanel& panel, const EditReport& report);

// {"edits": [...], "parameters": [...]}: every edit with the values the effect changed and the
// calls it made, and every parameter (index 1 up) with its group, type, value, own hidden flag,
// whether it shows, and its disabled and collapsed state.
nlohmann::json PanelAsJson(const ParamPanel& panel);

} // namespace plurion::host
