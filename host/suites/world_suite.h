// Worlds the effect makes through "PF World Suite": the table keeps each one's pixels until the
// effect disposes of it, so a world that is never given back is caught, and so is the disposal
// of a world the host did not make (or already took back).
#pragma once

#include "AE_Effect.h"
#include "AE_EffectPixelFormat.h"
#include "world.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace plurion::host {

class WorldTable {
  public:
    // Without `clear` the world holds the uncleared pattern (copy_world.h), as a real host's
    // recycled memory holds whatever was there.
    PF_Err create(A_long width, A_long height, PF_PixelFormat format, bool clear,
                  PF_EffectWorld& world);
    PF_Err dispose(PF_EffectWorld& world);
    std::vector<std::string> leaks() const;
    std::size_t live() const;

  private:
    mutable std::mutex mutex_;
    std::map<const void*, WorldOwner> worlds_; // by the world's pixel address
    std::size_t empty_worlds_ = 0;             // 0 x 0 worlds have no pixels to key them by
    std::vector<std::string> faults_;
};

} // namespace plurion::host
