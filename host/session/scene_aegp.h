// The scene as the AEGP suites see it during a frame. Layer ids follow the scene file: the
// layers of `layers` are 1, 2, ... in their order and the effect's own layer comes after them.
// Times are in the frame's time scale (36000 units a frame); a layer's in point and duration are
// those of the scene, and the effect's layer spans the whole composition.
#pragma once

#include "scene/param_registry.h"
#include "scene/scene.h"
#include "suites/aegp_objects.h"

namespace plurion::host {

class SceneAegp final : public AegpScene {
  public:
    SceneAegp(const Scene& scene, const ParamRegistry& params, double current_frame);

    // The AEGP id of a scene layer (an index into scene.layers, or kEffectLayerIndex).
    AEGP_LayerIDVal id_of(int layer) const;

    AEGP_LayerIDVal effect_layer_id() const override;
    std::optional<LayerTimes> layer(AEGP_LayerIDVal id) const override;
    A_Time current_time() const override;
    A_long param_count() const override;
    std::optional<StreamAnswer> param_value(PF_ParamIndex index, const A_Time& time) const override;

  private:
    A_Time at_frame(double frame) const;

    const Scene& scene_;
    const ParamRegistry& params_;
    double current_frame_;
};

} // namespace plurion::host
