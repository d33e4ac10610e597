// Which time-shifted images the "Linear", "Radial" and "Grid" passes ask for: ids, layers and
// times, each id once.
#include "layout/checkout_id.h"
#include "layout/time_shift.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace plurion {
namespace {

constexpr FrameClock kClock{1000, 100};

std::vector<std::int32_t> IdsOf(const std::vector<ShiftedImage>& images) {
    std::vector<std::int32_t> ids;
    for (const ShiftedImage& image : images) {
        ids.push_back(image.id);
    }
    return ids;
}

std::vector<CloneRandom> TableWithTimeFactors(std::uint32_t time_a, std::uint32_t time_b) {
    std::vector<CloneRandom> table(kRandomTableSize);
    for (std::size_t r = 0; r < table.size(); ++r) {
        table[r].time_a = static_cast<std::uint32_t>((time_a + 37 * r) % 10000);
        table[r].time_b = static_cast<std::uint32_t>((time_b + 91 * r) % 10000);
    }
    return table;
}

TEST(RowTimeShift, EveryFrameOffsetOncePerLayerInCloneOrder) {
    const auto table = TableWithTimeFactors(0, 0);
    std::vector<ShiftedImage> images = RowShiftedImages({11, 10, 0}, 1, table, kClock);
    EXPECT_EQ(IdsOf(images), (std::vector<std::int32_t>{1981, 1982, 1983, 1984, 1985, 1986, 1987,
                                                        1988, 1989, 19810, 19811}));
    for (std::size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].layer, 0);
        EXPECT_EQ(images[i].time, 1000 + 100 * static_cast<A_long>(i));
    }

    images = RowShiftedImages({11, 10, 0}, 2, table, kClock);
    ASSERT_EQ(images.size(), 22u);
    EXPECT_EQ(images[1].id, 2981); // layer 1, offset 0, right after layer 0's
    EXPECT_EQ(images[1].layer, 1);
    EXPECT_EQ(images[21].id, 29811);

    // 2/3 x i truncates to 0, 0, 1, 2: the first two clones share one image.
    images = RowShiftedImages({4, 2, 0}, 1, table, kClock);
    EXPECT_EQ(IdsOf(images), (std::vector<std::int32_t>{1981, 1982, 1983}));
}

TEST(RowTimeShift, RandomTimeAddsEachRecordsShift) {
    auto table = TableWithTimeFactors(0, 0);
    table[0].time_a = 7500; // 7500 x 3 / 10000 = 2.25 frames
    std::vector<ShiftedImage> images = RowShiftedImages({1, 0, 3}, 1, table, kClock);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].id, 1983);
    EXPECT_EQ(images[0].time, 1200);

    table = TableWithTimeFactors(1234, 0);
    images = RowShiftedImages({50, 7, 20}, 3, table, kClock);
    std::set<std::int32_t> expected;
    for (int i = 0; i < 50; ++i) {
        const double jitter = static_cast<double>(table[i].time_a * 20) / 10000.0;
        const auto frames = static_cast<int>(7.0 / 49 * i + jitter);
        for (int k = 0; k < 3; ++k) {
            expected.insert(MakeCheckoutId(frames, k, 0, CheckoutIdForm::Plain));
        }
    }
    const std::vector<std::int32_t> ids = IdsOf(images);
    EXPECT_EQ(std::set<std::int32_t>(ids.begin(), ids.end()), expected);
    EXPECT_EQ(ids.size(), expected.size()); // each id once
}

TEST(GridTimeShift, ColumnAndRowOffsetsShareIdsAndTakeUnroundedTimes) {
    const auto table = TableWithTimeFactors(0, 0);
    // 2 x 2, "Offset Time X" 4: step 2, columns and rows at 0 and 2 frames.
    std::vector<ShiftedImage> images = GridShiftedImages({2, 2, 4, 0, 0}, 1, table, kClock);
    EXPECT_EQ(IdsOf(images), (std::vector<std::int32_t>{1981, 1983}));
    EXPECT_EQ(images[1].time, 1200);

    // No offsets: the column and row offsets are the same jitter, one image per cell and layer
    // at most.
    const auto random = TableWithTimeFactors(4321, 987);
    images = GridShiftedImages({3, 2, 0, 0, 4}, 2, random, kClock);
    std::set<std::int32_t> expected;
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            for (int k = 0; k < 2; ++k) {
                const double ja = random[(c + 1) * (k + 1)].time_a * 4 / 10000.0;
                const double jb = random[(k + 2) * (r + 2)].time_b * 4 / 10000.0;
                expected.insert(
                    MakeCheckoutId(static_cast<int>((ja + jb) * 0.5), k, 0, CheckoutIdForm::Plain));
            }
        }
    }
    const std::vector<std::int32_t> ids = IdsOf(images);
    EXPECT_EQ(std::set<std::int32_t>(ids.begin(), ids.end()), expected);
    EXPECT_EQ(ids.size(), expected.size());

    // 1 x 3 with "Offset Time Y" 3: step 1.5; the time is taken from 1.5 frames, not 1.
    images = GridShiftedImages({1, 3, 0, 3, 0}, 1, table, {1000, 10});
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[1].id, 1982);
    EXPECT_EQ(images[1].time, 1015);
    EXPECT_EQ(images[2].id, 1984);
    EXPECT_EQ(images[2].time, 1030);
}

} // namespace
} // namespace plurion
