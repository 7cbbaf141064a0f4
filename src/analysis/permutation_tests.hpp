// The permutation tests, computed from rank sums instead of whole permuted tables.
// Each gives the count of permutations (the observed arrangement included) whose S
// reaches the observed S, exactly as recomputing S from the permuted table would.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/matrix.hpp"
#include "analysis/random.hpp"

namespace rankora {

// Global test: nperm times, judges 1..m-1 each shuffled in turn (judge m stays), the
// permuted S compared with s_observed. `rows` receives a judge-major copy of the ranks
// of judges 1..m-1 (m-1 by n doubles); `rsum` and `last_row` are work vectors of n.
std::int64_t global_test_count(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                               std::int32_t nperm, double s_observed, std::span<std::int32_t> perm,
                               double* rows, std::span<double> rsum, std::span<double> last_row,
                               RandStream& stream);

// The observed rank sums rsum(k) = sum over judges of ranks(j, k).
void observed_rank_sums(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                        std::span<double> rsum);

// Test of judge j alone: nperm shuffles of its ranks against the others' fixed ones.
// `observed_rsum` holds the observed rank sums; `own` and `others` are work vectors of n.
std::int64_t judge_test_count(MatrixView ranks, std::int32_t judge, std::int32_t nobj,
                              std::int32_t nperm, double s_observed,
                              std::span<const double> observed_rsum, std::span<std::int32_t> perm,
                              std::span<double> own, std::span<double> others,
                              RandStream& stream);

}  // namespace rankora
