// The generator, number by number and in blocks, and one shuffle of 2000 entries.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#include "analysis/random.hpp"
#include "capacity.hpp"
#include "per_item.hpp"

namespace rankora::bench {
namespace {

constexpr int kDrawsPerIteration = 4096;

void BM_RandNext(benchmark::State& state) {
  auto stream = std::make_unique<RandStream>();
  for (auto _ : state) {
    std::uint32_t mixed = 0;
    for (int d = 0; d < kDrawsPerIteration; ++d) mixed ^= stream->next();
    benchmark::DoNotOptimize(mixed);
  }
  report_time_per(state, "per_draw", kDrawsPerIteration);
}
BENCHMARK(BM_RandNext);

// Blocks of the length a shuffle of n entries asks for at once: n - 1.
void BM_RandBlock(benchmark::State& state) {
  const auto block = static_cast<int>(state.range(0));
  auto stream = std::make_unique<RandStream>();
  for (auto _ : state) {
    stream->reserve(block);
    const std::uint32_t* raw = stream->peek();
    std::uint32_t mixed = 0;
    for (int d = 0; d < block; ++d) mixed ^= raw[d] >> 1;
    stream->consume(block);
    benchmark::DoNotOptimize(mixed);
  }
  report_time_per(state, "per_draw", block);
}
BENCHMARK(BM_RandBlock)->Arg(19)->Arg(1999)->Arg(RandStream::kMaxRun);

// Each shuffle goes on from the arrangement the last one left, as in a run.
void BM_Shuffle(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  auto stream = std::make_unique<RandStream>();
  std::vector<std::int32_t> perm(static_cast<std::size_t>(n));
  std::iota(perm.begin(), perm.end(), 1);
  for (auto _ : state) {
    shuffle(perm.data(), n, *stream);
    benchmark::ClobberMemory();
  }
  report_time_per(state, "per_entry", n);
}
BENCHMARK(BM_Shuffle)->Arg(20)->Arg(kCapacityObjects);

}  // namespace
}  // namespace rankora::bench
