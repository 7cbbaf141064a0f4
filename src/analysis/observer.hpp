// What the analysis tells its caller as it goes: its figures at the moments a report
// writes them, and how far the permutation tests have gone. The analysis writes nothing
// itself; an interrupted run keeps what its observer wrote up to then.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/results.hpp"

namespace rankora {

class AnalysisObserver {
 public:
  virtual ~AnalysisObserver() = default;

  // The observed statistics, before the global test starts (the histogram's bins are
  // set, its counts 0).
  virtual void statistics_ready(const Concordance& concordance) = 0;
  // `shuffles` of the global test's (m - 1) nperm shuffles are done.
  virtual void global_test_progress(std::int64_t shuffles) = 0;
  // reached, p and the histogram are in, before the judges' tests start.
  virtual void global_test_done(const Concordance& concordance) = 0;
  // `judges_done` of the m judges are tested; `shuffles` counts from the start of the
  // global test, whose (m - 1) nperm come before the judges' m nperm.
  virtual void judges_progress(std::int64_t shuffles, std::int32_t judges_done) = 0;
  // Every judge's row, in the report's order: the analysis is over.
  virtual void judges_done(const Concordance& concordance, std::span<const JudgeResult> judges) = 0;
};

}  // namespace rankora
