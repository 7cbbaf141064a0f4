// What the outputs add to the report's figures: distribution tails, Iman and Davenport's F,
// intervals for the permutation probabilities and the adjusted probabilities capped at 1.
// Pure functions of the results; a figure that cannot be formed is a NaN, never a throw.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "analysis/results.hpp"

namespace rankora {

// P(X >= chi2) for X chi-square with df degrees of freedom (R: pchisq(chi2, df,
// lower.tail = FALSE)). 1 at or below 0, where rounding can leave a chi-square of a
// table with no agreement; NaN for a NaN.
double chi_square_upper_tail(double chi2, std::int64_t df);

// Iman and Davenport's F = (m - 1) W / (1 - W) on n - 1 and (n - 1)(m - 1) degrees of
// freedom, and its upper tail (R: pf(F, df1, df2, lower.tail = FALSE)).
struct FTest {
  double f = 0.0;
  std::int64_t df1 = 0;
  std::int64_t df2 = 0;
  double p = 1.0;
};
// W at 1 (all judges agree; or above it by rounding) gives an infinite F and p 0; W at or
// below 0 gives p 1; a NaN W gives NaN for F and p.
FTest iman_davenport(double kendw, std::int32_t judges, std::int32_t objects);

struct Interval {
  double low = 0.0;
  double high = 1.0;
};
// The 99% Clopper-Pearson interval for count / trials, as R's binom.test(count, trials,
// conf.level = 0.99)$conf.int gives it; none without trials.
std::optional<Interval> clopper_pearson_99(std::int64_t count, std::int64_t trials);

// Bonferroni and Holm as R's p.adjust gives them: capped at 1, Holm over the
// probabilities in exactly increasing order. One entry per probability, in their order.
std::vector<double> bonferroni_capped(std::span<const double> p);
std::vector<double> holm_capped(std::span<const double> p);

// Everything the outputs give about the panel beyond the Concordance itself.
struct GlobalInference {
  std::int64_t df = 0;  // n - 1
  double p_chi_square = 1.0;
  FTest f;
  std::optional<Interval> p_interval_99;  // for reached / nperm
};
GlobalInference infer_global(const Concordance& c);

// One per judge, in the order of `judges`.
struct JudgeInference {
  double p_bonferroni = 1.0;  // capped
  double p_holm = 1.0;        // capped
  std::optional<Interval> p_interval_99;
};
std::vector<JudgeInference> infer_judges(std::span<const JudgeResult> judges, std::int32_t nperm);

}  // namespace rankora
