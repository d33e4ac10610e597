// Writing a scene back as a scene file: the same JSON format the loader reads, so that a saved
// scene loads into the same values. Every composition setting is written out (defaults
// included), procedural sources with all their settings, file sources relative to the folder of
// the file written when they lie beside or under it, and the effect's values (a value with one
// key at frame 0 as a plain value, anything else as keys) by group path and name.
#pragma once

#include "scene/param_registry.h"
#include "scene/scene.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace plurion::host {

// A value in the scene's form: a popup's choice name, a layer's name (null for none), true or
// false for a checkbox, [x, y] for a point, a whole number for a slider, a number otherwise.
nlohmann::json ParamValueJson(const RegisteredParam& param, const ParamValue& value,
                              const Scene& scene);

// The scene as a document; file names are written relative to `folder` where they can be.
nlohmann::json SceneAsJson(const Scene& scene, const ParamRegistry& registry,
                           const std::filesystem::path& folder);

// Writes the document to `file` through a temporary file beside it, so a failed write leaves
// what was there. Throws SceneError naming the file.
void SaveScene(const Scene& scene, const ParamRegistry& registry,
               const std::filesystem::path& file);

} // namespace plurion::host
