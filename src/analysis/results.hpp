// The figures of one analysis, as every writer reads them: the report, the CSV, the JSON
// and the picture all print the same numbers, and the analysis writes no text.
#pragma once

#include <array>
#include <cstdint>

namespace rankora {

// The global test's permutation distribution of W, for a picture: `bins` bins of equal
// width, fixed before the test from W's null moments (mean 1/m; variance
// 2 (m - 1) / (m^3 (n - 1)) without ties; the mean plus or minus 6 standard deviations,
// clipped to 0..1). A permutation's bin depends on its exact S alone, so counts add up
// the same however the permutations are shared out. Every count together is nperm.
struct NullHistogram {
  static constexpr std::int32_t kMaxBins = 100;

  std::int32_t bins = 1;  // bins in use, 1..kMaxBins
  // Bin i holds the permutations with s_low + i s_width <= S < s_low + (i + 1) s_width.
  double s_low = 0.0;
  double s_width = 1.0;
  // W of s_low and of the top edge s_low + bins s_width, with the report's tie option: W
  // grows linearly with S, so the bins are of equal width in W too.
  double w_low = 0.0;
  double w_high = 0.0;
  std::array<std::int64_t, kMaxBins> counts{};
  std::int64_t below = 0;  // S below s_low
  std::int64_t above = 0;  // S at or above the top edge
};

// The whole panel: the statistics of the observed table and its global permutation test.
struct Concordance {
  std::int32_t judges = 0;   // m
  std::int32_t objects = 0;  // n
  std::int32_t ties = 1;     // 1 with the correction for ties, 2 without: the report's choice
  std::int32_t nperm = 0;    // permutations of every test

  double tie_term = 0.0;  // sum over judges of sum(t^3 - t) over their groups of ties
  double s = 0.0;         // sum over objects of the squared rank sums

  // As the report prints them: with the correction for ties when `ties` is 1.
  double chi2 = 0.0;
  double kendw = 0.0;
  // Both options, whichever was chosen.
  double chi2_corrected = 0.0;
  double kendw_corrected = 0.0;
  double chi2_uncorrected = 0.0;
  double kendw_uncorrected = 0.0;

  std::int64_t reached = 0;  // shuffled tables whose S reached the observed S
  double p = 1.0;            // (reached + 1) / (nperm + 1)
  NullHistogram null_histogram;  // the shuffled tables' W
};

// One judge's line of the table, in the report's order once the analysis is done.
struct JudgeResult {
  std::int32_t judge = 0;      // its position in the data table, from 1
  double rbar = 0.0;           // mean Spearman correlation with the other judges
  double w = 0.0;              // W(j) = ((m - 1) R-bar + 1) / m
  double p = 1.0;              // its own permutation test
  double p_bonferroni = 0.0;   // p m, not capped at 1
  double p_holm = 0.0;         // Holm's step-down value, not capped at 1
  bool null_variance = false;  // every object got the same value: the report's "#"
  std::int64_t reached = 0;    // shuffles of this judge whose S reached the observed S
  double w_without = 0.0;      // W of the table less this judge, same tie option
  double tie_term = 0.0;       // this judge's sum(t^3 - t) over its groups of ties
};

}  // namespace rankora
