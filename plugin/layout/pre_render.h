// The pre-render pass: samples the parameters at both shutter times, finds the taking-part
// source layers, builds the random table, requests every layer image the render will need and
// leaves the clone plan in the pre-render data. The pieces that need no host are exposed for
// tests.
#pragma once

#include "AE_Effect.h"
#include "entry/command_handlers.h"
#include "layout/clone_plan.h"

#include <array>
#include <cstdint>

namespace plurion {

struct ShutterTimes {
    A_long open = 0;
    A_long close = 0;
};

// Shutter open = current time + local time step x phase; close = open + local time step x
// angle; phase and angle are 16.16 fractions of a frame, and each product is truncated.
ShutterTimes ShutterTimesOf(const PF_InData& in_data);

bool IsEmptyRect(const PF_LRect& rect);

// Merges `rect` into `into`: an empty `into` becomes `rect` (even an empty one); otherwise a
// non-empty `rect` widens `into` to hold both.
void MergeRect(PF_LRect& into, const PF_LRect& rect);

// The group of the plan's clone type: "Radial", "Grid", "Path" and "Object" have their own, and
// "Linear" or any other value uses "Linear Mode".
struct ModeGroupValues {
    std::int32_t random_seed = 0;
    double local_scale = 0;
    double global_scale = 0;
};
ModeGroupValues CurrentModeGroup(const ParamPairs& params);

// Slot N (1 to 20) has pixels when has_pixels[N] is set.
using SlotPixels = std::array<bool, 21>;

// Appends every active source slot to the plan's layer lists and sets layer_count and the mode
// scales. A slot is active when its layer has pixels, both of its scale members and the
// group's local and global scales are above 0.
void FillTakingPartLayers(ClonePlan& plan, const SlotPixels& has_pixels);

// 1 when the render may check layers out: some layer takes part at non-zero group scales, or
// "Object" has both its matte and its time layer.
std::uint8_t CheckoutGate(const ClonePlan& plan, bool object_layers_have_pixels);

} // namespace plurion
