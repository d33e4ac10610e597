// The effect's two entry points as plain functions; the module exports them under the names the
// host looks for (see exports.cpp), and tests call them directly.
#pragma once

#include "AE_Effect.h"
#include "AE_PluginData.h"
#include "SPBasic.h"

namespace plurion {

// Tells the host the effect's identity through its callback, once; returns the callback's result.
PF_Err RegisterEffect(PF_PluginDataPtr in_ptr, PF_PluginDataCB2 callback, SPBasicSuite* basic_suite,
                      const char* host_name, const char* host_version);

// Runs one host command. Never throws: an error code thrown inside a handler becomes the
// command's result, and any other exception becomes an internal error.
PF_Err HandleCommand(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                     PF_LayerDef* output, void* extra);

// The About text and global set-up, exposed for the dispatcher's tests.
PF_Err About(PF_InData* in_data, PF_OutData* out_data);
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data);

} // namespace plurion
