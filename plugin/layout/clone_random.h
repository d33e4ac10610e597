// The clone random table: every random factor a clone uses, drawn once per frame from one
// seeded MT19937. The table depends only on the seed, so the same seed gives the same clones
// on every frame and every machine, and a record's values do not depend on the clone count.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace plurion {

// Record numbers run from 0 to 20,000, more than any clone count needs, so the record after a
// clone's own always exists.
inline constexpr std::size_t kRandomTableSize = 20001;

// Layer counts that get their own entry of order_pick.
inline constexpr std::uint32_t kMinOrderLayers = 2;
inline constexpr std::uint32_t kMaxOrderLayers = 20;

struct CloneRandom {
    // Entry L - 2 is the source-layer position (0 to L - 1) that the "Random" clone order
    // gives this record when L layers take part.
    std::array<std::uint32_t, kMaxOrderLayers - kMinOrderLayers + 1> order_pick{};
    double jitter_x{};      // [-0.5, 0.5)
    double jitter_y{};      // [-0.5, 0.5)
    double rotation{};      // [-360, 360)
    double scale{};         // [0, 100)
    double opacity{};       // [0, 100)
    double path_offset{};   // [-100, 100)
    std::uint32_t time_a{}; // 0 to 9,999
    std::uint32_t time_b{}; // 0 to 9,999
    std::uint32_t spare{};  // 0 to 99,999; drawn only to keep the generator's sequence
};

// Builds all kRandomTableSize records in one allocation. Throws only std::bad_alloc.
std::vector<CloneRandom> BuildRandomTable(std::uint32_t seed);

// Builds a table record by record, as far as a frame reads it. The records are drawn one after
// the other from one generator, so records 0 to n are the same whether or not later ones are
// built. The table is allocated at its full size at once; records not built yet stay zero.
// A builder lives for one pre-render call; nothing is kept between calls.
class RandomTableBuilder {
  public:
    // Sizes `table` to kRandomTableSize zeroed records. Throws only std::bad_alloc.
    RandomTableBuilder(std::uint32_t seed, std::vector<CloneRandom>& table);
    ~RandomTableBuilder();
    RandomTableBuilder(const RandomTableBuilder&) = delete;
    RandomTableBuilder& operator=(const RandomTableBuilder&) = delete;

    // Builds every record up to `last` (held to the table; below 0 builds nothing).
    void BuildThrough(std::int64_t last);
    // Records 0 to built() - 1 exist.
    std::size_t built() const { return next_; }

  private:
    struct State;
    std::vector<CloneRandom>& table_;
    std::size_t next_ = 0;
    std::unique_ptr<State> state_; // the generator and the shuffle bags
};

} // namespace plurion
