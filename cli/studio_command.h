// `plurion studio`: a local web page to lay out clones live, with the effect's own panel,
// viewer and overlay, served on this computer only.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace plurion::cli {

struct StudioArgs {
    std::string scene;
    int port = 0;
};

CLI::App* AddStudioCommand(CLI::App& app, StudioArgs& args);
int RunStudio(const std::string& module_path, const StudioArgs& args);

} // namespace plurion::cli
