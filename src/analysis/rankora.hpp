// The analysis: ranks, the concordance statistics, the global permutation test, then each
// judge's own test, correlations and adjusted probabilities. It writes no text: its
// figures go to the observer as they are ready.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/matrix.hpp"
#include "analysis/observer.hpp"
#include "analysis/results.hpp"

namespace rankora {

class SharedTests;

// (1 + the permutations whose S reached the observed S) / (nperm + 1), the count and the
// divisor in 64 bits so that the largest count the dialogue accepts cannot overflow.
double permutation_probability(std::int64_t count, std::int32_t nperm);

// Work space lent to rankora; n objects, m judges.
struct RankoraWork {
  std::span<double> rsum;                  // n: the observed rank sums, at return
  std::span<std::int32_t> perm;            // n: the last shuffle's arrangement, at return
  std::span<std::int32_t> tiecnt;          // n
  std::span<double> values;                // n
  std::span<double> rank_work;             // n
  std::span<double> key;                   // m
  std::span<std::int32_t> order;           // m
  std::span<JudgeResult> judge_work;       // m
  std::span<std::uint16_t> doubled_ranks;  // m n
  std::span<std::int32_t> doubled_sums;    // n
  SharedTests* shared = nullptr;           // the tests on its threads, when more than one
};

// The whole analysis of a table. Every random number continues rand_stream()'s sequence.
//   nobj, njudge  in      n and m, at least 1 each
//   mat           in,out  rows 1..m, columns 1..n: the data in, each judge's ranks out
//   table         in,out  the same data in; out, the standardised ranks (see spear)
//   nperm         in      permutations of each test, at least 0
//   ties          in      1 with the correction for ties, 2 without: the report's W
//   concordance   out     every field
//   judges        out     (1..m) every field, in the report's order (see adjustp)
//   spearr        out     (1..m, 1..m) the correlations among judges
//   varok         out     (1..m) by judge number: 0 for a judge without variance, else 1
//   work          work
//   observer      in,out  told of each step as it ends
void rankora(std::int32_t nobj, std::int32_t njudge, MatrixView mat, MatrixView table,
             std::int32_t nperm, std::int32_t ties, Concordance& concordance,
             std::span<JudgeResult> judges, MatrixView spearr, std::span<std::int32_t> varok,
             const RankoraWork& work, AnalysisObserver& observer);

}  // namespace rankora
