// A JSON Schema (draft 2020-12) of scene files, with the `effect` object generated from the
// parameters the module registered, so that editors complete and check every key and value.
#pragma once

#include "scene/param_registry.h"

#include <nlohmann/json.hpp>

namespace plurion::host {

nlohmann::json SceneSchema(const ParamRegistry& registry);

} // namespace plurion::host
