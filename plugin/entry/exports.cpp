// The module's only two exports, with C linkage and the names the host looks up.
#include "entry/plugin_entry.h"

#if defined(_WIN32)
#define PLURION_EXPORT __declspec(dllexport)
#else
#define PLURION_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

PLURION_EXPORT PF_Err PluginDataEntryFunction2(PF_PluginDataPtr inPtr,
                                               PF_PluginDataCB2 inPluginDataCallBackPtr,
                                               SPBasicSuite* inSPBasicSuitePtr,
                                               const char* inHostName, const char* inHostVersion) {
    return plurion::RegisterEffect(inPtr, inPluginDataCallBackPtr, inSPBasicSuitePtr, inHostName,
                                   inHostVersion);
}

PLURION_EXPORT PF_Err PlurionMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                  PF_ParamDef* params[], PF_LayerDef* output, void* extra) {
    return plurion::HandleCommand(cmd, in_data, out_data, params, output, extra);
}

} // extern "C"
