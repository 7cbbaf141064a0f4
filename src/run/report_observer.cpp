#include "run/report_observer.hpp"

#include "report/records.hpp"
#include "report/texts.hpp"
#include "runtime/units.hpp"

namespace rankora {

void ReportObserver::statistics_ready(const Concordance& concordance) {
  report::write_dash_line();
  report::write_blank_line(rt::kReportUnit);
  report::write_statistics(lang_, concordance.ties, concordance.chi2, concordance.objects - 1,
                           concordance.kendw);
  judge_count_ = concordance.judges;
  const std::int64_t nperm = concordance.nperm;
  if (progress_shown_) {
    progress_.emplace(report::progress_texts(lang_), nperm * (concordance.judges - 1),
                      nperm * concordance.judges);
  }
}

void ReportObserver::global_test_progress(std::int64_t shuffles) {
  if (progress_) progress_->global_test(shuffles);
}

void ReportObserver::global_test_done(const Concordance& concordance) {
  report::write_global_header(lang_);
  report::write_probability_line(lang_, concordance.nperm, concordance.p);
  report::write_dash_line();
  report::write_blank_line(rt::kReportUnit);
}

void ReportObserver::judges_progress(std::int64_t shuffles, std::int32_t judges_done) {
  if (progress_) progress_->judges(shuffles, judges_done, judge_count_);
}

void ReportObserver::judges_done(const Concordance& /*concordance*/,
                                 std::span<const JudgeResult> judges) {
  progress_.reset();  // the line goes before the table
  report::write_a_posteriori_header(lang_);
  report::write_judge_table(lang_, judges);
}

}  // namespace rankora
