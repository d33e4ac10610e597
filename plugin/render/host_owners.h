// Small owners of what the render passes take from the host: the World Suite, the checked-out
// layers and the worlds they create. Each gives back what it holds when told to, returning the
// host's first error, and again on scope exit if that was never reached (an exception), so
// nothing stays out on any path. Copying is deleted.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"

#include <cstdint>
#include <vector>

namespace plurion {

// "PF World Suite" version 2 through the user-reporting suite helpers ("Couldn't load suite.",
// "Couldn't release suite.").
class WorldSuiteLease {
  public:
    WorldSuiteLease(PF_InData* in_data, PF_OutData* out_data);
    ~WorldSuiteLease();
    WorldSuiteLease(const WorldSuiteLease&) = delete;
    WorldSuiteLease& operator=(const WorldSuiteLease&) = delete;

    PF_Err acquire_error() const { return acquire_error_; }
    const PF_WorldSuite2* get() const { return suite_; }
    // Releases once; later calls return 0.
    PF_Err release();

  private:
    PF_InData* in_data_;
    PF_OutData* out_data_;
    const PF_WorldSuite2* suite_ = nullptr;
    PF_Err acquire_error_ = PF_Err_NONE;
    bool released_ = false;
};

// Layers checked out with checkout_layer_pixels, checked in again in the order they came out.
class LayerCheckouts {
  public:
    LayerCheckouts(PF_ProgPtr effect_ref, const PF_SmartRenderCallbacks* callbacks)
        : effect_ref_(effect_ref), callbacks_(callbacks) {}
    ~LayerCheckouts() { check_in_all(); }
    LayerCheckouts(const LayerCheckouts&) = delete;
    LayerCheckouts& operator=(const LayerCheckouts&) = delete;

    // A successful checkout is remembered for check-in, with or without pixels.
    PF_Err check_out(A_long checkout_id, PF_EffectWorld** pixels);
    PF_Err check_in_all();

  private:
    PF_ProgPtr effect_ref_;
    const PF_SmartRenderCallbacks* callbacks_;
    std::vector<A_long> ids_;
};

// A world is in use once the host has made it (both sides at least 1).
inline bool IsMadeWorld(const PF_EffectWorld& world) {
    return world.width >= 1 && world.height >= 1;
}

// Disposes each made world and clears it; the first error.
PF_Err DisposeWorlds(const PF_WorldSuite2* suite, PF_ProgPtr effect_ref, PF_EffectWorld* worlds,
                     std::size_t count);

// The working size of a source at the factor its scales give: truncated, never below 1 x 1.
struct WorldSize {
    A_long width = 1;
    A_long height = 1;
};
WorldSize ScaledWorldSize(const PF_EffectWorld& source, double factor);

// 8, 16 and 32 bits per channel ARGB.
bool IsSupportedPixelFormat(PF_PixelFormat format);

// Makes a cleared world of `source`'s format at `size` in `slot` and resamples `source` into
// it. The copy's result is returned apart, since the callers treat it differently.
struct WorkingCopyResult {
    PF_Err err = PF_Err_NONE; // pixel format or world creation
    PF_Err copy_err = PF_Err_NONE;
    bool made = false;
};
WorkingCopyResult MakeWorkingCopy(const PF_InData& in_data, const PF_WorldSuite2* suite,
                                  PF_EffectWorld& source, WorldSize size, PF_EffectWorld& slot);

} // namespace plurion
