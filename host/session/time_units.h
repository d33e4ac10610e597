// The host's time units. A frame lasts 36000 units (100 per degree of shutter), so that shutter
// angles and phases in whole degrees put the shutter times on whole units, and frame rates given
// with up to three decimals (29.97, 23.976) have a whole number of units per second.
#pragma once

#include "AE_Effect.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace plurion::host {

inline constexpr A_long kUnitsPerFrame = 36000;

// Units per second for a frame rate.
inline A_u_long TimeScaleFor(double fps) {
    return static_cast<A_u_long>(std::llround(fps * kUnitsPerFrame));
}

// The host time of a composition frame, worked out in 64 bits; scenes keep their frames where
// the result fits the interface's 32-bit times, and anything beyond is held at the ends.
inline A_long FrameTime(double frame) {
    const long long units = std::llround(std::clamp(frame * kUnitsPerFrame, -0x1p31, 0x1p31));
    return static_cast<A_long>(std::clamp<long long>(units, INT32_MIN, INT32_MAX));
}

inline double FramesAt(A_long time, A_long time_step) {
    return static_cast<double>(time) / static_cast<double>(time_step);
}

// The time fields of every command sent for a composition frame: its time, one frame's step
// (the effect layer runs on the composition's clock), the composition's time scale and length.
inline void SetFrameTimes(PF_InData& in, double frame, double fps, double frames) {
    in.current_time = FrameTime(frame);
    in.time_step = kUnitsPerFrame;
    in.local_time_step = kUnitsPerFrame;
    in.time_scale = TimeScaleFor(fps);
    in.total_time = FrameTime(frames);
}

// Degrees as the interface's 16.16 fraction of a full turn (a frame), rounded away from zero
// so that truncating `units per frame x value / 65536` gives back the exact whole unit.
inline PF_Fixed ShutterFixed(double degrees) {
    const double exact = degrees / 360.0 * 65536.0;
    return static_cast<PF_Fixed>(exact >= 0 ? std::ceil(exact) : std::floor(exact));
}

} // namespace plurion::host
