// Rank sums, the statistic S, Kendall's W and Friedman's chi-square.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/matrix.hpp"

namespace rankora {

// Friedman's chi-square and Kendall's W.
struct ChiSquareW {
  double chi2 = 0.0;
  double kendw = 0.0;
};

// rsum(k) = the sum over judges j of table(j, k), in judge order.
//   table   in   rows 1..njudge, columns 1..nobj: ranks
//   rsum    out  (1..nobj)
void rank_sums(MatrixView table, std::int32_t njudge, std::int32_t nobj, std::span<double> rsum);

// S = the sum over k of rsum(k)^2, added in object order (which fixes its last bits).
double sum_of_squares(std::span<const double> rsum, std::int32_t nobj);

// The chi-square and W of njudge judges and nobj objects from their S and tie term:
// tie-corrected unless ties is 2. When every judge is constant (tcorr at its most) the
// corrected figures are 0/0.
ChiSquareW chi2_and_w(std::int32_t njudge, std::int32_t nobj, double tcorr, double s,
                      std::int32_t ties);

// The statistics of a table of ranks.
//   njudge, nobj  in   m and n
//   table         in   rows 1..m, columns 1..n: ranks
//   tcorr         in   the tie term, the sum over judges of sum(t^3 - t) (see tri)
//   rsum          out  (1..n) the rank sums
//   chi2, kendw   out  as chi2_and_w gives them
//   ssqr          out  S
//   ties          in   2: without the correction for ties; else with it
void wkendall(std::int32_t njudge, std::int32_t nobj, MatrixView table, double tcorr,
              std::span<double> rsum, double& chi2, double& kendw, double& ssqr, std::int32_t ties);

// W of the table less judge `judge`, computed as wkendall computes it on the other
// judges alone, bit for bit: their rank sums are rsum less the judge's ranks and their
// tie term tcorr less its own, both exact.
//   ranks       in  rows 1..njudge, columns 1..nobj
//   rsum        in  (1..nobj) the rank sums of all njudge judges
//   tcorr_less  in  the tie term of the other judges
double kendw_without(MatrixView ranks, std::int32_t judge, std::int32_t njudge, std::int32_t nobj,
                     std::span<const double> rsum, double tcorr_less, std::int32_t ties);

}  // namespace rankora
