// How far into the random table a frame reads, so that the pre-render builds no further. Each
// bound follows the record numbers its clone type's layout, time-shift pass and compositor use:
// "Linear" and "Radial" clone i reads record i and, for the "Random" order, i + 1; a "Grid"
// cell reads (row + 1)(column + 1) and its cell number, and the grid's time-shift pass
// (column + 1)(layer + 1) and (layer + 2)(row + 2); "Path" clone i of group k reads
// (k + 1)(i + 1), i and k + i, wrapping past the table's end; "Object" cycles through the whole
// table.
#pragma once

#include "layout/clone_plan.h"

#include <cstdint>

namespace plurion {

// The largest record number the frame reads, at most the table's last. For "Path" the plan's
// placement lists must be filled (path sampling reads its own records as it places).
std::int64_t LastRandomRecord(const ClonePlan& plan);

} // namespace plurion
