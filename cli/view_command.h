// `plurion view`: a frame of a scene as the composition (or layer) window shows it, with the
// effect's overlay on top, optionally after replaying mouse actions on it.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace plurion::cli {

struct ViewArgs {
    std::string scene;
    std::string output;
    double frame = 0;
    double zoom = 1;
    std::string pan;  // "X,Y"
    std::string size; // "WxH"
    std::string window = "comp";
    std::string events;
    std::optional<int> bpc;
};

CLI::App* AddViewCommand(CLI::App& app, ViewArgs& args);
int RunView(const std::string& module_path, const ViewArgs& args);

} // namespace plurion::cli
