// The scene `plurion render` draws when no scene file is given: procedural layers only, so it
// needs no files.
#pragma once

namespace plurion::cli {

inline constexpr const char* kDemoSceneName = "demo";

inline constexpr const char* kDemoScene = R"json({
  "description": "Plurion demo: a row of stars and rings turning as it runs, over a gradient.",
  "composition": {"name": "demo", "width": 640, "height": 360, "fps": 24, "frames": 24,
                  "bpc": 8, "background": [0.07, 0.07, 0.09, 1],
                  "motion_blur": true, "shutter_angle": 180, "shutter_phase": -90},
  "layers": [
    {"name": "star", "width": 64, "height": 64, "in_point": 0, "duration": 26,
     "source": {"kind": "star", "color": [1, 0.75, 0.2, 1], "points": 5}},
    {"name": "ring", "width": 48, "height": 48, "in_point": 0, "duration": 26,
     "source": {"kind": "ellipse", "color": [0.3, 0.7, 1, 1]}},
    {"name": "count", "width": 80, "height": 64, "in_point": 0, "duration": 26,
     "source": {"kind": "counter", "color": [1, 1, 1, 1], "background": [0.5, 0.1, 0.3, 0.8]}}
  ],
  "effect_layer": {
    "source": {"kind": "gradient", "start_color": [0.1, 0.1, 0.18, 1],
               "end_color": [0.2, 0.12, 0.25, 1]}
  },
  "effect": {
    "Clone Type": "Linear",
    "Linear Mode/Count": 9,
    "Linear Mode/Clone Order": "Iterative",
    "Linear Mode/Transform/Local/Position": [320, 180],
    "Linear Mode/Offset/Clone Offset Mode": "Step",
    "Linear Mode/Offset/Offset Position": [60, 0],
    "Linear Mode/Offset/Offset Rotation": {"keys": [[0, 0], [23, 15]]},
    "Linear Mode/Offset/Offset Scale": 5,
    "Linear Mode/Offset/Offset Time": 2,
    "Linear Mode/Random/Random Position": [0, 30],
    "Linear Mode/Random/Random Seed": 7,
    "Layers/Selection/Layer 1": "star",
    "Layers/Selection/Layer 2": "ring",
    "Layers/Selection/Layer 3": "count"
  }
})json";

} // namespace plurion::cli
