// Names of the global flag bits, for reports such as `plurion info`.
#pragma once

#include <cstdint>
#include <string>

namespace plurion::host {

// "PF_OutFlag_A | PF_OutFlag_B" for the set bits (unnamed bits as hex); "none" for 0.
std::string OutFlagNames(std::uint32_t flags);
std::string OutFlag2Names(std::uint32_t flags);

} // namespace plurion::host
