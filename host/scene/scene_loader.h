// Loading a scene file: parses and checks everything (keys, types, ranges, parameter and layer
// names, that source files exist and can be read) and throws SceneError at the first fault, with
// the file, the JSON pointer of the value and the reason. The accepted format is described in
// the project's README.
#pragma once

#include "scene/param_registry.h"
#include "scene/scene.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

namespace plurion::host {

Scene LoadScene(const std::filesystem::path& file, const ParamRegistry& registry);

// `origin_name` names the document in messages and gives the default composition name (its
// stem); relative file names in the document start from `base_dir`.
Scene ParseScene(const nlohmann::json& document, const std::string& origin_name,
                 const std::filesystem::path& base_dir, const ParamRegistry& registry);

} // namespace plurion::host
