// What sharing the permutation tests among threads adds: composing shuffles, scanning the
// sequence for redraws, jumping the generator ahead.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#include "analysis/random_jump.hpp"
#include "analysis/redraws.hpp"
#include "analysis/shuffle_composition.hpp"
#include "capacity.hpp"
#include "per_item.hpp"

namespace rankora::bench {
namespace {

// What a thread does with the shuffles before its own stretch, 999 at a time (one
// permutation of the global test at capacity).
void BM_ComposeShuffles(benchmark::State& state) {
  constexpr std::uint64_t kShuffles = kCapacityJudges - 1;
  auto stream = std::make_unique<RandStream>();
  std::vector<std::int32_t> sigma(kCapacityObjects);
  std::iota(sigma.begin(), sigma.end(), 1);
  for (auto _ : state) {
    compose_shuffles(kShuffles, kCapacityObjects, *stream, sigma);
    benchmark::ClobberMemory();
  }
  report_time_per(state, "per_entry", static_cast<double>(kShuffles) * kCapacityObjects);
}
BENCHMARK(BM_ComposeShuffles)->Unit(benchmark::kMillisecond);

void BM_RedrawScan(benchmark::State& state) {
  const auto draws = static_cast<std::uint64_t>(state.range(0));
  const RandLags at = first_lags();
  std::vector<RedrawCandidate> found;
  for (auto _ : state) {
    found.clear();
    find_redraw_candidates(at, 0, draws, found);
    benchmark::DoNotOptimize(found.data());
  }
  report_time_per(state, "per_draw", static_cast<double>(draws));
}
BENCHMARK(BM_RedrawScan)->Arg(1 << 20)->Arg(1 << 26)->Unit(benchmark::kMillisecond);

void BM_JumpAhead(benchmark::State& state) {
  RandLags lags = first_lags();
  std::uint64_t distance = std::uint64_t{1} << 40;
  for (auto _ : state) {
    lags = jump_ahead(lags, distance++);
    benchmark::DoNotOptimize(lags);
  }
}
BENCHMARK(BM_JumpAhead)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace rankora::bench
