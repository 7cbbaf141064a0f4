// The Spearman correlations among all judges at capacity, once per run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "analysis/spear.hpp"
#include "capacity.hpp"
#include "per_item.hpp"

namespace rankora::bench {
namespace {

void BM_Spear(benchmark::State& state) {
  CapacityData& data = capacity_data();
  CapacityMatrix table;
  std::vector<double> spearr(std::size_t{kCapacityJudges} * kCapacityJudges);
  std::vector<JudgeResult> judges(kCapacityJudges);
  std::vector<std::int32_t> varok(kCapacityJudges);
  for (auto _ : state) {
    // spear standardises its table in place.
    state.PauseTiming();
    std::ranges::copy(data.ranks.values(), table.view().data());
    state.ResumeTiming();
    spear(kCapacityObjects, kCapacityJudges, table.view(), {spearr.data(), kCapacityJudges}, varok,
          judges);
    benchmark::ClobberMemory();
  }
  report_time_per(state, "per_pair", kCapacityJudges * (kCapacityJudges - 1) / 2.0);
}
BENCHMARK(BM_Spear)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rankora::bench
