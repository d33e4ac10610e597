// The C runtime services the host hands the effect: "PF ANSI Suite" and the ANSI member of the
// utility callbacks share one set of functions.
#pragma once

#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"

namespace plurion::host {

const PF_ANSICallbacks& AnsiCallbacks();
const PF_ANSICallbacksSuite1& AnsiSuite1();

} // namespace plurion::host
