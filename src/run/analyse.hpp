// The one call of the analysis, for both forms of a run: the table in s.mat and s.table,
// the report open and positioned after the permutation-count line.
#pragma once

#include <cstdint>

#include "analysis/rankora.hpp"
#include "run/storage.hpp"

namespace rankora {

inline void analyse(const Storage& s, std::int32_t njudge, std::int32_t nobj, std::int32_t lang,
                    std::int32_t nperm, std::int32_t ties) {
  const std::int32_t nobj2 = nobj;
  rankora(nobj, njudge, nobj2, s.mat_view(), s.table_view(), s.rsum.span(), kMaxObjects, kMaxJudges,
          lang, nperm, s.perm.span(), s.tiecnt.span(), s.values.span(), s.rank_work.span(),
          s.spearr_view(), s.work1.span(), s.result_view(), s.work2.span(), s.iwork.span(),
          s.varok.span(), ties);
}

}  // namespace rankora
