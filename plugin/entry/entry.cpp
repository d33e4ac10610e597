#include "entry/plugin_entry.h"

#include "entry/command_handlers.h"
#include "entry/identity.h"
#include "entry/suite_handler.h"

#include <new>

namespace plurion {
namespace {

const A_u_char* Text(const char* text) {
    return reinterpret_cast<const A_u_char*>(text);
}

PF_Err Dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                PF_LayerDef* output, void* extra) {
    switch (cmd) {
    case PF_Cmd_ABOUT:
        return About(in_data, out_data);
    case PF_Cmd_GLOBAL_SETUP:
        return GlobalSetup(in_data, out_data);
    case PF_Cmd_PARAMS_SETUP: {
        const PF_Err err = SetupParams(in_data, out_data, params, output);
        // The overlay asks for composition and layer window events once the parameters stand.
        return err != PF_Err_NONE ? err : overlay::RegisterOverlay(in_data);
    }
    case PF_Cmd_EVENT:
        return overlay::HandleEvent(in_data, out_data, params, output,
                                    static_cast<PF_EventExtra*>(extra));
    case PF_Cmd_USER_CHANGED_PARAM:
        return UserChangedParam(in_data, out_data, params,
                                static_cast<const PF_UserChangedParamExtra*>(extra));
    case PF_Cmd_SMART_PRE_RENDER:
        return PreRender(in_data, out_data, static_cast<PF_PreRenderExtra*>(extra));
    case PF_Cmd_SMART_RENDER:
        return SmartRender(in_data, out_data, static_cast<PF_SmartRenderExtra*>(extra));
    default:
        // Every other command, PF_Cmd_RENDER and PF_Cmd_UPDATE_PARAMS_UI included, needs
        // nothing from the effect.
        return PF_Err_NONE;
    }
}

} // namespace

PF_Err RegisterEffect(PF_PluginDataPtr in_ptr, PF_PluginDataCB2 callback,
                      SPBasicSuite* /*basic_suite*/, const char* /*host_name*/,
                      const char* /*host_version*/) {
    return callback(in_ptr, Text(kEffectName), Text(kMatchName), Text(kCategory),
                    Text(kEntryPointName), static_cast<A_long>(kEffectKind), kApiVersion,
                    kApiSubversion, kReservedInfo, Text(kSupportUrl));
}

PF_Err About(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    suites.AnsiSuite1()->sprintf(out_data->return_msg, "%s, v%d.%d.%d\r%s",
                                 GetStringPtr(StrID_Name), kVersionMajor, kVersionMinor,
                                 kVersionBugfix, GetStringPtr(StrID_Description));
    return PF_Err_NONE;
}

PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data) {
    out_data->my_version = kEffectVersion;
    SuiteHandler suites(in_data->pica_basicP);
    // OR, not assign: flags the host already put there stay.
    out_data->out_flags |= static_cast<PF_OutFlags>(kGlobalOutFlags);
    out_data->out_flags2 |= static_cast<PF_OutFlags2>(kGlobalOutFlags2);
    return PF_Err_NONE;
}

PF_Err HandleCommand(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                     PF_LayerDef* output, void* extra) {
    try {
        return Dispatch(cmd, in_data, out_data, params, output, extra);
    } catch (PF_Err thrown) {
        return thrown;
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    } catch (...) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}

} // namespace plurion
