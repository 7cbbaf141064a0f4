#include "analysis/inference.hpp"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace rankora {
namespace {

namespace bp = boost::math::policies;
// Out-of-domain arguments give a NaN, never an exception: every call below is guarded
// already, and a figure of an output must never end a run whose report is written.
using Quiet =
    bp::policy<bp::domain_error<bp::ignore_error>, bp::pole_error<bp::ignore_error>,
               bp::overflow_error<bp::ignore_error>, bp::evaluation_error<bp::ignore_error>>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// R forms the tail probability of a two-sided interval as (1 - conf.level) / 2, which is
// not exactly 0.005; the same bits give the same quantiles.
constexpr double kTail = (1.0 - 0.99) / 2.0;

// pmin(1, x) in R: a NaN stays a NaN.
double capped(double x) { return std::isnan(x) ? x : std::min(1.0, x); }

double beta_quantile(double probability, double a, double b) {
  return boost::math::ibeta_inv(a, b, probability, Quiet());
}

}  // namespace

double chi_square_upper_tail(double chi2, std::int64_t df) {
  if (std::isnan(chi2) || df < 1) return kNaN;
  if (chi2 <= 0.0) return 1.0;
  if (std::isinf(chi2)) return 0.0;
  const boost::math::chi_squared_distribution<double, Quiet> distribution(static_cast<double>(df));
  return boost::math::cdf(boost::math::complement(distribution, chi2));
}

FTest iman_davenport(double kendw, std::int32_t judges, std::int32_t objects) {
  FTest test;
  test.df1 = std::int64_t{objects} - 1;
  test.df2 = test.df1 * (std::int64_t{judges} - 1);
  if (std::isnan(kendw) || test.df1 < 1 || test.df2 < 1) {
    test.f = test.p = kNaN;
  } else if (kendw >= 1.0) {
    test.f = kInfinity;
    test.p = 0.0;
  } else {
    test.f = static_cast<double>(judges - 1) * kendw / (1.0 - kendw);
    if (test.f <= 0.0) {
      test.p = 1.0;
    } else {
      const boost::math::fisher_f_distribution<double, Quiet> distribution(
          static_cast<double>(test.df1), static_cast<double>(test.df2));
      test.p = boost::math::cdf(boost::math::complement(distribution, test.f));
    }
  }
  return test;
}

std::optional<Interval> clopper_pearson_99(std::int64_t count, std::int64_t trials) {
  if (trials <= 0 || count < 0 || count > trials) return std::nullopt;
  const auto x = static_cast<double>(count), n = static_cast<double>(trials);
  Interval interval;
  interval.low = count == 0 ? 0.0 : beta_quantile(kTail, x, n - x + 1.0);
  interval.high = count == trials ? 1.0 : beta_quantile(1.0 - kTail, x + 1.0, n - x);
  return interval;
}

std::vector<double> bonferroni_capped(std::span<const double> p) {
  const auto m = static_cast<double>(p.size());
  std::vector<double> adjusted;
  adjusted.reserve(p.size());
  for (double value : p) adjusted.push_back(capped(value * m));
  return adjusted;
}

std::vector<double> holm_capped(std::span<const double> p) {
  std::vector<std::size_t> order(p.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return p[a] < p[b] || (std::isnan(p[b]) && !std::isnan(p[a]));
  });
  std::vector<double> adjusted(p.size());
  double running_max = -kInfinity;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const double step = static_cast<double>(p.size() - i) * p[order[i]];
    running_max = std::isnan(step) || std::isnan(running_max) ? kNaN : std::max(running_max, step);
    adjusted[order[i]] = capped(running_max);
  }
  return adjusted;
}

GlobalInference infer_global(const Concordance& c) {
  GlobalInference g;
  g.df = std::int64_t{c.objects} - 1;
  g.p_chi_square = chi_square_upper_tail(c.chi2, g.df);
  g.f = iman_davenport(c.kendw, c.judges, c.objects);
  g.p_interval_99 = clopper_pearson_99(c.reached, c.nperm);
  return g;
}

std::vector<JudgeInference> infer_judges(std::span<const JudgeResult> judges, std::int32_t nperm) {
  std::vector<double> p;
  p.reserve(judges.size());
  for (const JudgeResult& judge : judges) p.push_back(judge.p);
  const std::vector<double> bonferroni = bonferroni_capped(p), holm = holm_capped(p);
  // Judges that share a count share an interval: at p 1/(nperm + 1), often most of them.
  std::unordered_map<std::int64_t, std::optional<Interval>> intervals;
  std::vector<JudgeInference> out(judges.size());
  for (std::size_t i = 0; i < judges.size(); ++i) {
    out[i].p_bonferroni = bonferroni[i];
    out[i].p_holm = holm[i];
    const auto [at, is_new] = intervals.try_emplace(judges[i].reached);
    if (is_new) at->second = clopper_pearson_99(judges[i].reached, nperm);
    out[i].p_interval_99 = at->second;
  }
  return out;
}

}  // namespace rankora
