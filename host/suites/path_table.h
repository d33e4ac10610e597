// Mask path outlines checked out through "PF Path Query Suite" and the segment-length
// preparations made on them through "PF Path Data Suite". Each one is known by the pointer the
// effect holds, so every call can check what it is handed, and whatever is not given back
// (an outline not checked in, a preparation not cleaned up) is reported at the end of the call.
#pragma once

#include "AE_EffectSuites.h"
#include "path_shape.h"
#include "segment_lengths.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace plurion::host {

class PathTable {
  public:
    struct Outline {
        PF_PathID id = PF_PathID_NONE;
        paths::PathShape shape;
    };
    struct Preparation {
        PF_PathOutlinePtr outline = nullptr;
        PF_PathID id = PF_PathID_NONE;
        std::int32_t segment = 0;
        paths::SegmentLengths lengths;
    };

    PF_PathOutlinePtr check_out(PF_PathID id, paths::PathShape shape);
    // False for a pointer that is not a checked-out outline.
    bool check_in(PF_PathOutlinePtr outline);
    const Outline* outline(PF_PathOutlinePtr outline) const;

    // A length table of `samples` intervals for segment `segment` of a checked-out outline.
    PF_PathSegPrepPtr prepare(PF_PathOutlinePtr outline, std::int32_t segment, int samples);
    const Preparation* preparation(PF_PathSegPrepPtr preparation) const;
    bool clean_up(PF_PathSegPrepPtr preparation);

    // Outlines and preparations not given back, one line each.
    std::vector<std::string> leaks() const;

  private:
    mutable std::mutex mutex_;
    std::map<const void*, std::unique_ptr<Outline>> outlines_;
    std::map<const void*, std::unique_ptr<Preparation>> preparations_;
};

} // namespace plurion::host
