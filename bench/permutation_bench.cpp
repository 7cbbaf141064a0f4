// The permutation tests at capacity (1000 judges, 2000 objects), per permutation.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#include "analysis/null_histogram.hpp"
#include "analysis/permutation_tests.hpp"
#include "analysis/random.hpp"
#include "capacity.hpp"
#include "per_item.hpp"

namespace rankora::bench {
namespace {

std::vector<std::int32_t> identity(int n) {
  std::vector<std::int32_t> perm(static_cast<std::size_t>(n));
  std::iota(perm.begin(), perm.end(), 1);
  return perm;
}

bool count_in_range(std::int64_t count, std::int32_t nperm) {
  return count >= 1 && count <= nperm + 1;
}

// nperm 0 shows what a call costs before its first permutation.
void BM_GlobalTest(benchmark::State& state) {
  CapacityData& data = capacity_data();
  const auto nperm = static_cast<std::int32_t>(state.range(0));
  auto stream = std::make_unique<RandStream>();
  std::vector<std::int32_t> perm = identity(kCapacityObjects);
  std::vector<std::uint16_t> rows(std::size_t{kCapacityJudges} * kCapacityObjects);
  std::vector<std::int32_t> sums(kCapacityObjects);
  NullHistogram histogram = null_histogram(kCapacityJudges, kCapacityObjects, data.tie_term, 1);
  std::int64_t count = 0;
  for (auto _ : state) {
    count = global_test_count(data.ranks.view(), kCapacityJudges, kCapacityObjects, nperm,
                              data.s_observed, perm, rows, sums, histogram, *stream);
    benchmark::DoNotOptimize(count);
  }
  if (!count_in_range(count, nperm)) state.SkipWithError("count out of range");
  if (nperm > 0) report_time_per(state, "per_permutation", nperm);
}
BENCHMARK(BM_GlobalTest)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);

// Judge 1 agrees with the others; judge 4 scores at random.
void BM_JudgeTest(benchmark::State& state) {
  CapacityData& data = capacity_data();
  const auto judge = static_cast<std::int32_t>(state.range(0));
  constexpr std::int32_t kPermutations = 999;
  auto stream = std::make_unique<RandStream>();
  std::vector<std::int32_t> perm = identity(kCapacityObjects);
  std::vector<double> own(kCapacityObjects);
  std::vector<double> others(kCapacityObjects);
  std::int64_t count = 0;
  for (auto _ : state) {
    count = judge_test_count(data.ranks.view(), judge, kCapacityObjects, kPermutations,
                             data.s_observed, data.rank_sums, perm, own, others, *stream);
    benchmark::DoNotOptimize(count);
  }
  if (!count_in_range(count, kPermutations)) state.SkipWithError("count out of range");
  state.counters["count"] = static_cast<double>(count);
  report_time_per(state, "per_permutation", kPermutations);
}
BENCHMARK(BM_JudgeTest)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rankora::bench
