// The random table is built only as far as a frame reads it: the bound of each clone type worked
// by hand, the partial table against the whole one, and frames whose clones read the last record
// their bound allows.
#include "layout/clone_random.h"
#include "layout/path_layout.h"
#include "layout/random_records.h"
#include "params/param_index.h"
#include "render_frame_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace plurion {
namespace {

using test::FrameResult;
using test::json;

ClonePlan PlanOf(std::int32_t clone_type, std::size_t layers) {
    ClonePlan plan;
    for (int member = 0; member < 2; ++member) {
        plan.params.set<param::kCloneType>(member, clone_type);
    }
    plan.layer_slots.resize(layers);
    return plan;
}

TEST(RandomRecords, EachCloneTypeReadsUpToItsLastRecord) {
    ClonePlan linear = PlanOf(param::kLinear, 2);
    linear.params.set<param::linear::kCount>(0, 10);
    EXPECT_EQ(LastRandomRecord(linear), 10); // clone 9 reads record 10 for its "Random" layer
    linear.params.set<param::linear::kCount>(0, 10000);
    EXPECT_EQ(LastRandomRecord(linear), 10000);

    ClonePlan radial = PlanOf(param::kRadial, 1);
    radial.params.set<param::radial::kCount>(0, 7);
    EXPECT_EQ(LastRandomRecord(radial), 7);

    // 4 x 3 cells, 2 layers: the last cell 3 x 4 = 12 and its number 12; the time-shift pass
    // reads (4)(2) = 8 and (2 + 1)(3 + 1) = 12.
    ClonePlan grid = PlanOf(param::kGrid, 2);
    grid.params.set<param::grid::kCountX>(0, 4);
    grid.params.set<param::grid::kCountY>(0, 3);
    EXPECT_EQ(LastRandomRecord(grid), 12);
    // 2 x 2 cells, 5 layers: the time-shift pass reads up to (4 + 2)(1 + 2) = 18 and
    // (1 + 1)(4 + 1) = 10.
    grid.layer_slots.resize(5);
    grid.params.set<param::grid::kCountX>(0, 2);
    grid.params.set<param::grid::kCountY>(0, 2);
    EXPECT_EQ(LastRandomRecord(grid), 18);
    grid.params.set<param::grid::kCountX>(0, 200);
    grid.params.set<param::grid::kCountY>(0, 200);
    EXPECT_EQ(LastRandomRecord(grid), 20000); // held to the table

    // Path: group k's clone i reads (k + 1)(i + 1); combined 5 clones, or per path 3 and 4.
    ClonePlan path = PlanOf(param::kPath, 1);
    path.path_clones[0].resize(5);
    path.path_clones[1].resize(5);
    EXPECT_EQ(LastRandomRecord(path), 5);
    path.params.set<param::path::kPerSegment>(0, 1);
    for (int s = 0; s < 2; ++s) {
        path.path_clones_by_path[s] = {std::vector<PathClone>(3), std::vector<PathClone>(4)};
    }
    EXPECT_EQ(LastRandomRecord(path), 8);

    EXPECT_EQ(LastRandomRecord(PlanOf(param::kObject, 1)), 20000);
}

TEST(RandomRecords, PlacementReadsFollowTheRunsAndWrapToTheWholeTable) {
    PathTable table;
    for (const double length : {100.0, 50.0}) {
        table.paths.emplace_back();
        AddSegment(table, nullptr, length);
    }
    PathSettings s;
    s.distribution = kByCount;
    s.count = 5;
    EXPECT_EQ(LastPlacementRecord(s, table), 5);
    s.per_segment = true;
    EXPECT_EQ(LastPlacementRecord(s, table), 10); // clone 4 of path 1
    s.distribution = kByDistance;
    s.spacing = 10;
    s.start = 0;
    s.end = 1;
    EXPECT_EQ(LastPlacementRecord(s, table), 12); // path 0: (10 + 1) x 1; path 1: (5 + 1) x 2
    s.per_segment = false;
    EXPECT_EQ(LastPlacementRecord(s, table), 16); // 150 / 10: clones 0 to 15
    s.spacing = 0.001;
    EXPECT_EQ(LastPlacementRecord(s, table), 20000); // past the end it wraps: every record
    s.distribution = kByVertex;
    EXPECT_EQ(LastPlacementRecord(s, table), -1);
}

TEST(RandomRecords, ThePartialTableIsTheWholeTablesStartAndZeroBeyond) {
    const std::vector<CloneRandom> whole = BuildRandomTable(4242);
    std::vector<CloneRandom> partial;
    RandomTableBuilder builder(4242, partial);
    ASSERT_EQ(partial.size(), kRandomTableSize);
    for (const std::int64_t last : {-1, 0, 57, 57, 1000, 999999}) {
        builder.BuildThrough(last);
        const std::size_t built = std::min<std::size_t>(last < 0 ? 0 : last + 1, kRandomTableSize);
        ASSERT_GE(builder.built(), built);
        EXPECT_EQ(std::memcmp(partial.data(), whole.data(), builder.built() * sizeof(CloneRandom)),
                  0);
        const CloneRandom zero{};
        for (std::size_t r = builder.built(); r < kRandomTableSize; r += 997) {
            EXPECT_EQ(std::memcmp(&partial[r], &zero, sizeof zero), 0) << r;
        }
    }
}

// Frames whose first clones must not change when more clones follow: with the table built
// only as far as a frame reads, a clone reading past its frame's bound would find a zero record
// in the smaller frame and a drawn one in the larger. Each clone takes its layer from the
// "Random" order (record i + 1, or the cell number), its place and opacity from its own record.
class PartialTableFrames : public test::RenderFixture {
  protected:
    PartialTableFrames() {
        use_layer(1, 0);
        use_layer(2, 1);
        use_layer(3, 2);
    }
    // The transform_world calls' sources, opacities and (where they do not depend on the count)
    // matrices.
    static std::vector<json> Draws(const FrameResult& frame, bool places) {
        std::vector<json> out;
        for (json draw : frame.named("transform_world")) {
            out.push_back({draw["src"], draw["opacity"], places ? draw["matrices"] : json()});
        }
        return out;
    }
    void ExpectPrefix(int count_param, int small, int large, bool places) {
        set(count_param, small);
        const FrameResult a = render();
        set(count_param, large);
        const FrameResult b = render();
        ASSERT_EQ(a.err, PF_Err_NONE);
        ASSERT_EQ(b.err, PF_Err_NONE);
        const std::vector<json> first = Draws(a, places);
        const std::vector<json> more = Draws(b, places);
        ASSERT_GT(first.size(), 0u);
        ASSERT_GE(more.size(), first.size());
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(first[i], more[i]) << "clone " << i;
        }
    }
};

TEST_F(PartialTableFrames, RowClonesReadNoFurtherThanTheirBound) {
    set(param::linear::kCloneOrder, 3);
    set(param::linear::kCloneOffsetMode, 1);
    set(param::linear::kOffsetPosition, 0, 0); // places then do not depend on the count
    set(param::linear::kPosition, 160, 120);
    set(param::linear::kRandomPosition, 200, 100);
    set(param::linear::kRandomOpacity, 80);
    set(param::linear::kRandomSeed, 7);
    ExpectPrefix(param::linear::kCount, 9, 12, true);
}

TEST_F(PartialTableFrames, GridCellsReadNoFurtherThanTheirBound) {
    set(param::kCloneType, param::kGrid);
    // One layer, so that the cells' own records are the last the frame reads.
    scene.effect.erase(param::SourceLayerParam(2));
    scene.effect.erase(param::SourceLayerParam(3));
    set(param::grid::kCloneOrder, 3);
    set(param::grid::kCountX, 5);
    set(param::grid::kRandomOpacity, 80);
    set(param::grid::kRandomSeed, 11);
    // More rows below: the first rows' cells keep their records, layers and opacities (the grid
    // is centred, so their places move).
    ExpectPrefix(param::grid::kCountY, 3, 4, false);
}

} // namespace
} // namespace plurion
