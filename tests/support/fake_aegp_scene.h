// A scene for the AEGP suites with facts written out by hand: a composition at 24 frames a
// second in the host's units (36000 a frame, 864000 a second), the effect's layer (id 3), a
// layer with id 1 that starts at frame 5 and lasts 10 frames, frame 13 being rendered, and three
// parameters besides the input: 1 a number, 2 a layer parameter holding layer 1, 3 a layer
// parameter holding none.
#pragma once

#include "suites/aegp_objects.h"

namespace plurion::test {

inline constexpr A_u_long kFakeScale = 864000;
inline constexpr A_long kFakeFrame = 36000;

inline constexpr A_Time FakeFrames(A_long frames) {
    return {frames * kFakeFrame, kFakeScale};
}

class FakeAegpScene final : public host::AegpScene {
  public:
    AEGP_LayerIDVal effect_layer_id() const override { return 3; }
    std::optional<LayerTimes> layer(AEGP_LayerIDVal id) const override {
        if (id == 3) {
            return LayerTimes{FakeFrames(0), FakeFrames(48)};
        }
        if (id == 1) {
            return LayerTimes{FakeFrames(layer_in_point), FakeFrames(layer_duration)};
        }
        return std::nullopt;
    }
    A_Time current_time() const override { return FakeFrames(13); }
    A_long param_count() const override { return 4; }
    std::optional<StreamAnswer> param_value(PF_ParamIndex index, const A_Time&) const override {
        StreamAnswer answer;
        switch (index) {
        case 1:
            answer.type = AEGP_StreamType_OneD;
            answer.value.one_d = 7;
            return answer;
        case 2:
        case 3:
            answer.type = AEGP_StreamType_LAYER_ID;
            answer.value.layer_id = index == 2 ? 1 : 0;
            return answer;
        default:
            return std::nullopt;
        }
    }

    A_long layer_in_point = 5;
    A_long layer_duration = 10;
};

} // namespace plurion::test
