// The compositors: one per clone type, all drawing through one frame. The frame acquires the
// World Suite, prepares the time-shifted copies of the sources, draws a clone with the host's
// transform_world and, at the end, disposes the copies, checks their layers in and releases the
// suite. A compositor adds only its own arrangement: which layer, which image, which matrices
// and which opacity each clone gets.
#pragma once

#include "AE_Effect.h"
#include "layout/clone_plan.h"
#include "render/host_owners.h"

#include <cstdint>
#include <span>
#include <vector>

namespace plurion {

// What the render pass hands a compositor; the lists are the compositor's own copies.
struct CompositeArgs {
    ClonePlan* plan = nullptr;
    std::vector<std::uint8_t> layer_display;
    std::vector<PF_EffectWorld*> sources; // prepared source worlds, in layer order
    PF_EffectWorld* matte = nullptr;      // "Object" only
    std::vector<Pair<double>> layer_rotations;
    std::vector<Pair<double>> layer_scales;
    PF_InData* in_data = nullptr;
    PF_EffectWorld* output = nullptr;
    PF_OutData* out_data = nullptr;
    std::int32_t layer_count = 0; // the number of prepared sources
    PF_SmartRenderExtra* extra = nullptr;
};

using Compositor = PF_Err (*)(CompositeArgs& args);

// A taking-part layer's rotation at shutter member `member` (0 for a layer outside the lists),
// and whether its display switch is on.
double LayerRotation(const CompositeArgs& args, std::int32_t layer, int member);
bool LayerDisplayed(const CompositeArgs& args, std::int32_t layer);

PF_Err CompositeLinear(CompositeArgs& args);

inline constexpr std::size_t kMaxSourceLayers = 20;

class CompositorFrame {
  public:
    // Set-up: acquires the World Suite and, when `time_shifted`, checks out and resamples every
    // time-shifted image of the plan into the list of its layer, or, `by_path`, into the list of
    // its layer and mask path.
    CompositorFrame(CompositeArgs& args, bool time_shifted, bool by_path = false);
    ~CompositorFrame();
    CompositorFrame(const CompositorFrame&) = delete;
    CompositorFrame& operator=(const CompositorFrame&) = delete;

    bool ok() const { return err_ == PF_Err_NONE; }

    // The time-shifted images of plan layer `layer` (and mask path `path`, when they are held by
    // path), in checkout order; empty when none.
    std::span<PF_EffectWorld> time_shifted(std::int32_t layer, std::int32_t path = 0);

    // "Object"'s time modes: checks out every frame of the "Time Layer" that the plan lists and
    // resamples it at the group's scale (no per-layer scale), in list order. A frame without
    // pixels is left out.
    void prepare_time_frames();
    std::span<PF_EffectWorld> time_frames() { return time_frames_; }

    // The prepared source at `index` of the source list, or null.
    PF_EffectWorld* source(std::int32_t index) const;

    // The world a clone shows: the prepared source of `layer`, or, with time offsets and
    // time-shifted images of that layer, the image at `pick(image count)`; null when the pick
    // falls outside them.
    template <class PickImage>
    PF_EffectWorld* clone_source(std::int32_t layer, bool time_offsets, PickImage pick,
                                 std::int32_t path = 0) {
        const std::span<PF_EffectWorld> images = time_shifted(layer, path);
        if (!time_offsets || images.empty()) {
            return source(layer);
        }
        const std::int32_t t = pick(images.size());
        return t >= 0 && static_cast<std::size_t>(t) < images.size()
                   ? &images[static_cast<std::size_t>(t)]
                   : nullptr;
    }

    // Draws one clone of `source` with the plan's composite mode through `matrices` (shutter
    // open first). Skipped without a source or after an error.
    void draw(const PF_EffectWorld* source, std::span<const PF_FloatMatrix> matrices);

    // Clean-up: disposes the copies, checks their layers in, releases the suite; returns the
    // call's error, the first one winning.
    PF_Err finish();

    // Records an error of the compositor's own, unless one came first.
    void keep(PF_Err err) {
        if (err_ == PF_Err_NONE) {
            err_ = err;
        }
    }

  private:
    void prepare_time_shifted(bool by_path);
    // A working copy of `pixels` at `size` in `copy`: the copy made earlier from the same
    // pixels at the same size when there is one (checkouts at several times of a still layer
    // show one picture, so one copy serves them all), else a new one. False when none was made;
    // errors are kept.
    bool working_copy(PF_EffectWorld& pixels, WorldSize size, PF_EffectWorld& copy);

    CompositeArgs& args_;
    WorldSuiteLease world_suite_;
    LayerCheckouts checkouts_;
    // The copies made, each disposed once, and the pixels each was made from.
    struct MadeCopy {
        const void* from = nullptr;
        A_long from_width = 0;
        A_long from_height = 0;
        A_long from_rowbytes = 0;
        WorldSize size;
        PF_EffectWorld world{};
    };
    std::vector<MadeCopy> made_copies_;
    // kMaxSourceLayers lists per mask path (one path unless held by path); the worlds in them
    // and in time_frames_ are views of made_copies_.
    std::vector<std::vector<PF_EffectWorld>> time_shifted_;
    std::vector<PF_EffectWorld> time_frames_;
    PF_Err err_ = PF_Err_NONE;
    bool finished_ = false;
};

// The opacity byte of a clone: fully transparent when its layer is hidden, 255 without opacity
// offset or randomness, else the truncated product of the offset and random factors times 250,
// held within 0 to 255.
struct CloneOpacity {
    bool displayed = true;
    double offset_opacity = 0; // percent per step ("Step") or over the run ("End")
    bool step_mode = true;
    std::int32_t random_opacity = 0; // percent
    double random_factor = 0;        // the record's `opacity`, 0 to 100
    std::int32_t clone = 0;
    std::int32_t count = 1;
    double steps = 1; // D
};
std::uint8_t OpacityByte(const CloneOpacity& o);

} // namespace plurion
