// One part of the built-in demo as a scene.
#pragma once

#include "demo_scene.h"
#include "scene/scene_loader.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace plurion::cli {

inline host::Scene DemoPartScene(const std::string& name, const host::ParamRegistry& params) {
    for (const DemoPart& part : kDemoParts) {
        if (name == part.name) {
            return host::ParseScene(nlohmann::json::parse(part.scene), "demo_" + name,
                                    std::filesystem::current_path(), params);
        }
    }
    throw std::logic_error("the built-in demo has no part " + name);
}

} // namespace plurion::cli
