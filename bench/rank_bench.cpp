// Ranking the capacity table, judge by judge, as the analysis does before any test.
#include <benchmark/benchmark.h>

#include <sstream>

#include "capacity.hpp"
#include "panel.hpp"
#include "per_item.hpp"

namespace rankora::bench {
namespace {

// Values 0-100 with halves and tenths: about 20 copies of every value, the heavy ties
// of a table of marks.
void fill_typical_values(MatrixView raw) {
  std::ostringstream discarded;
  const std::vector<double> values =
      write_typical_values(discarded, kCapacityJudges, kCapacityObjects, 30'000'000);
  for (int j = 1; j <= kCapacityJudges; ++j) {
    for (int k = 1; k <= kCapacityObjects; ++k) {
      raw(j, k) = values[static_cast<std::size_t>(j - 1) * kCapacityObjects +
                         static_cast<std::size_t>(k - 1)];
    }
  }
}

void rank_capacity_table(benchmark::State& state, MatrixView raw) {
  CapacityMatrix mat;
  CapacityMatrix table;
  RankWork work;
  double tie_term = 0.0;
  for (auto _ : state) {
    tie_term = rank_rows(raw, mat.view(), table.view(), kCapacityJudges, kCapacityObjects, work);
    benchmark::DoNotOptimize(tie_term);
    benchmark::ClobberMemory();
  }
  report_time_per(state, "per_judge", kCapacityJudges);
}

// The benchmark panel: scores 0-15999, few ties.
void BM_RankPanelScores(benchmark::State& state) {
  rank_capacity_table(state, capacity_data().scores.view());
}
BENCHMARK(BM_RankPanelScores)->Unit(benchmark::kMillisecond);

MatrixView typical_values_table() {
  static CapacityMatrix raw = [] {
    CapacityMatrix filled;
    fill_typical_values(filled.view());
    return filled;
  }();
  return raw.view();
}

void BM_RankTypicalValues(benchmark::State& state) {
  rank_capacity_table(state, typical_values_table());
}
BENCHMARK(BM_RankTypicalValues)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rankora::bench
