#include "analysis/rankora.hpp"

#include <algorithm>
#include <array>
#include <numeric>

#include "analysis/adjustp.hpp"
#include "analysis/permutation_tests.hpp"
#include "analysis/random.hpp"
#include "analysis/spear.hpp"
#include "analysis/tri.hpp"
#include "analysis/wkendall.hpp"
#include "report/records.hpp"
#include "report/texts.hpp"
#include "runtime/progress.hpp"
#include "runtime/units.hpp"

namespace rankora {
namespace {

constexpr int kWarmUpDraws = 100;

// Every judge's row becomes its ranks, in both matrices; returns the tie term.
double rank_judges(std::int32_t njudge, std::int32_t nobj2, MatrixView mat, MatrixView table,
                   std::int32_t maxobj, std::span<std::int32_t> tiecnt, std::span<double> values,
                   std::span<double> rank_work) {
  double tcorr = 0.0;
  for (std::int32_t j = 1; j <= njudge; ++j) {
    for (std::int32_t k = 1; k <= nobj2; ++k) values[static_cast<std::size_t>(k - 1)] = table(j, k);
    tri(nobj2, maxobj, tiecnt, values, rank_work, tcorr);
    for (std::int32_t k = 1; k <= nobj2; ++k) {
      const double rank = values[static_cast<std::size_t>(k - 1)];
      mat(j, k) = rank;
      table(j, k) = rank;
    }
  }
  return tcorr;
}

void restore_ranks(MatrixView mat, MatrixView table, std::int32_t njudge, std::int32_t nobj) {
  for (std::int32_t k = 1; k <= nobj; ++k) std::copy_n(mat.column(k), njudge, table.column(k));
}

void write_judge_table(std::int32_t njudge, MatrixView result, std::span<const std::int32_t> varok,
                       std::int32_t lang) {
  bool marked_any = false;
  for (std::int32_t i = 1; i <= njudge; ++i) {
    const auto judge = static_cast<std::int32_t>(result(i, 1));
    const bool marked = varok[static_cast<std::size_t>(judge - 1)] != 1;
    marked_any = marked_any || marked;
    const std::array<double, 5> figures = {result(i, 2), result(i, 3), result(i, 4), result(i, 5),
                                           result(i, 7)};
    report::write_judge_row(judge, figures, marked);
  }
  report::write_dash_line();
  if (marked_any) report::write_null_variance_note(lang);
}

}  // namespace

double permutation_probability(std::int64_t count, std::int32_t nperm) {
  return static_cast<double>(count) / static_cast<double>(std::int64_t{nperm} + 1);
}

void rankora(std::int32_t nobj, std::int32_t njudge, std::int32_t nobj2, MatrixView mat,
             MatrixView table, std::span<double> rsum, std::int32_t maxobj, std::int32_t maxj,
             std::int32_t lang, std::int32_t nperm, std::span<std::int32_t> perm,
             std::span<std::int32_t> tiecnt, std::span<double> values, std::span<double> rank_work,
             MatrixView spearr, std::span<double> work1, MatrixView result, std::span<double> work2,
             std::span<std::int32_t> iwork, std::span<std::int32_t> varok, std::int32_t ties) {
  const std::int32_t m = njudge;

  // The observed statistics.
  const double tcorr = rank_judges(m, nobj2, mat, table, maxobj, tiecnt, values, rank_work);
  double chi2 = 0.0;
  double kendw = 0.0;
  double s_observed = 0.0;
  wkendall(m, nobj2, table, tcorr, rsum, maxj, maxobj, chi2, kendw, s_observed, 1, ties);
  report::write_dash_line();
  report::write_blank_line(rt::kReportUnit);
  report::write_statistics(lang, ties, chi2, nobj2 - 1, kendw);

  // The global test. Every later shuffle goes on from the arrangement the last one left.
  std::iota(perm.begin(), perm.begin() + nobj, 1);
  std::int32_t flag = 0;
  for (int draw = 0; draw < kWarmUpDraws; ++draw) urand(flag);
  const std::int64_t global_shuffles = std::int64_t{nperm} * (m - 1);
  rt::ProgressLine progress(report::progress_texts(lang), global_shuffles, std::int64_t{nperm} * m);
  // table's doubles are not read again before restore_ranks rewrites them, and the ranking
  // is over: its tie counts' room holds the rank sums.
  GlobalTest global(mat, m, nobj, s_observed, reinterpret_cast<DoubledRank*>(table.data()), tiecnt);
  std::int64_t global_count = 1;
  for (std::int64_t done = 1; done <= nperm; ++done) {
    global_count += global.permute(1, perm, rand_stream());
    progress.global_test(done * (m - 1));
  }
  report::write_global_header(lang);
  report::write_probability_line(lang, nperm, permutation_probability(global_count, nperm));
  report::write_dash_line();
  report::write_blank_line(rt::kReportUnit);

  // The a posteriori tests.
  restore_ranks(mat, table, m, nobj);
  for (std::int32_t j = 1; j <= m; ++j) result(j, 1) = j;
  spear(nobj, m, maxobj, maxj, table, spearr, varok, result);
  rank_sums(mat, m, nobj, rsum);
  for (std::int32_t j = 1; j <= m; ++j) {
    JudgeTest test(mat, j, nobj, s_observed, rsum, values, rank_work);
    const std::int64_t count = 1 + test.permute(nperm, perm, rand_stream());
    result(j, 3) = (static_cast<double>(m - 1) * result(j, 2) + 1.0) / static_cast<double>(m);
    result(j, 4) = permutation_probability(count, nperm);
    progress.judges(global_shuffles + std::int64_t{j} * nperm, j, m);
  }
  progress.erase();
  report::write_a_posteriori_header(lang);
  adjustp(m, maxj, work1, result, work2, iwork);
  write_judge_table(m, result, varok, lang);
}

}  // namespace rankora
