// The permutation tests on several threads, with the figures of one thread to the bit:
// every count is a whole number added up after the threads end, and each thread runs its
// own stretch of the one chain of shuffles (shared_chain.hpp).
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "analysis/matrix.hpp"
#include "analysis/observer.hpp"
#include "analysis/permutation_tests.hpp"
#include "analysis/results.hpp"
#include "analysis/shared_chain.hpp"

namespace rankora {

// What one thread works in.
struct ThreadWork {
  ThreadWork(std::int32_t maxj, std::int32_t maxobj);
  std::vector<std::int32_t> sums;     // the global test's doubled rank sums
  std::vector<double> own;            // a judge's test: its doubled ranks
  std::vector<double> others;         // and the others' doubled rank sums
  std::vector<std::int64_t> reached;  // by judge
  NullHistogram histogram;
  std::optional<GlobalTest> global;
};

// Everything the tests need on `threads` threads, reserved before a run.
class SharedTests {
 public:
  SharedTests(std::int32_t threads, std::int32_t maxj, std::int32_t maxobj);
  std::int32_t threads() const { return static_cast<std::int32_t>(work_.size()); }

  // The global test of Concordance's s and nperm: reached and the histogram's counts into
  // `concordance`, `perm` and rand_stream() left as one thread leaves them.
  void global_test(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                   std::span<std::uint16_t> doubled_ranks, std::span<std::int32_t> perm,
                   Concordance& concordance, AnalysisObserver& observer);

  // Each judge's test, judge 1's shuffles first: `reached` of judges(1..m), in judge order;
  // `perm` and rand_stream() left as one thread leaves them.
  void judge_tests(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                   std::span<const double> rsum, std::span<std::int32_t> perm,
                   const Concordance& concordance, std::span<JudgeResult> judges,
                   AnalysisObserver& observer);

 private:
  ChainRoom room_;
  std::vector<ThreadWork> work_;
  std::vector<std::atomic<std::int64_t>> judge_done_;  // shuffles done, by judge
};

}  // namespace rankora
