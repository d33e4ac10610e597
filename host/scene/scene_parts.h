// The parts of scene loading, each reading one block of the document.
#pragma once

#include "scene/json_node.h"
#include "scene/param_registry.h"
#include "scene/scene.h"

#include <filesystem>
#include <functional>
#include <map>

namespace plurion::host {

// A layer's source and size from its "source" block and the layer's "width" and "height" (which
// only procedural sources take; file sources have the size of their file).
struct SizedSource {
    LayerSource source;
    int width = 0;
    int height = 0;
};
SizedSource ParseLayerSource(const JsonNode& layer, const Composition& composition,
                             const std::filesystem::path& base_dir);

// The keyed form of a value, {"keys": [[frame, value], ...]}: calls `add` with each frame and
// value node in order; frames must increase.
void ReadKeys(const JsonNode& node, const std::function<void(double, const JsonNode&)>& add);

// The same for parameter values, whose keys may also be objects that say how the value leaves
// them: {"frame": 12, "value": 100, "ease": "linear" | "hold" | "ease"}.
void ReadEasedKeys(const JsonNode& node,
                   const std::function<void(double, const JsonNode&, Ease)>& add);

// The "effect" block: values by parameter index. Layer parameters name `layers` or the effect
// layer (`effect_layer_name`).
std::map<int, ParamTrack> ParseEffectValues(const JsonNode& effect, const ParamRegistry& registry,
                                            const std::vector<Layer>& layers,
                                            const std::string& effect_layer_name);

// The parameter a scene names by "group/.../name" (`node` is where it is named, for the
// message); an unknown name fails with the names it may have meant.
const RegisteredParam& SceneParam(const JsonNode& node, const std::string& path,
                                  const ParamRegistry& registry);

// One value of `param` in the scene's forms (a popup's choice name or number, a point [x, y],
// ...), checked against its valid range; no keys.
ParamValue ParseParamValue(const JsonNode& node, const RegisteredParam& param,
                           const std::vector<Layer>& layers, const std::string& effect_layer_name);

// The "edits" block: a list of one-member objects {"group/.../name": value}, in order.
std::vector<ParamEdit> ParseEdits(const JsonNode& edits, const ParamRegistry& registry,
                                  const std::vector<Layer>& layers,
                                  const std::string& effect_layer_name);

} // namespace plurion::host
