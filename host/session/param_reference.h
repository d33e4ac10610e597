// What each parameter does, in the terms a scene file uses: its key, its unit, its default in
// that unit, and one sentence. Drives `plurion params` and the generated parameter reference.
#pragma once

#include "scene/param_registry.h"

#include <string>

namespace plurion::host {

// The scene key: the enclosing groups and the name joined by "/"
// ("Radial Mode/Transform/Local/Position").
std::string SceneKey(const RegisteredParam& param);

// The unit a scene gives the value in: "pixels", "percent", "percent of the radius",
// "degrees", "frames", "choice", "on/off", "layer name", "count", "10 pixels", ...
std::string ParamUnit(const RegisteredParam& param);

// The default as a scene writes it: a choice's text, true/false, a number in the unit above,
// "[x, y]" for points (in pixels of the layer; point defaults are fractions of its size, so
// they read "50% of the layer" here), or null for layers.
std::string ParamDefaultText(const RegisteredParam& param);

// Flag names of the definition ("SUPERVISE, CANNOT_TIME_VARY"), empty when none.
std::string ParamFlagNames(const RegisteredParam& param);

// One sentence on what the parameter does; empty for group ends.
std::string ParamDescription(const RegisteredParam& param);

// The listing of `plurion params`: one line per parameter (group ends left out) whose key holds
// `filter` in any case, with its index, id, key, type, default and unit, range, choices and
// flags.
std::string ParamsAsText(const ParamRegistry& registry, const std::string& filter);

// The whole reference as Markdown: one table per group with every parameter's key, type, unit,
// default, range and sentence.
std::string ParamsAsMarkdown(const ParamRegistry& registry);

} // namespace plurion::host
