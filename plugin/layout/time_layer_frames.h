// The "Object" type's pre-render pass: how many frames the "Time Layer" has and where it starts,
// measured through the host's AEGP suites from the layer the parameter names, and a request for
// every one of those frames, so that the time modes can show any of them in a cell.
#pragma once

#include "AE_Effect.h"
#include "layout/clone_plan.h"
#include "layout/time_shift.h"

#include <cstdint>
#include <vector>

namespace plurion {

// What the time-layer measure asks of the layer: its duration (layer time), its in point
// (composition time) or the current time (layer time).
enum class TimeLayerMeasure : int { Duration = 0, InPoint = 1, CurrentTime = 2 };

// A host time as a frame count of this call: trunc(seconds x time_scale / time_step) in single
// precision, where seconds is the time's value over its scale; 0 when a scale or step is 0.
std::int32_t FramesOfTime(const A_Time& time, const PF_InData& in_data);

// The measure of the layer chosen in layer parameter `index`, in frames of this call. 0 when the
// parameter holds no layer or any host call fails; every AEGP object it makes is disposed on
// every path. A missing suite is thrown as PF_Err_BAD_CALLBACK_PARAM, as the suite handler does.
std::int32_t MeasureTimeLayer(const PF_InData& in_data, PF_ParamIndex index, TimeLayerMeasure kind);

// The checkout ids of frames 0 to frames - 1 of the time layer, in frame order.
std::vector<std::int32_t> TimeLayerFrameIds(std::int32_t frames);

// Requests every frame of the "Time Layer" at (in point + f) x time_step and replaces the plan's
// time_checkout_ids with their ids (left alone when the layer has no frames). Returns the first
// failing checkout's error; after it the remaining ids are still listed but not requested.
PF_Err TimeShiftObject(const TimeShiftContext& context, ClonePlan& plan);

} // namespace plurion
