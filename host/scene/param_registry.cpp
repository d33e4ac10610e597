#include "scene/param_registry.h"

namespace plurion::host {
namespace {

std::vector<std::string> SplitChoices(const char* names) {
    std::vector<std::string> choices;
    if (names == nullptr) {
        return choices;
    }
    std::string_view rest(names);
    while (true) {
        const auto bar = rest.find('|');
        choices.emplace_back(rest.substr(0, bar));
        if (bar == std::string_view::npos) {
            return choices;
        }
        rest.remove_prefix(bar + 1);
    }
}

std::string JoinGroups(const std::vector<std::string>& groups) {
    std::string path;
    for (const std::string& group : groups) {
        path += path.empty() ? group : "/" + group;
    }
    return path;
}

} // namespace

std::string ParamPath(const RegisteredParam& param) {
    const std::string name(param.def.name);
    return param.group.empty() ? name : param.group + "/" + name;
}

void ParamRegistry::add(const PF_ParamDef& def) {
    RegisteredParam param;
    param.index = static_cast<int>(params_.size());
    param.def = def;
    if (def.param_type == PF_Param_GROUP_END && !open_groups_.empty()) {
        open_groups_.pop_back();
    }
    param.group = JoinGroups(open_groups_);
    if (def.param_type == PF_Param_POPUP) {
        param.choices = SplitChoices(def.u.pd.u.namesptr);
        // The names belong to the effect; keep the host's own copy instead.
        param.def.u.pd.u.namesptr = nullptr;
    }
    if (def.param_type == PF_Param_CHECKBOX) {
        param.def.u.bd.u.nameptr = nullptr;
    }
    if (def.param_type == PF_Param_GROUP_START) {
        open_groups_.emplace_back(def.name);
    }
    params_.push_back(std::move(param));
}

void ParamRegistry::clear() {
    params_.clear();
    open_groups_.clear();
}

const RegisteredParam* ParamRegistry::find(std::string_view path) const {
    for (const RegisteredParam& param : params_) {
        if (param.def.param_type == PF_Param_GROUP_END) {
            continue;
        }
        const std::string_view name(param.def.name);
        if (param.group.empty() ? path == name
                                : path.size() == param.group.size() + 1 + name.size() &&
                                      path.starts_with(param.group) &&
                                      path[param.group.size()] == '/' && path.ends_with(name)) {
            return &param;
        }
    }
    return nullptr;
}

} // namespace plurion::host
