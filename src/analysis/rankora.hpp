// The analysis: ranks, the concordance statistics, the global permutation test, then
// each judge's a posteriori test, correlations and adjusted probabilities, written to
// the report (which must be open and positioned after the permutation-count line).
#pragma once

#include <cstdint>
#include <span>

#include "analysis/matrix.hpp"

namespace rankora {

// (1 + the permutations whose S reached the observed S) / (nperm + 1), the count and the
// divisor in 64 bits so that the largest count the dialogue accepts cannot overflow.
double permutation_probability(std::int64_t count, std::int32_t nperm);

// mat and table hold the data at entry and each judge's ranks afterwards (table is
// work space during the tests). result rows end in decreasing order of R-bar.
void rankora(std::int32_t nobj, std::int32_t njudge, MatrixView mat, MatrixView table,
             std::span<double> rsum, std::int32_t lang, std::int32_t nperm,
             std::span<std::int32_t> perm, std::span<std::int32_t> tiecnt, std::span<double> values,
             std::span<double> rank_work, MatrixView spearr, std::span<double> work1,
             MatrixView result, std::span<double> work2, std::span<std::int32_t> iwork,
             std::span<std::int32_t> varok, std::span<std::uint16_t> doubled_ranks,
             std::span<std::int32_t> doubled_sums, std::int32_t ties);

}  // namespace rankora
