// The "Grid" rectangle as the overlay sees it, in effect-layer pixels: its centre is the Grid
// group's local "Position" and its size "Size X" by "Size Y", the width turned from square
// pixels into layer pixels by the pixel aspect ratio. Two forms of it are used: the drawing box
// in 16.16 fixed point, and the coarser hit box in whole pixels that the cursor and the click
// test against.
#pragma once

#include "AE_Effect.h"

#include <array>

namespace plurion::overlay {

struct BoxParams {
    PF_FixedPoint center{}; // "Position", 16.16 layer pixels
    double size_x = 0.0;    // "Size X", square pixels
    double size_y = 0.0;    // "Size Y"
    PF_RationalScale pixel_aspect{1, 1};
};

// The values of the Grid box at the event's time, read from the params array.
BoxParams ReadBoxParams(const PF_InData& in_data, PF_ParamDef* params[]);

// Edges in 16.16 fixed point, each rounded half away from zero.
struct DrawingBox {
    PF_Fixed left = 0;
    PF_Fixed top = 0;
    PF_Fixed right = 0;
    PF_Fixed bottom = 0;
};

// Edges in whole pixels from the integer part of the centre, each truncated toward zero and
// kept in 16 bits as the host's short rectangles are.
struct HitBox {
    A_short left = 0;
    A_short top = 0;
    A_short right = 0;
    A_short bottom = 0;
};

enum Handle { kTopLeft, kTopRight, kBottomRight, kBottomLeft, kCenter, kHandleCount };

struct LayerPoint {
    A_long x = 0;
    A_long y = 0;
};

DrawingBox MakeDrawingBox(const BoxParams& box);
HitBox MakeHitBox(const BoxParams& box);

// The four corners and the centre, in Handle order; the centre by integer division.
std::array<LayerPoint, kHandleCount> HandlePoints(const HitBox& box);

} // namespace plurion::overlay
