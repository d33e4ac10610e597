#include "session/panel_listing.h"

#include "scene/json_node.h"
#include "scene/scene_writer.h"
#include "session/param_listing.h"

#include <cstdio>

namespace plurion::host {
namespace {

using nlohmann::json;

const char* CallName(PanelCall::Kind kind) {
    switch (kind) {
    case PanelCall::Kind::Hide:
        return "hide";
    case PanelCall::Kind::Show:
        return "show";
    case PanelCall::Kind::UpdateUi:
        return "PF_UpdateParamUI";
    }
    return "";
}

// Appended piece by piece: GCC 12 misreads a chain of + here as overlapping copies.
std::string Quoted(const RegisteredParam& param) {
    std::string text = "\"";
    text.append(ParamPath(param)).append("\"");
    return text;
}

} // namespace

json SceneValueJson(const RegisteredParam& param, const ParamValue& value, const Scene& scene) {
    return ParamValueJson(param, value, scene);
}

std::string SceneValueText(const json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_null()) {
        return "None";
    }
    if (value.is_boolean()) {
        return value.get<bool>() ? "true" : "false";
    }
    if (value.is_array()) {
        std::string text = "[";
        for (const json& item : value) {
            text.append(text.size() > 1 ? ", " : "").append(SceneValueText(item));
        }
        return text + "]";
    }
    return FormatNumber(value.get<double>());
}

std::string PanelAsText(const ParamPanel& panel) {
    std::string text;
    int depth = 0;
    for (const RegisteredParam& param : panel.params().params()) {
        const PF_ParamType type = param.def.param_type;
        if (param.index == 0 || !panel.visible(param.index)) {
            continue;
        }
        if (type == PF_Param_GROUP_END) {
            --depth;
            continue;
        }
        const PF_ParamDef def = panel.definition(param.index);
        std::string name = std::string(2 * static_cast<std::size_t>(depth), ' ') + def.name;
        if (type == PF_Param_GROUP_START) {
            text += name + "\n";
            ++depth;
            continue;
        }
        const json value = SceneValueJson(param, panel.value(param.index), panel.scene());
        char line[256];
        std::snprintf(line, sizeof line, "%-44s %s%s\n", name.c_str(),
                      SceneValueText(value).c_str(),
                      (def.ui_flags & PF_PUI_DISABLED) != 0 ? " (disabled)" : "");
        text += line;
    }
    return text;
}

std::string EditAsText(const ParamPanel& panel, const EditReport& report) {
    const ParamRegistry& registry = panel.params();
    const RegisteredParam& edited = registry.at(report.edit.index);
    std::string text = Quoted(edited) + " = " +
                       SceneValueText(SceneValueJson(edited, report.edit.value, panel.scene()));
    text += report.supervised ? "\n" : " (not supervised: the effect is not told)\n";
    for (const ValueChange& change : report.changes) {
        const RegisteredParam& param = registry.at(change.index);
        text += "    the effect set " + Quoted(param) + " from " +
                SceneValueText(SceneValueJson(param, change.before, panel.scene())) + " to " +
                SceneValueText(SceneValueJson(param, change.after, panel.scene())) + "\n";
    }
    if (report.result != PF_Err_NONE) {
        text += "    the effect answered with error " + std::to_string(report.result) + "\n";
    }
    return text;
}

json PanelAsJson(const ParamPanel& panel) {
    const ParamRegistry& registry = panel.params();
    const Scene& scene = panel.scene();
    json edits = json::array();
    for (const EditReport& report : panel.history()) {
        const RegisteredParam& edited = registry.at(report.edit.index);
        json changes = json::array();
        for (const ValueChange& change : report.changes) {
            const RegisteredParam& param = registry.at(change.index);
            changes.push_back({{"parameter", ParamPath(param)},
                               {"index", param.index},
                               {"before", SceneValueJson(param, change.before, scene)},
                               {"after", SceneValueJson(param, change.after, scene)}});
        }
        json calls = json::array();
        for (const PanelCall& call : report.calls) {
            calls.push_back({{"call", CallName(call.kind)}, {"index", call.index}});
        }
        edits.push_back({{"parameter", ParamPath(edited)},
                         {"index", edited.index},
                         {"value", SceneValueJson(edited, report.edit.value, scene)},
                         {"supervised", report.supervised},
                         {"result", report.result},
                         {"changes", changes},
                         {"calls", calls}});
    }
    json parameters = json::array();
    for (const RegisteredParam& param : registry.params()) {
        if (param.index == 0) {
            continue;
        }
        const PF_ParamDef def = panel.definition(param.index);
        parameters.push_back({{"index", param.index},
                              {"name", def.name},
                              {"group", param.group},
                              {"type", ParamTypeName(param.def.param_type)},
                              {"value", SceneValueJson(param, panel.value(param.index), scene)},
                              {"hidden", panel.hidden(param.index)},
                              {"visible", panel.visible(param.index)},
                              {"disabled", (def.ui_flags & PF_PUI_DISABLED) != 0},
                              {"collapsed", (def.flags & PF_ParamFlag_COLLAPSE_TWIRLY) != 0}});
    }
    return {{"edits", edits}, {"parameters", parameters}};
}

} // namespace plurion::host
