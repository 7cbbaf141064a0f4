// Results of made-up runs for the writers' tests: any number of judges, with or without
// names, spread over the figures a run can give.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "report/run_results.hpp"

namespace fixtures {

using rankora::Concordance;
using rankora::JudgeResult;

struct Run {
  rankora::report::RunDescription run;
  Concordance panel;
  std::vector<JudgeResult> judges;
  std::vector<std::string> judge_names, object_names, warnings;

  rankora::report::RunResults results() {
    run.judge_names = judge_names;
    run.object_names = object_names;
    return {run, panel, judges, warnings};
  }
};

// m judges in the report's order, W(j) falling from 0.9 to below 0: the first third at
// p 0.001, the rest larger; every seventh of a null variance; names as long as a
// spreadsheet's header allows when `named`.
inline Run panel(int m, int lang, bool named, std::int32_t nperm = 999) {
  Run r;
  r.run.version = "1.0.0";
  r.run.data_file = "panel.csv";
  r.run.lang = lang;
  r.panel.judges = m;
  r.panel.objects = 30;
  r.panel.nperm = nperm;
  r.panel.kendw = r.panel.kendw_corrected = 0.41;
  r.panel.kendw_uncorrected = 0.4;
  r.panel.chi2 = r.panel.chi2_corrected = 0.41 * 29 * m;
  r.panel.chi2_uncorrected = 0.4 * 29 * m;
  r.panel.s = 1234.5;
  r.panel.tie_term = 60;
  r.panel.reached = nperm / 500;
  r.panel.p = (static_cast<double>(r.panel.reached) + 1.0) / (nperm + 1.0);
  for (int i = 0; i < m; ++i) {
    JudgeResult j;
    j.judge = (i * 37) % m + 1;
    j.w = 0.9 - 1.1 * i / m;
    j.rbar = (m * j.w - 1) / (m - 1);
    j.null_variance = i % 7 == 3;
    if (j.null_variance) j.rbar = 0, j.w = 1.0 / m;
    j.reached = nperm == 0 ? 0 : i < m / 3 ? 0 : std::min<std::int64_t>(nperm, i * nperm / m);
    j.p = (static_cast<double>(j.reached) + 1.0) / (nperm + 1.0);
    j.w_without = 0.41 - j.w / m;
    r.judges.push_back(j);
  }
  if (named) {
    for (int k = 1; k <= m; ++k)
      r.judge_names.push_back("Juge n\xC2\xB0" + std::to_string(k) +
                              " <taster & co> \"long name\"");
  }
  rankora::NullHistogram& h = r.panel.null_histogram;
  h.bins = 50;
  h.w_low = 0.0;
  h.w_high = 0.2;
  for (int b = 0; nperm > 0 && b < h.bins; ++b) {
    h.counts[static_cast<std::size_t>(b)] =
        static_cast<std::int64_t>(nperm / 10.0 * std::exp(-(b - 20) * (b - 20) / 50.0));
  }
  return r;
}

}  // namespace fixtures
