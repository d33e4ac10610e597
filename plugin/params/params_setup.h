// Registration of the parameter set at PF_Cmd_PARAMS_SETUP.
#pragma once

#include "AE_Effect.h"
#include "entry/command_handlers.h"
#include "params/param_table.h"

namespace plurion {

// The host definition of one table row, built from a zeroed definition.
PF_ParamDef MakeParamDef(const ParamRow& row);

} // namespace plurion
