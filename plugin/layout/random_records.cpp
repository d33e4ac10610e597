#include "layout/random_records.h"

#include "params/param_index.h"

#include <algorithm>

namespace plurion {
namespace {

constexpr auto kLastRecord = static_cast<std::int64_t>(kRandomTableSize) - 1;

std::int64_t GridRecords(const ClonePlan& plan) {
    const ParamPairs& p = plan.params;
    const std::int64_t columns = p.get<param::grid::kCountX>(0);
    const std::int64_t rows = p.get<param::grid::kCountY>(0);
    const std::int64_t layers = static_cast<std::int64_t>(plan.layer_slots.size());
    std::int64_t last = columns * rows; // the last cell's record and its number
    if (layers > 0) {
        last = std::max({last, columns * layers, (layers + 1) * (rows + 1)});
    }
    return last;
}

std::int64_t PathRecords(const ClonePlan& plan) {
    const bool per_segment = plan.params.get<param::path::kPerSegment>(0) == 1;
    const auto clones = [](const std::vector<PathClone>& a, const std::vector<PathClone>& b) {
        return static_cast<std::int64_t>(std::max(a.size(), b.size()));
    };
    if (!per_segment) {
        return clones(plan.path_clones[0], plan.path_clones[1]);
    }
    std::int64_t last = 0;
    const std::size_t groups =
        std::max(plan.path_clones_by_path[0].size(), plan.path_clones_by_path[1].size());
    for (std::size_t k = 0; k < groups; ++k) {
        static const std::vector<PathClone> kNone;
        const auto& open =
            k < plan.path_clones_by_path[0].size() ? plan.path_clones_by_path[0][k] : kNone;
        const auto& close =
            k < plan.path_clones_by_path[1].size() ? plan.path_clones_by_path[1][k] : kNone;
        last = std::max(last, static_cast<std::int64_t>(k + 1) * clones(open, close));
    }
    return last;
}

} // namespace

std::int64_t LastRandomRecord(const ClonePlan& plan) {
    const ParamPairs& p = plan.params;
    std::int64_t last = 0;
    switch (CloneTypeOf(plan)) {
    case param::kRadial:
        last = p.get<param::radial::kCount>(0);
        break;
    case param::kGrid:
        last = GridRecords(plan);
        break;
    case param::kPath:
        last = PathRecords(plan);
        break;
    case param::kObject:
        last = kLastRecord;
        break;
    default:
        last = p.get<param::linear::kCount>(0);
        break;
    }
    return std::min(last, kLastRecord);
}

} // namespace plurion
