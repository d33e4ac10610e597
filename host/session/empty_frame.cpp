#include "session/empty_frame.h"

#include "scene/param_values.h"

namespace plurion::host {
namespace {

const RegisteredParam& Param(const ParamRegistry& registry, const std::string& path) {
    const RegisteredParam* param = registry.find(path);
    if (param == nullptr) {
        throw std::logic_error("the effect has no parameter " + path);
    }
    return *param;
}

PF_ParamDef ValueAt(const Scene& scene, const ParamRegistry& registry, const std::string& path,
                    double frame) {
    return ParamAt(scene, registry, Param(registry, path).index, frame);
}

bool HasLayer(const Scene& scene, const ParamRegistry& registry, const std::string& path,
              double frame) {
    return LayerAt(scene, registry, Param(registry, path).index, frame).has_value();
}

} // namespace

std::string EmptyFrameReason(const Scene& scene, const ParamRegistry& registry, double frame) {
    const RegisteredParam& type_param = Param(registry, "Clone Type");
    const PF_ParamDef type = ValueAt(scene, registry, "Clone Type", frame);
    const std::string type_name =
        type_param.choices.at(static_cast<std::size_t>(type.u.pd.value - 1));
    const std::string group = type_name + " Mode";

    bool any_chosen = false;
    bool any_shown = false;
    for (int n = 1; n <= 20; ++n) {
        const std::string slot = "Layer " + std::to_string(n);
        if (!HasLayer(scene, registry, "Layers/Selection/" + slot, frame)) {
            continue;
        }
        any_chosen = true;
        const bool displayed =
            ValueAt(scene, registry, "Layers/Visibility/" + slot + " Display", frame).u.bd.value;
        const double scale =
            ValueAt(scene, registry, "Layers/Transform/" + slot + " Scale", frame).u.fs_d.value;
        any_shown = any_shown || (displayed && scale > 0.0);
    }
    if (!any_chosen) {
        return "no source layer is chosen (\"Layers/Selection/Layer 1\" to \"Layer 20\" are all "
               "None)";
    }
    if (!any_shown) {
        return "every chosen source layer has its Display off or a Scale of 0";
    }
    for (const char* which : {"Local", "Global"}) {
        const std::string path = group + "/Transform/" + which + "/Scale";
        if (ValueAt(scene, registry, path, frame).u.fs_d.value <= 0.0) {
            return "\"" + path + "\" is 0";
        }
    }
    if (type_name == "Path" && scene.masks.empty()) {
        return "the effect layer has no masks for \"Path\" clones to follow";
    }
    if (type_name == "Object" && !HasLayer(scene, registry, "Object Mode/Matte Layer", frame)) {
        return "\"Object Mode/Matte Layer\" is None";
    }
    return "the " + type_name + " clones all fall outside the effect layer or are transparent";
}

} // namespace plurion::host
