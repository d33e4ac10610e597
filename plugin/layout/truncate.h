// Conversions from doubles to the host's 32-bit integers: toward zero, as the host's own are,
// and saturating outside the 32-bit range (which the parameter ranges never reach) instead of
// being undefined.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace plurion {

inline std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < kLow ? kLow : value > kHigh ? kHigh : value);
}

// The 32-bit signed product, wrapping as the host's integer arithmetic does.
inline std::int32_t MultiplyInt32(std::int64_t a, std::int64_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

} // namespace plurion
