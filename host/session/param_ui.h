// The presentation of a parameter, the part of its definition an effect may change after
// parameter set-up through PF_UpdateParamUI: its name, the disabled and separator ui flags, its
// ui size, the collapsed twirly, and a slider's shown range, precision and display flags.
// Everything else (type, valid range, default, value) stays as registered.
#pragma once

#include "AE_Effect.h"

namespace plurion::host {

// Copies the presentation of `from` into `to`; the slider fields by `to`'s type.
void ApplyParamUi(const PF_ParamDef& from, PF_ParamDef& to);

} // namespace plurion::host
