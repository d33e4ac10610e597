// A host call that serves nothing but mask paths: the real host services (path suites, counts,
// failure injection) over a fixed set of path shapes, with an in_data filled as a frame's is, so
// that the path suites and the effect's path sampling can be called directly.
#pragma once

#include "AE_Effect.h"
#include "session/call_target.h"
#include "suites/host_services.h"

#include <cstring>
#include <vector>

namespace plurion::test {

class MaskHost final : public host::HostCallTarget {
  public:
    explicit MaskHost(std::vector<host::paths::PathShape> shapes, int downsample = 1)
        : shapes_(std::move(shapes)) {
        std::memset(&in, 0, sizeof in);
        in.effect_ref = effect_ref();
        in.pica_basicP = &services_.basic;
        in.current_time = 7200;
        in.time_step = 3600;
        in.time_scale = 86400;
        in.downsample_x = {1, static_cast<A_u_long>(downsample)};
        in.downsample_y = in.downsample_x;
    }

    host::HostServices& services() override { return services_; }
    std::int32_t mask_count() const override { return static_cast<std::int32_t>(shapes_.size()); }
    std::string mask_name(std::int32_t index) const override {
        return "Mask " + std::to_string(index + 1);
    }
    host::paths::PathShape mask_shape(std::int32_t index, A_long time,
                                      A_u_long /*time_scale*/) const override {
        last_time = time;
        return shapes_.at(static_cast<std::size_t>(index));
    }

    template <class Suite>
    const Suite* suite(const char* name, int version) {
        const void* table = nullptr;
        services_.basic.AcquireSuite(name, version, &table);
        acquired_.push_back({name, version});
        return static_cast<const Suite*>(table);
    }
    ~MaskHost() override {
        for (const auto& [name, version] : acquired_) {
            services_.basic.ReleaseSuite(name, version);
        }
    }

    host::FaultInjector faults;
    PF_InData in;
    mutable A_long last_time = -1;

  private:
    host::HostServices services_{faults};
    host::ActiveHostScope active_{services_};
    std::vector<host::paths::PathShape> shapes_;
    std::vector<std::pair<const char*, int>> acquired_;
};

// The path suite functions that the effect's path sampling calls, for failure sweeps.
inline constexpr const char* kPathSamplingFunctions[] = {"PF_NumPaths",
                                                         "PF_PathInfo",
                                                         "PF_CheckoutPath",
                                                         "PF_PathIsOpen",
                                                         "PF_PathNumSegments",
                                                         "PF_PathPrepareSegLength",
                                                         "PF_PathGetSegLength",
                                                         "PF_PathEvalSegLengthDeriv1",
                                                         "PF_PathCleanupSegLength",
                                                         "PF_CheckinPath"};

// A path from corner points without tangents.
inline host::paths::PathShape Polygon(std::vector<host::paths::Point> points, bool closed) {
    host::paths::PathShape shape;
    shape.closed = closed;
    for (const host::paths::Point& p : points) {
        shape.vertices.push_back({p, {}, {}});
    }
    return shape;
}

} // namespace plurion::test
