#include "suites/path_table.h"

namespace plurion::host {

PF_PathOutlinePtr PathTable::check_out(PF_PathID id, paths::PathShape shape) {
    auto outline = std::make_unique<Outline>(Outline{id, std::move(shape)});
    // The effect holds an opaque pointer; it is the host's record itself.
    const auto pointer = reinterpret_cast<PF_PathOutlinePtr>(outline.get());
    std::lock_guard lock(mutex_);
    outlines_.emplace(pointer, std::move(outline));
    return pointer;
}

bool PathTable::check_in(PF_PathOutlinePtr outline) {
    std::lock_guard lock(mutex_);
    return outlines_.erase(outline) == 1;
}

const PathTable::Outline* PathTable::outline(PF_PathOutlinePtr outline) const {
    std::lock_guard lock(mutex_);
    const auto found = outlines_.find(outline);
    return found == outlines_.end() ? nullptr : found->second.get();
}

PF_PathSegPrepPtr PathTable::prepare(PF_PathOutlinePtr outline, std::int32_t segment, int samples) {
    std::lock_guard lock(mutex_);
    const auto found = outlines_.find(outline);
    if (found == outlines_.end()) {
        return nullptr;
    }
    const Outline& path = *found->second;
    auto preparation = std::make_unique<Preparation>(
        Preparation{outline, path.id, segment,
                    paths::SegmentLengths(paths::SegmentOf(path.shape, segment), samples)});
    const auto pointer = reinterpret_cast<PF_PathSegPrepPtr>(preparation.get());
    preparations_.emplace(pointer, std::move(preparation));
    return pointer;
}

const PathTable::Preparation* PathTable::preparation(PF_PathSegPrepPtr preparation) const {
    std::lock_guard lock(mutex_);
    const auto found = preparations_.find(preparation);
    return found == preparations_.end() ? nullptr : found->second.get();
}

bool PathTable::clean_up(PF_PathSegPrepPtr preparation) {
    std::lock_guard lock(mutex_);
    return preparations_.erase(preparation) == 1;
}

std::vector<std::string> PathTable::leaks() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& [pointer, outline] : outlines_) {
        out.push_back("path " + std::to_string(outline->id) + " not checked in");
    }
    for (const auto& [pointer, preparation] : preparations_) {
        out.push_back("length preparation of segment " + std::to_string(preparation->segment) +
                      " of path " + std::to_string(preparation->id) + " not cleaned up");
    }
    return out;
}

} // namespace plurion::host
