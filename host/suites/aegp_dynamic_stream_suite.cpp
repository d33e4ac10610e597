// "AEGP Dynamic Stream Suite" version 2: the hidden flag of the effect's parameter streams, which
// is how an effect shows and hides its controls. The flag lives with the project (the panel of
// the effect instance), so it can be read and changed only in a command that offers it, not
// during a frame. This host keeps no other dynamic flag: asking for one is refused. Stream
// groups, names and layer streams are not served and are null.
#include "AE_GeneralPlug.h"
#include "suites/aegp_call.h"

namespace plurion::host {
namespace {

A_Err GetDynamicStreamFlags(AEGP_StreamRefH streamH, AEGP_DynStreamFlags* stream_flagsP) {
    return ServeAegp("AEGP_GetDynamicStreamFlags", [&](const AegpCall& call) {
        const std::optional<PF_ParamIndex> index = call.objects().stream_param(streamH);
        const AegpStreamFlags* flags = call.objects().stream_flags();
        if (stream_flagsP == nullptr || !index || flags == nullptr) {
            return A_Err_PARAMETER;
        }
        *stream_flagsP = flags->hidden(*index) ? AEGP_DynStreamFlag_HIDDEN : 0;
        return A_Err_NONE;
    });
}

// The hidden flag is the one flag that may change with or without undo.
A_Err SetDynamicStreamFlag(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag,
                           A_Boolean /*undoableB*/, A_Boolean setB) {
    return ServeAegp("AEGP_SetDynamicStreamFlag", [&](const AegpCall& call) {
        const std::optional<PF_ParamIndex> index = call.objects().stream_param(streamH);
        AegpStreamFlags* flags = call.objects().stream_flags();
        if (!index || flags == nullptr || one_flag != AEGP_DynStreamFlag_HIDDEN) {
            return A_Err_PARAMETER;
        }
        flags->set_hidden(*index, setB != 0);
        return A_Err_NONE;
    });
}

constexpr AEGP_DynamicStreamSuite2 MakeDynamicStreamSuite2() {
    AEGP_DynamicStreamSuite2 suite{};
    suite.AEGP_GetDynamicStreamFlags = GetDynamicStreamFlags;
    suite.AEGP_SetDynamicStreamFlag = SetDynamicStreamFlag;
    return suite;
}

constexpr AEGP_DynamicStreamSuite2 kDynamicStreamSuite2 = MakeDynamicStreamSuite2();

} // namespace

void RegisterAegpDynamicStreamSuite(SuiteRegistry& registry) {
    registry.add(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2, &kDynamicStreamSuite2);
}

} // namespace plurion::host
