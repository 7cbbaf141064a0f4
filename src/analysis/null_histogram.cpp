#include "analysis/null_histogram.hpp"

#include <algorithm>
#include <cmath>

#include "analysis/wkendall.hpp"

namespace rankora {
namespace {

constexpr double kSpread = 6.0;  // standard deviations each side of the mean
// Without ties every q of a test is the same modulo 8 (2 at least with ties): bins a
// multiple of 8 wide each hold as many of the values q can take.
constexpr std::int64_t kStep = 8;

std::int64_t ceil_div(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

}  // namespace

NullHistogram null_histogram(std::int32_t njudge, std::int32_t nobj, double tcorr,
                             std::int32_t ties) {
  const std::int64_t mi = njudge;
  const std::int64_t ni = nobj;
  const auto m = static_cast<double>(njudge);
  const auto n = static_cast<double>(nobj);
  // The tie-corrected W is (3 q - p2) / d, and its null mean is 1/m whatever the ties.
  const auto p2 = static_cast<double>(3 * mi * mi * ni * (ni + 1) * (ni + 1));
  const double d = static_cast<double>(mi * mi * ni * (ni + 1) * (ni - 1)) - m * tcorr;
  const double mean = 1.0 / m;
  const double sd = std::sqrt(2.0 * (m - 1.0) / (m * m * m * (n - 1.0)));
  // A sd that is not a number (one judge, one object) leaves the whole range.
  const double w_low = std::max(0.0, mean - kSpread * sd);
  const double w_high = std::min(1.0, mean + kSpread * sd);
  const auto q_at = [&](double w) { return (w * d + p2) / 3.0; };
  const auto q_low = static_cast<std::int64_t>(std::floor(q_at(w_low)));
  const auto q_high = static_cast<std::int64_t>(std::ceil(q_at(w_high)));

  const std::int64_t span = q_high - q_low + 1;
  const std::int64_t q_width = kStep * ceil_div(span, kStep * NullHistogram::kMaxBins);
  NullHistogram histogram;
  histogram.bins = static_cast<std::int32_t>(ceil_div(span, q_width));
  histogram.s_low = static_cast<double>(q_low) / 4.0;
  histogram.s_width = static_cast<double>(q_width) / 4.0;
  const double s_high = histogram.s_low + histogram.bins * histogram.s_width;
  histogram.w_low = chi2_and_w(njudge, nobj, tcorr, histogram.s_low, ties).kendw;
  histogram.w_high = chi2_and_w(njudge, nobj, tcorr, s_high, ties).kendw;
  return histogram;
}

NullHistogramTally::NullHistogramTally(NullHistogram& histogram)
    : histogram_(&histogram),
      q_low_(static_cast<std::int64_t>(4.0 * histogram.s_low)),
      q_width_(static_cast<std::int64_t>(4.0 * histogram.s_width)),
      bins_(histogram.bins) {}

}  // namespace rankora
