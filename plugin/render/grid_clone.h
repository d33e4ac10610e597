// The arrangement of "Grid" clones: cells visited row by row about "Position", offsets that grow
// with the column and the row apart (so "Offset Position" shears the grid and "Offset Rotation"
// leaves the first row and column alone), and one matrix per cell: grid clones are not blurred.
// Pure functions of the plan, for the compositor and its tests.
#pragma once

#include "layout/clone_plan.h"
#include "params/param_index.h"
#include "render/compositor.h"
#include "render/downsample.h"
#include "render/matrices.h"

#include <cstddef>
#include <cstdint>

namespace plurion {

struct GridCell {
    std::int32_t row = 0;
    std::int32_t col = 0;
};

// The random record of a cell's position, rotation, scale and opacity. Its time and its
// "Random" layer come from the record of its cell number instead.
inline std::size_t GridRandomRecord(GridCell cell) {
    return static_cast<std::size_t>(cell.row + 1) * static_cast<std::size_t>(cell.col + 1);
}

// The transform of one cell, from the shutter-open values.
CloneTransform GridCloneTransform(const ParamPairs& params, const CloneRandom& record,
                                  GridCell cell, double source_width, double source_height,
                                  double layer_rotation, Downsample downsample);

// The opacity byte of one cell: hidden layers 0, 255 without any opacity offset or randomness,
// else the product of the column, row and random factors times 250, held to the byte.
std::uint8_t GridOpacityByte(const ParamPairs& params, const CloneRandom& record, GridCell cell,
                             bool displayed);

// Which of a layer's `images` time-shifted images a cell shows: by the random time factor of
// its cell number when "Random Time" is above 0, else by its column and row weighted by the two
// time offsets.
std::int32_t GridTimeShiftedIndex(const ParamPairs& params, GridCell cell, std::size_t images,
                                  std::uint32_t time_a);

PF_Err CompositeGrid(CompositeArgs& args);

} // namespace plurion
