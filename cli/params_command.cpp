#include "params_command.h"

#include "scene/param_setting.h"
#include "scene/scene_loader.h"
#include "session/effect_session.h"
#include "session/panel_listing.h"
#include "session/param_listing.h"
#include "session/param_panel.h"
#include "session/param_reference.h"

#include <iostream>
#include <optional>

namespace plurion::cli {
namespace {

// Without a scene file the panel stands over an empty composition of the host's default layer
// size, which is what point defaults are percentages of.
host::Scene EmptyScene(const host::EffectSession& session) {
    host::Scene scene;
    scene.composition.name = "panel";
    scene.composition.width = session.layer().width;
    scene.composition.height = session.layer().height;
    scene.composition.fps = 24;
    scene.composition.frames = 1;
    scene.effect_layer.name = "Effect Layer";
    scene.effect_layer.width = scene.composition.width;
    scene.effect_layer.height = scene.composition.height;
    scene.effect_layer.duration = 1;
    return scene;
}

} // namespace

CLI::App* AddParamsCommand(CLI::App& app, ParamsArgs& args) {
    CLI::App* params = app.add_subcommand(
        "params", "The parameters with their scene keys, units and defaults, or the panel after "
                  "edits");
    auto* json =
        params->add_flag("--json", args.json,
                         "JSON: one object per parameter index, or with --scene/--set the panel");
    auto* scene = params->add_option(
        "--scene", args.scene,
        "Show the panel over this scene, after its edits (hidden parameters left out)");
    auto* set = params->add_option("--set", args.sets,
                                   "A user edit \"KEY=VALUE\" (\"Clone Type=Grid\"), made after "
                                   "the scene's edits; repeat for more, made in order");
    params
        ->add_flag("--markdown", args.markdown,
                   "The parameter reference in Markdown, one sentence per parameter "
                   "(docs/params.md)")
        ->excludes(json)
        ->excludes(scene)
        ->excludes(set);
    params
        ->add_option("--filter", args.filter,
                     "Only the parameters whose scene key holds this text, in any case")
        ->excludes(json)
        ->excludes(scene)
        ->excludes(set);
    return params;
}

int RunParams(const std::string& module_path, const ParamsArgs& args) {
    host::EffectSession session(module_path);
    if (session.global_setup() != PF_Err_NONE || session.params_setup() != PF_Err_NONE) {
        throw std::runtime_error("the effect failed to set up");
    }
    if (args.scene.empty() && args.sets.empty()) {
        if (args.json) {
            std::cout << host::ParamsAsJson(session.params()).dump(2) << "\n";
        } else if (args.markdown) {
            std::cout << host::ParamsAsMarkdown(session.params());
        } else {
            const std::string table = host::ParamsAsText(session.params(), args.filter);
            if (table.find('\n') + 1 == table.size()) {
                throw std::runtime_error("no parameter's scene key holds \"" + args.filter + "\"");
            }
            std::cout << table;
        }
        return 0;
    }

    host::Scene scene =
        args.scene.empty() ? EmptyScene(session) : host::LoadScene(args.scene, session.params());
    // Every setting is read before any edit is made, so that a mistyped one changes nothing.
    std::vector<host::ParamEdit> sets;
    for (const std::string& setting : args.sets) {
        sets.push_back(host::ParseParamSetting(setting, session.params(), scene));
    }
    host::ParamPanel panel(session, std::move(scene));
    std::optional<host::EditReport> failed;
    for (const host::ParamEdit& edit : sets) {
        const host::EditReport report = panel.edit(edit);
        if (report.result != PF_Err_NONE && !failed) {
            failed = report;
        }
    }
    if (args.json) {
        std::cout << host::PanelAsJson(panel).dump(2) << "\n";
    } else {
        for (const host::EditReport& report : panel.history()) {
            std::cout << host::EditAsText(panel, report);
        }
        if (!panel.history().empty()) {
            std::cout << "\n";
        }
        std::cout << host::PanelAsText(panel);
    }
    if (failed) {
        std::cerr << "plurion: " << failed->edit.where << ": the effect answered with error "
                  << failed->result << "\n";
        return 1;
    }
    return 0;
}

} // namespace plurion::cli
