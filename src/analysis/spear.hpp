// Standardised ranks and the Spearman correlations among judges.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/matrix.hpp"

namespace rankora {

// Each judge's ranks in `table` become (x - mean) / sd, sd with divisor dn1; a judge
// whose sd is exactly 0 gets a row of zeros and varok 0, any other varok 1.
void standard(std::int32_t nobj, std::int32_t njudge, MatrixView table,
              std::span<std::int32_t> varok, double dn, double dn1);

// spearr(j, k): the correlation of judges j and k (0 when either has no variance; 1 on
// the diagonal). result(j, 2): R-bar, judge j's mean correlation with the others.
// `table` is left standardised.
void spear(std::int32_t nobj, std::int32_t njudge, MatrixView table, MatrixView spearr,
           std::span<std::int32_t> varok, MatrixView result);

}  // namespace rankora
