#include "layout/clone_plan.h"

namespace plurion {

void DeleteClonePlan(void* pre_render_data) {
    const auto handle = static_cast<PF_Handle>(pre_render_data);
    if (handle == nullptr || *handle == nullptr) {
        return;
    }
    // The host calls this with no in-data, so the block is reached through the handle itself,
    // which points at the block's data pointer.
    auto* block = static_cast<PlanBlock*>(*handle);
    const auto dispose = block->dispose_handle;
    block->~PlanBlock();
    if (dispose != nullptr) {
        dispose(handle);
    }
}

} // namespace plurion
