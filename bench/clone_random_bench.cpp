#include "layout/clone_random.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

namespace {

// Generator outputs one build consumes when no draw is rejected: 15 for each record's values
// and count - 1 for every shuffle of a bag, which happens once per run of `count` records.
constexpr std::int64_t OutputsPerBuild() {
    constexpr auto records = static_cast<std::int64_t>(plurion::kRandomTableSize);
    std::int64_t outputs = 15 * records;
    for (std::int64_t count = plurion::kMinOrderLayers; count <= plurion::kMaxOrderLayers;
         ++count) {
        outputs += (records + count - 1) / count * (count - 1);
    }
    return outputs;
}

void BM_BuildRandomTable(benchmark::State& state) {
    const auto seed = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        auto table = plurion::BuildRandomTable(seed);
        benchmark::DoNotOptimize(table.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() *
                            static_cast<std::int64_t>(plurion::kRandomTableSize));
}
BENCHMARK(BM_BuildRandomTable)->Arg(0)->Arg(12345)->Unit(benchmark::kMicrosecond);

// Baseline: the bare generator producing as many outputs as a build, counted in records so
// the two rates compare directly.
void BM_GeneratorAlone(benchmark::State& state) {
    for (auto _ : state) {
        std::mt19937 gen(0);
        std::uint32_t sink = 0;
        for (std::int64_t i = 0; i < OutputsPerBuild(); ++i) {
            sink ^= static_cast<std::uint32_t>(gen());
        }
        benchmark::DoNotOptimize(sink);
    }
    state.SetItemsProcessed(state.iterations() *
                            static_cast<std::int64_t>(plurion::kRandomTableSize));
}
BENCHMARK(BM_GeneratorAlone)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
