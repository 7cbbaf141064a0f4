// The permutation tests, computed from rank sums instead of whole permuted tables.
// A permutation "reaches" when its S is at least the observed S, exactly as recomputing
// S from the permuted table, in object order, would decide.
#pragma once

#include <cstdint>
#include <limits>
#include <span>

#include "analysis/matrix.hpp"
#include "analysis/null_histogram.hpp"
#include "analysis/random.hpp"
#include "analysis/results.hpp"

namespace rankora {

// Whether the tests' integer arithmetic stays exact for a table of this size: twice a
// rank fits 16 bits, twice a rank sum 32, 4 S (n squares of those) 64, and a rank sum
// times a rank a double's 53.
constexpr bool sums_fit(std::int64_t judges, std::int64_t objects) {
  const std::int64_t twice_rank = 2 * objects;
  const std::int64_t twice_rank_sum = twice_rank * judges;
  return twice_rank <= std::numeric_limits<std::uint16_t>::max() &&
         twice_rank_sum <= std::numeric_limits<std::int32_t>::max() &&
         twice_rank_sum <= std::numeric_limits<std::int64_t>::max() / objects / twice_rank_sum &&
         twice_rank_sum <= (std::int64_t{1} << 53) / twice_rank;
}

// Global test: each permutation shuffles judges 1..m-1 in turn (judge m stays).
class GlobalTest {
 public:
  // `rows` receives judge-major rows of twice the ranks, m by n; `sums` is work for n.
  // Every permutation is counted into `histogram`, whose bins are set.
  GlobalTest(MatrixView ranks, std::int32_t njudge, std::int32_t nobj, double s_observed,
             std::span<std::uint16_t> rows, std::span<std::int32_t> sums, NullHistogram& histogram);

  // Draws `count` more permutations; returns how many reach.
  std::int64_t permute(std::int32_t count, std::span<std::int32_t> perm, RandStream& stream);

 private:
  double ordered_s() const;

  std::int32_t njudge_;
  std::int32_t nobj_;
  double s_observed_;
  std::int64_t q_observed_;
  const std::uint16_t* rows_;
  std::int32_t* sums_;
  NullHistogramTally tally_;
};

// Test of one judge alone: its ranks shuffled against the others' fixed ones.
class JudgeTest {
 public:
  // `observed_rsum` holds the observed rank sums and `s_observed` their S as wkendall
  // sums it (a multiple of 1/4, which the exact comparisons rely on); `own` and
  // `others` are work vectors of n.
  JudgeTest(MatrixView ranks, std::int32_t judge, std::int32_t nobj, double s_observed,
            std::span<const double> observed_rsum, std::span<double> own, std::span<double> others);

  std::int64_t permute(std::int32_t count, std::span<std::int32_t> perm, RandStream& stream);

 private:
  double ordered_s(const std::int32_t* perm) const;

  std::int32_t nobj_;
  double s_observed_;
  const double* own2_;
  const double* others2_;
  std::int64_t q_exact_observed_;
  std::int64_t q_observed_;
  std::int64_t cross_observed_;
};

// 1 + the number of the nperm permutations that reach: the numerator of the probability.
std::int64_t global_test_count(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                               std::int32_t nperm, double s_observed, std::span<std::int32_t> perm,
                               std::span<std::uint16_t> rows, std::span<std::int32_t> sums,
                               NullHistogram& histogram, RandStream& stream);
std::int64_t judge_test_count(MatrixView ranks, std::int32_t judge, std::int32_t nobj,
                              std::int32_t nperm, double s_observed,
                              std::span<const double> observed_rsum, std::span<std::int32_t> perm,
                              std::span<double> own, std::span<double> others, RandStream& stream);

}  // namespace rankora
