#include "render/clone_layer.h"

#include "layout/truncate.h"

namespace plurion {
namespace {

void PickIterative(std::int32_t x, std::int32_t y, std::int32_t layer_count, std::int32_t& index) {
    index = x == 0 && y == 0 ? 0 : index + 1;
    if (index >= layer_count) {
        index = 0;
    }
}

void PickBlending(std::int32_t x, std::int32_t y, std::int32_t count_x, std::int32_t count_y,
                  std::int32_t layer_count, std::int32_t& index, bool two_dimensional) {
    if (!two_dimensional) {
        index = TruncateToInt32(static_cast<double>(x) * layer_count / count_x);
        return;
    }
    const std::int64_t position = std::int64_t{x} * count_x + y;
    const std::int64_t per_layer =
        layer_count != 0 ? std::int64_t{count_x} * count_y / layer_count : 0;
    if (position > 0 && per_layer > 0) {
        // Once the last layer is reached it stays.
        if (index < layer_count - 1) {
            index = static_cast<std::int32_t>(position / per_layer);
        }
    } else {
        index = x + y;
    }
}

void PickRandom(std::int32_t clone_number, const ClonePlan& plan, std::int32_t layer_count,
                std::int32_t& index) {
    if (layer_count == 1) {
        index = 0;
    } else if (layer_count >= static_cast<std::int32_t>(kMinOrderLayers) &&
               layer_count <= static_cast<std::int32_t>(kMaxOrderLayers) && clone_number >= 0 &&
               static_cast<std::size_t>(clone_number) < plan.randoms.size()) {
        const CloneRandom& record = plan.randoms[static_cast<std::size_t>(clone_number)];
        index = static_cast<std::int32_t>(
            record.order_pick[static_cast<std::size_t>(layer_count) - kMinOrderLayers]);
    }
}

} // namespace

void PickCloneLayer(std::int32_t clone_number, std::int32_t x, std::int32_t y, std::int32_t count_x,
                    std::int32_t count_y, const ClonePlan& plan, std::int32_t order,
                    std::int32_t layer_count, std::int32_t& index, bool two_dimensional) {
    switch (order) {
    case kIterative:
        PickIterative(x, y, layer_count, index);
        break;
    case kBlending:
        PickBlending(x, y, count_x, count_y, layer_count, index, two_dimensional);
        break;
    case kRandom:
        PickRandom(clone_number, plan, layer_count, index);
        break;
    default:
        break;
    }
}

} // namespace plurion
