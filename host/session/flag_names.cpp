#include "session/flag_names.h"

#include "AE_Effect.h"

#include <cstdio>
#include <span>

namespace plurion::host {
namespace {

struct FlagName {
    std::uint32_t bit;
    const char* name;
};

#define PLURION_FLAG(name)                                                                         \
    { static_cast<std::uint32_t>(name), #name }

constexpr FlagName kOutFlags[] = {
    PLURION_FLAG(PF_OutFlag_KEEP_RESOURCE_OPEN),
    PLURION_FLAG(PF_OutFlag_WIDE_TIME_INPUT),
    PLURION_FLAG(PF_OutFlag_NON_PARAM_VARY),
    PLURION_FLAG(PF_OutFlag_SEQUENCE_DATA_NEEDS_FLATTENING),
    PLURION_FLAG(PF_OutFlag_I_DO_DIALOG),
    PLURION_FLAG(PF_OutFlag_USE_OUTPUT_EXTENT),
    PLURION_FLAG(PF_OutFlag_SEND_DO_DIALOG),
    PLURION_FLAG(PF_OutFlag_DISPLAY_ERROR_MESSAGE),
    PLURION_FLAG(PF_OutFlag_I_EXPAND_BUFFER),
    PLURION_FLAG(PF_OutFlag_PIX_INDEPENDENT),
    PLURION_FLAG(PF_OutFlag_I_WRITE_INPUT_BUFFER),
    PLURION_FLAG(PF_OutFlag_I_SHRINK_BUFFER),
    PLURION_FLAG(PF_OutFlag_WORKS_IN_PLACE),
    PLURION_FLAG(PF_OutFlag_CUSTOM_UI),
    PLURION_FLAG(PF_OutFlag_REFRESH_UI),
    PLURION_FLAG(PF_OutFlag_NOP_RENDER),
    PLURION_FLAG(PF_OutFlag_I_USE_SHUTTER_ANGLE),
    PLURION_FLAG(PF_OutFlag_I_USE_AUDIO),
    PLURION_FLAG(PF_OutFlag_I_AM_OBSOLETE),
    PLURION_FLAG(PF_OutFlag_FORCE_RERENDER),
    PLURION_FLAG(PF_OutFlag_PiPL_OVERRIDES_OUTDATA_OUTFLAGS),
    PLURION_FLAG(PF_OutFlag_I_HAVE_EXTERNAL_DEPENDENCIES),
    PLURION_FLAG(PF_OutFlag_DEEP_COLOR_AWARE),
    PLURION_FLAG(PF_OutFlag_SEND_UPDATE_PARAMS_UI),
    PLURION_FLAG(PF_OutFlag_AUDIO_FLOAT_ONLY),
    PLURION_FLAG(PF_OutFlag_AUDIO_IIR),
    PLURION_FLAG(PF_OutFlag_I_SYNTHESIZE_AUDIO),
    PLURION_FLAG(PF_OutFlag_AUDIO_EFFECT_TOO),
    PLURION_FLAG(PF_OutFlag_AUDIO_EFFECT_ONLY),
};

constexpr FlagName kOutFlags2[] = {
    PLURION_FLAG(PF_OutFlag2_SUPPORTS_QUERY_DYNAMIC_FLAGS),
    PLURION_FLAG(PF_OutFlag2_I_USE_3D_CAMERA),
    PLURION_FLAG(PF_OutFlag2_I_USE_3D_LIGHTS),
    PLURION_FLAG(PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG),
    PLURION_FLAG(PF_OutFlag2_I_AM_THREADSAFE),
    PLURION_FLAG(PF_OutFlag2_CAN_COMBINE_WITH_DESTINATION),
    PLURION_FLAG(PF_OutFlag2_DOESNT_NEED_EMPTY_PIXELS),
    PLURION_FLAG(PF_OutFlag2_REVEALS_ZERO_ALPHA),
    PLURION_FLAG(PF_OutFlag2_PRESERVES_FULLY_OPAQUE_PIXELS),
    PLURION_FLAG(PF_OutFlag2_SUPPORTS_SMART_RENDER),
    PLURION_FLAG(PF_OutFlag2_FLOAT_COLOR_AWARE),
    PLURION_FLAG(PF_OutFlag2_I_USE_COLORSPACE_ENUMERATION),
    PLURION_FLAG(PF_OutFlag2_I_AM_DEPRECATED),
    PLURION_FLAG(PF_OutFlag2_PPRO_DO_NOT_CLONE_SEQUENCE_DATA_FOR_RENDER),
    PLURION_FLAG(PF_OutFlag2_AUTOMATIC_WIDE_TIME_INPUT),
    PLURION_FLAG(PF_OutFlag2_I_USE_TIMECODE),
    PLURION_FLAG(PF_OutFlag2_DEPENDS_ON_UNREFERENCED_MASKS),
    PLURION_FLAG(PF_OutFlag2_OUTPUT_IS_WATERMARKED),
    PLURION_FLAG(PF_OutFlag2_I_MIX_GUID_DEPENDENCIES),
    PLURION_FLAG(PF_OutFlag2_AE13_5_THREADSAFE),
    PLURION_FLAG(PF_OutFlag2_SUPPORTS_GET_FLATTENED_SEQUENCE_DATA),
    PLURION_FLAG(PF_OutFlag2_CUSTOM_UI_ASYNC_MANAGER),
    PLURION_FLAG(PF_OutFlag2_SUPPORTS_GPU_RENDER_F32),
    PLURION_FLAG(PF_OutFlag2_SUPPORTS_THREADED_RENDERING),
    PLURION_FLAG(PF_OutFlag2_MUTABLE_RENDER_SEQUENCE_DATA_SLOWER),
};

#undef PLURION_FLAG

std::string Names(std::uint32_t flags, std::span<const FlagName> table) {
    std::string out;
    for (const FlagName& flag : table) {
        if (flags & flag.bit) {
            out += out.empty() ? "" : " | ";
            out += flag.name;
            flags &= ~flag.bit;
        }
    }
    if (flags != 0) {
        char rest[16];
        std::snprintf(rest, sizeof rest, "0x%08X", flags);
        out += out.empty() ? rest : std::string(" | ") + rest;
    }
    return out.empty() ? "none" : out;
}

} // namespace

std::string OutFlagNames(std::uint32_t flags) {
    return Names(flags, kOutFlags);
}
std::string OutFlag2Names(std::uint32_t flags) {
    return Names(flags, kOutFlags2);
}

} // namespace plurion::host
