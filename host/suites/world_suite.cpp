#include "suites/world_suite.h"

#include "AE_EffectCBSuites.h"
#include "copy_world.h"

namespace plurion::host {

PF_Err WorldTable::create(A_long width, A_long height, PF_PixelFormat format, bool clear,
                          PF_EffectWorld& world) {
    PF_Err err = PF_Err_NONE;
    WorldOwner owner = MakeWorld(width, height, format, err);
    if (err == PF_Err_NONE && !clear) {
        err = FillUnclearedPattern(&owner.get());
    }
    if (err != PF_Err_NONE) {
        return err;
    }
    world = owner.get();
    std::lock_guard lock(mutex_);
    if (world.data == nullptr) {
        ++empty_worlds_;
    } else {
        worlds_.emplace(world.data, std::move(owner));
    }
    return PF_Err_NONE;
}

PF_Err WorldTable::dispose(PF_EffectWorld& world) {
    std::lock_guard lock(mutex_);
    const bool known = world.data == nullptr ? empty_worlds_ > 0 : worlds_.erase(world.data) > 0;
    if (!known) {
        faults_.push_back("PF_DisposeWorld of a world of " + std::to_string(world.width) + " x " +
                          std::to_string(world.height) + " that this host did not make");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (world.data == nullptr) {
        --empty_worlds_;
    }
    world = PF_EffectWorld{};
    return PF_Err_NONE;
}

std::vector<std::string> WorldTable::leaks() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& [data, owner] : worlds_) {
        out.push_back("world of " + std::to_string(owner.get().width) + " x " +
                      std::to_string(owner.get().height) + " not disposed");
    }
    if (empty_worlds_ > 0) {
        out.push_back(std::to_string(empty_worlds_) + " empty worlds not disposed");
    }
    out.insert(out.end(), faults_.begin(), faults_.end());
    return out;
}

std::size_t WorldTable::live() const {
    std::lock_guard lock(mutex_);
    return worlds_.size() + empty_worlds_;
}

} // namespace plurion::host
