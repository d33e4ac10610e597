// The scenes `plurion render` draws when no scene file is given: one part per clone type,
// procedural layers only, so they need no files. Each part chooses its clone type as a user
// does, with an edit, so that the effect's panel shows that type's group.
#pragma once

#include <array>

namespace plurion::cli {

struct DemoPart {
    const char* name;
    const char* scene;
};

inline constexpr std::array<DemoPart, 5> kDemoParts = {{
    {"linear", R"json({
  "description": "Plurion demo: a row of stars and rings turning as it runs, over a gradient.",
  "composition": {"name": "demo_linear", "width": 640, "height": 360, "fps": 24, "frames": 24,
                  "bpc": 8, "background": [0.07, 0.07, 0.09, 1],
                  "motion_blur": true, "shutter_angle": 180, "shutter_phase": -90,
                  "motion_blur_samples_per_frame": 16, "motion_blur_adaptive_limit": 64},
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
  },
  "edits": [{"Clone Type": "Linear"}]
})json"},
    {"radial", R"json({
  "description": "Plurion demo, radial part: a ring of bars and stars facing the centre, opening (eased in and out) and turning over the shot, with motion blur.",
  "composition": {"name": "demo_radial", "width": 640, "height": 360, "fps": 24, "frames": 24,
                  "bpc": 8, "background": [0.05, 0.05, 0.08, 1],
                  "motion_blur": true, "shutter_angle": 180, "shutter_phase": -90},
  "layers": [
    {"name": "bar", "width": 56, "height": 18,
     "source": {"kind": "rectangle", "color": [0.95, 0.8, 0.2, 1], "size": [52, 12]}},
    {"name": "star", "width": 40, "height": 40,
     "source": {"kind": "star", "color": [0.4, 0.8, 1, 1], "points": 5}}
  ],
  "effect": {
    "Radial Mode/Count": 16,
    "Radial Mode/Radius": 130,
    "Radial Mode/Look at Center": true,
    "Radial Mode/End Angle": {"keys": [{"frame": 0, "value": 180, "ease": "ease"},
                                       {"frame": 23, "value": 360, "ease": "ease"}]},
    "Radial Mode/Transform/Local/Position": [320, 180],
    "Radial Mode/Transform/Global/Rotation": {"keys": [[0, 0], [23, 60]]},
    "Radial Mode/Offset/Clone Offset Mode": "End",
    "Radial Mode/Offset/Offset Scale": 80,
    "Layers/Selection/Layer 1": "bar",
    "Layers/Selection/Layer 2": "star"
  },
  "edits": [{"Clone Type": "Radial"}]
})json"},
    {"grid", R"json({
  "description": "Plurion demo, grid part: a sheared grid whose cells turn by row times column and fade across, three sources in turn.",
  "composition": {"name": "demo_grid", "width": 640, "height": 360, "fps": 24, "frames": 24,
                  "bpc": 8, "background": [0.07, 0.07, 0.09, 1]},
  "layers": [
    {"name": "star", "width": 40, "height": 40,
     "source": {"kind": "star", "color": [1, 0.75, 0.2, 1], "points": 5}},
    {"name": "bar", "width": 40, "height": 14,
     "source": {"kind": "rectangle", "color": [0.3, 0.9, 0.5, 1], "size": [36, 10]}},
    {"name": "ball", "width": 32, "height": 32,
     "source": {"kind": "ellipse", "color": [0.3, 0.6, 1, 1]}}
  ],
  "effect": {
    "Grid Mode/Count X": 9,
    "Grid Mode/Count Y": 5,
    "Grid Mode/Size X": 60,
    "Grid Mode/Size Y": 56,
    "Grid Mode/Transform/Local/Position": [300, 180],
    "Grid Mode/Offset/Clone Offset Mode": "Step",
    "Grid Mode/Offset/Offset Position": [10, 4],
    "Grid Mode/Offset/Offset Rotation": {"keys": [[0, 0], [23, 10]]},
    "Grid Mode/Offset/Offset Opacity X": 8,
    "Layers/Selection/Layer 1": "star",
    "Layers/Selection/Layer 2": "bar",
    "Layers/Selection/Layer 3": "ball"
  },
  "edits": [{"Clone Type": "Grid"}]
})json"},
    {"path", R"json({
  "description": "Plurion demo, path part: stars and bars racing round a figure-eight mask, turned along it, with motion blur.",
  "composition": {"name": "demo_path", "width": 640, "height": 360, "fps": 24, "frames": 24,
                  "bpc": 8, "background": [0.06, 0.05, 0.09, 1],
                  "motion_blur": true, "shutter_angle": 180, "shutter_phase": -90},
  "layers": [
    {"name": "star", "width": 40, "height": 40,
     "source": {"kind": "star", "color": [1, 0.75, 0.2, 1], "points": 5}},
    {"name": "bar", "width": 40, "height": 14,
     "source": {"kind": "rectangle", "color": [0.35, 0.8, 1, 1], "size": [36, 10]}}
  ],
  "effect_layer": {
    "masks": [{"name": "Eight",
               "vertices": [[150, 180], [320, 180], [490, 180], [320, 180]],
               "in_tangents": [[0, 100], [-70, -70], [0, 100], [70, -70]],
               "out_tangents": [[0, -100], [70, 70], [0, -100], [-70, 70]]}]
  },
  "effect": {
    "Path Mode/Distribution": "Count",
    "Path Mode/Count": 16,
    "Path Mode/Loop": true,
    "Path Mode/Align Rotation to Path": true,
    "Path Mode/Offset": {"keys": [[0, 0], [23, 300]]},
    "Path Mode/Offset/Offset Scale": 60,
    "Layers/Selection/Layer 1": "star",
    "Layers/Selection/Layer 2": "bar"
  },
  "edits": [{"Clone Type": "Path"}]
})json"},
    {"object", R"json({
  "description": "Plurion demo, object part: a star matte rebuilt from dots and sparks on every cell it covers, each turned and sized at random, the whole turning slowly.",
  "composition": {"name": "demo_object", "width": 640, "height": 360, "fps": 24, "frames": 24,
                  "bpc": 8, "background": [0.06, 0.05, 0.09, 1]},
  "layers": [
    {"name": "star", "width": 640, "height": 360,
     "source": {"kind": "star", "color": [1, 1, 1, 1], "points": 5, "outer_radius": 165,
                "inner_radius": 72}},
    {"name": "dot", "width": 12, "height": 12,
     "source": {"kind": "ellipse", "color": [1, 0.62, 0.22, 1]}},
    {"name": "spark", "width": 16, "height": 16,
     "source": {"kind": "star", "color": [0.5, 0.85, 1, 1], "points": 4, "inner_radius": 2}}
  ],
  "effect": {
    "Object Mode/Based on": "Alpha",
    "Object Mode/Matte Layer": "star",
    "Object Mode/Clone Order": "Random",
    "Object Mode/Resolution": 55,
    "Object Mode/Alpha Threshold": 0.1,
    "Object Mode/Transform/Global/Rotation": {"keys": [[0, -8], [23, 8]]},
    "Object Mode/Random/Random Rotation": 180,
    "Object Mode/Random/Random Scale": 50,
    "Object Mode/Random/Random Seed": 11,
    "Layers/Selection/Layer 1": "dot",
    "Layers/Selection/Layer 2": "spark"
  },
  "edits": [{"Clone Type": "Object"}]
})json"},
}};

} // namespace plurion::cli
