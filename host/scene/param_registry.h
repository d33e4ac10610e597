// The parameters as the host holds them after parameter set-up: a copy of every definition the
// effect added, in index order (index 0 is the effect's input layer), with its enclosing group
// path.
#pragma once

#include "AE_Effect.h"

#include <string>
#include <string_view>
#include <vector>

namespace plurion::host {

struct RegisteredParam {
    int index = 0;
    std::string group;                // enclosing group names joined by "/", "" at top level
    PF_ParamDef def{};                // the definition as added (name, type, flags, union)
    std::vector<std::string> choices; // popup choices split on "|", separators included
};

// "group/.../name", as scenes and listings name a parameter ("Clone Type" at the top level).
std::string ParamPath(const RegisteredParam& param);

class ParamRegistry {
  public:
    // Appends a definition as add_param received it and works out its group path.
    void add(const PF_ParamDef& def);
    void clear();

    const std::vector<RegisteredParam>& params() const { return params_; }
    std::size_t size() const { return params_.size(); }
    const RegisteredParam& at(int index) const {
        return params_.at(static_cast<std::size_t>(index));
    }

    // Finds a parameter by "group/.../name" ("Linear Mode/Offset/Offset Position") or by a
    // top-level name ("Clone Type"); null when there is none.
    const RegisteredParam* find(std::string_view path) const;

  private:
    std::vector<RegisteredParam> params_;
    std::vector<std::string> open_groups_;
};

} // namespace plurion::host
