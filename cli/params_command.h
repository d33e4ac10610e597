// `plurion params`: the parameters as the host holds them after parameter set-up, with the keys,
// units and defaults that scenes use (or the reference in Markdown), or, with a scene or
// settings, the effect's panel as a user sees it after making those edits.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace plurion::cli {

struct ParamsArgs {
    bool json = false;
    bool markdown = false;
    std::string filter; // only parameters whose scene key holds it, in any case
    std::string scene;
    std::vector<std::string> sets; // "KEY=VALUE", made in order as user edits
};

CLI::App* AddParamsCommand(CLI::App& app, ParamsArgs& args);
int RunParams(const std::string& module_path, const ParamsArgs& args);

} // namespace plurion::cli
