// The figures of one analysis, as every writer reads them: the report, the CSV, the JSON
// and the picture all print the same numbers, and the analysis writes no text.
#pragma once

#include <cstdint>

namespace rankora {

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
