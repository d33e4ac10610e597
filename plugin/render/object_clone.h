// The arrangement of "Object" clones: the "Matte Layer" sampled on a grid of cells, column by
// column, each cell's alpha or luma deciding whether it becomes a clone (or, in the time modes,
// which frame of the "Time Layer" it shows), how opaque it is and where it sits. Pure functions
// of the plan and the matte, for the compositor and its tests.
#pragma once

#include "layout/clone_plan.h"
#include "params/param_index.h"
#include "render/compositor.h"
#include "render/downsample.h"
#include "render/matrices.h"

#include <cstddef>
#include <cstdint>

namespace plurion {

// The depth the matte is read in, told by the output world's flags as the host sets them: none
// for 8 bits, PF_WorldFlag_DEEP with the first reserved bit for 16, the second reserved bit alone
// for float. Any other value is not read at all.
enum class MatteDepth { Bits8, Bits16, Float, Unknown };
MatteDepth MatteDepthOf(PF_WorldFlags output_flags);

// Full alpha at a depth: 255, 32768 or 1.
double FullAlpha(MatteDepth depth);

struct CellGrid {
    std::int32_t step = 1;    // pixels between cells, in both directions
    std::int32_t columns = 0; // whole cells across the matte
    std::int32_t rows = 0;    // whole cells down the matte
};

// The step is the mean of the output's width and height over "Resolution", at least 1; the
// counts are the matte's size in whole steps. The scan itself also visits a last partial cell.
CellGrid CellGridOf(const PF_EffectWorld& output, const PF_EffectWorld& matte, double resolution);

// A cell's values from the matte pixel at its top-left corner: alpha on the depth's own scale,
// luma from 0 to 1 (the weights 0.2126, 0.7152, 0.0722), each inverted when asked.
struct CellValues {
    double alpha = 0;
    double luma = 0;
};
CellValues ReadCell(const PF_EffectWorld& matte, MatteDepth depth, A_long x, A_long y,
                    bool invert_alpha, bool invert_luma);

// Clone numbers run 1, 2, ... 20000, then 0, 1, ... again; the record of a cell's random values
// is the number that follows its own, so the 20,001 records are used in a cycle.
inline std::int32_t NextCloneNumber(std::int32_t number) {
    return number < 20000 ? number + 1 : 0;
}

// The time frame a cell shows out of `frames`, for its alpha (as a fraction of full) in "Alpha -
// Time" or its luma in "Luma - Time": trunc(frames x value), the last frame when that falls
// outside the list (above it, or below 0).
std::int32_t TimeFrameIndex(const ParamPairs& params, std::size_t frames, CellValues cell,
                            MatteDepth depth);

// Whether a cell that has a source is drawn: always in the time modes; in "Alpha" when its alpha
// exceeds "Alpha Threshold" on the depth's scale; otherwise when its luma exceeds "Luma
// Threshold". A value equal to the threshold is not drawn.
bool CellDrawn(const ParamPairs& params, CellValues cell, MatteDepth depth);

// The opacity byte of a cell: 0 for a hidden layer outside the time modes; the luma x 255 with
// "Luma based Opacity" in "Luma" and "Luma - Time"; else 255 less the random share. Scaled to
// 255 (not 250 as the other types) and held to the byte.
std::uint8_t ObjectOpacityByte(const ParamPairs& params, const CloneRandom& record, bool displayed,
                               CellValues cell);

struct ObjectCell {
    std::int32_t column = 0;
    std::int32_t row = 0;
    CellGrid grid;
};

// Where a cell's clone sits relative to "Position" at shutter member `member`: its column and
// row from the middle of the grid plus its random share, divided by the downsample factor, times
// the spacing ("Scale" over "Resolution" of the mean of the layer's width and height, in
// percent).
PointValue ObjectCellPlace(const ParamPairs& params, int member, const CloneRandom& record,
                           ObjectCell cell, const PF_InData& in_data);

// The transform of a cell's clone at shutter member `member`. There are no offsets; the
// per-layer rotation is left out in the time modes.
CloneTransform ObjectCloneTransform(const ParamPairs& params, int member, const CloneRandom& record,
                                    ObjectCell cell, const PF_InData& in_data, double source_width,
                                    double source_height, double layer_rotation);

PF_Err CompositeObject(CompositeArgs& args);

} // namespace plurion
