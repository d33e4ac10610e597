#include "params/params_setup.h"

#include <algorithm>
#include <cstring>

namespace plurion {
namespace {

constexpr float kCurveTolerance = 0.05f;

PF_Fixed ToFixed(double whole) {
    return static_cast<PF_Fixed>(static_cast<A_long>(whole) << 16);
}

A_long RowFlagsToHost(std::uint8_t flags) {
    A_long host = 0;
    if (flags & kSupervised) {
        host |= PF_ParamFlag_SUPERVISE;
    }
    if (flags & kCannotTimeVary) {
        host |= PF_ParamFlag_CANNOT_TIME_VARY;
    }
    return host;
}

void FillUnion(const ParamRow& row, PF_ParamDef& def) {
    switch (row.kind) {
    case ParamKind::Layer:
        def.param_type = PF_Param_LAYER;
        def.u.ld.dephault = PF_LayerDefault_NONE;
        break;
    case ParamKind::Popup:
        def.param_type = PF_Param_POPUP;
        def.u.pd.num_choices = static_cast<A_short>(row.valid_max);
        def.u.pd.dephault = static_cast<A_short>(row.default_x);
        def.u.pd.value = def.u.pd.dephault;
        def.u.pd.u.namesptr = row.choices;
        break;
    case ParamKind::Slider:
        def.param_type = PF_Param_SLIDER;
        def.u.sd.valid_min = static_cast<PF_ParamValue>(row.valid_min);
        def.u.sd.valid_max = static_cast<PF_ParamValue>(row.valid_max);
        def.u.sd.slider_min = static_cast<PF_ParamValue>(row.slider_min);
        def.u.sd.slider_max = static_cast<PF_ParamValue>(row.slider_max);
        def.u.sd.dephault = static_cast<PF_ParamValue>(row.default_x);
        def.u.sd.value = def.u.sd.dephault;
        break;
    case ParamKind::FloatSlider:
        def.param_type = PF_Param_FLOAT_SLIDER;
        def.u.fs_d.valid_min = static_cast<PF_FpShort>(row.valid_min);
        def.u.fs_d.valid_max = static_cast<PF_FpShort>(row.valid_max);
        def.u.fs_d.slider_min = static_cast<PF_FpShort>(row.slider_min);
        def.u.fs_d.slider_max = static_cast<PF_FpShort>(row.slider_max);
        def.u.fs_d.value = row.default_x;
        def.u.fs_d.dephault = static_cast<PF_FpShort>(row.default_x);
        def.u.fs_d.precision = row.precision;
        def.u.fs_d.display_flags =
            static_cast<A_short>(row.percent ? PF_ValueDisplayFlag_PERCENT : 0);
        def.u.fs_d.curve_tolerance = kCurveTolerance;
        break;
    case ParamKind::Angle:
        def.param_type = PF_Param_ANGLE;
        def.u.ad.dephault = ToFixed(row.default_x);
        def.u.ad.value = def.u.ad.dephault;
        break;
    case ParamKind::Point:
        def.param_type = PF_Param_POINT;
        def.u.td.x_dephault = ToFixed(row.default_x);
        def.u.td.y_dephault = ToFixed(row.default_y);
        def.u.td.x_value = def.u.td.x_dephault;
        def.u.td.y_value = def.u.td.y_dephault;
        def.u.td.restrict_bounds = 0;
        break;
    case ParamKind::Checkbox:
        def.param_type = PF_Param_CHECKBOX;
        def.u.bd.dephault = static_cast<PF_Boolean>(row.default_x != 0.0);
        def.u.bd.value = def.u.bd.dephault;
        def.u.bd.u.nameptr = "";
        break;
    case ParamKind::GroupStart:
        def.param_type = PF_Param_GROUP_START;
        break;
    case ParamKind::GroupEnd:
        def.param_type = PF_Param_GROUP_END;
        break;
    }
}

} // namespace

PF_ParamDef MakeParamDef(const ParamRow& row) {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.uu.id = row.id;
    def.ui_flags = (row.flags & kStartsInvisible) ? PF_PUI_INVISIBLE : 0;
    def.flags = RowFlagsToHost(row.flags);
    // The host keeps at most 31 characters of a name; the rest of the field stays zero.
    std::memcpy(def.name, row.name, std::min(std::strlen(row.name), sizeof def.name - 1));
    FillUnion(row, def);
    return def;
}

PF_Err SetupParams(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[],
                   PF_LayerDef* /*output*/) {
    for (const ParamRow& row : kParamTable) {
        PF_ParamDef def = MakeParamDef(row);
        if (const PF_Err err = in_data->inter.add_param(in_data->effect_ref, -1, &def)) {
            return err;
        }
    }
    out_data->num_params = kParamCount;
    return PF_Err_NONE;
}

} // namespace plurion
