// The "Path" layout of the pre-render pass: path sampling measures every mask path of the
// effect's layer through the host's path suites and places the clones of one shutter sample on
// them ("Distance", "Count" or "Vertex", over all paths in sequence or per path); the
// time-offset pass requests the source images the clones' frame offsets need. Where the clones
// go is worked out apart from the host calls, so it can be tested.
//
// Lengths are in full-size pixels: the host measures the paths in the pixels of the frame it
// renders, so its lengths are multiplied by the downsample denominator, and a length handed back
// to it is divided again. "Clone Distance" and "Offset" thus keep their size at any resolution.
//
// Record numbers: (k + 1) x (i + 1) and the clone number can pass the 20,001 records of the
// random table with many paths or long ones; past the table they wrap around to its start.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectSuites.h"
#include "layout/clone_plan.h"
#include "layout/time_shift.h"

#include <cstdint>
#include <vector>

namespace plurion {

// One mask path as the host measured it at the start of a sampling call.
struct MeasuredPath {
    PF_PathID id = PF_PathID_NONE;
    PF_PathOutlinePtr outline = nullptr; // null: the path has no segments
    std::uint8_t open = 0;
    std::vector<PF_PathSegPrepPtr> preparations; // per segment; null where none was made
    std::vector<double> lengths;                 // l(s), full-size pixels
    std::vector<double> ends;                    // C(s): from the path's start to segment s's end
    std::vector<double> ends_across;             // A(s): the same from the first path's start

    std::int32_t segment_count() const { return static_cast<std::int32_t>(lengths.size()); }
    double length() const { return ends.empty() ? 0 : ends.back(); }
};

struct PathTable {
    std::vector<MeasuredPath> paths; // in the host's mask order
    double total = 0;                // T, every path's length
};

// Appends a segment to the last path of the table, keeping the sums.
void AddSegment(PathTable& table, PF_PathSegPrepPtr preparation, double length);

enum PathDistribution : std::int32_t { kByDistance = 1, kByCount = 2, kByVertex = 3 };

// The "Path Mode" values of one shutter sample's placements.
struct PathSettings {
    std::int32_t distribution = kByDistance; // sample 0
    double spacing = 100;                    // D = "Clone Distance" x 10, pixels
    std::int32_t count = 10;                 // "Count", sample 0
    double offset = 0;                       // O' = "Offset" / 360 x 1000, pixels
    double start = 0;                        // S = "Start" / 100
    double end = 1;                          // E = "End" / 100
    bool per_segment = false;                // sample 0
    bool loop = false;                       // sample 0
    double random_offset = 0;                // percent, sample 0
};
PathSettings PathSettingsOf(const ParamPairs& params, int sample);

// Record n of the random table, wrapping past its end.
const CloneRandom& PathRecord(const std::vector<CloneRandom>& randoms, std::int64_t n);

// A placement before the host gives its point: the fields of the clone that the layout sets,
// and where on which outline the host is to look.
struct PathSpot {
    PathClone clone;           // x, y, dx, dy still 0
    std::int32_t on_path = 0;  // the path whose outline holds the point
    std::int32_t vertex = -1;  // a vertex placement: the vertex; else -1
    double segment_length = 0; // else: the arc length into clone.segment, in host pixels
};

// The placements of one sample. Only the list that "Per Segment" uses is filled; by_path has
// one list per mask path either way. A placement that finds no segment on any path (every
// outline missing) is left out in every mode: there is no point for it.
struct PathSpots {
    std::vector<PathSpot> combined;
    std::vector<std::vector<PathSpot>> by_path;
};
PathSpots PlacePathClones(const PathSettings& settings, const PathTable& table,
                          const std::vector<CloneRandom>& randoms, std::int32_t downsample);

// The largest record number PlacePathClones reads for these settings and paths (through
// PathRecord, so a product past the table's end means every record); -1 when it reads none.
std::int64_t LastPlacementRecord(const PathSettings& settings, const PathTable& table);

// Path sampling for shutter sample `sample` (0 or 1): measures the paths at the current time,
// places the clones, asks the host for their points, replaces the sample's placement lists and
// sets path_count and path_open; gives every length preparation and outline back. Returns the
// first host error, which the pre-render does not look at. Throws PF_Err_BAD_CALLBACK_PARAM when
// a path suite cannot be had. With a builder, the random records the placement reads are built
// first; without one plan.randoms must already hold them.
PF_Err SamplePaths(ClonePlan& plan, const PF_InData& in_data, int sample,
                   RandomTableBuilder* builder = nullptr);

// The images that the path clones' frame offsets need, each id once, from the sample-0 lists:
// per path with "Per Segment" (in the joined id form, naming the path, when the distribution is
// "Distance"), else over the combined list.
std::vector<ShiftedImage> PathShiftedImages(const ClonePlan& plan, std::int32_t layer_count,
                                            FrameClock clock);

// Requests them and replaces time_checkout_ids, time_checkout_layers and time_checkout_paths.
PF_Err TimeShiftPath(const TimeShiftContext& context, ClonePlan& plan);

} // namespace plurion
