// Registration of the parameter set at PF_Cmd_PARAMS_SETUP.
#pragma once

#include "AE_Effect.h"
#include "params/param_table.h"

namespace plurion {

// The host definition of one table row, built from a zeroed definition.
PF_ParamDef MakeParamDef(const ParamRow& row);

// Adds every parameter in table order through the host's add_param; the first error ends the
// handler and is returned. On success the host is told there are 272 parameters.
PF_Err SetupParams(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_LayerDef* output);

} // namespace plurion
