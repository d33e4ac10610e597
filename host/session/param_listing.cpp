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

} // namespace plurion::host
