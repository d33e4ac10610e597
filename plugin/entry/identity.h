// The effect's identity: one set of constants feeds the registration entry, the About text,
// global set-up and the PiPL resource, so that the host sees the same facts everywhere.
#pragma once

#include <cstdint>

namespace plurion {

inline constexpr const char* kEffectName = "Plurion";
inline constexpr const char* kMatchName = "ADBE Plurion";
inline constexpr const char* kCategory = "KAVEL";
inline constexpr const char* kEntryPointName = "PlurionMain";
inline constexpr const char* kSupportUrl = "https://helpx.adobe.com/support/after-effects.html";

inline constexpr std::uint32_t kEffectKind = 0x65464B54; // 'eFKT'
inline constexpr std::int32_t kApiVersion = 13;
inline constexpr std::int32_t kApiSubversion = 28;
inline constexpr std::int32_t kReservedInfo = 8;

inline constexpr std::int32_t kVersionMajor = 1;
inline constexpr std::int32_t kVersionMinor = 4;
inline constexpr std::int32_t kVersionBugfix = 1;
inline constexpr std::int32_t kVersionStage = 3; // release
inline constexpr std::int32_t kVersionBuild = 1;

// The host's version packing: major from bit 19, minor 15-18, bug-fix 11-14, stage 9-10,
// build 0-8.
constexpr std::uint32_t PackVersion(std::int32_t major, std::int32_t minor, std::int32_t bugfix,
                                    std::int32_t stage, std::int32_t build) {
    return (static_cast<std::uint32_t>(major) << 19) |
           ((static_cast<std::uint32_t>(minor) & 0xF) << 15) |
           ((static_cast<std::uint32_t>(bugfix) & 0xF) << 11) |
           ((static_cast<std::uint32_t>(stage) & 0x3) << 9) |
           (static_cast<std::uint32_t>(build) & 0x1FF);
}

inline constexpr std::uint32_t kEffectVersion =
    PackVersion(kVersionMajor, kVersionMinor, kVersionBugfix, kVersionStage, kVersionBuild);
static_assert(kEffectVersion == 0x000A0E01);

// Global flags, set at global set-up and stored in the PiPL; the host compares the two.
// out_flags: USE_OUTPUT_EXTENT, PIX_INDEPENDENT, CUSTOM_UI, I_USE_SHUTTER_ANGLE,
// DEEP_COLOR_AWARE, SEND_UPDATE_PARAMS_UI.
inline constexpr std::uint32_t kGlobalOutFlags = 0x06088440;
// out_flags2: SUPPORTS_SMART_RENDER, FLOAT_COLOR_AWARE, DEPENDS_ON_UNREFERENCED_MASKS,
// SUPPORTS_THREADED_RENDERING.
inline constexpr std::uint32_t kGlobalOutFlags2 = 0x08081400;

// The string table: fixed entries of an id and a 256-character text, looked up by position.
inline constexpr int kStringLength = 256;
struct TableString {
    std::uint32_t id;
    char text[kStringLength];
};

enum StringId : std::uint32_t {
    StrID_NONE = 0,
    StrID_Name = 1,
    StrID_Description = 2,
    StrID_NUMTYPES
};

// The text of string-table entry `id`; the empty string for an id outside the table.
const char* GetStringPtr(std::uint32_t id);

} // namespace plurion
