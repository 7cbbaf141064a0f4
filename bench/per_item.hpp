// Time per item (a value read, a draw, a permutation) beside the time per iteration.
#pragma once

#include <benchmark/benchmark.h>

namespace rankora::bench {

// Shown in seconds per item, with the usual SI prefix (n, u, m).
inline void report_time_per(benchmark::State& state, const char* item, double items_per_iteration) {
  state.counters[item] =
      benchmark::Counter(items_per_iteration, benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
}

}  // namespace rankora::bench
