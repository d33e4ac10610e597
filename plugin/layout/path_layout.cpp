#include "layout/path_layout.h"

#include "entry/error_chain.h"
#include "entry/suite_handler.h"
#include "layout/checkout_id.h"
#include "layout/truncate.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace plurion {
namespace {

// The host measures each segment with a table of this many samples.
constexpr A_long kLengthSamples = 100;
// A bound on one list, against paths of absurd length; the parameter ranges and any real mask
// stay far below it.
constexpr std::int64_t kMostPlacements = 1000000;

struct SegmentFound {
    std::int32_t path = -1; // -1: no path has a segment
    std::int32_t segment = 0;
    double end = 0; // the cumulative length at the segment's end
};

// Per path: the first segment whose end is at or past p, else the last.
SegmentFound FindOnPath(const MeasuredPath& path, std::int32_t index, double p) {
    const std::int32_t n = path.segment_count();
    if (n == 0) {
        return {};
    }
    std::int32_t s = 0;
    while (s < n - 1 && p > path.ends[static_cast<std::size_t>(s)]) {
        ++s;
    }
    return {index, s, path.ends[static_cast<std::size_t>(s)]};
}

// Over all paths in sequence: the first segment of any path whose end is at or past p, else the
// last segment of the last path that has one. Paths without segments are passed over.
SegmentFound FindAcross(const PathTable& table, double p) {
    SegmentFound found;
    for (std::size_t i = 0; i < table.paths.size(); ++i) {
        const MeasuredPath& path = table.paths[i];
        for (std::size_t s = 0; s < path.ends_across.size(); ++s) {
            found = {static_cast<std::int32_t>(i), static_cast<std::int32_t>(s),
                     path.ends_across[s]};
            if (!(p > path.ends_across[s])) {
                return found;
            }
        }
    }
    return found;
}

// Clone k of path i ("Distance" and "Count"); `count` is "Count" in "Count" mode, 0 otherwise.
PathSpot LocateClone(std::int32_t k, std::int32_t i, std::int32_t count, const PathSettings& set,
                     const PathTable& table, const std::vector<CloneRandom>& randoms,
                     std::int32_t downsample) {
    const MeasuredPath& own = table.paths[static_cast<std::size_t>(i)];
    const double reference = set.per_segment ? own.length() : table.total; // the reference length
    const double rho =
        PathRecord(randoms, (std::int64_t{k} + 1) * (std::int64_t{i} + 1)).path_offset;
    const double shift = reference * (rho * set.random_offset / 100) / 100;
    const double steps = set.loop ? count : (count == 1 ? 1 : count - 1.0);
    double p =
        set.distribution == kByCount
            ? (k * (set.end - set.start) / steps + set.start) * reference - shift + set.offset
            : k * set.spacing - shift + set.offset;
    if (set.loop && reference > 0) {
        // Into [0, reference): the remainder keeps p's sign, so a negative one goes round once.
        p = std::fmod(p, reference);
        if (p < 0) {
            p += reference;
        }
    }
    const SegmentFound found = set.per_segment ? FindOnPath(own, i, p) : FindAcross(table, p);
    PathSpot spot;
    spot.on_path = found.path;
    if (found.path < 0) {
        return spot;
    }
    const MeasuredPath& holder = table.paths[static_cast<std::size_t>(found.path)];
    const double segment_length = holder.lengths[static_cast<std::size_t>(found.segment)];
    spot.segment_length = (p - (found.end - segment_length)) / downsample;
    spot.clone.segment = found.segment;
    spot.clone.segmentCount = own.segment_count();
    // The combined lists name the path found; a per-path list's path is its own.
    spot.clone.path = found.path;
    if (!set.loop) {
        // The end of the visible range is exclusive.
        spot.clone.skip =
            p * (set.end - set.start) < 0 || p >= set.end * reference + set.offset || p >= reference
                ? 1
                : 0;
    }
    if (set.per_segment) {
        spot.clone.pastHalf = p > reference / 2 ? 1 : 0;
        spot.clone.beforeHalf = p < reference / 2 ? 1 : 0;
    }
    return spot;
}

// Vertex k of path i: the host gives the point; no direction, never skipped. Its explicit
// fields: the path, the vertex as its segment, and neither half.
PathSpot VertexSpot(std::int32_t k, std::int32_t i, const PathTable& table) {
    PathSpot spot;
    spot.on_path = i;
    spot.vertex = k;
    spot.clone.path = i;
    spot.clone.segment = k;
    spot.clone.segmentCount = table.paths[static_cast<std::size_t>(i)].segment_count();
    return spot;
}

// Clones k = first .. last of path i, in order; "Distance" drops the skipped ones.
void PlaceRun(std::int64_t first, std::int64_t last, std::int32_t i, std::int32_t count,
              const PathSettings& set, const PathTable& table,
              const std::vector<CloneRandom>& randoms, std::int32_t downsample,
              std::vector<PathSpot>& into) {
    last = std::min(last, first + kMostPlacements - 1);
    for (std::int64_t k = first; k <= last; ++k) {
        const PathSpot spot =
            LocateClone(static_cast<std::int32_t>(k), i, count, set, table, randoms, downsample);
        if (spot.on_path >= 0 && !(set.distribution == kByDistance && spot.clone.skip == 1)) {
            into.push_back(spot);
        }
    }
}

// "Distance": clones trunc(N S) to trunc(N E) with N = length / D.
void PlaceByDistance(double length, std::int32_t i, const PathSettings& set, const PathTable& table,
                     const std::vector<CloneRandom>& randoms, std::int32_t downsample,
                     std::vector<PathSpot>& into) {
    if (!(set.spacing > 0)) {
        return;
    }
    const double n = length / set.spacing;
    PlaceRun(TruncateToInt32(n * set.start), TruncateToInt32(n * set.end), i, 0, set, table,
             randoms, downsample, into);
}

void PlaceVertices(std::int32_t i, std::int32_t vertices, const PathTable& table,
                   std::vector<PathSpot>& into) {
    for (std::int32_t k = 0; k < vertices; ++k) {
        into.push_back(VertexSpot(k, i, table));
    }
}

} // namespace

void AddSegment(PathTable& table, PF_PathSegPrepPtr preparation, double length) {
    MeasuredPath& path = table.paths.back();
    path.preparations.push_back(preparation);
    path.lengths.push_back(length);
    path.ends.push_back(path.length() + length);
    table.total += length;
    path.ends_across.push_back(table.total);
}

PathSettings PathSettingsOf(const ParamPairs& p, int sample) {
    namespace path = param::path;
    PathSettings s;
    s.distribution = p.get<path::kDistribution>(0);
    s.spacing = p.get<path::kCloneDistance>(sample) * 10;
    s.count = p.get<path::kCount>(0);
    s.offset = p.get<path::kOffset>(sample) / 360 * 1000;
    s.start = p.get<path::kStart>(sample) / 100;
    s.end = p.get<path::kEnd>(sample) / 100;
    s.per_segment = p.get<path::kPerSegment>(0) == 1;
    s.loop = p.get<path::kLoop>(0) == 1;
    s.random_offset = p.get<path::kRandomOffset>(0);
    return s;
}

const CloneRandom& PathRecord(const std::vector<CloneRandom>& randoms, std::int64_t n) {
    static const CloneRandom kZeroRecord{};
    if (randoms.empty() || n < 0) {
        return kZeroRecord;
    }
    return randoms[static_cast<std::size_t>(n % static_cast<std::int64_t>(randoms.size()))];
}

std::int64_t LastPlacementRecord(const PathSettings& set, const PathTable& table) {
    const auto path_count = static_cast<std::int64_t>(table.paths.size());
    const auto everything = static_cast<std::int64_t>(kRandomTableSize) - 1;
    // The last clone k that PlaceRun reaches on a run from first to last.
    const auto last_clone = [](std::int64_t first, std::int64_t last) {
        return std::min(last, first + kMostPlacements - 1);
    };
    std::int64_t largest = -1;
    const auto reads = [&](std::int64_t k, std::int64_t i) {
        // PlaceRun visits k from its first clone on, so (k + 1)(i + 1) grows to its last.
        if (k >= 0) {
            largest = std::max(largest, (k + 1) * (i + 1));
        }
    };
    if (path_count < 1) {
        return -1;
    }
    switch (set.distribution) {
    case kByCount:
        for (std::int64_t i = 0; i < (set.per_segment ? path_count : 1); ++i) {
            reads(last_clone(0, std::int64_t{set.count} - 1), i);
        }
        break;
    case kByDistance:
        if (!(set.spacing > 0)) {
            return -1;
        }
        for (std::int64_t i = 0; i < (set.per_segment ? path_count : 1); ++i) {
            const double length =
                set.per_segment ? table.paths[static_cast<std::size_t>(i)].length() : table.total;
            const double n = length / set.spacing;
            const std::int64_t first = TruncateToInt32(n * set.start);
            const std::int64_t last = TruncateToInt32(n * set.end);
            if (last >= first) {
                reads(last_clone(first, last), i);
            }
        }
        break;
    default:
        break; // vertices read no record
    }
    return largest > everything ? everything : largest;
}

PathSpots PlacePathClones(const PathSettings& set, const PathTable& table,
                          const std::vector<CloneRandom>& randoms, std::int32_t downsample) {
    PathSpots spots;
    const auto path_count = static_cast<std::int32_t>(table.paths.size());
    spots.by_path.resize(table.paths.size());
    if (path_count < 1) {
        return spots;
    }
    for (std::int32_t i = 0; i < path_count; ++i) {
        const MeasuredPath& path = table.paths[static_cast<std::size_t>(i)];
        std::vector<PathSpot>& own = spots.by_path[static_cast<std::size_t>(i)];
        switch (set.distribution) {
        case kByDistance:
            if (set.per_segment) {
                PlaceByDistance(path.length(), i, set, table, randoms, downsample, own);
            } else if (i == 0) {
                PlaceByDistance(table.total, 0, set, table, randoms, downsample, spots.combined);
            }
            break;
        case kByCount:
            if (set.per_segment) {
                PlaceRun(0, std::int64_t{set.count} - 1, i, set.count, set, table, randoms,
                         downsample, own);
            } else if (i == 0) {
                PlaceRun(0, std::int64_t{set.count} - 1, 0, set.count, set, table, randoms,
                         downsample, spots.combined);
            }
            break;
        case kByVertex: {
            const std::int32_t n = path.segment_count();
            if (set.per_segment) {
                // An open path of two or more segments also has its last vertex.
                PlaceVertices(i, path.open == 1 && n > 1 ? n + 1 : n, table, own);
            } else {
                PlaceVertices(i, n, table, spots.combined);
            }
            break;
        }
        default:
            break;
        }
    }
    return spots;
}

namespace {

// The host's view of one sampling call: its suites and the error carried through it.
struct PathHost {
    const PF_InData& in;
    SuiteHandler& suites;
    ErrorChain& errors;
    std::int32_t downsample = 1;
};

// Queries every path in order. After the first failure no later path is queried (they get no
// segments), and later segments of the path being measured repeat the last length measured.
PathTable MeasurePaths(PathHost& host) {
    PathTable table;
    A_long count = 0;
    host.errors.then(
        [&] { return host.suites.PathQuerySuite1()->PF_NumPaths(host.in.effect_ref, &count); });
    if (count < 1) {
        return table;
    }
    // Both suites are had before anything is checked out, so a missing one leaves nothing out.
    const PF_PathQuerySuite1& query = *host.suites.PathQuerySuite1();
    const PF_PathDataSuite1& data = *host.suites.PathDataSuite1();
    const PF_ProgPtr ref = host.in.effect_ref;
    for (A_long i = 0; i < count; ++i) {
        table.paths.emplace_back();
        MeasuredPath& path = table.paths.back();
        if (!host.errors.ok()) {
            continue;
        }
        host.errors.then([&] { return query.PF_PathInfo(ref, i, &path.id); });
        host.errors.then([&] {
            return query.PF_CheckoutPath(ref, path.id, host.in.current_time, host.in.time_step,
                                         host.in.time_scale, &path.outline);
        });
        if (path.outline == nullptr) {
            continue;
        }
        PF_Boolean open = 0;
        host.errors.then([&] { return data.PF_PathIsOpen(ref, path.outline, &open); });
        path.open = open != 0 ? 1 : 0;
        A_long segments = 0;
        host.errors.then([&] { return data.PF_PathNumSegments(ref, path.outline, &segments); });
        // A path of one vertex still counts as one segment.
        segments = std::max<A_long>(segments, 1);
        double length = 0;
        for (A_long s = 0; s < segments; ++s) {
            PF_PathSegPrepPtr preparation = nullptr;
            host.errors.then([&] {
                return data.PF_PathPrepareSegLength(ref, path.outline, s, kLengthSamples,
                                                    &preparation);
            });
            PF_FpLong measured = 0;
            host.errors.then([&] {
                const PF_Err err =
                    data.PF_PathGetSegLength(ref, path.outline, s, &preparation, &measured);
                if (err == PF_Err_NONE) {
                    length = measured * host.downsample;
                }
                return err;
            });
            AddSegment(table, preparation, length);
        }
    }
    return table;
}

// The host's point (and direction) for each placement; one it cannot give is left out.
std::vector<PathClone> PointsOf(PathHost& host, const PathTable& table,
                                const std::vector<PathSpot>& spots) {
    std::vector<PathClone> clones;
    clones.reserve(spots.size());
    const PF_PathDataSuite1& data = *host.suites.PathDataSuite1();
    for (const PathSpot& spot : spots) {
        const MeasuredPath& path = table.paths[static_cast<std::size_t>(spot.on_path)];
        PathClone clone = spot.clone;
        PF_Err err = PF_Err_NONE;
        if (spot.vertex >= 0) {
            PF_PathVertex vertex{};
            err = data.PF_PathVertexInfo(host.in.effect_ref, path.outline, spot.vertex, &vertex);
            clone.x = vertex.x;
            clone.y = vertex.y;
        } else {
            PF_PathSegPrepPtr preparation =
                path.preparations[static_cast<std::size_t>(spot.clone.segment)];
            err = data.PF_PathEvalSegLengthDeriv1(host.in.effect_ref, path.outline, &preparation,
                                                  spot.clone.segment, spot.segment_length, &clone.x,
                                                  &clone.y, &clone.dx, &clone.dy);
        }
        host.errors.keep(err);
        if (err == PF_Err_NONE) {
            clones.push_back(clone);
        }
    }
    return clones;
}

// Gives back every preparation and every outline, whatever failed before; a failure here counts
// only when nothing failed earlier.
void ReleasePaths(PathHost& host, PathTable& table) {
    if (table.paths.empty()) {
        return;
    }
    const PF_ProgPtr ref = host.in.effect_ref;
    for (MeasuredPath& path : table.paths) {
        for (std::size_t s = 0; s < path.preparations.size(); ++s) {
            if (path.preparations[s] != nullptr) {
                host.errors.keep(host.suites.PathDataSuite1()->PF_PathCleanupSegLength(
                    ref, path.outline, static_cast<A_long>(s), &path.preparations[s]));
            }
        }
        if (path.outline != nullptr) {
            host.errors.keep(
                host.suites.PathQuerySuite1()->PF_CheckinPath(ref, path.id, false, path.outline));
        }
    }
}

} // namespace

PF_Err SamplePaths(ClonePlan& plan, const PF_InData& in_data, int sample,
                   RandomTableBuilder* builder) {
    SuiteHandler suites(in_data.pica_basicP);
    ErrorChain errors;
    PathHost host{
        in_data, suites, errors,
        in_data.downsample_x.den != 0 ? static_cast<std::int32_t>(in_data.downsample_x.den) : 1};
    PathTable table = MeasurePaths(host);
    const auto path_count = static_cast<std::int32_t>(table.paths.size());
    plan.path_count = path_count;
    plan.path_open.clear();
    for (const MeasuredPath& path : table.paths) {
        plan.path_open.push_back(path.open);
    }
    if (path_count >= 1) {
        const PathSettings settings = PathSettingsOf(plan.params, sample);
        if (builder != nullptr) {
            builder->BuildThrough(LastPlacementRecord(settings, table));
        }
        const PathSpots spots = PlacePathClones(settings, table, plan.randoms, host.downsample);
        const auto s = static_cast<std::size_t>(sample);
        plan.path_clones[s] = PointsOf(host, table, spots.combined);
        plan.path_clones_by_path[s].clear();
        for (const std::vector<PathSpot>& own : spots.by_path) {
            plan.path_clones_by_path[s].push_back(PointsOf(host, table, own));
        }
    }
    ReleasePaths(host, table);
    return errors.error();
}

std::vector<ShiftedImage> PathShiftedImages(const ClonePlan& plan, std::int32_t layer_count,
                                            FrameClock clock) {
    namespace path = param::path;
    const ParamPairs& p = plan.params;
    const bool per_segment = p.get<path::kPerSegment>(0) == 1;
    const CheckoutIdForm form = per_segment && p.get<path::kDistribution>(0) == kByDistance
                                    ? CheckoutIdForm::Joined
                                    : CheckoutIdForm::Plain;
    const std::int32_t offset_time = p.get<path::kOffsetTime>(0);
    const std::int32_t random_time = p.get<path::kRandomTime>(0);
    std::set<std::int32_t> seen;
    std::vector<ShiftedImage> images;
    const auto visit = [&](const std::vector<PathClone>& clones, std::int32_t path_index) {
        const auto m = static_cast<std::int32_t>(clones.size());
        const double steps = m == 1 ? 1 : m - 1.0;
        for (std::int32_t c = 0; c < m; ++c) {
            const double jitter = std::trunc(
                MultiplyInt32(PathRecord(plan.randoms, c).time_a, random_time) / 10000.0);
            const std::int32_t frames = TruncateToInt32(offset_time / steps * c + jitter);
            const A_long time = static_cast<A_long>(std::int64_t{clock.current_time} +
                                                    std::int64_t{clock.time_step} * frames);
            for (std::int32_t k = 0; k < layer_count; ++k) {
                const std::int32_t id = MakeCheckoutId(frames, k, path_index, form);
                if (seen.insert(id).second) {
                    images.push_back({id, k, time, path_index});
                }
            }
        }
    };
    if (per_segment) {
        const std::vector<std::vector<PathClone>>& lists = plan.path_clones_by_path[0];
        for (std::size_t i = 0; i < lists.size(); ++i) {
            visit(lists[i], static_cast<std::int32_t>(i));
        }
    } else {
        visit(plan.path_clones[0], 0);
    }
    return images;
}

PF_Err TimeShiftPath(const TimeShiftContext& context, ClonePlan& plan) {
    const std::vector<ShiftedImage> images =
        PathShiftedImages(plan, static_cast<std::int32_t>(plan.layer_slots.size()),
                          {context.in_data->current_time, context.in_data->time_step});
    const PF_Err err = RequestShiftedImages(context, plan, images);
    plan.time_checkout_paths.clear();
    for (const ShiftedImage& image : images) {
        plan.time_checkout_paths.push_back(image.path);
    }
    return err;
}

} // namespace plurion
