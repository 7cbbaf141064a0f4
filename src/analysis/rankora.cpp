#include "analysis/rankora.hpp"

#include <algorithm>
#include <numeric>

#include "analysis/adjustp.hpp"
#include "analysis/null_histogram.hpp"
#include "analysis/parallel_tests.hpp"
#include "analysis/permutation_tests.hpp"
#include "analysis/random.hpp"
#include "analysis/spear.hpp"
#include "analysis/tri.hpp"
#include "analysis/wkendall.hpp"

namespace rankora {
namespace {

constexpr int kWarmUpDraws = 100;
// The observer hears of the global test after about this many swaps: often enough for a
// progress line, seldom enough to cost nothing.
constexpr std::int64_t kSwapsPerProgress = std::int64_t{1} << 16;

// Every judge's row becomes its ranks, in both matrices; each judge's row of results
// gets its number and tie term. Returns the whole tie term.
double rank_judges(std::int32_t njudge, std::int32_t nobj, MatrixView mat, MatrixView table,
                   std::span<JudgeResult> judges, const RankoraWork& work) {
  double tcorr = 0.0;
  for (std::int32_t j = 1; j <= njudge; ++j) {
    for (std::int32_t k = 1; k <= nobj; ++k) {
      work.values[static_cast<std::size_t>(k - 1)] = table(j, k);
    }
    double judge_tcorr = 0.0;
    tri(nobj, work.tiecnt, work.values, work.rank_work, judge_tcorr);
    // Whole numbers far below 2^53: the sum is the same in any order.
    tcorr += judge_tcorr;
    for (std::int32_t k = 1; k <= nobj; ++k) {
      const double rank = work.values[static_cast<std::size_t>(k - 1)];
      mat(j, k) = rank;
      table(j, k) = rank;
    }
    JudgeResult& row = judges[static_cast<std::size_t>(j - 1)];
    row = JudgeResult{};
    row.judge = j;
    row.tie_term = judge_tcorr;
  }
  return tcorr;
}

void observed_statistics(std::int32_t nobj, std::int32_t njudge, MatrixView ranks, double tcorr,
                         std::int32_t nperm, std::int32_t ties, std::span<double> rsum,
                         Concordance& concordance) {
  concordance = Concordance{};
  concordance.judges = njudge;
  concordance.objects = nobj;
  concordance.ties = ties;
  concordance.nperm = nperm;
  concordance.tie_term = tcorr;
  wkendall(njudge, nobj, ranks, tcorr, rsum, concordance.chi2, concordance.kendw, concordance.s,
           ties);
  const ChiSquareW corrected = chi2_and_w(njudge, nobj, tcorr, concordance.s, 1);
  const ChiSquareW uncorrected = chi2_and_w(njudge, nobj, tcorr, concordance.s, 2);
  concordance.chi2_corrected = corrected.chi2;
  concordance.kendw_corrected = corrected.kendw;
  concordance.chi2_uncorrected = uncorrected.chi2;
  concordance.kendw_uncorrected = uncorrected.kendw;
  concordance.null_histogram = null_histogram(njudge, nobj, tcorr, ties);
}

// Judges 1..m-1 shuffled, nperm times; judge m stays.
void global_test(std::int32_t nobj, std::int32_t njudge, MatrixView ranks, const RankoraWork& work,
                 Concordance& concordance, AnalysisObserver& observer) {
  const std::int32_t nperm = concordance.nperm;
  if (work.shared != nullptr && work.shared->threads() > 1) {
    work.shared->global_test(ranks, njudge, nobj, work.doubled_ranks, work.perm, concordance,
                             observer);
    concordance.p = permutation_probability(1 + concordance.reached, nperm);
    return;
  }
  GlobalTest test(ranks, njudge, nobj, concordance.s, work.doubled_ranks, work.doubled_sums,
                  concordance.null_histogram);
  const std::int64_t shuffles_each = njudge - 1;
  const std::int64_t swaps_each = std::max<std::int64_t>(1, shuffles_each * nobj);
  const auto per_progress = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(kSwapsPerProgress / swaps_each, 1, std::max(nperm, 1)));
  std::int64_t reached = 0;
  for (std::int32_t done = 0; done < nperm;) {
    const std::int32_t count = std::min(per_progress, nperm - done);
    reached += test.permute(count, work.perm, rand_stream());
    done += count;
    observer.global_test_progress(done * shuffles_each);
  }
  concordance.reached = reached;
  concordance.p = permutation_probability(1 + reached, nperm);
}

// Each judge shuffled alone against the others, nperm times.
void judge_tests(std::int32_t nobj, std::int32_t njudge, MatrixView ranks, const RankoraWork& work,
                 std::span<const std::int32_t> varok, std::span<JudgeResult> judges,
                 const Concordance& concordance, AnalysisObserver& observer) {
  const std::int32_t m = njudge;
  const std::int32_t nperm = concordance.nperm;
  const std::int64_t global_shuffles = std::int64_t{nperm} * (m - 1);
  const bool shared = work.shared != nullptr && work.shared->threads() > 1;
  if (shared)
    work.shared->judge_tests(ranks, m, nobj, work.rsum, work.perm, concordance, judges, observer);
  for (std::int32_t j = 1; j <= m; ++j) {
    JudgeResult& row = judges[static_cast<std::size_t>(j - 1)];
    if (!shared) {
      JudgeTest test(ranks, j, nobj, concordance.s, work.rsum, work.values, work.rank_work);
      row.reached = test.permute(nperm, work.perm, rand_stream());
    }
    row.p = permutation_probability(1 + row.reached, nperm);
    row.w = (static_cast<double>(m - 1) * row.rbar + 1.0) / static_cast<double>(m);
    row.null_variance = varok[static_cast<std::size_t>(j - 1)] == 0;
    row.w_without = kendw_without(ranks, j, m, nobj, work.rsum, concordance.tie_term - row.tie_term,
                                  concordance.ties);
    if (!shared) observer.judges_progress(global_shuffles + std::int64_t{j} * nperm, j);
  }
}

}  // namespace

double permutation_probability(std::int64_t count, std::int32_t nperm) {
  return static_cast<double>(count) / static_cast<double>(std::int64_t{nperm} + 1);
}

void rankora(std::int32_t nobj, std::int32_t njudge, MatrixView mat, MatrixView table,
             std::int32_t nperm, std::int32_t ties, Concordance& concordance,
             std::span<JudgeResult> judges, MatrixView spearr, std::span<std::int32_t> varok,
             const RankoraWork& work, AnalysisObserver& observer) {
  const double tcorr = rank_judges(njudge, nobj, mat, table, judges, work);
  observed_statistics(nobj, njudge, mat, tcorr, nperm, ties, work.rsum, concordance);
  observer.statistics_ready(concordance);

  // Every later shuffle goes on from the arrangement the last one left.
  std::iota(work.perm.begin(), work.perm.begin() + nobj, 1);
  for (int draw = 0; draw < kWarmUpDraws; ++draw) urand();
  global_test(nobj, njudge, mat, work, concordance, observer);
  observer.global_test_done(concordance);

  spear(nobj, njudge, table, spearr, varok, judges);
  judge_tests(nobj, njudge, mat, work, varok, judges, concordance, observer);
  adjustp(njudge, work.key, judges, work.judge_work, work.order);
  observer.judges_done(concordance, judges.first(static_cast<std::size_t>(njudge)));
}

}  // namespace rankora
