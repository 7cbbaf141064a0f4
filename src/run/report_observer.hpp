// The report written as the analysis goes, record by record at the moment each is ready,
// and the progress line of long analyses on the terminal.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "analysis/observer.hpp"
#include "runtime/progress.hpp"

namespace rankora {

class ReportObserver final : public AnalysisObserver {
 public:
  // Without `progress`, no progress line at all (--quiet).
  explicit ReportObserver(int lang, bool progress = true) : lang_(lang), progress_shown_(progress) {}

  void statistics_ready(const Concordance& concordance) override;
  void global_test_progress(std::int64_t shuffles) override;
  void global_test_done(const Concordance& concordance) override;
  void judges_progress(std::int64_t shuffles, std::int32_t judges_done) override;
  void judges_done(const Concordance& concordance, std::span<const JudgeResult> judges) override;

 private:
  int lang_;
  bool progress_shown_;
  std::int32_t judge_count_ = 0;
  std::optional<rt::ProgressLine> progress_;  // from the global test to the judge table
};

}  // namespace rankora
