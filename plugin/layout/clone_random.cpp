#include "layout/clone_random.h"

#include <random>
#include <utility>

namespace plurion {
namespace {

// The order in which generator outputs are consumed is part of the table's definition: one
// output more or less anywhere changes every later record. Standard distributions and
// std::shuffle are avoided because their algorithms differ between standard libraries;
// std::mt19937 itself is fully specified.

std::uint32_t NextWord(std::mt19937& gen) {
    return static_cast<std::uint32_t>(gen());
}

// A double in [0, 1) from two outputs, the first one the low word.
double DrawUnit(std::mt19937& gen) {
    const double low = NextWord(gen);
    const double high = NextWord(gen);
    return (low + high * 4294967296.0) / 18446744073709551616.0;
}

// An integer in [0, n) by multiply-and-shift, rejecting the products whose low word falls
// below 2^32 mod n so that every result is equally likely.
std::uint32_t DrawBelow(std::mt19937& gen, std::uint32_t n) {
    const auto threshold = static_cast<std::uint32_t>((std::uint64_t{1} << 32) % n);
    std::uint64_t product = std::uint64_t{NextWord(gen)} * n;
    while (static_cast<std::uint32_t>(product) < threshold) {
        product = std::uint64_t{NextWord(gen)} * n;
    }
    return static_cast<std::uint32_t>(product >> 32);
}

// An integer in [0, m) by remainder. The draw is accepted when x / m < 0xFFFFFFFF / m, or
// always when m divides 2^32; the first test is the same as x < (0xFFFFFFFF / m) * m, so the
// limit is worked out once per m.
constexpr std::array<std::uint64_t, kMaxOrderLayers + 1> MakeBagIndexLimits() {
    constexpr std::uint32_t kWordMax = 0xFFFFFFFFu;
    std::array<std::uint64_t, kMaxOrderLayers + 1> limits{};
    for (std::uint32_t m = 1; m <= kMaxOrderLayers; ++m) {
        const bool no_partial_block = kWordMax % m == m - 1;
        limits[m] = no_partial_block ? std::uint64_t{1} << 32 : std::uint64_t{kWordMax / m} * m;
    }
    return limits;
}
constexpr auto kBagIndexLimits = MakeBagIndexLimits();

std::uint32_t DrawBagIndex(std::mt19937& gen, std::uint32_t m) {
    for (;;) {
        const std::uint32_t x = NextWord(gen);
        if (x < kBagIndexLimits[m]) {
            return x % m;
        }
    }
}

// One shuffle bag per layer count. A bag is reshuffled at the start of each run of `count`
// records and hands out its slots in order, so every run gives each layer position once.
struct ShuffleBag {
    std::array<std::uint32_t, kMaxOrderLayers> slots{};
    std::uint32_t count = 0;
    std::uint32_t next = 0; // the record number modulo count
};

// Indexed by layer count; entries 0 and 1 stay unused.
using ShuffleBags = std::array<ShuffleBag, kMaxOrderLayers + 1>;

ShuffleBags MakeOrderedBags() {
    ShuffleBags bags{};
    for (std::uint32_t count = kMinOrderLayers; count <= kMaxOrderLayers; ++count) {
        bags[count].count = count;
        for (std::uint32_t i = 0; i < count; ++i) {
            bags[count].slots[i] = i;
        }
    }
    return bags;
}

void Shuffle(std::mt19937& gen, ShuffleBag& bag) {
    for (std::uint32_t t = 1; t < bag.count; ++t) {
        const std::uint32_t j = DrawBagIndex(gen, t + 1);
        if (j != t) {
            std::swap(bag.slots[t], bag.slots[j]);
        }
    }
}

// All due shuffles come first, largest count first, then every bag hands out one slot.
void PickLayerOrder(std::mt19937& gen, ShuffleBags& bags, CloneRandom& out) {
    for (std::uint32_t count = kMaxOrderLayers; count >= kMinOrderLayers; --count) {
        if (bags[count].next == 0) {
            Shuffle(gen, bags[count]);
        }
    }
    for (std::uint32_t count = kMinOrderLayers; count <= kMaxOrderLayers; ++count) {
        ShuffleBag& bag = bags[count];
        out.order_pick[count - kMinOrderLayers] = bag.slots[bag.next];
        bag.next = bag.next + 1 == count ? 0 : bag.next + 1;
    }
}

// The draw order is not the field order: path_offset comes after the time factors.
void DrawFactors(std::mt19937& gen, CloneRandom& out) {
    out.jitter_x = DrawUnit(gen) - 0.5;
    out.jitter_y = DrawUnit(gen) - 0.5;
    out.rotation = DrawUnit(gen) * 720.0 - 360.0;
    out.scale = DrawUnit(gen) * 100.0;
    out.opacity = DrawUnit(gen) * 100.0;
    out.time_a = DrawBelow(gen, 10000);
    out.time_b = DrawBelow(gen, 10000);
    out.path_offset = DrawUnit(gen) * 200.0 - 100.0;
    out.spare = DrawBelow(gen, 100000);
}

} // namespace

std::vector<CloneRandom> BuildRandomTable(std::uint32_t seed) {
    // Value-initialised at its final size, which also zeroes the padding so that two tables
    // of one seed compare equal byte for byte.
    std::vector<CloneRandom> table(kRandomTableSize);
    std::mt19937 gen(seed);
    ShuffleBags bags = MakeOrderedBags();
    for (std::size_t record = 0; record < table.size(); ++record) {
        PickLayerOrder(gen, bags, table[record]);
        DrawFactors(gen, table[record]);
    }
    return table;
}

} // namespace plurion
