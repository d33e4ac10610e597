// The clone plan: everything the pre-render pass settles for one frame and hands to the render
// pass. It lives in a host handle from the pre-render to the end of the render; the handle's
// block holds the plan object itself, and the lists it owns are freed, and the handle disposed,
// by DeleteClonePlan, which the pre-render leaves to the host as the pre-render data's delete
// function. The render only locks and unlocks the handle.
#pragma once

#include "AE_Effect.h"
#include "layout/clone_random.h"
#include "layout/param_pairs.h"

#include <cstdint>
#include <vector>

namespace plurion {

// One clone placement on a mask path.
struct PathClone {
    double x = 0;
    double y = 0;
    double dx = 0; // first derivative of the path at (x, y)
    double dy = 0;
    std::int32_t path = 0;
    std::int32_t segment = 0;
    std::int32_t segmentCount = 0;
    std::uint8_t skip = 0;
    std::uint8_t pastHalf = 0;
    std::uint8_t beforeHalf = 0;
};

struct ClonePlan {
    std::vector<CloneRandom> randoms;
    std::uint8_t sources_ready = 0; // 1: the layers were requested and may be checked out
    ParamPairs params;
    Pair<std::vector<PathClone>> path_clones;
    Pair<std::vector<std::vector<PathClone>>> path_clones_by_path;
    std::vector<std::int32_t> layer_checkout_ids; // 184 + N of each taking-part slot N
    std::vector<Pair<double>> layer_rotations;    // degrees
    std::vector<Pair<double>> layer_scales;       // percent
    std::vector<std::uint8_t> layer_display;
    std::vector<std::int32_t> layer_slots; // N - 1
    std::vector<std::int32_t> time_checkout_ids;
    std::vector<std::int32_t> time_checkout_layers; // position in the layer lists above
    std::vector<std::int32_t> time_checkout_paths;
    double mode_local_scale = 0;
    double mode_global_scale = 0;
    std::vector<std::uint8_t> path_open;
    std::int32_t path_count = 0;
    std::int32_t layer_count = 0;
    PF_CompositeMode composite_mode{};
};

// What the plan's host handle holds: the plan first, so a locked block is the plan, then the
// host's disposal function, which the delete callback has no other way to reach.
struct PlanBlock {
    ClonePlan plan;
    void (*dispose_handle)(PF_Handle) = nullptr;
};

// The pre-render data's delete function: destroys the plan in the handle and disposes the
// handle. Safe on a null handle.
void DeleteClonePlan(void* pre_render_data);

// The plan inside a block locked from its handle.
inline ClonePlan* PlanOf(void* locked_block) {
    return locked_block == nullptr ? nullptr : &static_cast<PlanBlock*>(locked_block)->plan;
}

// The clone type of the plan (member 0 of "Clone Type").
inline std::int32_t CloneTypeOf(const ClonePlan& plan) {
    return plan.params.get<param::kCloneType>(0);
}

} // namespace plurion
