// PF_Cmd_USER_CHANGED_PARAM: the host reports a change of one of the supervised popups. When it
// is a "Clone Offset Mode", the group's offsets are rescaled for the new mode and handed back;
// then, whatever changed, the panel is made to show the chosen clone type's group and the
// controls of the chosen "Distribution" and "Based on".
#pragma once

#include "AE_Effect.h"

namespace plurion {

PF_Err UserChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                        const PF_UserChangedParamExtra* extra);

} // namespace plurion
