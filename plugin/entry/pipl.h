// The PiPL resource that tells resource-reading hosts the effect's identity and global flags,
// generated from the same identity constants as the registration entry and global set-up.
#pragma once

#include <cstdint>
#include <vector>

namespace plurion {

inline constexpr std::uint16_t kPiplResourceId = 16000;
inline constexpr std::uint16_t kPiplResourceLanguage = 1033; // English, United States

// The resource's bytes in the host's binary PiPL layout (little-endian, as on Windows).
std::vector<std::uint8_t> BuildPiplResource();

} // namespace plurion
