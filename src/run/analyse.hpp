// The one call of the analysis, for both forms of a run: the table in s.mat and s.table,
// the report open and positioned after the permutation-count line. The report's records
// are written as the analysis goes; the judges' rows end in s.judges, in the report's
// order.
#pragma once

#include <cstdint>

#include "analysis/rankora.hpp"
#include "analysis/results.hpp"
#include "run/report_observer.hpp"
#include "run/storage.hpp"

namespace rankora {

inline Concordance analyse(const Storage& s, std::int32_t njudge, std::int32_t nobj,
                           std::int32_t lang, std::int32_t nperm, std::int32_t ties,
                           bool progress = true) {
  ReportObserver observer(lang, progress);
  Concordance concordance;
  rankora(nobj, njudge, s.mat_view(), s.table_view(), nperm, ties, concordance, s.judges.span(),
          s.spearr_view(), s.varok.span(), s.rankora_work(), observer);
  return concordance;
}

}  // namespace rankora
