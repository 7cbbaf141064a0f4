#include "analysis/wkendall.hpp"

namespace rankora {
namespace {

// Formed at run time, so that it is the processor's NaN, as a table of constant judges
// gives in small sizes, and not the compiler's.
double undefined_quotient() {
  volatile double zero = 0.0;
  return zero / zero;
}

void statistics_without_correction(std::int64_t m, std::int64_t n, double s, double& chi2,
                                   double& kendw) {
  chi2 = (12.0 * s) / static_cast<double>(m * n * (n + 1)) - static_cast<double>(3 * m * (n + 1));
  kendw = chi2 / static_cast<double>((n - 1) * m);
}

// The products of m and n are exact 64-bit integers, each converted to double once, in
// this order, so that every run gives the same bits.
void statistics_with_correction(std::int64_t m, std::int64_t n, double tcorr, double s,
                                double& chi2, double& kendw) {
  const auto factor = static_cast<double>((n - 1) * m);
  // Every judge constant: 0/0, whatever the rounding of 12 S and p2 leaves.
  if (tcorr == static_cast<double>(m * (n * n * n - n))) {
    kendw = undefined_quotient();
    chi2 = factor * kendw;
    return;
  }
  const auto p1 = static_cast<double>(m * m * n * (n + 1) * (n - 1));
  const double d = p1 - static_cast<double>(m) * tcorr;
  const auto p2 = static_cast<double>(3 * m * m * n * (n + 1) * (n + 1));
  kendw = (12.0 * s - p2) / d;
  chi2 = factor * kendw;
}

}  // namespace

void rank_sums(MatrixView table, std::int32_t njudge, std::int32_t nobj, std::span<double> rsum) {
  for (std::int32_t k = 1; k <= nobj; ++k) {
    const double* column = table.column(k);
    double sum = 0.0;
    for (std::int32_t j = 0; j < njudge; ++j) sum += column[j];
    rsum[static_cast<std::size_t>(k - 1)] = sum;
  }
}

double sum_of_squares(std::span<const double> rsum, std::int32_t nobj) {
  double s = 0.0;
  for (std::int32_t k = 0; k < nobj; ++k) {
    const double sum = rsum[static_cast<std::size_t>(k)];
    s += sum * sum;
  }
  return s;
}

ChiSquareW chi2_and_w(std::int32_t njudge, std::int32_t nobj, double tcorr, double s,
                      std::int32_t ties) {
  ChiSquareW out;
  if (ties == 2) {
    statistics_without_correction(njudge, nobj, s, out.chi2, out.kendw);
  } else {
    statistics_with_correction(njudge, nobj, tcorr, s, out.chi2, out.kendw);
  }
  return out;
}

void wkendall(std::int32_t njudge, std::int32_t nobj, MatrixView table, double tcorr,
              std::span<double> rsum, double& chi2, double& kendw, double& ssqr,
              std::int32_t ties) {
  rank_sums(table, njudge, nobj, rsum);
  ssqr = sum_of_squares(rsum, nobj);
  const ChiSquareW statistics = chi2_and_w(njudge, nobj, tcorr, ssqr, ties);
  chi2 = statistics.chi2;
  kendw = statistics.kendw;
}

// Ranks are multiples of 1/2 and rank sums far below 2^52: every difference is exact.
double kendw_without(MatrixView ranks, std::int32_t judge, std::int32_t njudge, std::int32_t nobj,
                     std::span<const double> rsum, double tcorr_less, std::int32_t ties) {
  double s = 0.0;
  for (std::int32_t k = 1; k <= nobj; ++k) {
    const double sum = rsum[static_cast<std::size_t>(k - 1)] - ranks(judge, k);
    s += sum * sum;
  }
  return chi2_and_w(njudge - 1, nobj, tcorr_less, s, ties).kendw;
}

}  // namespace rankora
