#include "session/param_listing.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace plurion::host {
namespace {

using nlohmann::json;

// Registered ranges are 32-bit floats; print them as their shortest decimal (0.1, not
// 0.10000000149).
double Decimal(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text - 1, value).ptr;
    *end = '\0';
    return std::strtod(text, nullptr);
}

double FromFixed(PF_Fixed value) {
    return static_cast<double>(value) / 65536.0;
}

json Describe(const RegisteredParam& param) {
    const PF_ParamDef& def = param.def;
    json out = {{"index", param.index},
                {"id", def.uu.id},
                {"name", def.name},
                {"group", param.group},
                {"type", ParamTypeName(def.param_type)},
                {"valid_min", nullptr},
                {"valid_max", nullptr},
                {"slider_min", nullptr},
                {"slider_max", nullptr},
                {"default", nullptr},
                {"precision", nullptr},
                {"percent", nullptr},
                {"choices", nullptr},
                {"flags", def.flags},
                {"ui_flags", def.ui_flags}};
    switch (def.param_type) {
    case PF_Param_LAYER:
        out["default"] = def.u.ld.dephault;
        break;
    case PF_Param_POPUP:
        out["default"] = def.u.pd.dephault;
        out["choices"] = param.choices;
        break;
    case PF_Param_SLIDER:
        out["valid_min"] = def.u.sd.valid_min;
        out["valid_max"] = def.u.sd.valid_max;
        out["slider_min"] = def.u.sd.slider_min;
        out["slider_max"] = def.u.sd.slider_max;
        out["default"] = def.u.sd.dephault;
        break;
    case PF_Param_FLOAT_SLIDER:
        out["valid_min"] = Decimal(def.u.fs_d.valid_min);
        out["valid_max"] = Decimal(def.u.fs_d.valid_max);
        out["slider_min"] = Decimal(def.u.fs_d.slider_min);
        out["slider_max"] = Decimal(def.u.fs_d.slider_max);
        out["default"] = Decimal(def.u.fs_d.dephault);
        out["precision"] = def.u.fs_d.precision;
        out["percent"] = (def.u.fs_d.display_flags & PF_ValueDisplayFlag_PERCENT) != 0;
        break;
    case PF_Param_ANGLE:
        out["default"] = FromFixed(def.u.ad.dephault);
        break;
    case PF_Param_POINT:
        out["default"] = {FromFixed(def.u.td.x_dephault), FromFixed(def.u.td.y_dephault)};
        break;
    case PF_Param_CHECKBOX:
        out["default"] = def.u.bd.dephault != 0 ? 1 : 0;
        break;
    default:
        break;
    }
    return out;
}

std::string Cell(const json& value) {
    if (value.is_null()) {
        return "";
    }
    if (value.is_string()) {
        return value.get<std::string>();
    }
    return value.dump();
}

} // namespace

std::string ParamTypeName(PF_ParamType type) {
    switch (type) {
    case PF_Param_LAYER:
        return "layer";
    case PF_Param_POPUP:
        return "popup";
    case PF_Param_SLIDER:
        return "slider";
    case PF_Param_FLOAT_SLIDER:
        return "float_slider";
    case PF_Param_ANGLE:
        return "angle";
    case PF_Param_POINT:
        return "point";
    case PF_Param_CHECKBOX:
        return "checkbox";
    case PF_Param_GROUP_START:
        return "group_start";
    case PF_Param_GROUP_END:
        return "group_end";
    default:
        return "type " + std::to_string(type);
    }
}

json ParamsAsJson(const ParamRegistry& registry) {
    json out = json::array();
    for (const RegisteredParam& param : registry.params()) {
        out.push_back(Describe(param));
    }
    return out;
}

std::string ParamsAsTable(const ParamRegistry& registry) {
    std::ostringstream out;
    char line[512];
    std::snprintf(line, sizeof line, "%5s %4s  %-44s %-12s %s\n", "index", "id", "name", "type",
                  "range, default and flags");
    out << line;
    int depth = 0;
    for (const RegisteredParam& param : registry.params()) {
        const json row = Describe(param);
        if (param.def.param_type == PF_Param_GROUP_END) {
            --depth;
        }
        std::string name = std::string(2 * static_cast<std::size_t>(depth > 0 ? depth : 0), ' ') +
                           (param.def.param_type == PF_Param_GROUP_END ? "(end)" : param.def.name);
        std::string facts;
        if (!row["valid_min"].is_null()) {
            facts += "valid " + Cell(row["valid_min"]) + " to " + Cell(row["valid_max"]) +
                     "; slider " + Cell(row["slider_min"]) + " to " + Cell(row["slider_max"]) +
                     "; ";
        }
        if (!row["default"].is_null()) {
            facts += "default " + Cell(row["default"]);
        }
        if (!row["precision"].is_null()) {
            facts += "; precision " + Cell(row["precision"]);
        }
        if (row["percent"] == true) {
            facts += "; percent";
        }
        if (!row["choices"].is_null()) {
            facts += "; choices " + std::to_string(row["choices"].size());
        }
        if (param.def.flags != 0) {
            facts += "; flags " + std::to_string(param.def.flags);
        }
        if (param.def.ui_flags != 0) {
            facts += "; ui flags " + std::to_string(param.def.ui_flags);
        }
        std::snprintf(line, sizeof line, "%5d %4d  %-44s %-12s %s\n", param.index,
                      static_cast<int>(param.def.uu.id), name.c_str(), Cell(row["type"]).c_str(),
                      facts.c_str());
        out << line;
        if (param.def.param_type == PF_Param_GROUP_START) {
            ++depth;
        }
    }
    return out.str();
}

} // namespace plurion::host
