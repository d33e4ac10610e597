// A parameter value given on the command line as "KEY=VALUE": KEY names the parameter by its
// group path and name as scenes do ("Grid Mode/Offset/Clone Offset Mode"), VALUE takes the
// scene's value forms (a popup's choice name, a number, true or false, [x, y], a layer's name
// or null). A VALUE that is not JSON is read as text, so "Clone Type=Grid" needs no quotes.
#pragma once

#include "scene/param_registry.h"
#include "scene/scene.h"

#include <string>

namespace plurion::host {

// The edit "KEY=VALUE" asks for in `scene` (for its layer names). Throws SceneError naming the
// setting and the reason.
ParamEdit ParseParamSetting(const std::string& setting, const ParamRegistry& registry,
                            const Scene& scene);

} // namespace plurion::host
