// Where the path layout puts the clones: hand-made path tables with lengths chosen so that every
// position, segment and in-segment length below is worked out by hand from the placement rules;
// then path sampling through the host's path suites (points, downsampling, a mask of one vertex,
// failures of every path call with everything given back) and the time-offset images.
#include "layout/clone_random.h"
#include "layout/path_layout.h"
#include "support/mask_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace plurion {
namespace {

// A table of paths given by their segment lengths; a path without lengths has no outline.
struct PathLengths {
    bool open = true;
    std::vector<double> lengths;
};
PathTable TableOf(const std::vector<PathLengths>& paths) {
    PathTable table;
    for (const PathLengths& path : paths) {
        table.paths.emplace_back();
        table.paths.back().open = path.open ? 1 : 0;
        if (!path.lengths.empty()) {
            // Only its being set matters here; no host is asked.
            table.paths.back().outline = reinterpret_cast<PF_PathOutlinePtr>(&table);
        }
        for (const double length : path.lengths) {
            AddSegment(table, nullptr, length);
        }
    }
    return table;
}

PathSettings Settings(std::int32_t distribution, bool per_segment = false) {
    PathSettings s;
    s.distribution = distribution;
    s.per_segment = per_segment;
    return s;
}

// Path, segment and in-segment length of each placement of a list.
struct Spot {
    std::int32_t path;
    std::int32_t segment;
    double length;
};
void ExpectSpots(const std::vector<PathSpot>& spots, const std::vector<Spot>& expected,
                 const std::string& what) {
    ASSERT_EQ(spots.size(), expected.size()) << what;
    for (std::size_t i = 0; i < spots.size(); ++i) {
        EXPECT_EQ(spots[i].on_path, expected[i].path) << what << " clone " << i;
        EXPECT_EQ(spots[i].clone.path, expected[i].path) << what << " clone " << i;
        EXPECT_EQ(spots[i].clone.segment, expected[i].segment) << what << " clone " << i;
        EXPECT_NEAR(spots[i].segment_length, expected[i].length, 1e-9) << what << " clone " << i;
    }
}

const std::vector<CloneRandom> kNoRandoms;

TEST(PathPlacement, CountSpreadsFromStartToEndOverAllPaths) {
    // Two paths of 100 + 50 and 200 pixels: T = 350.
    const PathTable table = TableOf({{true, {100, 50}}, {true, {200}}});
    PathSettings s = Settings(kByCount);
    s.count = 3;
    // p = 0, 175, 350: the middle one on path 1, 25 into it; the last one, at T, is outside the
    // range but "Count" keeps it.
    PathSpots spots = PlacePathClones(s, table, kNoRandoms, 1);
    ExpectSpots(spots.combined, {{0, 0, 0}, {1, 0, 25}, {1, 0, 200}}, "count 3");
    EXPECT_EQ(spots.combined[2].clone.skip, 1);
    EXPECT_EQ(spots.combined[1].clone.skip, 0);
    EXPECT_EQ(spots.combined[1].clone.segmentCount, 2); // path 0's, in the combined list
    EXPECT_EQ(spots.combined[1].clone.pastHalf, 0);
    ASSERT_EQ(spots.by_path.size(), 2u);
    EXPECT_TRUE(spots.by_path[0].empty());

    // Count 1 puts its clone at "Start", with or without "Loop".
    s.count = 1;
    s.start = 0.2;
    s.end = 0.8;
    ExpectSpots(PlacePathClones(s, table, kNoRandoms, 1).combined, {{0, 0, 70}}, "count 1");
    s.loop = true;
    ExpectSpots(PlacePathClones(s, table, kNoRandoms, 1).combined, {{0, 0, 70}}, "count 1 loop");

    // Four clones over 20 % to 80 %: steps of 0.6 / 3 of T without "Loop" (the last at "End"),
    // of 0.6 / 4 with it (so the first and last do not meet on a closed path).
    s.count = 4;
    s.loop = false;
    ExpectSpots(PlacePathClones(s, table, kNoRandoms, 1).combined,
                {{0, 0, 70}, {0, 1, 40}, {1, 0, 60}, {1, 0, 130}}, "count 4");
    s.loop = true;
    ExpectSpots(PlacePathClones(s, table, kNoRandoms, 1).combined,
                {{0, 0, 70}, {0, 1, 22.5}, {1, 0, 25}, {1, 0, 77.5}}, "count 4 loop");

    // "Start" = "End": every clone on the same spot, kept.
    s.loop = false;
    s.start = s.end = 0.5;
    ExpectSpots(PlacePathClones(s, table, kNoRandoms, 1).combined,
                {{1, 0, 25}, {1, 0, 25}, {1, 0, 25}, {1, 0, 25}}, "start = end");

    // At a downsample of 2 the host measures half lengths: the table holds full-size ones and
    // the length handed back is halved.
    s.start = 0;
    s.end = 1;
    ExpectSpots(PlacePathClones(s, table, kNoRandoms, 2).combined,
                {{0, 0, 0}, {0, 1, 50.0 / 6}, {1, 0, 250.0 / 6}, {1, 0, 100}},
                "count 4 downsampled");
}

TEST(PathPlacement, LoopWrapsNegativePositionsAndOffsetMovesClones) {
    const PathTable table = TableOf({{true, {100, 50}}, {true, {200}}});
    PathSettings s = Settings(kByCount);
    s.count = 2;
    s.loop = true;
    // "Offset" -90 degrees: O' = -250; p = -250 and -75 wrap to 100 and 275.
    s.offset = -90.0 / 360 * 1000;
    ExpectSpots(PlacePathClones(s, table, kNoRandoms, 1).combined, {{0, 0, 100}, {1, 0, 125}},
                "negative wrap");

    // "Distance", one path of 1500: every 100 pixels from 0 to 1400 (1500 is the exclusive end);
    // "Offset" 360 degrees moves each by 1000 and drops those that pass the end.
    const PathTable line = TableOf({{true, {1500}}});
    PathSettings d = Settings(kByDistance, true);
    d.spacing = 100;
    PathSpots spots = PlacePathClones(d, line, kNoRandoms, 1);
    ASSERT_EQ(spots.by_path[0].size(), 15u);
    EXPECT_NEAR(spots.by_path[0][14].segment_length, 1400, 1e-9);
    d.offset = 360.0 / 360 * 1000;
    spots = PlacePathClones(d, line, kNoRandoms, 1);
    ExpectSpots(spots.by_path[0],
                {{0, 0, 1000}, {0, 0, 1100}, {0, 0, 1200}, {0, 0, 1300}, {0, 0, 1400}},
                "offset 360");
    EXPECT_TRUE(spots.combined.empty());

    // "Start" = "End" = 0 without a random shift: the only candidate, at O' = 0, is at the
    // exclusive end and is dropped.
    d.offset = 0;
    d.start = d.end = 0;
    EXPECT_TRUE(PlacePathClones(d, line, kNoRandoms, 1).by_path[0].empty());
}

TEST(PathPlacement, PerPathHalvesAndTheRandomShift) {
    // Per path the reference length is the path's own: 200, so p = 0, 100, 200.
    const PathTable table = TableOf({{true, {120, 80}}});
    PathSettings s = Settings(kByCount, true);
    s.count = 3;
    PathSpots spots = PlacePathClones(s, table, kNoRandoms, 1);
    ExpectSpots(spots.by_path[0], {{0, 0, 0}, {0, 0, 100}, {0, 1, 80}}, "per path");
    EXPECT_EQ(spots.by_path[0][0].clone.beforeHalf, 1);
    EXPECT_EQ(spots.by_path[0][0].clone.pastHalf, 0);
    EXPECT_EQ(spots.by_path[0][1].clone.beforeHalf, 0);
    EXPECT_EQ(spots.by_path[0][1].clone.pastHalf, 0);
    EXPECT_EQ(spots.by_path[0][2].clone.pastHalf, 1);
    EXPECT_TRUE(spots.combined.empty());

    // Clone 1 of path 0 reads record (1 + 1) x (0 + 1) = 2: rho 50 at "Random Offset" 40 shifts
    // it back by 200 x (50 x 40 / 100) / 100 = 40 pixels.
    std::vector<CloneRandom> randoms(kRandomTableSize);
    randoms[2].path_offset = 50;
    s.random_offset = 40;
    spots = PlacePathClones(s, table, randoms, 1);
    ExpectSpots(spots.by_path[0], {{0, 0, 0}, {0, 0, 60}, {0, 1, 80}}, "random shift");
    // Past the table the records wrap around.
    EXPECT_EQ(&PathRecord(randoms, kRandomTableSize + 2), &randoms[2]);
}

TEST(PathPlacement, VerticesAndPathsWithoutOutlines) {
    // An open path of two vertices (one segment), one of three (two segments), a closed one of
    // three (three segments), and a path the host gave no outline.
    const PathTable table =
        TableOf({{true, {10}}, {true, {10, 10}}, {false, {10, 10, 10}}, {true, {}}});
    PathSpots spots = PlacePathClones(Settings(kByVertex, true), table, kNoRandoms, 1);
    const auto vertices = [](const std::vector<PathSpot>& list) {
        std::vector<std::int32_t> out;
        for (const PathSpot& spot : list) {
            out.push_back(spot.vertex);
        }
        return out;
    };
    EXPECT_EQ(vertices(spots.by_path[0]), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(vertices(spots.by_path[1]), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(vertices(spots.by_path[2]), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_TRUE(spots.by_path[3].empty());
    EXPECT_EQ(spots.by_path[1][2].clone.path, 1);
    EXPECT_EQ(spots.by_path[1][2].clone.pastHalf, 0);
    // Over all paths each gives as many vertices as it has segments.
    spots = PlacePathClones(Settings(kByVertex), table, kNoRandoms, 1);
    EXPECT_EQ(vertices(spots.combined), (std::vector<std::int32_t>{0, 0, 1, 0, 1, 2}));
    EXPECT_EQ(spots.combined[5].clone.path, 2);

    // The combined search passes over paths without segments: T = 150 over paths 1 and 3,
    // so p = 0, 75, 150 land on path 1, path 1 and the end of path 3.
    const PathTable gaps = TableOf({{true, {}}, {true, {100}}, {true, {}}, {true, {50}}});
    PathSettings s = Settings(kByCount);
    s.count = 3;
    ExpectSpots(PlacePathClones(s, gaps, kNoRandoms, 1).combined,
                {{1, 0, 0}, {1, 0, 75}, {3, 0, 50}}, "gaps");
    // Per path, a path without segments has no clones; none at all when no path has one.
    s.per_segment = true;
    spots = PlacePathClones(s, gaps, kNoRandoms, 1);
    EXPECT_TRUE(spots.by_path[0].empty());
    EXPECT_EQ(spots.by_path[3].size(), 3u);
    s.per_segment = false;
    EXPECT_TRUE(PlacePathClones(s, TableOf({{true, {}}}), kNoRandoms, 1).combined.empty());
}

// A plan sampled through the host's path suites.
struct Sampled {
    PF_Err err = PF_Err_NONE;
    ClonePlan plan;
    std::vector<std::string> leaks;
};

Sampled Sample(std::vector<host::paths::PathShape> shapes,
               const std::function<void(ParamPairs&)>& settings, int downsample = 1,
               const std::function<void(host::FaultInjector&)>& faults = {}) {
    Sampled out;
    out.plan.randoms.resize(kRandomTableSize);
    ParamPairs& p = out.plan.params;
    for (int member = 0; member < 2; ++member) {
        p.set<param::path::kCloneDistance>(member, 10);
        p.set<param::path::kEnd>(member, 100);
    }
    settings(p);
    test::MaskHost host(std::move(shapes), downsample);
    if (faults) {
        faults(host.faults);
    }
    out.err = SamplePaths(out.plan, host.in, 0);
    host.faults.clear();
    SamplePaths(out.plan, host.in, 1);
    out.leaks = host.services().paths.leaks();
    return out;
}

TEST(PathSampling, PointsComeFromTheHostsPaths) {
    using test::Polygon;
    // A line of 200 pixels served at half size: "Distance" 50 still means 50 full-size pixels,
    // so the clones sit at 0, 50, 100 and 150 of it, at half the coordinates.
    Sampled s = Sample(
        {Polygon({{0, 10}, {100, 10}}, false)},
        [](ParamPairs& p) {
            p.set<param::path::kDistribution>(0, kByDistance);
            p.set<param::path::kCloneDistance>(0, 5);
        },
        2);
    ASSERT_EQ(s.err, PF_Err_NONE);
    ASSERT_EQ(s.plan.path_clones[0].size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(s.plan.path_clones[0][k].x, 25.0 * k, 1e-9);
        EXPECT_NEAR(s.plan.path_clones[0][k].y, 10, 1e-9);
        EXPECT_NEAR(s.plan.path_clones[0][k].dx, 1, 1e-12);
    }
    EXPECT_EQ(s.plan.path_clones[1].size(), 2u); // sample 1 keeps 10 x 10 = 100 pixels
    EXPECT_EQ(s.plan.path_count, 1);
    EXPECT_EQ(s.plan.path_open, (std::vector<std::uint8_t>{1}));
    EXPECT_TRUE(s.leaks.empty());

    // A mask of one vertex is one segment of no length: "Count" puts every clone on it.
    s = Sample({Polygon({{30, 40}}, true)}, [](ParamPairs& p) {
        p.set<param::path::kDistribution>(0, kByCount);
        p.set<param::path::kCount>(0, 3);
        p.set<param::path::kPerSegment>(0, 1);
    });
    ASSERT_EQ(s.plan.path_clones_by_path[0].size(), 1u);
    ASSERT_EQ(s.plan.path_clones_by_path[0][0].size(), 3u);
    EXPECT_EQ(s.plan.path_clones_by_path[0][0][2].x, 30);
    EXPECT_EQ(s.plan.path_clones_by_path[0][0][2].y, 40);
    EXPECT_TRUE(s.plan.path_clones[0].empty());

    // No mask: no lists, no paths.
    s = Sample({}, [](ParamPairs&) {});
    EXPECT_EQ(s.plan.path_count, 0);
    EXPECT_TRUE(s.plan.path_clones[0].empty());
}

TEST(PathSampling, EveryFailingPathCallStillGivesEverythingBack) {
    using test::Polygon;
    const std::vector<host::paths::PathShape> shapes = {
        Polygon({{0, 0}, {100, 0}, {100, 100}}, false), Polygon({{0, 0}, {50, 0}}, false),
        Polygon({{10, 10}, {20, 10}, {20, 20}}, true)};
    for (const char* function : test::kPathSamplingFunctions) {
        for (const int nth : {1, 2, 3}) { // every function but the first is called 3 times or more
            const Sampled s = Sample(
                shapes,
                [](ParamPairs& p) {
                    p.set<param::path::kDistribution>(0, kByCount);
                    p.set<param::path::kCount>(0, 4);
                },
                1, [&](host::FaultInjector& faults) { faults.fail(function, nth, 77); });
            const bool reached = !(std::string(function) == "PF_NumPaths" && nth > 1);
            EXPECT_EQ(s.err, reached ? 77 : PF_Err_NONE) << function << " call " << nth;
            EXPECT_TRUE(s.leaks.empty()) << function << " call " << nth << ": " << s.leaks.front();
        }
    }
}

TEST(PathTimeShift, IdsNameThePathWithPerSegmentDistance) {
    ClonePlan plan;
    plan.randoms.resize(kRandomTableSize);
    plan.path_clones_by_path[0] = {std::vector<PathClone>(3), std::vector<PathClone>(1)};
    plan.path_clones[0] = std::vector<PathClone>(2);
    ParamPairs& p = plan.params;
    p.set<param::path::kPerSegment>(0, 1);
    p.set<param::path::kDistribution>(0, kByDistance);
    p.set<param::path::kOffsetTime>(0, 4);
    // Path 0: offsets 4 / 2 x c = 0, 2, 4; path 1 has one clone, offset 0. Joined ids: frame + 1,
    // "98", layer + 1, path + 1.
    std::vector<ShiftedImage> images = PathShiftedImages(plan, 1, {1000, 100});
    ASSERT_EQ(images.size(), 4u);
    const std::int32_t ids[] = {19811, 39811, 59811, 19812};
    const A_long times[] = {1000, 1200, 1400, 1000};
    const std::int32_t paths[] = {0, 0, 0, 1};
    for (std::size_t n = 0; n < 4; ++n) {
        EXPECT_EQ(images[n].id, ids[n]);
        EXPECT_EQ(images[n].time, times[n]);
        EXPECT_EQ(images[n].path, paths[n]);
    }
    // "Count" per path uses the plain form, so path 1's image is path 0's first one again.
    p.set<param::path::kDistribution>(0, kByCount);
    images = PathShiftedImages(plan, 2, {1000, 100});
    ASSERT_EQ(images.size(), 6u);
    EXPECT_EQ(images[0].id, 1981);
    EXPECT_EQ(images[1].id, 2981);
    EXPECT_EQ(images[5].id, 2985);
    // Over all paths: the combined list, path 0; a random time of 3 frames from record c's
    // factor 7500 adds 2 (truncated) to clone 0.
    p.set<param::path::kPerSegment>(0, 0);
    p.set<param::path::kRandomTime>(0, 3);
    plan.randoms[0].time_a = 7500;
    images = PathShiftedImages(plan, 1, {1000, 100});
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].id, 1983);
    EXPECT_EQ(images[1].id, 1985); // 4 / 1 x 1 + 0
}

} // namespace
} // namespace plurion
