// The time-shift passes of "Linear", "Radial" and "Grid": every source image that a clone's
// time offset needs is requested from the host once, under the id MakeCheckoutId gives its frame
// offset and layer position, and the ids are recorded in the plan in the order they were made.
// Working out which images are wanted is kept apart from the host calls so it can be tested.
#pragma once

#include "AE_Effect.h"
#include "layout/clone_plan.h"

#include <cstdint>
#include <vector>

namespace plurion {

// One distinct image: its checkout id, its layer position and the time to request it at.
struct ShiftedImage {
    std::int32_t id = 0;
    std::int32_t layer = 0;
    A_long time = 0;
    std::int32_t path = 0; // the mask path whose clones need it ("Path" only)
};

struct RowTimeShift {
    std::int32_t count = 0;       // "Count"
    std::int32_t offset_time = 0; // "Offset Time", whole frames
    std::int32_t random_time = 0; // "Random Time", whole frames
};

struct GridTimeShift {
    std::int32_t count_x = 0;
    std::int32_t count_y = 0;
    std::int32_t offset_time_x = 0;
    std::int32_t offset_time_y = 0;
    std::int32_t random_time = 0;
};

struct FrameClock {
    A_long current_time = 0;
    A_long time_step = 0;
};

// The images of a row of clones ("Linear", "Radial"), each id once, in the order first needed.
std::vector<ShiftedImage> RowShiftedImages(const RowTimeShift& shift, std::int32_t layer_count,
                                           const std::vector<CloneRandom>& randoms,
                                           FrameClock clock);

// The images of a grid of cells, each id once, in the order first needed.
std::vector<ShiftedImage> GridShiftedImages(const GridTimeShift& shift, std::int32_t layer_count,
                                            const std::vector<CloneRandom>& randoms,
                                            FrameClock clock);

// What every time-shift pass receives from the pre-render.
struct TimeShiftContext {
    PF_InData* in_data = nullptr;
    PF_PreRenderExtra* extra = nullptr;
    const PF_RenderRequest* request = nullptr;
    // One per taking-part layer, in plan order; a time-shifted checkout overwrites its layer's.
    std::vector<PF_CheckoutResult>* layer_results = nullptr;
};

// The passes: request the images, then replace the plan's time_checkout_ids and
// time_checkout_layers. Return the first failing checkout's error, or 0; after a failure the
// remaining ids are still listed but no longer requested.
PF_Err TimeShiftLinear(const TimeShiftContext& context, ClonePlan& plan);

// Requests `images` in order, each with its layer's checkout result record, and replaces the
// plan's time_checkout_ids and time_checkout_layers; the other passes are made of this.
PF_Err RequestShiftedImages(const TimeShiftContext& context, ClonePlan& plan,
                            const std::vector<ShiftedImage>& images);

PF_Err TimeShiftRadial(const TimeShiftContext& context, ClonePlan& plan);
PF_Err TimeShiftGrid(const TimeShiftContext& context, ClonePlan& plan);

} // namespace plurion
