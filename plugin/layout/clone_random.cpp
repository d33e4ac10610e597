#include "layout/clone_random.h"

#include <algorithm>
#include <array>
#include <utility>

namespace plurion {
namespace {

// The order in which generator outputs are consumed is part of the table's definition: one
// output more or less anywhere changes every later record. Standard distributions and
// std::shuffle are avoided because their algorithms differ between standard libraries.

// MT19937 with its published parameters, the engine std::mt19937 defines (the tests check the
// two against each other), kept in 32-bit words so that its twist runs several words a step
// and its outputs inline into the draws: a table takes some 630,000 of them.
class Mt19937 {
  public:
    explicit Mt19937(std::uint32_t seed) {
        state_[0] = seed;
        for (std::uint32_t i = 1; i < kWords; ++i) {
            state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + i;
        }
    }
    std::uint32_t operator()() {
        if (next_ == kWords) {
            Twist();
        }
        std::uint32_t y = state_[next_++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        return y ^ (y >> 18);
    }

  private:
    static constexpr std::uint32_t kWords = 624;
    static constexpr std::uint32_t kShift = 397;
    static std::uint32_t Mixed(std::uint32_t upper, std::uint32_t lower, std::uint32_t far) {
        const std::uint32_t y = (upper & 0x80000000u) | (lower & 0x7FFFFFFFu);
        return far ^ (y >> 1) ^ ((0u - (y & 1u)) & 0x9908B0DFu);
    }
    void Twist() {
        std::uint32_t i = 0;
        for (; i < kWords - kShift; ++i) {
            state_[i] = Mixed(state_[i], state_[i + 1], state_[i + kShift]);
        }
        for (; i < kWords - 1; ++i) {
            state_[i] = Mixed(state_[i], state_[i + 1], state_[i + kShift - kWords]);
        }
        state_[kWords - 1] = Mixed(state_[kWords - 1], state_[0], state_[kShift - 1]);
        next_ = 0;
    }

    std::array<std::uint32_t, kWords> state_{};
    std::uint32_t next_ = kWords;
};

std::uint32_t NextWord(Mt19937& gen) {
    return gen();
}

// A double in [0, 1) from two outputs, the first one the low word.
double DrawUnit(Mt19937& gen) {
    const double low = NextWord(gen);
    const double high = NextWord(gen);
    return (low + high * 4294967296.0) / 18446744073709551616.0;
}

// An integer in [0, n) by multiply-and-shift, rejecting the products whose low word falls
// below 2^32 mod n so that every result is equally likely.
std::uint32_t DrawBelow(Mt19937& gen, std::uint32_t n) {
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

// x mod m for each bag size m without a division: with c = floor((2^64 - 1) / m) + 1, the low
// 64 bits of c * x hold the fraction x / m to 64 bits, and multiplying that fraction by m gives
// the remainder in the high word, exactly for every 32-bit x and m (Lemire, Kaser and Kurz,
// "Faster remainder by direct computation", 2019). Worked in 64-bit halves, so that no 128-bit
// type is needed.
constexpr std::array<std::uint64_t, kMaxOrderLayers + 1> MakeRemainderFactors() {
    std::array<std::uint64_t, kMaxOrderLayers + 1> factors{};
    for (std::uint32_t m = 1; m <= kMaxOrderLayers; ++m) {
        factors[m] = ~std::uint64_t{0} / m + 1;
    }
    return factors;
}
constexpr auto kRemainderFactors = MakeRemainderFactors();

std::uint32_t Remainder(std::uint32_t x, std::uint32_t m) {
    const std::uint64_t fraction = kRemainderFactors[m] * x;
    const std::uint64_t low = (fraction & 0xFFFFFFFFu) * m;
    const std::uint64_t high = (fraction >> 32) * m;
    return static_cast<std::uint32_t>((high + (low >> 32)) >> 32);
}

std::uint32_t DrawBagIndex(Mt19937& gen, std::uint32_t m) {
    for (;;) {
        const std::uint32_t x = NextWord(gen);
        if (x < kBagIndexLimits[m]) {
            return Remainder(x, m);
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

void Shuffle(Mt19937& gen, ShuffleBag& bag) {
    for (std::uint32_t t = 1; t < bag.count; ++t) {
        const std::uint32_t j = DrawBagIndex(gen, t + 1);
        if (j != t) {
            std::swap(bag.slots[t], bag.slots[j]);
        }
    }
}

// All due shuffles come first, largest count first, then every bag hands out one slot.
void PickLayerOrder(Mt19937& gen, ShuffleBags& bags, CloneRandom& out) {
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
void DrawFactors(Mt19937& gen, CloneRandom& out) {
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

struct RandomTableBuilder::State {
    Mt19937 gen;
    ShuffleBags bags;
};

RandomTableBuilder::RandomTableBuilder(std::uint32_t seed, std::vector<CloneRandom>& table)
    : table_(table), state_(std::make_unique<State>(State{Mt19937(seed), MakeOrderedBags()})) {
    // Value-initialised at its final size, which also zeroes the padding so that two tables
    // of one seed compare equal byte for byte.
    table_.assign(kRandomTableSize, CloneRandom{});
}

RandomTableBuilder::~RandomTableBuilder() = default;

void RandomTableBuilder::BuildThrough(std::int64_t last) {
    const auto end = static_cast<std::size_t>(
        std::clamp<std::int64_t>(last + 1, 0, static_cast<std::int64_t>(table_.size())));
    for (; next_ < end; ++next_) {
        PickLayerOrder(state_->gen, state_->bags, table_[next_]);
        DrawFactors(state_->gen, table_[next_]);
    }
}

std::vector<CloneRandom> BuildRandomTable(std::uint32_t seed) {
    std::vector<CloneRandom> table;
    RandomTableBuilder builder(seed, table);
    builder.BuildThrough(static_cast<std::int64_t>(kRandomTableSize) - 1);
    return table;
}

} // namespace plurion
