#include "capacity.hpp"

#include "analysis/permutation_tests.hpp"
#include "analysis/tri.hpp"
#include "analysis/wkendall.hpp"
#include "panel.hpp"

namespace rankora::bench {

double rank_rows(MatrixView raw, MatrixView mat, MatrixView table, int judges, int objects,
                 RankWork& work) {
  double tcorr = 0.0;
  for (int j = 1; j <= judges; ++j) {
    for (int k = 1; k <= objects; ++k) work.values[static_cast<std::size_t>(k - 1)] = raw(j, k);
    tri(objects, work.tiecnt, work.values, work.toprank, tcorr);
    for (int k = 1; k <= objects; ++k) {
      const double rank = work.values[static_cast<std::size_t>(k - 1)];
      mat(j, k) = rank;
      table(j, k) = rank;
    }
  }
  return tcorr;
}

void fill_scores(MatrixView scores, int judges, int objects, std::uint64_t seed) {
  const Panel panel = make_panel(judges, objects, seed);
  for (int j = 1; j <= judges; ++j) {
    for (int k = 1; k <= objects; ++k) scores(j, k) = panel.score(j - 1, k - 1);
  }
}

namespace {

CapacityData build_capacity_data() {
  CapacityData data;
  fill_scores(data.scores.view(), kCapacityJudges, kCapacityObjects, kCapacitySeed);
  RankWork work;
  CapacityMatrix table;
  data.tie_term = rank_rows(data.scores.view(), data.ranks.view(), table.view(), kCapacityJudges,
                            kCapacityObjects, work);
  data.rank_sums.assign(kCapacityObjects, 0.0);
  rank_sums(data.ranks.view(), kCapacityJudges, kCapacityObjects, data.rank_sums);
  data.s_observed = sum_of_squares(data.rank_sums, kCapacityObjects);
  return data;
}

}  // namespace

CapacityData& capacity_data() {
  static CapacityData data = build_capacity_data();
  return data;
}

}  // namespace rankora::bench
