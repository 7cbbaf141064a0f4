// Rank sums, the statistic S, Kendall's W and Friedman's chi-square.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/matrix.hpp"

namespace rankora {

// rsum(k) = sum over judges j of table(j, k), for k = 1..n.
void rank_sums(MatrixView table, std::int32_t njudge, std::int32_t nobj, std::span<double> rsum);

// S = sum over k of rsum(k)^2, added in object order (which fixes its last bits).
double sum_of_squares(const double* rsum, std::int32_t nobj);

// rsum(k) = sum over judges of table(j, k); ssqr = S; chi2 and kendw, tie-corrected
// unless ties is 2.
void wkendall(std::int32_t njudge, std::int32_t nobj, MatrixView table, double tcorr,
              std::span<double> rsum, double& chi2, double& kendw, double& ssqr, std::int32_t ties);

}  // namespace rankora
