// Changes to the effect's parameter values, as the host stores a change the effect reports (a
// drag in the composition window, a change made while handling another parameter): the value
// the definition holds in scene units, held within the registered valid range, and written
// into the scene at a frame.
#pragma once

#include "scene/param_registry.h"
#include "scene/scene.h"

namespace plurion::host {

// The value a definition holds, in the units of scene values (the inverse of ParamAt); values of
// popups and sliders are held within the registered valid range.
ParamValue ValueOfDef(const PF_ParamDef& def, const RegisteredParam& registered);

// A parameter without keys takes the value for all time; an animated one gets a key at the
// frame, replacing a key already there.
void SetParamValue(Scene& scene, int index, double frame, ParamValue value);

// A key at the frame, replacing one already there.
void SetParamKey(ParamTrack& track, double frame, ParamValue value);

} // namespace plurion::host
